#include "widgets/OpenDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

QString filtroQt(const QString &filtro) {
    const QStringList partes = filtro.split(QLatin1Char('|'));
    QStringList filtros;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        QString patrones = partes[i + 1];
        patrones.replace(QLatin1Char(';'), QLatin1Char(' '));
        filtros << partes[i] + QStringLiteral(" (") + patrones + QLatin1Char(')');
    }
    return filtros.join(QStringLiteral(";;"));
}

bool DialogoAbrir(QWidget *parent, const QString &filtro, const QString &titulo, QString &fichero) {
    QFileDialog dialogo(parent, titulo);
    dialogo.setObjectName(QStringLiteral("CommonDialog"));
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(QFileDialog::ExistingFile); // file and path must exist
    dialogo.setNameFilter(filtroQt(filtro));
    const QFileInfo propuesto(fichero);
    dialogo.setDirectory(propuesto.absolutePath());
    dialogo.selectFile(propuesto.fileName());
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) {
        return false;
    }
    fichero = dialogo.selectedFiles().constFirst();
    return true;
}
