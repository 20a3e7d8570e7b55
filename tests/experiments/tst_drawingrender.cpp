#include "DrawingRender.h"
#include "PictureWidget.h"

#include <QDir>
#include <QFile>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>

// Rendering drawing files into a picture: the three modes, the blot on the picture's pixels and the
// error display. Pictures are 129 pixels square on the canvas scale, 10 pixels per drawing unit.
class TestDrawingRender : public QObject {
    Q_OBJECT

private slots:
    void linesStartFromTheOriginAndFollowTheCodes_data();
    void linesStartFromTheOriginAndFollowTheCodes();
    void fuseSkipsSmallStepsAndComparesWithTheLastBlotPoint();
    void massCentreDividesByTheCountOfTheFirstLine_data();
    void massCentreDividesByTheCountOfTheFirstLine();
    void blotDarkensADiamondAroundItsCentre_data();
    void blotDarkensADiamondAroundItsCentre();
    void blotsAccumulateAndClampAtBlack();
    void unreadableFilesShowTheErrorDisplay_data();
    void unreadableFilesShowTheErrorDisplay();
    void drawingReadBeforeAnErrorStays();

private:
    QString writeFile(const QByteArray &text);
    QTemporaryDir m_dir;
    int m_files = 0;
};

namespace {

struct Picture {
    QImage image{129, 129, QImage::Format_RGB32};
    PictureSurface surface{&image};
    Picture() {
        image.fill(Qt::white);
        surface.setScale(0, 0, 12.9, 12.9);
    }
    // Grey level of a pixel (the pictures here only ever hold greys).
    int grey(int x, int y) const { return qRed(image.pixel(x, y)); }
    bool allWhite() const {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    return false;
                }
            }
        }
        return true;
    }
    int darkPixelsIn(const QRect &area) const {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                dark += grey(x, y) < 128 ? 1 : 0;
            }
        }
        return dark;
    }
    // Black within one pixel of (x, y), for lines whose exact pixels depend on the rasteriser.
    bool blackNear(int x, int y) const { return darkPixelsIn(QRect(x - 1, y - 1, 3, 3)) > 0; }
};

} // namespace

QString TestDrawingRender::writeFile(const QByteArray &text) {
    const QString path = m_dir.filePath(QString::number(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        qFatal("cannot write a test drawing");
    }
    return path;
}

void TestDrawingRender::linesStartFromTheOriginAndFollowTheCodes_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QPoint>>("black");
    QTest::addColumn<QList<QPoint>>("white");
    QTest::newRow("a first code 1 draws from (0, 0)")
        << QByteArray("1\r\n1 5 0\r\n") << QList<QPoint>{{0, 0}, {25, 0}, {49, 0}} << QList<QPoint>{{60, 0}};
    QTest::newRow("code 0 moves without drawing")
        << QByteArray("2\r\n0 5 0\r\n0 5 5\r\n") << QList<QPoint>{} << QList<QPoint>{{25, 0}, {50, 25}};
    QTest::newRow("code 3 draws like code 1")
        << QByteArray("2\r\n0 2 2\r\n3 2 8\r\n") << QList<QPoint>{{20, 50}} << QList<QPoint>{{10, 10}};
    QTest::newRow("another code moves without drawing") << QByteArray("3\r\n0 2 2\r\n2 8 2\r\n1 8 8\r\n")
                                                        << QList<QPoint>{{80, 50}} << QList<QPoint>{{50, 20}};
}

