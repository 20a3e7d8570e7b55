#pragma once

#include <QByteArray>
#include <QString>

// Reading a file of a folder given by someone else (the drawing folder of a legacy or earlier-version
// study) without ever leaving it: the folder and the file are opened without following a symbolic
// link, only a regular file is read, and never more than a cap. Whatever is not read says why.
namespace ConfinedRead {

inline constexpr qint64 MaxBytes = qint64{1024} * 1024;

struct File {
    QByteArray bytes;
    QString refused; // why nothing was read ("" when the bytes are the file's)
    bool ok() const { return refused.isEmpty(); }
};

// The whole file `name` (a plain file name, no folder part) of `folder`. An empty file, a link, a
// folder, a device or a file larger than maxBytes is refused.
File fromFolder(const QString &folder, const QString &name, qint64 maxBytes = MaxBytes);

// Whether the path (a link followed) names a regular file, found without blocking: it is opened
// non-blocking and looked at, so a FIFO, a device or a link to one never hangs nor is read. "" when it
// is a regular file, else why not ("it is not a regular file", "it does not exist"...).
QString notRegularFile(const QString &path);

} // namespace ConfinedRead
