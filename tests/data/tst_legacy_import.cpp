// Importing legacy Access data bases: every row and value of a real legacy study comes over
// exactly, and files that are not studies, damaged or truncated are refused leaving nothing behind.

#include "data/LegacyImport.h"
#include "data/Study.h"
#include "data/StudyError.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString testData(const QString &name) {
    return qEnvironmentVariable("ZK_TEST_DATA") + QLatin1Char('/') + name;
}

// Files in the directory other than those named: what an import left behind.
QStringList leftovers(const QString &dir, const QStringList &expected) {
    QStringList found = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : expected) {
        found.removeAll(name);
    }
    return found;
}

QString keyColumn(const QString &table) {
    return table == "estimulo" ? "id" : "ID";
}

} // namespace

class LegacyImportTest : public QObject {
    Q_OBJECT

private slots:
    void everyRowAndValueOfTheLegacyStudyComesOver() {
        QTemporaryDir dir;
        const QString mdb = dir.filePath("legacy-study.mdb");
        QVERIFY(QFile::copy(testData("legacy-study.mdb"), mdb));
        const QString folder = dir.filePath("legacy-study_puntos");
        QVERIFY(QDir().mkpath(folder));
        const QDir drawings(testData("legacy-study_puntos"));
        for (const QString &name : drawings.entryList(QDir::Files)) {
            QVERIFY(QFile::copy(drawings.filePath(name), folder + '/' + name));
        }
        const QString study = LegacyImport::studyPathFor(mdb);
        QCOMPARE(study, dir.filePath("legacy-study.sqlite"));

        const LegacyImport::Result result = LegacyImport::importMdb(mdb, study);
        QCOMPARE(result.subjects, 4);
        QCOMPARE(result.points, 27);
        QCOMPARE(result.stimuli, 28);
        QVERIFY2(result.inexact.isEmpty(), qPrintable(result.inexact.join('\n')));
        // The drawings come into the study byte for byte.
        QCOMPARE(result.drawings, int(drawings.entryList(QDir::Files).size()));
        QCOMPARE(result.missingDrawings, QStringList());

        QFile expectedFile(testData("legacy-study.expected.json"));
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        const QJsonObject expected = QJsonDocument::fromJson(expectedFile.readAll()).object();

        Study::Opened opened = Study::open(study);
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        int compared = 0;
        for (const QString &table : Study::tablas()) {
            const QJsonArray rows = expected.value(table).toArray();
            QSqlQuery query(opened.db);
            QVERIFY(query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, keyColumn(table))));
            for (const QJsonValue &rowValue : rows) {
                QVERIFY2(query.next(), qPrintable(table + " has fewer rows than expected"));
                const QJsonObject row = rowValue.toObject();
                for (auto it = row.begin(); it != row.end(); ++it) {
                    if (it.key().startsWith('_')) {
                        continue;
                    }
                    const QString where = QStringLiteral("%1 %2=%3, %4")
                                              .arg(table, keyColumn(table))
                                              .arg(row.value(keyColumn(table)).toInt())
                                              .arg(it.key());
                    QVERIFY2(query.record().indexOf(it.key()) >= 0, qPrintable(where + ": no such column"));
                    const QVariant got = query.value(it.key());
                    const QJsonValue want = it.value();
                    if (want.isNull()) {
                        QVERIFY2(got.isNull(), qPrintable(where + ": expected null, got " + got.toString()));
                    } else if (want.isString()) {
                        QVERIFY2(!got.isNull(),
                                 qPrintable(where + ": expected \"" + want.toString() + "\", got null"));
                        QCOMPARE(got.toString(), want.toString());
                    } else if (want.isBool()) {
                        QCOMPARE(got.toInt(), want.toBool() ? 1 : 0);
                    } else {
                        QVERIFY2(!got.isNull(), qPrintable(where + ": expected a number, got null"));
                        QCOMPARE(got.toDouble(), want.toDouble());
                    }
                    ++compared;
                }
            }
            QVERIFY2(!query.next(), qPrintable(table + " has more rows than expected"));
        }
        QVERIFY(compared > 700);
        QSqlQuery stored(opened.db);
        QVERIFY(stored.exec(
            "SELECT e.archivopuntos, d.points FROM drawing d JOIN estimulo e ON e.id = d.stimulus_id"));
        while (stored.next()) {
            QFile file(folder + '/' + stored.value(0).toString());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(stored.value(1).toString().toLatin1(), file.readAll());
        }
        Study::close(opened.db);
        QCOMPARE(leftovers(dir.path(), {"legacy-study.mdb", "legacy-study.sqlite", "legacy-study_puntos"}),
                 QStringList());
    }

    void refusalsLeaveNoStudyBehind_data() {
        QTest::addColumn<QString>("source"); // a file under the test data, or a recipe
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "missing"
                                      << "does not exist";
        QTest::newRow("text file") << "text"
                                   << "not an Access (Jet) data base";
        QTest::newRow("header only") << "truncated:4096"
                                     << "truncated";
        QTest::newRow("cut in the catalog") << "truncated:12288"
                                            << "damaged";
        QTest::newRow("cut in the tables") << "truncated:79872"
                                           << "cannot be read";
        QTest::newRow("cut in the rows") << "truncated:131072"
                                         << "could be read";
        QTest::newRow("Jet 3 file of another program")
            << "external/testodbc.mdb"
            << "not a ZoKorvane study: it has no table paciente, no "
               "table puntoestimulacion, no table estimulo";
        QTest::newRow("Jet 4 file of another program") << "external/Monitor.mdb"
                                                       << "not a ZoKorvane study";
        QTest::newRow("Jet 4 file with many tables") << "external/fruit.mdb"
                                                     << "not a ZoKorvane study";
    }
    void refusalsLeaveNoStudyBehind() {
        QFETCH(QString, source);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString mdb = dir.filePath("input.mdb");
        if (source == "text") {
            QFile file(mdb);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else if (source.startsWith("truncated:")) {
            QFile full(testData("legacy-study.mdb"));
            QVERIFY(full.open(QIODevice::ReadOnly));
            QFile cut(mdb);
            QVERIFY(cut.open(QIODevice::WriteOnly));
            cut.write(full.read(source.section(':', 1).toLongLong()));
        } else if (source != "missing") {
            if (!QFile::exists(testData(source))) {
                QSKIP(qPrintable(source + " was not fetched: run scripts/fetch-test-data.sh"));
            }
            QVERIFY(QFile::copy(testData(source), mdb));
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        try {
            LegacyImport::importMdb(mdb, LegacyImport::studyPathFor(mdb));
            QFAIL("the import was not refused");
        } catch (const StudyError &e) {
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    void existingStudyIsNeverOverwritten() {
        QTemporaryDir dir;
        const QString mdb = dir.filePath("legacy-study.mdb");
        QVERIFY(QFile::copy(testData("legacy-study.mdb"), mdb));
        const QString study = dir.filePath("legacy-study.sqlite");
        Study::create(study);
        const qint64 size = QFileInfo(study).size();
        QVERIFY_THROWS_EXCEPTION(StudyError, LegacyImport::importMdb(mdb, study));
        QCOMPARE(QFileInfo(study).size(), size);
        QCOMPARE(leftovers(dir.path(), {"legacy-study.mdb", "legacy-study.sqlite"}), QStringList());
    }

    void progressIsReportedAndCanCancel() {
        QTemporaryDir dir;
        const QString mdb = testData("legacy-study.mdb");
        QList<qint64> reported;
        LegacyImport::importMdb(mdb, dir.filePath("a.sqlite"), [&](qint64 done, qint64 total) {
            reported << done;
            return total == 59;
        });
        QCOMPARE(reported.size(), 59);
        QCOMPARE(reported.last(), 59);

        try {
            LegacyImport::importMdb(mdb, dir.filePath("b.sqlite"),
                                    [](qint64 done, qint64) { return done < 30; });
            QFAIL("the import was not cancelled");
        } catch (const StudyError &e) {
            QVERIFY(e.message().contains("cancelled"));
        }
        QCOMPARE(leftovers(dir.path(), {"a.sqlite"}), QStringList());
    }

    void commandLineImportPrintsTheCountsAndRefusesToOverwrite() {
        QTemporaryDir dir;
        const QString mdb = dir.filePath("lab.mdb");
        QVERIFY(QFile::copy(testData("legacy-study.mdb"), mdb));
        QProcess tool;
        tool.start(qEnvironmentVariable("ZK_TOOL"), {"import-mdb", mdb});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY2(tool.readAllStandardOutput().contains("4 subjects, 27 points, 28 stimuli"),
                 "counts not printed");
        QVERIFY(QFile::exists(dir.filePath("lab.sqlite")));

        tool.start(qEnvironmentVariable("ZK_TOOL"), {"import-mdb", mdb, dir.filePath("lab.sqlite")});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(tool.readAllStandardError().contains("already exists"));
    }
};

QTEST_GUILESS_MAIN(LegacyImportTest)
#include "tst_legacy_import.moc"
