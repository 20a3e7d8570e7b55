#include "core/ZoDir.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace ZoDir {

int Maximo(int a, int b) {
    return a > b ? a : b;
}

int PosicionUltimoSeparador(const QString &ruta) {
    // lastIndexOf is 0-based and -1 when absent, so + 1 gives the 1-based position or 0.
    return Maximo(ruta.lastIndexOf(QLatin1Char('\\')), ruta.lastIndexOf(QLatin1Char('/'))) + 1;
}

QString NombreFichero(const QString &ruta) {
    const int pos = PosicionUltimoSeparador(ruta);
    return pos == 0 ? QString() : ruta.mid(pos);
}

QString DirectorioFichero(const QString &ruta) {
    const int pos = PosicionUltimoSeparador(ruta);
    return pos == 0 ? QString() : ruta.left(pos - 1);
}

QString QuitaExtension(const QString &ruta) {
    const int punto = ruta.lastIndexOf(QLatin1Char('.'));
    return punto < 0 ? ruta : ruta.left(punto);
}

QString DameExtension(const QString &ruta) {
    const int punto = ruta.lastIndexOf(QLatin1Char('.'));
    return punto < 0 ? QString() : ruta.mid(punto + 1);
}

void PonExtension(QString &ruta, const QString &extension) {
    // A "." inside a directory name (C:\a.b\file) is not an extension of the file.
    const int punto = ruta.lastIndexOf(QLatin1Char('.')) + 1;
    if (punto > PosicionUltimoSeparador(ruta)) {
        ruta = ruta.left(punto) + extension;
    } else {
        ruta += QLatin1Char('.') + extension;
    }
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

bool ExisteFichero(const QString &ruta) {
    if (ruta.isEmpty()) {
        return false;
    }
    QFile fichero(ruta);
    return fichero.open(QIODevice::ReadOnly);
}

namespace {

QStringList nombresDeFicheros(const QString &directorio) {
    if (directorio.isEmpty()) {
        return {};
    }
    const QDir dir(directorio);
    if (!dir.exists() || !dir.isReadable()) {
        return {};
    }
    return dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
}

// Ascending by UTF-16 code units, the ordinal case-sensitive comparison of the original
// exchange sort; {""} stands for "nothing listed" so callers always get one element.
QStringList ordenada(QStringList lista) {
    if (lista.isEmpty()) {
        return {QString()};
    }
    std::sort(lista.begin(), lista.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return lista;
}

} // namespace

QStringList ListaFicheros(const QString &directorio, const QString &separador) {
    QStringList rutas;
    for (const QString &nombre : nombresDeFicheros(directorio)) {
        rutas << UneRuta(directorio, nombre, separador);
    }
    return ordenada(rutas);
}

QStringList ListaFicherosExtension(const QString &directorio, const QString &extension,
                                   const QString &separador) {
    const QString buscada = extension.toLower();
    QStringList rutas;
    for (const QString &nombre : nombresDeFicheros(directorio)) {
        const QString ruta = UneRuta(directorio, nombre, separador).toLower();
        if (DameExtension(ruta) == buscada) {
            rutas << ruta;
        }
    }
    return ordenada(rutas);
}

} // namespace ZoDir
