// Files written all or nothing: the shared helper, every writer of the program on a full disk (a
// small tmpfs, mounted when the tests run as root), and a FIFO standing where config.ini belongs.

#include "core/IniFile.h"
#include "core/SafeWrite.h"
#include "imaging/PhantomWriter.h"
#include "support/FullDisk.h"
#include "support/StudyFixture.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <sys/statvfs.h>

using namespace Qt::StringLiterals;

const QString NoSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));

class SafeWriteTest : public QObject {
    Q_OBJECT

private:
    FullDisk m_disk; // mounted for every case, unmounted when the test ends

private slots:
    // A writer that fails half way leaves the target as it was and the message names the target,
    // never the temporary; a complete file replaces it keeping its permissions; nothing else is left.
    void helperReplacesOnlyACompleteFile() {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"target"_s);
        QVERIFY(putFile(target, "old") &&
                QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const auto jammed = [](QIODevice &device) {
            device.write("partial");
            return u"jammed"_s;
        };
        QString why;
        QVERIFY(!SafeWrite::writeThroughDevice(target, jammed, &why));
        QCOMPARE(why, u"Cannot write %1: jammed"_s.arg(target));
        QCOMPARE(fileBytes(target), "old");
        QVERIFY(SafeWrite::writeBytes(target, "new", &why));
        QCOMPARE(fileBytes(target), "new");
        QCOMPARE(folderEntries(dir.path()), QStringList{u"target"_s});
        struct stat status;
        QVERIFY(::stat(QFile::encodeName(target).constData(), &status) == 0);
        QCOMPARE(status.st_mode & 0777, 0640u);
    }

    // Each writer, with the disk all but full, reports the path and the system's reason and leaves
    // the folder as it found it (config.ini as it was). The subject report's PDF is written through
    // the same all-or-nothing device as the drawing's PNG.
    void writersOnAFullDiskLeaveNothing_data() {
        QTest::addColumn<QString>("writer");
        for (const QString &writer : {u"plan.csv"_s, u"config.ini"_s, u"series"_s, u"drawing.png"_s,
                                      u"new.sqlite"_s, u"legacy-study.sqlite"_s, u"export"_s}) {
            QTest::newRow(qPrintable(writer)) << writer;
        }
    }
    void writersOnAFullDiskLeaveNothing() {
        if (!m_disk.mounted()) {
            QSKIP(qPrintable(u"Full-disk cases not run: "_s + m_disk.why()));
        }
        QFETCH(QString, writer);
        const QString target = QDir(m_disk.path()).filePath(writer);
        for (const QString &name : folderEntries(m_disk.path())) {
            QVERIFY(QFile::remove(m_disk.filePath(name)) || QDir(m_disk.filePath(name)).removeRecursively());
        }
        const bool ini = writer == "config.ini";
        const QByteArray before = ini ? QByteArray("[ZoBrain]\nImageDir=/old\n") : QByteArray("<none>");
        QVERIFY(!ini || putFile(target, before));
        // Room left: none for the settings, a little for the others (a page of the import's engine).
        const qint64 room = ini ? 0 : (writer == "legacy-study.sqlite" ? 8192 : 4096);
        struct statvfs disk;
        QVERIFY(::statvfs(QFile::encodeName(m_disk.path()).constData(), &disk) == 0);
        QVERIFY(putFile(m_disk.filePath("filler"),
                        QByteArray(qint64(disk.f_bavail * disk.f_frsize) - room, 'x')));

        QTemporaryDir elsewhere; // what the writers read lies on an ordinary disk
        StudyFixture study;
        QString why;
        bool refused = false;
        if (ini) {
            refused = EscribeIni(target, "ZoBrain", "ImageDir", "/new") == 0;
        } else if (writer == "series") {
            refused = !Phantom::write(target, Phantom::Options{4, 16}, &why);
        } else {
            // The tool's commands: plan, render-drawing, new-study, import-mdb and export.
            QStringList args{"new-study", target};
            if (writer == "plan.csv") {
                QVERIFY(Phantom::write(elsewhere.path(), Phantom::Options{20, 64}));
                args = QStringList{
                    "plan", elsewhere.path(), "--landmarks", "50,32,10:10,32,10:5,32,10", "--csv", target};
            } else if (writer == "drawing.png") {
                const QString drawing = elsewhere.filePath("352");
                QVERIFY(putFile(drawing, "2\r\n0 1 1\r\n3 9 9\r\n"));
                args = QStringList{"render-drawing", drawing, "--mode", "lines",
                                   "--png",          target,  "--size", "2000"};
            } else if (writer == "legacy-study.sqlite") {
                args = QStringList{"import-mdb", testData("legacy-study.mdb"), target};
            } else if (writer == "export") {
                study.addSubject(1, "Ana"); // with notes longer than the room left
                study.exec("UPDATE paciente SET Observaciones = ?", {QString(200000, 'x')});
                study.release();
                args = QStringList{"export", study.path(), target, "--format", "tsv"};
            }
            refused = runProgram({}, args, &why) != 0 && !why.contains("Wrote");
        }
        QVERIFY(refused);
        // EscribeIni tells only that it failed; the others say where and why (the data base engine in
        // its own words).
        QVERIFY2(ini || (why.contains(target) && (why.contains(NoSpace) || why.contains("disk is full"))),
                 qPrintable(why));
        QCOMPARE(folderEntries(m_disk.path()), (ini ? QStringList{writer, "filler"} : QStringList{"filler"}));
        QCOMPARE(fileBytes(target), before);
    }

