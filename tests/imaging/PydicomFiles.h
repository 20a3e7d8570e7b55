#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>

// The DICOM test files of Debian's python3-pydicom package (scripts/install-deps.sh installs it).
// ZK_PYDICOM_DATA may point elsewhere; otherwise the Debian place is tried, then python3 is asked.
// Returns "" when the files are not on this machine.
inline QString pydicomTestFiles() {
    auto usable = [](const QString &dir) { return QFileInfo::exists(dir + QStringLiteral("/MR_small.dcm")); };
    const QString fromEnv = qEnvironmentVariable("ZK_PYDICOM_DATA");
    if (!fromEnv.isEmpty() && usable(fromEnv)) {
        return fromEnv;
    }
    const QString debian = QStringLiteral("/usr/lib/python3/dist-packages/pydicom/data/test_files");
    if (usable(debian)) {
        return debian;
    }
    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"), QStringLiteral("import os, pydicom; print(os.path.join(os.path.dirname("
                                              "pydicom.__file__), 'data', 'test_files'))")});
    if (python.waitForFinished(10000) && python.exitCode() == 0) {
        const QString dir = QString::fromLocal8Bit(python.readAllStandardOutput()).trimmed();
        if (usable(dir)) {
            return dir;
        }
    }
    return {};
}

#define REQUIRE_PYDICOM_FILES(dir)                                                                           \
    const QString dir = pydicomTestFiles();                                                                  \
    if (dir.isEmpty()) {                                                                                     \
        QSKIP("pydicom's DICOM test files are missing: install python3-pydicom (scripts/install-deps.sh)");  \
    }
