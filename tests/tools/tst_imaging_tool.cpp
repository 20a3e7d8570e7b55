#include "support/Files.h"
#include "support/StudyFixture.h"

#include "data/SubjectCalibration.h"
#include "imaging/PhantomWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

// zokorvane-tool phantom, load-series, plan and calibrate, run as a script would run them.
class TestImagingTool : public QObject {
    Q_OBJECT

private slots:
    void phantomThenLoadSeriesReportsTheVolumeAsJson() {
        QTemporaryDir dir;
        QString out;
        QCOMPARE(runProgram({}, {"phantom", dir.path(), "--slices", "10", "--size", "40", "--spacing", "1.25",
                                 "--thickness", "3"}),
                 0);
        QCOMPARE(runProgram({}, {"load-series", dir.path()}, &out), 0);
        QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
        QVERIFY(json["filesSeen"] == 10 && json["dimensions"] == (QJsonArray{40, 40, 10}));
        QVERIFY(json["interslice"] == 3.0 && json["mmPerPixel"] == 1.25 && json["orientation"] == "sagittal");
        // Only the pictures of that load, from the cache: nothing DICOM is read, the spacing falls back to 2
        // mm.
        QCOMPARE(runProgram({}, {"load-series", dir.path(), "--jpg-only", "--lateral"}, &out), 0);
        json = QJsonDocument::fromJson(out.toUtf8()).object();
        QVERIFY(json["kind"] == "cache" && json["interslice"] == 2.0 && json["lateral"] == true);
    }

    // --series takes the number the scanner wrote, --series-index the place in the list; the JSON says
    // which volume of how many was built.
    void loadSeriesTakesTheScannersSeriesNumber_data() {
        QTest::addColumn<QStringList>("choice");
        QTest::addColumn<int>("columns");
        QTest::newRow("--series 7") << QStringList{"--series", "7"} << 40;
        QTest::newRow("--series-index 2") << QStringList{"--series-index", "2"} << 40;
        QTest::newRow("--series 2: none") << QStringList{"--series", "2"} << 0;
    }
    void loadSeriesTakesTheScannersSeriesNumber() {
        QFETCH(QStringList, choice);
        QFETCH(int, columns);
        QTemporaryDir dir;
        QVERIFY(Phantom::write(dir.path(), Phantom::Options{.slices = 4, .size = 32, .seriesNumber = 3}));
        QVERIFY(Phantom::write(
            dir.path(), Phantom::Options{.slices = 5, .size = 40, .shuffleNames = true, .seriesNumber = 7}));
        QString out;
        QCOMPARE(runProgram({}, QStringList{"load-series", dir.path()} + choice, &out), columns > 0 ? 0 : 1);
        const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
        QVERIFY2(columns == 0 || (json["dimensions"].toArray().at(1) == columns && json["volumes"] == 1 &&
                                  json["volume"] == 1),
                 qPrintable(out));
    }

    void planGivesEveryCellAndCell14MeetsTheScalpAtTheIlion() {
        QTemporaryDir dir;
        const QString series = dir.filePath("series");
        QCOMPARE(runProgram({}, {"phantom", series, "--slices", "20", "--size", "64"}), 0);
        // The phantom's head: centre column 29.6 on row 31.5 of slice 9.5, 25.6 voxels to the back.
        const QString csv = dir.filePath("plan.csv");
        QCOMPARE(runProgram({}, {"plan", series, "--landmarks", "50,32,10:10,32,10:5,32,10", "--depth", "10",
                                 "--csv", csv}),
                 0);
        const QList<QByteArray> lines = fileBytes(csv).trimmed().split('\n');
        QCOMPARE(lines.size(), 51);
        const QList<QByteArray> cell14 = lines.at(15).split(',');
        QCOMPARE(cell14.at(0), QByteArray("14"));
        // Scalp at the back on the Ilion's row and slice; the target 10 voxels further in.
        QVERIFY(std::abs(cell14.at(7).toInt() - 5) <= 2);
        QCOMPARE(cell14.mid(8, 2), (QList<QByteArray>{"32", "10"}));
        QCOMPARE(cell14.at(10).toInt(), cell14.at(7).toInt() + 10);
        QCOMPARE(lines.at(1).split(',').mid(3, 2), (QList<QByteArray>{"-80", "-20"}));
    }

