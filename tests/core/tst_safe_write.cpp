// Files written all or nothing: the shared helper, every writer of the program on a full disk (a
// small tmpfs, mounted when the tests run as root), and a FIFO standing where config.ini belongs.

#include "core/AppState.h"
#include "core/IniFile.h"
#include "core/SafeWrite.h"
#include "imaging/PhantomWriter.h"
#include "subjects/ReportOutput.h"
#include "support/StudyInApp.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

enum class Call { Bytes, FailingDevice, Image, Temporary, FailingTemporary, KeepExisting };

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

QStringList everything(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

const QString NoSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));

} // namespace

Q_DECLARE_METATYPE(Call)

class SafeWriteTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_disk; // the small tmpfs is mounted here
    QString m_noDisk;     // why the full-disk cases cannot run; empty when mounted

private slots:
    void initTestCase() {
        if (::geteuid() != 0) {
            m_noDisk = u"only root can mount the small tmpfs the full-disk cases need"_s;
            return;
        }
        QProcess mount;
        mount.start(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, m_disk.path()});
        if (!mount.waitForFinished() || mount.exitCode() != 0) {
            m_noDisk = u"mount -t tmpfs failed: "_s + QString::fromLocal8Bit(mount.readAllStandardError());
        }
    }
    void cleanupTestCase() {
        if (m_noDisk.isEmpty()) {
            QProcess::execute(u"umount"_s, {m_disk.path()});
        }
    }

    // The target is replaced only by a complete file; on failure it stays as it was, the message
    // names it and never the temporary, and nothing else is left in the folder.
    void helperReplacesOnlyACompleteFile_data() {
        QTest::addColumn<Call>("call");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("says");
        QTest::newRow("bytes") << Call::Bytes << true << QString();
        QTest::newRow("device writer fails")
            << Call::FailingDevice << false << u"Cannot write TARGET: jammed"_s;
        QTest::newRow("picture") << Call::Image << true << QString();
        QTest::newRow("path writer") << Call::Temporary << true << QString();
        QTest::newRow("path writer fails naming its file")
            << Call::FailingTemporary << false << u"Cannot write TARGET: jammed at TARGET"_s;
        QTest::newRow("existing file kept")
            << Call::KeepExisting << false
            << u"Cannot write TARGET: "_s + QString::fromLocal8Bit(std::strerror(EEXIST));
    }
    void helperReplacesOnlyACompleteFile() {
        QFETCH(Call, call);
        QFETCH(bool, ok);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"target"_s);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        auto writeNew = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write("new") == 3 ? QString() : file.errorString();
        };
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QString why;
        bool written = false;
        switch (call) {
        case Call::Bytes:
            written = SafeWrite::writeBytes(target, "new", &why);
            break;
        case Call::FailingDevice:
            written = SafeWrite::writeThroughDevice(
                target,
                [](QIODevice &device) {
                    device.write("partial");
                    return u"jammed"_s;
                },
                &why);
            break;
        case Call::Image:
            written = SafeWrite::writeImage(target, picture, "PNG", &why);
            break;
        case Call::Temporary:
            written = SafeWrite::writeThroughTemporary(target, writeNew, SafeWrite::Existing::Replace, &why);
            break;
        case Call::FailingTemporary:
            written = SafeWrite::writeThroughTemporary(
                target,
                [&](const QString &path) {
                    writeNew(path);
                    return u"jammed at "_s + path;
                },
                SafeWrite::Existing::Replace, &why);
            break;
        case Call::KeepExisting:
            written = SafeWrite::writeThroughTemporary(target, writeNew, SafeWrite::Existing::Keep, &why);
            break;
        }
        QCOMPARE(written, ok);
        QCOMPARE(why, QString(says).replace(u"TARGET"_s, target));
        QCOMPARE(everything(dir.path()), QStringList{u"target"_s});
        if (call == Call::Image) {
            QCOMPARE(QImage(target, "PNG"), picture);
        } else {
            QCOMPARE(contents(target), ok ? "new" : "old");
        }
        struct stat status;
        QVERIFY(::stat(QFile::encodeName(target).constData(), &status) == 0);
        QCOMPARE(status.st_mode & 0777, 0640u);
    }

    void aMissingFolderIsToldWithThePath() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"missing/target"_s);
        QString why;
        QVERIFY(!SafeWrite::writeBytes(path, "x", &why));
        QCOMPARE(why, SafeWrite::failure(path, QString::fromLocal8Bit(std::strerror(ENOENT))));
        QVERIFY(everything(dir.path()).isEmpty());
    }

    // Each writer, with the disk full but for `room` bytes, reports the path and the system's
    // reason and leaves the folder as it found it.
    void writersOnAFullDiskLeaveNothing_data() {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<qint64>("room");
        QTest::addColumn<QByteArray>("before"); // the target's contents before, when it exists
        QTest::newRow("report PDF") << u"report.pdf"_s << qint64(4096) << QByteArray();
        QTest::newRow("plan CSV") << u"plan.csv"_s << qint64(4096) << QByteArray();
        QTest::newRow("config.ini") << u"config.ini"_s << qint64(0)
                                    << QByteArray("[ZoBrain]\nImageDir=/old\n");
        QTest::newRow("phantom series") << u"series"_s << qint64(4096) << QByteArray();
        QTest::newRow("drawing PNG") << u"drawing.png"_s << qint64(4096) << QByteArray();
        QTest::newRow("new study") << u"new.sqlite"_s << qint64(4096) << QByteArray();
        QTest::newRow("imported study") << u"legacy-study.sqlite"_s << qint64(8192) << QByteArray();
    }
    void writersOnAFullDiskLeaveNothing() {
        if (!m_noDisk.isEmpty()) {
            QSKIP(qPrintable(u"Full-disk cases not run: "_s + m_noDisk));
        }
        QFETCH(QString, writer);
        QFETCH(qint64, room);
        QFETCH(QByteArray, before);
        const QString target = QDir(m_disk.path()).filePath(writer);
        for (const QString &name : everything(m_disk.path())) {
            QVERIFY(QFile::remove(m_disk.filePath(name)) || QDir(m_disk.filePath(name)).removeRecursively());
        }
        QStringList left{u"filler"_s};
        if (!before.isEmpty()) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
            left << writer;
            left.sort();
        }
        struct statvfs disk;
        QVERIFY(::statvfs(QFile::encodeName(m_disk.path()).constData(), &disk) == 0);
        QFile filler(m_disk.filePath(u"filler"_s));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        QVERIFY(filler.write(QByteArray(qint64(disk.f_bavail * disk.f_frsize) - room, 'x')) > 0 &&
                filler.flush());
        filler.close();

        QTemporaryDir elsewhere; // what the writers read lies on an ordinary disk
        QString why;
        bool refused = false;
        if (writer == u"report.pdf"_s) {
            StudyFixture study;
            study.addSubject(1, u"Ana"_s, u"Ruiz"_s);
            for (int p = 1; p <= 12; ++p) {
                study.addPoint(p, p, 1, p % 5 - 1, p % 10 - 4, 3);
                for (int pasada = 1; pasada <= 3; ++pasada) {
                    study.addStimulus(100 * p + pasada, p, pasada, 1);
                }
            }
            const auto state = openInApp(study, 1, u"Ana Ruiz"_s);
            QVERIFY(state);
            refused = !ReportOutput::guardaInformePdf(*state, target, &why);
        } else if (writer == u"plan.csv"_s) {
            QVERIFY(Phantom::write(elsewhere.path(), Phantom::Options{20, 64}));
            QProcess tool;
            tool.start(qEnvironmentVariable("ZK_TOOL"), {u"plan"_s, elsewhere.path(), u"--landmarks"_s,
                                                         u"50,32,10:10,32,10:5,32,10"_s, u"--csv"_s, target});
            QVERIFY(tool.waitForFinished(60000));
            refused = tool.exitCode() != 0 && !tool.readAllStandardOutput().contains("Wrote");
            why = QString::fromLocal8Bit(tool.readAllStandardError());
        } else if (writer == u"config.ini"_s) {
            refused = EscribeIni(target, u"ZoBrain"_s, u"ImageDir"_s, u"/new"_s) == 0;
        } else if (writer == u"series"_s) {
            refused = !Phantom::write(target, Phantom::Options{4, 16}, &why);
        } else {
            // The tool's commands: render-drawing, new-study and import-mdb.
            QStringList args{u"new-study"_s, target};
            if (writer == u"drawing.png"_s) {
                QFile drawing(elsewhere.filePath(u"352"_s));
                QVERIFY(drawing.open(QIODevice::WriteOnly) && drawing.write("2\r\n0 1 1\r\n3 9 9\r\n") > 0);
                drawing.close();
                args = QStringList{u"render-drawing"_s, drawing.fileName(), u"--mode"_s,
                                   u"lines"_s,          u"--png"_s,         target,
                                   u"--size"_s,         u"2000"_s};
            } else if (writer == u"legacy-study.sqlite"_s) {
                args = QStringList{u"import-mdb"_s,
                                   qEnvironmentVariable("ZK_TEST_DATA") + u"/legacy-study.mdb"_s, target};
            }
            QProcess tool;
            tool.start(qEnvironmentVariable("ZK_TOOL"), args);
            QVERIFY(tool.waitForFinished(60000));
            refused = tool.exitCode() != 0;
            why = QString::fromLocal8Bit(tool.readAllStandardError());
        }
        QVERIFY(refused);
        // EscribeIni tells only that it failed; the others say where and why (the data base engine in
        // its own words).
        QVERIFY2(writer == u"config.ini"_s ||
                     (why.contains(target) && (why.contains(NoSpace) || why.contains(u"disk is full"_s))),
                 qPrintable(why));
        QCOMPARE(everything(m_disk.path()), left);
        if (!before.isEmpty()) {
            QCOMPARE(contents(target), before);
        }
    }

    // A FIFO named config.ini is neither read (opening it would wait for a writer for ever) nor
    // replaced: reading gives the default, writing fails, and the FIFO stays.
    void fifoNamedConfigIniIsLeftAlone() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(u"config.ini"_s);
        const QByteArray name = QFile::encodeName(fifo);
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        // Each call runs with a time limit: one stuck opening the FIFO is let go by opening the other
        // end, and gives nothing.
        auto inTime = [&](auto call) {
            auto done = std::async(std::launch::async, call);
            if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
                return std::optional(done.get());
            }
            for (int flags : {O_RDONLY | O_NONBLOCK, O_WRONLY | O_NONBLOCK}) {
                const int fd = ::open(name.constData(), flags);
                if (fd >= 0) {
                    ::close(fd);
                }
            }
            done.wait();
            return decltype(std::optional(done.get()))();
        };
        QCOMPARE(inTime([&] { return LeeIni(fifo, u"ZoBrain"_s, u"ImageDir"_s, u"/default"_s); }),
                 std::optional(u"/default"_s));
        QCOMPARE(inTime([&] { return EscribeIni(fifo, u"ZoBrain"_s, u"ImageDir"_s, u"/mr"_s); }),
                 std::optional(qint16(0)));
        struct stat status;
        QVERIFY(::lstat(name.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    }
};

QTEST_MAIN(SafeWriteTest)
#include "tst_safe_write.moc"
