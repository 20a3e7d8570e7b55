// Path procedures: splitting on both separators, joining with one, extensions; where
// an installed or a portable program keeps config.ini, and how its settings are read and written.

#include "core/IniFile.h"
#include "core/ZoDir.h"
#include "support/Files.h"

#include <unistd.h>

using namespace ZoDir;

class PathProcedures : public QObject {
    Q_OBJECT

private slots:
    // The text procedures, both separators accepted: a call (procedure and arguments) and its result.
    void textProcedures_data() {
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<QString>("result");
        // Splitting: the name, the directory.
        QTest::newRow("split, slash last") << QStringList{"split", "C:\\data/tms.mdb"} << "tms.mdb|C:\\data";
        QTest::newRow("split, backslash last")
            << QStringList{"split", "/home/lab\\p\\1111"} << "1111|/home/lab\\p";
        QTest::newRow("split, no separator") << QStringList{"split", "tms.mdb"} << "|";
        QTest::newRow("split, trailing separator") << QStringList{"split", "/tmp/"} << "|/tmp";
        // The extension.
        QTest::newRow("extension, no dot") << QStringList{"extension", "/data/study"} << "";
        QTest::newRow("extension, two dots") << QStringList{"extension", "a.tar.gz"} << "gz";
        // Joining puts exactly one separator.
        QTest::newRow("join, both have it") << QStringList{"join", "C:\\a\\", "\\b", "\\"} << "C:\\a\\b";
        QTest::newRow("join, neither has it") << QStringList{"join", "C:\\a", "b", "\\"} << "C:\\a\\b";
    }
    void textProcedures() {
        QFETCH(QStringList, call);
        QFETCH(QString, result);
        QString path = call.value(1);
        if (call[0] == "split") {
            QCOMPARE(NombreFichero(path) + '|' + DirectorioFichero(path), result);
        } else if (call[0] == "extension") {
            QCOMPARE(DameExtension(path), result);
        } else {
            QCOMPARE(UneRuta(path, call[2], call[3]), result);
        }
    }

    // The program runs from <top>/bin. An installed copy has its data folder share/zokorvane beside
    // bin; it keeps config.ini in the user's configuration folder and offers the home folder first,
    // as does a copy in a folder it cannot write. Anything else is a portable copy (or a build
    // tree): config.ini beside the program, which is also the folder offered first.
    void configLivesBesideAPortableCopyAndInTheUsersFolderWhenInstalled_data() {
        QTest::addColumn<QStringList>("made"); // under <top>; a trailing / makes a folder
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("inUsersFolder");
        QTest::newRow("build tree") << QStringList() << true << false;
        QTest::newRow("installed") << QStringList{"share/zokorvane/"} << true << true;
        QTest::newRow("portable, folder not writable") << QStringList() << false << true;
        QTest::newRow("a file named share/zokorvane") << QStringList{"share/zokorvane"} << true << false;
        QTest::newRow("data folder of another program")
            << QStringList{"share/zokorvane2/", "share/other/"} << true << false;
        QTest::newRow("share/zokorvane inside bin") << QStringList{"bin/share/zokorvane/"} << true << false;
    }
    void configLivesBesideAPortableCopyAndInTheUsersFolderWhenInstalled() {
        QFETCH(QStringList, made);
        QFETCH(bool, writable);
        QFETCH(bool, inUsersFolder);
        QTemporaryDir dir;
        const QString top = QFileInfo(dir.path()).canonicalFilePath();
        const QString bin = top + "/bin";
        for (const QString &path : QStringList{"bin/"} + made) {
            QVERIFY(path.endsWith('/') ? QDir().mkpath(top + '/' + path) : putFile(top + '/' + path, ""));
        }
        QVERIFY(QFile::copy(QStringLiteral(ZK_PATHS_PROBE), bin + "/zokorvane"));
        // Root writes anywhere but on a read-only mount.
        const bool asRoot = geteuid() == 0;
        const QFile::Permissions permissions = QFile::permissions(bin);
        if (!writable && asRoot &&
            (QProcess::execute("mount", {"--bind", bin, bin}) != 0 ||
             QProcess::execute("mount", {"-o", "remount,bind,ro", bin}) != 0)) {
            QProcess::execute("umount", {bin});
            QSKIP("a read-only mount is needed to run as root");
        } else if (!writable && !asRoot) {
            QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(top + "/config")); // the probe inherits them
        qputenv("HOME", QFile::encodeName(top + "/home"));
        QString said;
        const int code = runProgram(bin + "/zokorvane", {}, &said);
        if (!writable && asRoot) {
            QProcess::execute("umount", {bin});
        }
        QFile::setPermissions(bin, permissions);
        QVERIFY2(code == 0, qPrintable(said));
        // The probe calls itself ZoKorvane, which names its folder in the user's configuration.
        const QStringList expected =
            inUsersFolder ? QStringList{top + "/config/ZoKorvane/config.ini", top + "/home", ""}
                          : QStringList{bin + "/config.ini", bin, ""};
        QCOMPARE(said.split('\n'), expected);
    }

