#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// zokorvane-tool render-drawing: a drawing file to a PNG, as the picture areas draw it.
class TestRenderDrawingTool : public QObject {
    Q_OBJECT

private slots:
    void rendersEachModeOnAWhiteSquare_data();
    void rendersEachModeOnAWhiteSquare();
    void refusesBadArgumentsAndUnreadableFiles_data();
    void refusesBadArgumentsAndUnreadableFiles();

private:
    static int run(const QStringList &args, QByteArray *errors = nullptr);
    QTemporaryDir m_dir;
};

namespace {
QString drawing() {
    // Two strokes: an L from (1, 1) to (11, 1) to (11, 11), and a diagonal from (3, 9) to (9, 3).
    return qEnvironmentVariable("ZK_TEST_DATA") + QStringLiteral("/drawings/two-strokes");
}
} // namespace

int TestRenderDrawingTool::run(const QStringList &args, QByteArray *errors) {
    QProcess tool;
    tool.start(qEnvironmentVariable("ZK_TOOL"), QStringList{QStringLiteral("render-drawing")} + args);
    if (!tool.waitForFinished(30000)) {
        return -1;
    }
    if (errors) {
        *errors = tool.readAllStandardError();
    }
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

void TestRenderDrawingTool::rendersEachModeOnAWhiteSquare_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("size");
    QTest::addColumn<QPoint>("dark"); // a pixel the drawing darkens
    QTest::addColumn<int>("darkest");
    QTest::newRow("lines, default size") << "lines" << 0 << QPoint(220, 120) << 0;
    // Sums 61 and 45 over the count 9: the centre (7, 5).
    QTest::newRow("mass") << "mass" << 129 << QPoint(70, 50) << 255 - 80;
}

void TestRenderDrawingTool::rendersEachModeOnAWhiteSquare() {
    QFETCH(QString, mode);
    QFETCH(int, size);
    QFETCH(QPoint, dark);
    QFETCH(int, darkest);
    const QString png = m_dir.filePath(mode + QString::number(size) + QStringLiteral(".png"));
    QStringList args{drawing(), QStringLiteral("--mode"), mode, QStringLiteral("--png"), png};
    if (size > 0) {
        args << QStringLiteral("--size") << QString::number(size);
    }
    QByteArray errors;
    QCOMPARE(run(args, &errors), 0);
    QVERIFY2(errors.isEmpty(), errors.constData());
    const QImage image(png);
    QCOMPARE(image.size(), size > 0 ? QSize(size, size) : QSize(258, 258));
    QCOMPARE(qRed(image.pixel(dark)), darkest);
    QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
}

void TestRenderDrawingTool::refusesBadArgumentsAndUnreadableFiles_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    const QString out = QStringLiteral("refused.png");
    QTest::newRow("unknown mode") << QStringList{drawing(), "--mode", "dots", "--png", out} << 2;
    QTest::newRow("size not a number")
        << QStringList{drawing(), "--mode", "lines", "--png", out, "--size", "x"} << 2;
    QTest::newRow("missing file") << QStringList{"no-such-drawing", "--mode", "lines", "--png", out} << 1;
}

void TestRenderDrawingTool::refusesBadArgumentsAndUnreadableFiles() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    for (QString &arg : args) {
        if (arg.endsWith(QLatin1String(".png"))) {
            arg = m_dir.filePath(arg);
        }
    }
    QByteArray errors;
    QCOMPARE(run(args, &errors), exitCode);
    QVERIFY(!errors.isEmpty());
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("refused.png"))));
}

QTEST_GUILESS_MAIN(TestRenderDrawingTool)
#include "tst_renderdrawingtool.moc"
