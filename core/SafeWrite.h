#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;
class QImage;

// Files written all or nothing. The contents go to a temporary file in the target's folder, which
// is renamed over the target only once everything reached the disk; whatever fails (a full disk, a
// folder that is missing or read-only, the writer's own error) removes the temporary and leaves the
// target exactly as it was. Every failure is told as "Cannot write PATH: REASON", with the path the
// caller gave and the system's reason, never the temporary's name.
namespace SafeWrite {

// The message of a file that could not be written.
QString failure(const QString &path, const QString &reason);

// The reason given when the target is a symbolic link (dangling or not): nothing is written through one.
QString linkRefused();

// Why nothing may be written at the path as it stands, "" when a file may be: a symbolic link (even a
// dangling one) is refused, and so is anything that exists and is not a regular file (a device, a
// FIFO, a folder), which a rename over it would replace. The writers below check it first; a command
// that writes several files checks every one of them before writing any.
QString targetRefusal(const QString &path);

// Renames `from` to `to` (a file or a folder) unless something, even a dangling link, has that name:
// 0, or the system's error (EEXIST then).
[[nodiscard]] int renameKeepingTarget(const QString &from, const QString &to);

// A new file holding the bytes: created with O_CREAT | O_EXCL | O_NOFOLLOW, so nothing that has the
// name already (a file, a link) is opened or replaced, with `mode` (before the umask); flushed to the
// disk. "" when written, or the reason it was not; a failure removes what it created.
[[nodiscard]] QString writeNew(const QString &path, const QByteArray &bytes, int mode = 0666);

// The bytes as the whole file. A target that is a symbolic link is refused: the writers below never
// write through one, and never follow one. False with *why set when it could not be written.
[[nodiscard]] bool writeBytes(const QString &path, const QByteArray &bytes, QString *why = nullptr);

// Produces the contents on the device (a QSaveFile): an empty text when everything was written, or
// the reason it was not. A failed write on the device is caught even when the writer ignores it.
using DeviceWriter = std::function<QString(QIODevice &device)>;
[[nodiscard]] bool writeThroughDevice(const QString &path, const DeviceWriter &write, QString *why = nullptr);

// A picture in the format `format` names ("PNG"), or the one of the path's extension when null.
[[nodiscard]] bool writeImage(const QString &path, const QImage &image, const char *format = nullptr,
                              QString *why = nullptr);

} // namespace SafeWrite
