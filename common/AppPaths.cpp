#include "AppPaths.h"

#include "ZoDir.h"

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

QString rutaConfig() {
    const QString aplicacion = directorioAplicacion();
    if (escribible(aplicacion)) {
        return ZoDir::UneRuta(aplicacion, QStringLiteral("config.ini"));
    }
    const QString usuario = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return ZoDir::UneRuta(usuario, QStringLiteral("config.ini"));
}

QString directorioDeTrabajo() {
    const QString aplicacion = directorioAplicacion();
    return escribible(aplicacion) ? aplicacion : QDir::homePath();
}

} // namespace AppPaths