    // ZoBrain/ImageDir read from config.ini (none for null text), "/default" when it is not there.
    void settingsAreRead_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("no file") << QByteArray() << "/default";
        QTest::newRow("key only in another section")
            << QByteArray("[Other]\nImageDir=/other\n[ZoBrain]\nSomething=1\n") << "/default";
        QTest::newRow("names in any case, the value raw")
            << QByteArray("; comment\r\n[zobrain]\r\n  imagedir = C:\\Resonancias\\S1 ; not a comment \r\n")
            << "C:\\Resonancias\\S1 ; not a comment";
        QTest::newRow("Latin-1 file of the old program")
            << QByteArray("[ZoBrain]\r\nImageDir=C:\\Im\xe1genes\r\n") << "C:\\Imágenes";
    }
    void settingsAreRead() {
        QFETCH(QByteArray, text);
        QTemporaryDir dir;
        const QString path = dir.filePath("config.ini");
        QVERIFY(text.isNull() || putFile(path, text));
        QTEST(LeeIni(path, "ZoBrain", "ImageDir", "/default"), "value");
    }

    // ZoBrain/ImageDir written into config.ini (none for null text): the whole file afterwards; a
    // file that cannot be made is a failure.
    void settingsAreWritten_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file, section and key")
            << QByteArray() << "/mr/s1" << QByteArray("[ZoBrain]\nImageDir=/mr/s1\n");
        QTest::newRow("key replaced, CR LF and everything else kept")
            << QByteArray("[A]\r\nx=1\r\n\r\n[ZOBRAIN]\r\nIMAGEDIR=old\r\nother=2\r\n[B]\r\ny=3\r\n")
            << "/new dir/é"
            << QByteArray(
                   "[A]\r\nx=1\r\n\r\n[ZOBRAIN]\r\nIMAGEDIR=/new dir/\xc3\xa9\r\nother=2\r\n[B]\r\ny=3\r\n");
        QTest::newRow("new key at the end of its section")
            << QByteArray("[ZoBrain]\nother=2\n\n[B]\ny=3\n") << "v"
            << QByteArray("[ZoBrain]\nother=2\nImageDir=v\n\n[B]\ny=3\n");
        // The old program's read buffer cut a value at 149 characters, paths it wrote itself included.
        QTest::newRow("a value longer than the old read buffer")
            << QByteArray() << QString(300, 'b') << "[ZoBrain]\nImageDir=" + QByteArray(300, 'b') + '\n';
    }
    void settingsAreWritten() {
        QFETCH(QByteArray, before);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath("config.ini");
        QVERIFY(before.isNull() || putFile(path, before));
        QVERIFY(EscribeIni(path, "ZoBrain", "ImageDir", value) != 0);
        QTEST(fileBytes(path), "after");
        QCOMPARE(LeeIni(path, "ZoBrain", "ImageDir", "d"), value);
        // No name, or a path below a regular file, can never be written.
        QCOMPARE(EscribeIni(QString(), "ZoBrain", "ImageDir", "v"), qint16(0));
        QCOMPARE(EscribeIni(path + "/config.ini", "ZoBrain", "ImageDir", "v"), qint16(0));
    }
};

QTEST_GUILESS_MAIN(PathProcedures)
#include "tst_paths.moc"
