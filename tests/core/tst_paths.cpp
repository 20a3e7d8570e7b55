// Path procedures: splitting on both separators, joining with one, extensions and listings.

#include "core/ZoDir.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
