#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// zokorvane-tool plan on a phantom series: one CSV row per grid cell, cell 14 through the Ilion.
class TestPlanTool : public QObject {
    Q_OBJECT

private slots:
    void planGivesEveryCellAndCell14MeetsTheScalpAtTheIlion();
    void planRefusesBadLandmarks();

private:
    static int run(const QStringList &args, QByteArray *out = nullptr) {
        QProcess tool;
        tool.start(qEnvironmentVariable("ZK_TOOL"), args);
        tool.waitForFinished(60000);
        if (out) {
            *out = tool.readAllStandardOutput();
        }
        return tool.exitCode();
    }
};

void TestPlanTool::planGivesEveryCellAndCell14MeetsTheScalpAtTheIlion() {
    QTemporaryDir dir;
    const QString series = dir.filePath(QStringLiteral("series"));
    QCOMPARE(run({QStringLiteral("phantom"), series, QStringLiteral("--slices"), QStringLiteral("20"),
                  QStringLiteral("--size"), QStringLiteral("64")}),
             0);
    // The phantom's head: centre column 29.6 on row 31.5 of slice 9.5, 25.6 voxels to the back.
    const QString csv = dir.filePath(QStringLiteral("plan.csv"));
    QCOMPARE(run({QStringLiteral("plan"), series, QStringLiteral("--landmarks"),
                  QStringLiteral("50,32,10:10,32,10:5,32,10"), QStringLiteral("--depth"),
                  QStringLiteral("10"), QStringLiteral("--csv"), csv}),
             0);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 51);
    const QList<QByteArray> cell14 = lines.at(15).split(',');
    QCOMPARE(cell14.at(0), QByteArray("14"));
    // Scalp at the back on the Ilion's row and slice; the target 10 voxels further in.
    QVERIFY(std::abs(cell14.at(7).toInt() - 5) <= 2);
    QCOMPARE(cell14.at(8).toInt(), 32);
    QCOMPARE(cell14.at(9).toInt(), 10);
    QCOMPARE(cell14.at(10).toInt(), cell14.at(7).toInt() + 10);
    // Millimetres: the phantom carries 1 mm per pixel.
    QCOMPARE(cell14.at(13).toDouble(), cell14.at(7).toDouble());
    const QList<QByteArray> cell0 = lines.at(1).split(',');
    QCOMPARE(cell0.at(3), QByteArray("-80"));
    QCOMPARE(cell0.at(4), QByteArray("-20"));
}

void TestPlanTool::planRefusesBadLandmarks() {
    QCOMPARE(run({QStringLiteral("plan"), QDir::tempPath(), QStringLiteral("--landmarks"),
                  QStringLiteral("1,2:3,4,5")}),
             2);
    QCOMPARE(run({QStringLiteral("plan"), QDir::tempPath()}), 2);
}

QTEST_GUILESS_MAIN(TestPlanTool)
#include "tst_plan_tool.moc"