    // calibrate stores, for a later process, what plan takes; a refusal stores nothing. That a later
    // process gives the sites from it, and what they are: tst_stimulation_sites (calibratedDemo).
    void calibrateStoresTheCalibrationOrRefusesStoringNothing_data() {
        QTest::addColumn<QString>("series"); // under the test folder
        QTest::addColumn<int>("subject");
        QTest::addColumn<QString>("ilion");
        QTest::addColumn<QString>("stored"); // the fingerprint's start; empty: refused
        QTest::newRow("DICOM folder") << u"series"_s << 3 << u"5,32,10"_s << u"dicom:"_s;
        QTest::newRow("NIfTI file") << u"head.nii.gz"_s << 3 << u"5,32,10"_s << u"nifti-sha256:"_s;
        QTest::newRow("unknown subject") << u"series"_s << 4 << u"5,32,10"_s << QString();
        QTest::newRow("series that does not load") << u"empty"_s << 3 << u"5,32,10"_s << QString();
        QTest::newRow("landmark outside the volume") << u"series"_s << 3 << u"5,64,10"_s << QString();
    }
    void calibrateStoresTheCalibrationOrRefusesStoringNothing() {
        QFETCH(QString, series);
        QFETCH(int, subject);
        QFETCH(QString, ilion);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("empty"));
        QCOMPARE(runProgram({}, {"phantom", dir.filePath("series"), "--slices", "20", "--size", "64"}), 0);
        QString said;
        QCOMPARE(runProgram(
                     {},
                     {"load-series", dir.filePath("series"), "--export-volume", dir.filePath("head.nii.gz")},
                     &said),
                 0);
        StudyFixture study;
        study.addSubject(3, "Ana");
        study.release();
        const int code = runProgram({},
                                    {"calibrate", study.path(), "--subject", QString::number(subject),
                                     "--series", dir.filePath(series), "--landmarks",
                                     "50,32,10:10,32,10:" + ilion, "--distance", "160"},
                                    &said);
        QCOMPARE(code, stored.isEmpty() ? 1 : 0);
        std::optional<SubjectCalibration::Record> record;
        {
            const OpenStudy opened(study.path()); // a file study is held while open
            record = SubjectCalibration::read(opened.db, subject);
        }
        QCOMPARE(record.has_value(), !stored.isEmpty());
        if (record) {
            QVERIFY2(record->fingerprint.startsWith(stored), qPrintable(record->fingerprint));
            QCOMPARE(record->series, dir.filePath(series));
            QVERIFY(record->landmarks[0].x == 50 && record->landmarks[2].x == 5 &&
                    record->landmarks[2].z == 10 && record->distance == 160);
        }
    }

    void wrongArgumentsAndMissingDirectoriesFail_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("load-series of a missing directory")
            << QStringList{"load-series", "/nonexistent/mr"} << 1;
        QTest::newRow("plan with a landmark of two values")
            << QStringList{"plan", "EMPTY", "--landmarks", "1,2:3,4,5"} << 2;
        QTest::newRow("plan with a distance that is not a number")
            << QStringList{"plan", "EMPTY", "--landmarks", "1,2,3:3,4,5:6,7,8", "--distance", "nan"} << 2;
        QTest::newRow("plan of a folder without a series")
            << QStringList{"plan", "EMPTY", "--landmarks", "1,2,3:3,4,5:6,7,8"} << 1;
        QTest::newRow("sites without a subject") << QStringList{"sites", "EMPTY/study.sqlite"} << 2;
        QTest::newRow("sites with an overlay that is not NIfTI")
            << QStringList{"sites", "EMPTY/study.sqlite", "--subject", "1", "--nifti", "/tmp/sites.png"} << 2;
        QTest::newRow("sites of a study that is not there")
            << QStringList{"sites", "EMPTY/study.sqlite", "--subject", "1"} << 1;
        QTest::newRow("load-series exporting to a file that is not NIfTI")
            << QStringList{"load-series", "EMPTY", "--export-volume", "/tmp/volume.txt"} << 2;
        QTest::newRow("load-series given both --series and --series-index")
            << QStringList{"load-series", "EMPTY", "--series", "1", "--series-index", "1"} << 2;
    }
    void wrongArgumentsAndMissingDirectoriesFail() {
        QFETCH(QStringList, args);
        QTemporaryDir empty; // "EMPTY" stands for a folder with nothing in it
        QString said;
        QTEST(runProgram({}, args.replaceInStrings("EMPTY", empty.path()), &said), "code");
        QVERIFY(!said.isEmpty()); // says why
    }
};

QTEST_GUILESS_MAIN(TestImagingTool)
#include "tst_imaging_tool.moc"
