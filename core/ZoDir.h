#pragma once

#include <QString>
#include <QStringList>

// Path procedures shared by every window: splitting and joining paths, changing extensions,
// checking that a file can be read and listing a directory sorted by name.
//
// Splitting accepts both "\" and "/" as separators, so paths stored by the Windows program
// (drawing names such as "p\1111", MR directories such as "C:\Resonancias\S1") still split
// correctly. Joining uses the separator the caller passes; callers pass Native.
namespace ZoDir {

// The platform's own separator, the one to pass to UneRuta and the listings.
inline const QString Native = QStringLiteral("/");

int Maximo(int a, int b);
// 1-based position of the last "\" or "/" (whichever comes later); 0 when there is neither.
int PosicionUltimoSeparador(const QString &ruta);
// Text after the last separator; "" when the path has no separator.
QString NombreFichero(const QString &ruta);
// Text before the last separator, without it; "" when the path has no separator.
QString DirectorioFichero(const QString &ruta);
// Text before the last "."; the whole path when it has no ".".
QString QuitaExtension(const QString &ruta);
// Text after the last "."; "" when there is no ".".
QString DameExtension(const QString &ruta);
// Replaces the extension of the file name in place, or appends one when the name has none.
void PonExtension(QString &ruta, const QString &extension);
// Joins two parts with exactly one separator between them.
QString UneRuta(const QString &primera, const QString &segunda, const QString &separador = Native);
// True when the file can be opened for reading.
bool ExisteFichero(const QString &ruta);
// Every file (not subdirectory) of the directory joined to it, in ascending ordinal order.
// An empty, missing or unreadable directory gives {""}.
QStringList ListaFicheros(const QString &directorio, const QString &separador = Native);
// As ListaFicheros, only files whose extension equals the given one regardless of case; the
// returned paths are lower-cased, as the image loader has always compared them.
QStringList ListaFicherosExtension(const QString &directorio, const QString &extension,
                                   const QString &separador = Native);

} // namespace ZoDir
