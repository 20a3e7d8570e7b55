// Importing legacy Access data bases: every row and value of a real legacy study comes over
// exactly, and files that are not studies, damaged or truncated are refused leaving nothing behind.

#include "data/LegacyImport.h"
#include "data/StoredValue.h"
#include "data/StudyError.h"
#include "support/Files.h"
#include "support/StudyFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

class LegacyImportTest : public QObject {
    Q_OBJECT

private slots:
    void everyRowAndValueOfTheLegacyStudyComesOver() {
        QTemporaryDir dir;
        const QString mdb = copyLegacyStudy(dir.path());
        const QString study = LegacyImport::studyPathFor(mdb);
        QCOMPARE(study, dir.filePath("legacy-study.sqlite"));
        const LegacyImport::Result result = LegacyImport::importMdb(mdb, study);
        const QString folder = dir.filePath("legacy-study_puntos");
        QCOMPARE(QList<int>({result.subjects, result.points, result.stimuli, result.drawings}),
                 QList<int>({4, 27, 28, int(QDir(folder).entryList(QDir::Files).size())}));
        QCOMPARE(result.inexact + result.missingDrawings, QStringList());

        // Every row as the expected file has it (keys starting with "_" are notes), a null only where
        // the legacy study has one.
        const QJsonObject expected =
            QJsonDocument::fromJson(fileBytes(testData("legacy-study.expected.json"))).object();
        OpenStudy opened(study);
        for (const QString &table : Study::tables()) {
            QSqlQuery query(opened.db);
            QVERIFY(query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table)));
            for (const QJsonValue &row : expected.value(table).toArray()) {
                QVERIFY2(query.next(), qPrintable(table + " has fewer rows than expected"));
                QJsonObject want = row.toObject(), got;
                for (const QString &key : want.keys()) {
                    const QVariant v = query.value(key);
                    QVERIFY2(key.startsWith('_') || query.record().contains(key),
                             qPrintable(table + ": no " + key));
                    if (key.startsWith('_')) {
                        want.remove(key);
                    } else {
                        got[key] = v.isNull()             ? QJsonValue()
                                   : want[key].isBool()   ? QJsonValue(v.toInt() != 0)
                                   : want[key].isDouble() ? QJsonValue(v.toDouble())
                                                          : QJsonValue(v.toString());
                    }
                }
                QCOMPARE(QJsonDocument(got).toJson(QJsonDocument::Compact),
                         QJsonDocument(want).toJson(QJsonDocument::Compact));
            }
            QVERIFY2(!query.next(), qPrintable(table + " has more rows than expected"));
        }
        // The drawings come into the study byte for byte.
        QSqlQuery stored(opened.db);
        QVERIFY(stored.exec(
            "SELECT e.archivopuntos, d.points FROM drawing d JOIN estimulo e ON e.id = d.stimulus_id"));
        while (stored.next()) {
            QCOMPARE(stored.value(1).toString().toLatin1(),
                     fileBytes(folder + '/' + stored.value(0).toString()));
        }
    }

    // How an imported age, height or weight is stored: text typed with a decimal comma as the number
    // the subject form reads in it, everything else as it came (the engine reads "1.63" itself).
    void enteredValuesComeOverAsTheSubjectFormReadsThem_data() {
        QTest::addColumn<QVariant>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("decimal comma") << QVariant(u"1,63"_s) << QVariant(1.63);
        QTest::newRow("with blanks") << QVariant(u" 70,5 "_s) << QVariant(70.5);
        QTest::newRow("text") << QVariant(u"unknown"_s) << QVariant(u"unknown"_s);
        QTest::newRow("thousands point") << QVariant(u"1.234,5"_s) << QVariant(u"1.234,5"_s);
        QTest::newRow("two commas") << QVariant(u"1,2,3"_s) << QVariant(u"1,2,3"_s);
        QTest::newRow("number") << QVariant(34) << QVariant(34);
        QTest::newRow("null") << QVariant() << QVariant();
    }
    void enteredValuesComeOverAsTheSubjectFormReadsThem() {
        QFETCH(QVariant, typed);
        QFETCH(QVariant, stored);
        const QVariant got = StoredValue::entered(typed);
        QCOMPARE(got.typeId(), stored.typeId());
        QCOMPARE(got, stored);
    }

    // The source is a file of the test data or a recipe: missing, text, or the legacy study cut short.
    void refusalsLeaveNoStudyBehind_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << u"missing"_s << u"does not exist"_s;
        QTest::newRow("text file") << u"text"_s << u"not an Access (Jet) data base"_s;
        QTest::newRow("header only") << u"truncated:4096"_s << u"truncated"_s;
        QTest::newRow("cut in the catalog") << u"truncated:12288"_s << u"damaged"_s;
        QTest::newRow("cut in the tables") << u"truncated:79872"_s << u"cannot be read"_s;
        QTest::newRow("cut in the rows") << u"truncated:131072"_s << u"could be read"_s;
        QTest::newRow("Jet 3 file of another program")
            << u"external/testodbc.mdb"_s
            << u"not a ZoKorvane study: it has no table paciente, no table puntoestimulacion, no table estimulo"_s;
    }
    void refusalsLeaveNoStudyBehind() {
        QFETCH(QString, source);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString mdb = dir.filePath("input.mdb");
        if (source == "text") {
            QVERIFY(putFile(mdb, QByteArray(8192, 'x')));
        } else if (source.startsWith("truncated:")) {
            QVERIFY(
                putFile(mdb, fileBytes(testData("legacy-study.mdb")).left(source.section(':', 1).toInt())));
        } else if (source != "missing") {
            if (!QFile::exists(testData(source))) {
                QSKIP(qPrintable(source + " was not fetched: run scripts/fetch-test-data.sh"));
            }
            QVERIFY(QFile::copy(testData(source), mdb));
        }
        const QStringList before = folderEntries(dir.path());
        try {
            LegacyImport::importMdb(mdb, LegacyImport::studyPathFor(mdb));
            QFAIL("the import was not refused");
        } catch (const StudyError &e) {
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
        QCOMPARE(folderEntries(dir.path()), before);
    }

    void progressIsReportedAndCanCancel() {
        QTemporaryDir dir;
        const QString mdb = testData("legacy-study.mdb");
        QList<qint64> reported;
        LegacyImport::importMdb(mdb, dir.filePath("a.sqlite"), [&](qint64 done, qint64 total) {
            reported << done;
            return total == 59;
        });
        QVERIFY(reported.size() == 59 && reported.last() == 59);
        try {
            LegacyImport::importMdb(mdb, dir.filePath("b.sqlite"),
                                    [](qint64 done, qint64) { return done < 30; });
            QFAIL("the import was not cancelled");
        } catch (const StudyError &e) {
            QVERIFY(e.message().contains("cancelled"));
        }
        QCOMPARE(folderEntries(dir.path()), QStringList{"a.sqlite"});
    }

    // The tool imports beside the file and prints the counts; importing again onto the study it made
    // is refused and leaves that study as it was.
    void commandLineImportPrintsTheCountsAndNeverOverwrites() {
        QTemporaryDir dir;
        const QString mdb = dir.filePath("lab.mdb");
        const QString study = dir.filePath("lab.sqlite");
        QVERIFY(QFile::copy(testData("legacy-study.mdb"), mdb));
        QString said;
        QCOMPARE(runProgram({}, {"import-mdb", mdb}, &said), 0);
        QVERIFY2(said.contains("4 subjects, 27 points, 28 stimuli"), qPrintable(said));
        const QByteArray made = fileBytes(study);
        QVERIFY(runProgram({}, {"import-mdb", mdb, study}, &said) == 1 && said.contains("already exists"));
        QCOMPARE(fileBytes(study), made);
    }
};

QTEST_GUILESS_MAIN(LegacyImportTest)
#include "tst_legacy_import.moc"
