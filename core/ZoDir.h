#pragma once

#include <QString>
#include <QStringList>

// Path procedures shared by every window: splitting and joining paths and reading an extension.
//
// Splitting accepts both "\" and "/" as separators, so paths stored by the Windows program
// (drawing names such as "p\1111", MR directories such as "C:\Resonancias\S1") still split
// correctly. Joining uses the separator the caller passes; callers pass Native.
namespace ZoDir {

// The platform's own separator, the one to pass to UneRuta.
inline const QString Native = QStringLiteral("/");

// Text after the last separator; "" when the path has no separator.
QString NombreFichero(const QString &ruta);
// Text before the last separator, without it; "" when the path has no separator.
QString DirectorioFichero(const QString &ruta);
// Text after the last "."; "" when there is no ".".
QString DameExtension(const QString &ruta);
// Joins two parts with exactly one separator between them.
QString UneRuta(const QString &primera, const QString &segunda, const QString &separador = Native);

} // namespace ZoDir
