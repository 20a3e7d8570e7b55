#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Files and programs for tests without windows: what a folder or file holds, inputs written whole,
// the shared test data, and programs run to their end.

// The file's bytes; "<none>" when it cannot be read.
inline QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// Writes a whole file, creating its folder; false when it cannot.
inline bool putFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// Every entry of a folder, hidden ones included, by name.
inline QStringList folderEntries(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

// A file of the shared test data (tests/data).
inline QString testData(const QString &name) {
    return qEnvironmentVariable("ZK_TEST_DATA") + QLatin1Char('/') + name;
}

// The real legacy study, legacy-study.mdb, copied into `dir` with its folder of drawings beside it as
// the earlier program kept them; the copy's path.
inline QString copyLegacyStudy(const QString &dir) {
    const QString mdb = QDir(dir).filePath(QStringLiteral("legacy-study.mdb"));
    const QDir drawings(testData(QStringLiteral("legacy-study_puntos")));
    bool copied = QFile::copy(testData(QStringLiteral("legacy-study.mdb")), mdb) &&
                  QDir(dir).mkpath(QStringLiteral("legacy-study_puntos"));
    for (const QString &name : drawings.entryList(QDir::Files)) {
        copied = copied && QFile::copy(drawings.filePath(name),
                                       QDir(dir).filePath(QStringLiteral("legacy-study_puntos/") + name));
    }
    return copied ? mdb : QString();
}

// Runs a program to its end (the tool when `program` is empty); its exit code, or -1 when it did not
// end normally, with what it wrote to either channel in `output`.
inline int runProgram(const QString &program, const QStringList &args, QString *output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program.isEmpty() ? qEnvironmentVariable("ZK_TOOL") : program, args);
    const bool ended = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit;
    if (output) {
        *output = QString::fromLocal8Bit(process.readAll());
    }
    return ended ? process.exitCode() : -1;
}

// The demo study made by the tool in `dir` (demo.sqlite, its MR in mr-ana) with each of `subjects`
// calibrated by the tool on that MR, on the landmarks of its phantom head: the two across the face, the
// Ilion at the back. The study's path, or "" when a step failed (what the tool said in `said`).
inline QString calibratedDemo(const QString &dir, const QStringList &subjects, QString *said = nullptr) {
    QString out;
    const QString study = QDir(dir).filePath(QStringLiteral("demo.sqlite"));
    bool made = runProgram({}, {QStringLiteral("demo"), dir}, &out) == 0;
    for (const QString &subject : subjects) {
        made = made &&
               runProgram({},
                          {QStringLiteral("calibrate"), study, QStringLiteral("--subject"), subject,
                           QStringLiteral("--series"), QDir(dir).filePath(QStringLiteral("mr-ana")),
                           QStringLiteral("--landmarks"), QStringLiteral("20,80,45:140,80,45:138,80,45")},
                          &out) == 0;
    }
    if (said) {
        *said = out;
    }
    return made ? study : QString();
}
