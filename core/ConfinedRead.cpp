#include "core/ConfinedRead.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ConfinedRead {

namespace {

QString reasonOf(int error) {
    switch (error) {
    case ENOENT:
        return QCoreApplication::translate("ConfinedRead", "it does not exist");
    case ELOOP:
        return QCoreApplication::translate("ConfinedRead", "it is a symbolic link, not followed");
    default:
        return QCoreApplication::translate("ConfinedRead", "it cannot be read: %1")
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

// Closes the descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

} // namespace

File fromFolder(const QString &folder, const QString &name, qint64 maxBytes) {
    File file;
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QChar(0))) {
        file.refused = QCoreApplication::translate("ConfinedRead", "it is not a file name inside the folder");
        return file;
    }
    const Descriptor dir{
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)};
    if (dir.fd < 0) {
        file.refused =
            errno == ENOTDIR || errno == ELOOP
                ? QCoreApplication::translate("ConfinedRead", "its folder is a symbolic link, not followed")
                : reasonOf(errno);
        return file;
    }
    // Non-blocking, so a FIFO put in the folder does not hang the open.
    const Descriptor opened{::openat(dir.fd, QFile::encodeName(name).constData(),
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (opened.fd < 0) {
        file.refused = reasonOf(errno);
        return file;
    }
    struct stat status;
    if (::fstat(opened.fd, &status) != 0) {
        file.refused = reasonOf(errno);
        return file;
    }
    if (!S_ISREG(status.st_mode)) {
        file.refused = QCoreApplication::translate("ConfinedRead", "it is not a regular file");
        return file;
    }
    if (status.st_size > maxBytes) {
        file.refused =
            QCoreApplication::translate("ConfinedRead", "it is larger than %1 bytes").arg(maxBytes);
        return file;
    }
    // The size may change while it is read: never more than the cap plus one byte, which tells
    // a file that grew past it.
    QByteArray bytes(qsizetype(status.st_size) + 1, Qt::Uninitialized);
    qint64 total = 0;
    while (true) {
        if (total == bytes.size()) {
            if (total > maxBytes) {
                file.refused =
                    QCoreApplication::translate("ConfinedRead", "it is larger than %1 bytes").arg(maxBytes);
                return file;
            }
            bytes.resize(std::min<qint64>(maxBytes + 1, total * 2 + 1));
        }
        const ssize_t got = ::read(opened.fd, bytes.data() + total, size_t(bytes.size() - total));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            file.refused = reasonOf(errno);
            return file;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    if (total > maxBytes) {
        file.refused =
            QCoreApplication::translate("ConfinedRead", "it is larger than %1 bytes").arg(maxBytes);
        return file;
    }
    if (total == 0) {
        file.refused = QCoreApplication::translate("ConfinedRead", "it is empty");
        return file;
    }
    bytes.truncate(total);
    file.bytes = bytes;
    return file;
}

QString notRegularFile(const QString &path) {
    const Descriptor opened{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat status;
    if (opened.fd < 0 || ::fstat(opened.fd, &status) != 0) {
        return reasonOf(errno);
    }
    return S_ISREG(status.st_mode) ? QString()
                                   : QCoreApplication::translate("ConfinedRead", "it is not a regular file");
}

} // namespace ConfinedRead
