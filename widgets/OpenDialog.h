#pragma once

#include <QString>

class QWidget;

// Shows the toolkit's open-file dialog. `filtro` uses the "Description|*.a;*.b" form of the
// original program (several pairs may follow one another); `fichero` is both the proposed file
// (its directory is where the dialog starts) and, on OK, the chosen full path. Only existing
// files can be chosen. Returns false and leaves `fichero` unchanged when the user cancels.
bool DialogoAbrir(QWidget *parent, const QString &filtro, const QString &titulo, QString &fichero);

// "Data Base|*.sqlite;*.mdb" -> "Data Base (*.sqlite *.mdb)", one Qt filter per pair.
QString filtroQt(const QString &filtro);
