#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// zokorvane-tool phantom and load-series, run as a script would run them.
class TestImagingTool : public QObject {
    Q_OBJECT

private slots:
    void phantomThenLoadSeriesReportsTheVolumeAsJson();
    void wrongArgumentsAndMissingDirectoriesFail_data();
    void wrongArgumentsAndMissingDirectoriesFail();

private:
    int run(const QStringList &args, QByteArray *out = nullptr, QByteArray *err = nullptr);
};

int TestImagingTool::run(const QStringList &args, QByteArray *out, QByteArray *err) {
    QProcess tool;
    tool.start(qEnvironmentVariable("ZK_TOOL"), args);
    if (!tool.waitForFinished(60000)) {
        return -1;
    }
    if (out) {
        *out = tool.readAllStandardOutput();
    }
    if (err) {
        *err = tool.readAllStandardError();
    }
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

void TestImagingTool::phantomThenLoadSeriesReportsTheVolumeAsJson() {
    QTemporaryDir dir;
    QByteArray out, err;
    QCOMPARE(run({"phantom", dir.path(), "--slices", "10", "--size", "40", "--spacing", "1.25", "--thickness",
                  "3"},
                 &out, &err),
             0);
    QCOMPARE(QDir(dir.path()).entryList({"*.dcm"}).size(), 10);
    QCOMPARE(run({"load-series", dir.path()}, &out, &err), 0);
    QJsonParseError parse;
    const QJsonObject json = QJsonDocument::fromJson(out, &parse).object();
    QVERIFY2(parse.error == QJsonParseError::NoError, out.constData());
    QCOMPARE(json["filesSeen"].toInt(), 10);
    QCOMPARE(json["slicesStacked"].toInt(), 10);
    QCOMPARE(json["dimensions"].toArray(), (QJsonArray{40, 40, 10}));
    QCOMPARE(json["interslice"].toDouble(), 3.0);
    QCOMPARE(json["mmPerPixel"].toDouble(), 1.25);
    QVERIFY(json["zeroFrame"].toDouble() > 0);
    QVERIFY(json["volumeBuilt"].toBool());
    const QJsonObject seconds = json["seconds"].toObject();
    QVERIFY(seconds.contains("conversion") && seconds.contains("stacking"));
    // Only the existing JPEG pictures: nothing DICOM is read, the spacing falls back to 2 mm.
    QCOMPARE(run({"load-series", dir.path(), "--jpg-only", "--lateral"}, &out, &err), 0);
    const QJsonObject jpgOnly = QJsonDocument::fromJson(out).object();
    QCOMPARE(jpgOnly["dicomFiles"].toInt(), 0);
    QCOMPARE(jpgOnly["slicesStacked"].toInt(), 10);
    QCOMPARE(jpgOnly["interslice"].toDouble(), 2.0);
    QVERIFY(jpgOnly["lateral"].toBool());
}

void TestImagingTool::wrongArgumentsAndMissingDirectoriesFail_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("phantom without directory") << QStringList{"phantom"} << 2;
    QTest::newRow("phantom with a bad size") << QStringList{"phantom", "/tmp/x", "--size", "big"} << 2;
    QTest::newRow("load-series without directory") << QStringList{"load-series"} << 2;
    QTest::newRow("load-series of a missing directory") << QStringList{"load-series", "/nonexistent/mr"} << 1;
}

void TestImagingTool::wrongArgumentsAndMissingDirectoriesFail() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QByteArray out, err;
    QCOMPARE(run(args, &out, &err), code);
    QVERIFY(!err.isEmpty());
}

QTEST_GUILESS_MAIN(TestImagingTool)
#include "tst_imaging_tool.moc"