void TestDrawingRender::linesStartFromTheOriginAndFollowTheCodes() {
    QFETCH(QByteArray, text);
    QFETCH(QList<QPoint>, black);
    QFETCH(QList<QPoint>, white);
    Picture picture;
    DrawingRender::render(picture.surface, writeFile(text), DrawingRender::Mode::Lines);
    for (const QPoint &p : black) {
        QVERIFY2(picture.grey(p.x(), p.y()) == 0,
                 qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
    }
    for (const QPoint &p : white) {
        QVERIFY2(picture.grey(p.x(), p.y()) == 255,
                 qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
    }
}

void TestDrawingRender::fuseSkipsSmallStepsAndComparesWithTheLastBlotPoint() {
    Picture picture;
    const QByteArray text = "6\r\n"
                            "1 2 10\r\n"  // 2 units across from (0, 0): skipped although far down
                            "1 5 5\r\n"   // compared with (0, 0) again: blot
                            "1 8 6\r\n"   // 1 unit down from (5, 5): skipped
                            "1 9 9\r\n"   // compared with (5, 5): blot
                            "0 12 12\r\n" // far enough but a stroke start: no blot, yet the new reference
                            "1 12 3\r\n"; // 0 across from (12, 12): skipped (from (9, 9) it would blot)
    DrawingRender::render(picture.surface, writeFile(text), DrawingRender::Mode::Fuse);
    QCOMPARE(picture.grey(50, 50), 255 - 50);
    QCOMPARE(picture.grey(90, 90), 255 - 50);
    QCOMPARE(picture.grey(20, 100), 255);
    QCOMPARE(picture.grey(80, 60), 255);
    QCOMPARE(picture.grey(120, 120), 255);
    QCOMPARE(picture.grey(120, 30), 255);
}

void TestDrawingRender::massCentreDividesByTheCountOfTheFirstLine_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QPoint>("centre"); // in drawing units; (-1, -1) for nothing drawn
    QTest::newRow("count equals records") << QByteArray("2\r\n1 4 4\r\n1 8 6\r\n") << QPoint(6, 5);
    QTest::newRow("count larger than records") << QByteArray("4\r\n1 6 6\r\n1 6 6\r\n") << QPoint(3, 3);
    QTest::newRow("count smaller than records") << QByteArray("1\r\n1 2 2\r\n1 4 4\r\n") << QPoint(6, 6);
    QTest::newRow("every code counts, halves to even")
        << QByteArray("2\r\n0 5 4\r\n3 0 4\r\n") << QPoint(2, 4);
    QTest::newRow("count 0") << QByteArray("0\r\n") << QPoint(-1, -1);
    QTest::newRow("count 0 reads no further") << QByteArray("0\r\nnot a drawing") << QPoint(-1, -1);
    QTest::newRow("negative count") << QByteArray("-3\r\n1 4 4\r\n") << QPoint(-1, -1);
}

void TestDrawingRender::massCentreDividesByTheCountOfTheFirstLine() {
    QFETCH(QByteArray, text);
    QFETCH(QPoint, centre);
    Picture picture;
    DrawingRender::render(picture.surface, writeFile(text), DrawingRender::Mode::MassCentre);
    if (centre.x() < 0) {
        QVERIFY(picture.allWhite());
        return;
    }
    const QPoint pixel = centre * 10;
    QCOMPARE(picture.grey(pixel.x(), pixel.y()), 255 - 80);
    int darkest = 255;
    for (int y = 0; y < picture.image.height(); ++y) {
        for (int x = 0; x < picture.image.width(); ++x) {
            darkest = qMin(darkest, picture.grey(x, y));
        }
    }
    QCOMPARE(darkest, 255 - 80);
}

void TestDrawingRender::blotDarkensADiamondAroundItsCentre_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<int>("grey");
    // Grey lost = round(depth / size * (size - Manhattan distance)), halves to even.
    QTest::newRow("fuse centre") << 17 << 50 << QPoint(0, 0) << 255 - 50;
    QTest::newRow("fuse next pixel across") << 17 << 50 << QPoint(1, 0) << 255 - 47;
    QTest::newRow("fuse next pixel up") << 17 << 50 << QPoint(0, -1) << 255 - 47;
    QTest::newRow("fuse block edge") << 17 << 50 << QPoint(8, 0) << 255 - 26;
    QTest::newRow("fuse diagonal, same distance as the edge") << 17 << 50 << QPoint(4, -4) << 255 - 26;
    QTest::newRow("fuse block corner") << 17 << 50 << QPoint(-8, -8) << 255 - 3;
    QTest::newRow("fuse outside the block") << 17 << 50 << QPoint(9, 0) << 255;
    QTest::newRow("mass centre") << 30 << 80 << QPoint(0, 0) << 255 - 80;
    QTest::newRow("mass first column") << 30 << 80 << QPoint(-15, 0) << 255 - 40;
    QTest::newRow("mass last corner") << 30 << 80 << QPoint(14, 14) << 255 - 5;
    QTest::newRow("mass first corner, distance = size") << 30 << 80 << QPoint(-15, -15) << 255;
    QTest::newRow("mass beyond the last column") << 30 << 80 << QPoint(15, 0) << 255;
}

