// Path procedures: splitting on both separators, joining with one, extensions and listings; where
// an installed or a portable program keeps config.ini.

#include "core/ZoDir.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace ZoDir;

class PathProcedures : public QObject {
    Q_OBJECT

private:
    static void touch(const QString &path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    // The text procedures, both separators accepted: a call (procedure and arguments) and its result.
    void textProcedures_data() {
        QTest::addColumn<QStringList>("call");
        QTest::addColumn<QString>("result");
        // Splitting: the last separator's position, the name, the directory.
        QTest::newRow("split, slash last")
            << QStringList{"split", "C:\\data/tms.mdb"} << "8|tms.mdb|C:\\data";
        QTest::newRow("split, backslash last")
            << QStringList{"split", "/home/lab\\p\\1111"} << "12|1111|/home/lab\\p";
        QTest::newRow("split, no separator") << QStringList{"split", "tms.mdb"} << "0||";
        QTest::newRow("split, trailing separator") << QStringList{"split", "/tmp/"} << "5||/tmp";
        QTest::newRow("split, empty") << QStringList{"split", ""} << "0||";
        // The path without its extension, the extension.
        QTest::newRow("extension") << QStringList{"extension", "C:\\data\\tms.mdb"} << "C:\\data\\tms|mdb";
        QTest::newRow("extension, no dot") << QStringList{"extension", "/data/study"} << "/data/study|";
        QTest::newRow("extension, two dots") << QStringList{"extension", "a.tar.gz"} << "a.tar|gz";
        // The extension put on: only the file name's is replaced.
        QTest::newRow("put, dot in a directory")
            << QStringList{"put", "C:\\a.b\\file"} << "C:\\a.b\\file.jpg";
        QTest::newRow("put, dot in a posix directory") << QStringList{"put", "/a.b/file"} << "/a.b/file.jpg";
        QTest::newRow("put, existing extension")
            << QStringList{"put", "C:\\a\\file.dcm"} << "C:\\a\\file.jpg";
        QTest::newRow("put, trailing dot") << QStringList{"put", "/a/file."} << "/a/file.jpg";
        QTest::newRow("put, bare name") << QStringList{"put", "IM0001"} << "IM0001.jpg";
        // Joining puts exactly one separator.
        QTest::newRow("join, both have it") << QStringList{"join", "C:\\a\\", "\\b", "\\"} << "C:\\a\\b";
        QTest::newRow("join, neither has it") << QStringList{"join", "C:\\a", "b", "\\"} << "C:\\a\\b";
        QTest::newRow("join, first has it") << QStringList{"join", "C:\\a\\", "b", "\\"} << "C:\\a\\b";
        QTest::newRow("join, second has it") << QStringList{"join", "C:\\a", "\\b", "\\"} << "C:\\a\\b";
        QTest::newRow("join, native")
            << QStringList{"join", "/home/lab", "study_puntos", Native} << "/home/lab/study_puntos";
        QTest::newRow("join, native, both have it")
            << QStringList{"join", "/home/lab/", "/x", Native} << "/home/lab/x";
    }
    void textProcedures() {
        QFETCH(QStringList, call);
        QFETCH(QString, result);
        QString path = call.value(1);
        if (call[0] == "split") {
            QCOMPARE(QString::number(PosicionUltimoSeparador(path)) + '|' + NombreFichero(path) + '|' +
                         DirectorioFichero(path),
                     result);
        } else if (call[0] == "extension") {
            QCOMPARE(QuitaExtension(path) + '|' + DameExtension(path), result);
        } else if (call[0] == "put") {
            PonExtension(path, QStringLiteral("jpg"));
            QCOMPARE(path, result);
        } else {
            QCOMPARE(UneRuta(path, call[2], call[3]), result);
        }
    }

    void existingFileIsOnlyAReadableFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.txt"));
        touch(file);
        QVERIFY(ExisteFichero(file));
        QVERIFY(!ExisteFichero(dir.filePath(QStringLiteral("missing.txt"))));
        QVERIFY(!ExisteFichero(dir.path())); // a directory is not a file
        QVERIFY(!ExisteFichero(QString()));
    }

    // An empty, missing or unnamed folder lists as one empty name.
    void listingSortsOrdinallyAndSkipsDirectories() {
        QTemporaryDir dir;
        const QStringList none{QString()};
        QCOMPARE(ListaFicheros(dir.path()), none);
        QCOMPARE(ListaFicheros(dir.filePath(QStringLiteral("missing"))), none);
        QCOMPARE(ListaFicherosExtension(dir.filePath(QStringLiteral("missing")), QStringLiteral("bmp")),
                 none);
        QCOMPARE(ListaFicheros(QString()), none);
        for (const char *name : {"b.bmp", "B.JPG", "a.jpg", "Z.dcm", "_x"}) {
            touch(dir.filePath(QLatin1String(name)));
        }
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub.jpg")));
        const QString d = dir.path() + QLatin1Char('/');
        // Upper case sorts before lower case, as in a plain character-code comparison.
        QCOMPARE(ListaFicheros(dir.path()),
                 QStringList({d + "B.JPG", d + "Z.dcm", d + "_x", d + "a.jpg", d + "b.bmp"}));
    }

    void listingByExtensionIgnoresCaseAndLowerCasesPaths() {
        QTemporaryDir dir;
        for (const char *name : {"B.JPG", "a.jpg", "c.jpeg", "d.bmp"}) {
            touch(dir.filePath(QLatin1String(name)));
        }
        const QString d = dir.path().toLower() + QLatin1Char('/');
        QCOMPARE(ListaFicherosExtension(dir.path(), QStringLiteral("JPG")),
                 QStringList({d + "a.jpg", d + "b.jpg"}));
        QCOMPARE(ListaFicherosExtension(dir.path(), QStringLiteral("dcm")), QStringList({QString()}));
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
        QTest::newRow("installed, folder not writable") << QStringList{"share/zokorvane/"} << false << true;
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
            QVERIFY(QDir().mkpath(QFileInfo(top + '/' + path).path()));
            if (!path.endsWith('/')) {
                touch(top + '/' + path);
            }
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
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", top + "/config");
        environment.insert("HOME", top + "/home");
        program.setProcessEnvironment(environment);
        program.start(bin + "/zokorvane");
        const bool finished = program.waitForFinished(30000);
        if (!writable && asRoot) {
            QProcess::execute("umount", {bin});
        }
        QFile::setPermissions(bin, permissions);
        QVERIFY2(finished && program.exitCode() == 0, qPrintable(program.readAllStandardError()));
        // The probe calls itself ZoKorvane, which names its folder in the user's configuration.
        const QStringList expected =
            inUsersFolder ? QStringList{top + "/config/ZoKorvane/config.ini", top + "/home", ""}
                          : QStringList{bin + "/config.ini", bin, ""};
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()).split('\n'), expected);
    }
};

QTEST_GUILESS_MAIN(PathProcedures)
#include "tst_paths.moc"
