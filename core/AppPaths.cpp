#include "core/AppPaths.h"

#include "core/ZoDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppPaths {

QString applicationDir() {
    return QCoreApplication::applicationDirPath();
}

static bool isWritableDir(const QString &dir) {
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

// An installed copy has its data folder beside the program's (…/bin and …/share/zokorvane).
static bool isInstalled(const QString &appDir) {
    return QFileInfo(appDir + QStringLiteral("/../share/zokorvane")).isDir();
}

QString configPath() {
    const QString appDir = applicationDir();
    if (!isInstalled(appDir) && isWritableDir(appDir)) {
        return ZoDir::UneRuta(appDir, QStringLiteral("config.ini"));
    }
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return ZoDir::UneRuta(userDir, QStringLiteral("config.ini"));
}

QString workingDir() {
    const QString appDir = applicationDir();
    return !isInstalled(appDir) && isWritableDir(appDir) ? appDir : QDir::homePath();
}

} // namespace AppPaths
