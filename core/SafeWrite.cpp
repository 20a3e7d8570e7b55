#include "core/SafeWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeWrite {

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool fail(const QString &path, const QString &reason, QString *why) {
    if (why) {
        *why = failure(path, reason);
    }
    return false;
}

QByteArray encoded(const QString &path) {
    return QFile::encodeName(path);
}

bool isLink(const QString &path) {
    struct stat status;
    return ::lstat(encoded(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

// Why the file could not take what it was given. QFileDevice reports a short write (a disk that
// fills up midway) with no error or with "Unknown error", so one more byte is written where the file
// ends and the system says why it cannot be (a full disk, a quota, a failing device).
QString reasonOf(QFileDevice &file) {
    struct stat status;
    const char byte = 0;
    if (::fstat(file.handle(), &status) == 0 && ::pwrite(file.handle(), &byte, 1, status.st_size) < 0) {
        return systemReason(errno);
    }
    if (file.error() != QFileDevice::NoError) {
        return file.errorString();
    }
    return QCoreApplication::translate("SafeWrite", "only part of the file reached the disk");
}

// Everything written on its way to the disk, or why it cannot be. A failed flush is not enough to go
// by: QSaveFile::commit() ignores one as it closes the file, and would rename an empty or cut file
// over the target. So the buffer is flushed here, and a file shorter than what was written is
// refused.
QString finish(QSaveFile &file) {
    for (int attempt = 0; attempt < 64 && file.bytesToWrite() > 0; ++attempt) {
        if (!file.flush()) {
            break;
        }
    }
    if (file.error() != QFileDevice::NoError || file.bytesToWrite() > 0 || file.size() < file.pos()) {
        return reasonOf(file);
    }
    return QString();
}

} // namespace

// Renames without ever removing a file already at the target: refused with EEXIST then. Where the
// file system cannot rename that way, a hard link does the same (files only).
int renameKeepingTarget(const QString &fromPath, const QString &toPath) {
    const QByteArray from = encoded(fromPath), to = encoded(toPath);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (::link(from.constData(), to.constData()) != 0) {
        return errno;
    }
    ::unlink(from.constData());
    return 0;
}

QString writeNew(const QString &path, const QByteArray &bytes, int mode) {
    if (path.isEmpty()) {
        return QCoreApplication::translate("SafeWrite", "no file name was given");
    }
    const QByteArray name = encoded(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        return errno == EEXIST && isLink(path) ? linkRefused() : systemReason(errno);
    }
    int error = 0;
    for (qint64 done = 0; done < bytes.size() && !error;) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote < 0 && errno != EINTR) {
            error = errno;
        } else if (wrote > 0) {
            done += wrote;
        }
    }
    if (!error && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && !error) {
        error = errno;
    }
    if (error) {
        ::unlink(name.constData());
        return systemReason(error);
    }
    return QString();
}

QString targetRefusal(const QString &path) {
    struct stat status;
    if (::lstat(encoded(path).constData(), &status) != 0) {
        return QString();
    }
    if (S_ISLNK(status.st_mode)) {
        return linkRefused();
    }
    return S_ISREG(status.st_mode)
               ? QString()
               : QCoreApplication::translate(
                     "SafeWrite",
                     "it is not a regular file (a device, a FIFO or a folder); nothing replaces it");
}

QString linkRefused() {
    return QCoreApplication::translate("SafeWrite", "it is a symbolic link; nothing is written through one");
}

QString failure(const QString &path, const QString &reason) {
    return QCoreApplication::translate("SafeWrite", "Cannot write %1: %2").arg(path, reason);
}

bool writeThroughDevice(const QString &path, const DeviceWriter &write, QString *why) {
    if (path.isEmpty()) {
        return fail(path, QCoreApplication::translate("SafeWrite", "no file name was given"), why);
    }
    // QSaveFile would write through a link and replace the file it points to, wherever that is, and
    // its rename would put a file in the place of a device or a FIFO. Checked here, the rename in
    // commit() replaces whatever took the name meanwhile, link or not, and never follows it.
    if (const QString refused = targetRefusal(path); !refused.isEmpty()) {
        return fail(path, refused, why);
    }
    // QSaveFile writes a temporary beside the target and renames it over the target in commit(),
    // after flushing and syncing it; until then the target is untouched, and a QSaveFile destroyed
    // without a commit removes its temporary.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(path, file.errorString(), why);
    }
    QString reason = write(file);
    if (reason.isEmpty()) {
        reason = finish(file);
    } else if (file.error() != QFileDevice::NoError) {
        reason = reasonOf(file); // the writer's own words ("device error") hide the system's reason
    }
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return fail(path, reason, why);
    }
    if (!file.commit()) {
        return fail(path, file.errorString(), why);
    }
    return true;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *why) {
    return writeThroughDevice(
        path,
        [&bytes](QIODevice &device) {
            return device.write(bytes) == bytes.size() ? QString()
                                                       : reasonOf(static_cast<QFileDevice &>(device));
        },
        why);
}

bool writeImage(const QString &path, const QImage &image, const char *format, QString *why) {
    const QByteArray name = format ? QByteArray(format) : QFileInfo(path).suffix().toLatin1();
    return writeThroughDevice(
        path,
        [&](QIODevice &device) {
            QImageWriter writer(&device, name);
            return writer.write(image) ? QString() : writer.errorString();
        },
        why);
}

} // namespace SafeWrite
