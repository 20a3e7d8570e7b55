#include "core/ZoDir.h"

#include <algorithm>

namespace ZoDir {

namespace {

// 1-based position of the last "\" or "/" (whichever comes later); 0 when there is neither.
int PosicionUltimoSeparador(const QString &ruta) {
    // lastIndexOf is 0-based and -1 when absent, so + 1 gives the 1-based position or 0.
    // Paths are far shorter than INT_MAX characters.
    return static_cast<int>(
               std::max(ruta.lastIndexOf(QLatin1Char('\\')), ruta.lastIndexOf(QLatin1Char('/')))) +
           1;
}

} // namespace

QString NombreFichero(const QString &ruta) {
    const int pos = PosicionUltimoSeparador(ruta);
    return pos == 0 ? QString() : ruta.mid(pos);
}

QString DirectorioFichero(const QString &ruta) {
    const int pos = PosicionUltimoSeparador(ruta);
    return pos == 0 ? QString() : ruta.left(pos - 1);
}

QString DameExtension(const QString &ruta) {
    const int punto = ruta.lastIndexOf(QLatin1Char('.'));
    return punto < 0 ? QString() : ruta.mid(punto + 1);
}

QString UneRuta(const QString &primera, const QString &segunda, const QString &separador) {
    const bool finConSeparador = primera.endsWith(separador);
    const bool inicioConSeparador = segunda.startsWith(separador);
    if (!finConSeparador && !inicioConSeparador) {
        return primera + separador + segunda;
    }
    if (finConSeparador && inicioConSeparador) {
        return primera + segunda.mid(separador.size());
    }
    return primera + segunda;
}

} // namespace ZoDir
