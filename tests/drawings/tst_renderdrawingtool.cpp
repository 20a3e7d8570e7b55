#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// zokorvane-tool render-drawing: a drawing file to a PNG, as the picture areas draw it, and the
// refusals (exit code 2 for bad arguments, 1 for an unreadable file) that write no PNG.
class TestRenderDrawingTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void rendersOrRefuses_data() {
        // Two strokes: an L from (1, 1) to (11, 1) to (11, 11), and a diagonal from (3, 9) to (9, 3).
        const QString drawing =
            qEnvironmentVariable("ZK_TEST_DATA") + QStringLiteral("/drawings/two-strokes");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("size");
        QTest::addColumn<QPoint>("dark"); // a pixel the drawing darkens
        QTest::addColumn<int>("grey");
        QTest::newRow("lines, default size")
            << QStringList{drawing, "--mode", "lines"} << 0 << 258 << QPoint(220, 120) << 0;
        // Sums 61 and 45 over the count 9: the centre (7, 5).
        QTest::newRow("mass") << QStringList{drawing, "--mode", "mass", "--size", "129"} << 0 << 129
                              << QPoint(70, 50) << 255 - 80;
        QTest::newRow("unknown mode") << QStringList{drawing, "--mode", "dots"} << 2 << 0 << QPoint() << 0;
        QTest::newRow("size not a number")
            << QStringList{drawing, "--mode", "lines", "--size", "x"} << 2 << 0 << QPoint() << 0;
        QTest::newRow("missing file")
            << QStringList{"no-such-drawing", "--mode", "lines"} << 1 << 0 << QPoint() << 0;
    }
    void rendersOrRefuses() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(int, size);
        QFETCH(QPoint, dark);
        QFETCH(int, grey);
        const QString png = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".png");
        QProcess tool;
        tool.start(qEnvironmentVariable("ZK_TOOL"),
                   QStringList{"render-drawing"} + args + QStringList{"--png", png});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), exitCode);
        QCOMPARE(tool.readAllStandardError().isEmpty(), exitCode == 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(size, size));
        if (exitCode == 0) {
            QCOMPARE(qRed(image.pixel(dark)), grey);
            QCOMPARE(image.pixel(size - 1, size - 1), qRgb(255, 255, 255));
        }
    }
};

QTEST_GUILESS_MAIN(TestRenderDrawingTool)
#include "tst_renderdrawingtool.moc"