void TestDrawingRender::blotDarkensADiamondAroundItsCentre() {
    QFETCH(int, size);
    QFETCH(int, depth);
    QFETCH(QPoint, offset);
    QFETCH(int, grey);
    Picture picture;
    DrawingRender::stampBlot(picture.surface, 6, 6, size, depth);
    const QPoint at = QPoint(60, 60) + offset;
    QCOMPARE(picture.grey(at.x(), at.y()), grey);
}

void TestDrawingRender::blotsAccumulateAndClampAtBlack() {
    Picture picture;
    picture.surface.setPixel(50, 54, 0x0000FF); // pure red: less than the grey as a packed value
    for (int stamp = 0; stamp < 5; ++stamp) {
        DrawingRender::stampBlot(picture.surface, 5, 5, 17, 50);
    }
    QCOMPARE(picture.grey(50, 50), 5);
    QCOMPARE(picture.grey(51, 50), 255 - 5 * 47);
    QCOMPARE(picture.image.pixel(50, 54), qRgb(0, 0, 0));
    DrawingRender::stampBlot(picture.surface, 5, 5, 17, 50);
    QCOMPARE(picture.image.pixel(50, 50), qRgb(0, 0, 0));
    QCOMPARE(picture.image.pixel(51, 50), qRgb(0, 0, 0));
    // A blot at the picture's edge changes only the pixels inside.
    DrawingRender::stampBlot(picture.surface, 0, 0, 17, 50);
    QCOMPARE(picture.grey(0, 0), 255 - 50);
}

void TestDrawingRender::unreadableFilesShowTheErrorDisplay_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("mode");
    for (int mode = 0; mode <= 2; ++mode) {
        for (const char *kind : {"missing file", "letters", "number out of range", "record cut short",
                                 "directory that could not be created"}) {
            QTest::addRow("%s, mode %d", kind, mode) << QString::fromLatin1(kind) << mode;
        }
    }
}

void TestDrawingRender::unreadableFilesShowTheErrorDisplay() {
    QFETCH(QString, kind);
    QFETCH(int, mode);
    QString path;
    if (kind == QLatin1String("missing file")) {
        path = m_dir.filePath(QStringLiteral("missing"));
    } else if (kind == QLatin1String("letters")) {
        path = writeFile("2\r\n0 a b\r\n");
    } else if (kind == QLatin1String("number out of range")) {
        path = writeFile("1\r\n0 1 40000\r\n");
    } else if (kind == QLatin1String("record cut short")) {
        path = writeFile("1\r\n0 1\r\n");
    } else {
        const QString blocker = writeFile("");
        path = DrawingFile::resolvePath(blocker + QStringLiteral("/tms.sqlite"), QStringLiteral("352"));
    }
    Picture picture;
    DrawingRender::render(picture.surface, path, DrawingRender::Mode(mode));
    // Both diagonals, corner to corner.
    for (int x : {5, 40, 64, 90, 123}) {
        QVERIFY2(picture.blackNear(x, x), qPrintable(QString::number(x)));
        QVERIFY2(picture.blackNear(128 - x, x), qPrintable(QString::number(x)));
    }
    // "File error:" on the first line at the top-left corner, the path on the second; both clear of
    // the diagonals.
    QVERIFY(picture.darkPixelsIn(QRect(14, 0, 36, 10)) > 10);
    QVERIFY(picture.darkPixelsIn(QRect(30, 14, 60, 10)) > 10);
    QCOMPARE(picture.darkPixelsIn(QRect(40, 110, 20, 18)), 0);
}

void TestDrawingRender::drawingReadBeforeAnErrorStays() {
    Picture picture;
    DrawingRender::render(picture.surface, writeFile("3\r\n1 12 6\r\n1 x 1\r\n"), DrawingRender::Mode::Lines);
    QVERIFY(picture.blackNear(100, 50));
    QVERIFY(picture.blackNear(64, 64));
}

QTEST_MAIN(TestDrawingRender)
#include "tst_drawingrender.moc"
