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
    void splittingAcceptsBothSeparators_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("lastSeparator");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("directory");
        QTest::newRow("mixed, slash last") << "C:\\data/tms.mdb" << 8 << "tms.mdb"
                                           << "C:\\data";
        QTest::newRow("mixed, backslash last") << "/home/lab\\p\\1111" << 12 << "1111"
                                               << "/home/lab\\p";
        QTest::newRow("windows") << "C:\\data\\tms.mdb" << 8 << "tms.mdb"
                                 << "C:\\data";
        QTest::newRow("no separator") << "tms.mdb" << 0 << ""
                                      << "";
        QTest::newRow("trailing separator") << "/tmp/" << 5 << ""
                                            << "/tmp";
        QTest::newRow("empty") << "" << 0 << ""
                               << "";
    }
    void splittingAcceptsBothSeparators() {
        QFETCH(QString, path);
        QFETCH(int, lastSeparator);
        QFETCH(QString, name);
        QFETCH(QString, directory);
        QCOMPARE(PosicionUltimoSeparador(path), lastSeparator);
        QCOMPARE(NombreFichero(path), name);
        QCOMPARE(DirectorioFichero(path), directory);
    }

    void extensionsAreCutAndRead_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("withoutExtension");
        QTest::addColumn<QString>("extension");
        QTest::newRow("file with extension") << "C:\\data\\tms.mdb"
                                             << "C:\\data\\tms"
                                             << "mdb";
        QTest::newRow("no dot") << "/data/study"
                                << "/data/study"
                                << "";
        QTest::newRow("two dots") << "a.tar.gz"
                                  << "a.tar"
                                  << "gz";
    }
    void extensionsAreCutAndRead() {
        QFETCH(QString, path);
        QFETCH(QString, withoutExtension);
        QFETCH(QString, extension);
        QCOMPARE(QuitaExtension(path), withoutExtension);
        QCOMPARE(DameExtension(path), extension);
    }

    void extensionIsReplacedOnlyInTheFileName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("result");
        QTest::newRow("dot in a directory") << "C:\\a.b\\file"
                                            << "C:\\a.b\\file.jpg";
        QTest::newRow("dot in a posix directory") << "/a.b/file"
                                                  << "/a.b/file.jpg";
        QTest::newRow("existing extension") << "C:\\a\\file.dcm"
                                            << "C:\\a\\file.jpg";
        QTest::newRow("trailing dot") << "/a/file."
                                      << "/a/file.jpg";
        QTest::newRow("bare name") << "IM0001"
                                   << "IM0001.jpg";
    }
    void extensionIsReplacedOnlyInTheFileName() {
        QFETCH(QString, path);
        QFETCH(QString, result);
        PonExtension(path, QStringLiteral("jpg"));
        QCOMPARE(path, result);
    }

    void joiningPutsExactlyOneSeparator_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("joined");
        QTest::newRow("both have it") << "C:\\a\\"
                                      << "\\b"
                                      << "\\"
                                      << "C:\\a\\b";
        QTest::newRow("neither has it") << "C:\\a"
                                        << "b"
                                        << "\\"
                                        << "C:\\a\\b";
        QTest::newRow("first has it") << "C:\\a\\"
                                      << "b"
                                      << "\\"
                                      << "C:\\a\\b";
        QTest::newRow("second has it") << "C:\\a"
                                       << "\\b"
                                       << "\\"
                                       << "C:\\a\\b";
        QTest::newRow("native") << "/home/lab"
                                << "study_puntos" << Native << "/home/lab/study_puntos";
        QTest::newRow("native, both have it") << "/home/lab/"
                                              << "/x" << Native << "/home/lab/x";
    }
    void joiningPutsExactlyOneSeparator() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, separator);
        QFETCH(QString, joined);
        QCOMPARE(UneRuta(first, second, separator), joined);
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

    void listingSortsOrdinallyAndSkipsDirectories() {
        QTemporaryDir dir;
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

    void emptyOrUnreadableDirectoryListsAsOneEmptyName() {
        QTemporaryDir dir;
        const QStringList none{QString()};
        QCOMPARE(ListaFicheros(dir.path()), none);
        QCOMPARE(ListaFicheros(dir.filePath(QStringLiteral("missing"))), none);
        QCOMPARE(ListaFicherosExtension(dir.filePath(QStringLiteral("missing")), QStringLiteral("bmp")),
                 none);
        QCOMPARE(ListaFicheros(QString()), none);
    }
};

QTEST_GUILESS_MAIN(PathProcedures)
#include "tst_paths.moc"
