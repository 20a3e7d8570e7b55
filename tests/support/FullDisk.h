#pragma once

#include "support/Files.h"

#include <unistd.h>

// A disk of 64 kB (a tmpfs mounted on a temporary folder) for the writers that must meet a full one,
// unmounted when it goes out of scope, whatever the checks decided. Only root can mount it: a test
// skips with `why()` when it is not mounted.
class FullDisk {
public:
    FullDisk() {
        if (::geteuid() != 0) {
            m_why = QStringLiteral("only root can mount the small tmpfs the full-disk cases need");
            return;
        }
        QString said;
        if (runProgram(QStringLiteral("mount"),
                       {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                        QStringLiteral("size=64k"), QStringLiteral("tmpfs"), m_dir.path()},
                       &said) != 0) {
            m_why = QStringLiteral("mount -t tmpfs failed: ") + said;
        }
    }
    ~FullDisk() {
        if (mounted()) {
            runProgram(QStringLiteral("umount"), {m_dir.path()});
        }
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool mounted() const { return m_why.isEmpty(); }
    const QString &why() const { return m_why; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_why;
};
