#include "core/AppPaths.h"

#include "core/ZoDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppPaths {

QString directorioAplicacion() {
    return QCoreApplication::applicationDirPath();
}

static bool escribible(const QString &directorio) {
    const QFileInfo info(directorio);
    return info.isDir() && info.isWritable();
}

// An installed copy has its data folder beside the program's (…/bin and …/share/zokorvane).
static bool instalado(const QString &aplicacion) {
    return QFileInfo(aplicacion + QStringLiteral("/../share/zokorvane")).isDir();
}

QString rutaConfig() {
    const QString aplicacion = directorioAplicacion();
    if (!instalado(aplicacion) && escribible(aplicacion)) {
        return ZoDir::UneRuta(aplicacion, QStringLiteral("config.ini"));
    }
    const QString usuario = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return ZoDir::UneRuta(usuario, QStringLiteral("config.ini"));
}

QString directorioDeTrabajo() {
    const QString aplicacion = directorioAplicacion();
    return !instalado(aplicacion) && escribible(aplicacion) ? aplicacion : QDir::homePath();
}

} // namespace AppPaths