    // Nothing is written through a symbolic link already at the target, dangling or not: the writer
    // says so, the link stays a link, and the file it points to stays as it was (or is not made). The
    // replacing writers (bytes, images) share one path; a new file has its own.
    void aSymbolicLinkAtTheTargetIsRefused_data() {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<bool>("dangling");
        for (const QString &writer : {u"bytes"_s, u"new"_s}) {
            QTest::newRow(qPrintable(writer + u" through a link"_s)) << writer << false;
            QTest::newRow(qPrintable(writer + u" through a dangling link"_s)) << writer << true;
        }
    }
    void aSymbolicLinkAtTheTargetIsRefused() {
        QFETCH(QString, writer);
        QFETCH(bool, dangling);
        QTemporaryDir dir, outside;
        const QString victim = outside.filePath(u"victim"_s), link = dir.filePath(u"out.png"_s);
        QVERIFY(dangling || putFile(victim, "outside"));
        QVERIFY(QFile::link(victim, link));
        QString why;
        if (writer == u"bytes") {
            QVERIFY(!SafeWrite::writeBytes(link, "drawing", &why));
        } else {
            why = SafeWrite::failure(link, SafeWrite::writeNew(link, "drawing"));
        }
        QCOMPARE(why, SafeWrite::failure(link, SafeWrite::linkRefused()));
        QCOMPARE(fileBytes(victim), dangling ? "<none>" : "outside");
        QCOMPARE(QFileInfo(link).symLinkTarget(), victim);
        QCOMPARE(folderEntries(dir.path()), QStringList{u"out.png"_s});
    }

    // A FIFO named config.ini is neither read (opening it would wait for a writer for ever: the run
    // would end at its time limit) nor replaced: reading gives the default, writing fails, and the FIFO
    // stays.
    void fifoNamedConfigIniIsLeftAlone() {
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(u"config.ini"_s));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QCOMPARE(LeeIni(dir.filePath(u"config.ini"_s), u"ZoBrain"_s, u"ImageDir"_s, u"/default"_s),
                 u"/default"_s);
        QCOMPARE(EscribeIni(dir.filePath(u"config.ini"_s), u"ZoBrain"_s, u"ImageDir"_s, u"/mr"_s), qint16(0));
        struct stat status;
        QVERIFY(::lstat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    }
};

QTEST_MAIN(SafeWriteTest)
#include "tst_safe_write.moc"
