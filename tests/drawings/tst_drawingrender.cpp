#include "drawings/DrawingFile.h"
#include "drawings/DrawingRender.h"
#include "drawings/PictureWidget.h"
#include "support/Files.h"
#include "support/Widgets.h"

#include <QPoint>

using DrawingFile::PointRecord;
using Records = QList<PointRecord>;
Q_DECLARE_METATYPE(PointRecord)

namespace DrawingFile {
char *toString(const PointRecord &record) {
    return QTest::toString(QStringLiteral("(%1 %2 %3)").arg(record.code).arg(record.x).arg(record.y));
}
} // namespace DrawingFile

// Drawing files, what the writer writes and what the reader accepts; rendering them into a picture:
// the three modes, the blot on the picture's pixels and the error display; and zokorvane-tool
// render-drawing, which writes the picture as a PNG. Pictures are 129 pixels square on the canvas
// scale, 10 pixels per drawing unit.

namespace {

struct Picture {
    QImage image{129, 129, QImage::Format_RGB32};
    PictureSurface surface{&image};
    Picture() {
        image.fill(Qt::white);
        surface.setScale(0, 0, 12.9, 12.9);
    }
    int grey(int x, int y) const { return qRed(image.pixel(x, y)); }
    // Black within one pixel of (x, y), for lines whose exact pixels depend on the rasteriser.
    bool blackNear(int x, int y) const {
        return pixelsOf(image, QRect(x - 1, y - 1, 3, 3), qRgb(0, 0, 0)) > 0;
    }
    int dark(const QRect &area) const {
        return area.width() * area.height() - pixelsOf(image, area, qRgb(255, 255, 255));
    }
};

} // namespace

class TestDrawingRender : public QObject {
    Q_OBJECT

private:
    QString file(const QByteArray &text) {
        const QString path = m_dir.filePath(QString::number(++m_files));
        return putFile(path, text) ? path : QString();
    }
    QTemporaryDir m_dir;
    int m_files = 0;

private slots:
    void writtenRecordsAreCrLfLinesAndReadBackUnchanged() {
        QTemporaryDir dir;
        const QString path = dir.filePath("352");
        const Records records{{0, -32768, 32767}, {1, -3, 12}, {3, -3, 12}};
        QVERIFY(DrawingFile::write(path, records));
        QCOMPARE(fileBytes(path), QByteArray("3\r\n0 -32768 32767\r\n1 -3 12\r\n3 -3 12\r\n"));
        const DrawingFile::Contents contents = DrawingFile::read(path);
        QVERIFY2(contents.ok() && contents.count == 3, qPrintable(contents.error));
        QCOMPARE(contents.records, records);
    }

    void readerAcceptsBlanksCommasAndLineEnds_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<Records>("records");
        const Records two{{0, 1, 2}, {1, -3, 4}};
        QTest::newRow("commas") << QByteArray("2,0,1,2,1,-3,4") << 2 << two;
        QTest::newRow("one number a line, LF only") << QByteArray("2\n0\n1\n2\n1\n-3\n4\n") << 2 << two;
        QTest::newRow("runs of blanks, tabs, empty lines")
            << QByteArray("  2 \r\n 0 ,1\t, 2\r\n\r\n1   -3 4  \r\n\r\n") << 2 << two;
        QTest::newRow("count differs from records") << QByteArray("5\r\n0 1 2\r\n1 -3 4") << 5 << two;
        QTest::newRow("16-bit limits")
            << QByteArray("1\r\n+3 -32768 32767\r\n") << 1 << Records{{3, -32768, 32767}};
    }

    void readerAcceptsBlanksCommasAndLineEnds() {
        QFETCH(QByteArray, text);
        const DrawingFile::Contents contents = DrawingFile::parse(text);
        QVERIFY2(contents.ok(), qPrintable(contents.error));
        QTEST(int(contents.count), "count");
        QTEST(contents.records, "records");
    }

    void readerRefusesWhatIsNotADrawing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("countRead");
        QTest::addColumn<int>("recordsKept");
        QTest::newRow("empty file") << QByteArray() << false << 0;
        QTest::newRow("count not a number") << QByteArray("two\r\n") << false << 0;
        QTest::newRow("count too large") << QByteArray("32768\r\n") << false << 0;
        QTest::newRow("coordinate too large") << QByteArray("2\r\n0 1 2\r\n1 32768 4\r\n") << true << 1;
        QTest::newRow("coordinate too small") << QByteArray("2\r\n0 1 2\r\n1 -32769 4\r\n") << true << 1;
        QTest::newRow("many digits") << QByteArray("1\r\n0 1 99999999999999999999\r\n") << true << 0;
        QTest::newRow("decimal point") << QByteArray("1\r\n0 1.5 2\r\n") << true << 0;
        QTest::newRow("sign alone") << QByteArray("1\r\n0 - 2\r\n") << true << 0;
        QTest::newRow("last record cut short") << QByteArray("2\r\n0 1 2\r\n1 3\r\n") << true << 1;
        QTest::newRow("nul byte") << QByteArray("1\r\n0 1\0 2\r\n", 12) << true << 0;
        QByteArray million("30000\r\n");
        for (int i = 0; i < 100000; ++i) {
            million += "1 3 4\r\n";
        }
        QTest::newRow("more records than a drawing holds") << million << true << DrawingFile::MaxPoints;
    }

    void readerRefusesWhatIsNotADrawing() {
        QFETCH(QByteArray, text);
        const DrawingFile::Contents contents = DrawingFile::parse(text);
        QVERIFY(!contents.ok());
        QTEST(contents.countRead, "countRead");
        QTEST(int(contents.records.size()), "recordsKept");
    }

    void coordinatesRoundHalfToEvenWithinSixteenBits() {
        for (const auto &[value, stored] : QList<QPair<double, int>>{
                 {3.5, 4}, {4.5, 4}, {2.5001, 3}, {-1.5, -2}, {1e9, 32767}, {-1e9, -32768}}) {
            QCOMPARE(int(DrawingFile::toUnit(value)), stored);
        }
    }

    // {drawing, a pixel drawn black, one left white}: a first code 1 draws from (0, 0); code 0 moves and
    // code 3 draws; another code moves without drawing; what was read before an error stays.
    void linesStartFromTheOriginAndFollowTheCodes() {
        for (const auto &[text, black, white] : QList<std::tuple<QByteArray, QPoint, QPoint>>{
                 {"1\r\n1 5 0\r\n", {25, 0}, {60, 0}},
                 {"2\r\n0 2 2\r\n3 2 8\r\n", {20, 50}, {10, 10}},
                 {"3\r\n0 2 2\r\n2 8 2\r\n1 8 8\r\n", {80, 50}, {50, 20}},
                 {"3\r\n1 12 6\r\n1 x 1\r\n", {60, 30}, {10, 60}}}) {
            Picture picture;
            DrawingRender::render(picture.surface, file(text), DrawingRender::Mode::Lines);
            QVERIFY2(picture.blackNear(black.x(), black.y()) && picture.grey(white.x(), white.y()) == 255,
                     text);
        }
    }

    void fuseSkipsSmallStepsAndComparesWithTheLastBlotPoint() {
        Picture picture;
        const QByteArray text = "6\r\n"
                                "1 2 10\r\n"  // 2 units across from (0, 0): skipped although far down
                                "1 5 5\r\n"   // compared with (0, 0) again: blot
                                "1 8 6\r\n"   // 1 unit down from (5, 5): skipped
                                "1 9 9\r\n"   // compared with (5, 5): blot
                                "0 12 12\r\n" // far enough but a stroke start: no blot, yet the new reference
                                "1 12 3\r\n"; // 0 across from (12, 12): skipped (from (9, 9) it would blot)
        DrawingRender::render(picture.surface, file(text), DrawingRender::Mode::Fuse);
        QCOMPARE(picture.grey(50, 50), 255 - 50);
        QCOMPARE(picture.grey(90, 90), 255 - 50);
        for (const QPoint &p : {QPoint(20, 100), QPoint(80, 60), QPoint(120, 120), QPoint(120, 30)}) {
            QCOMPARE(picture.grey(p.x(), p.y()), 255);
        }
    }

    void massCentreDividesByTheCountOfTheFirstLine_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QPoint>("centre"); // in drawing units; (-1, -1) for nothing drawn
        QTest::newRow("count larger than records") << QByteArray("4\r\n1 6 6\r\n1 6 6\r\n") << QPoint(3, 3);
        QTest::newRow("count smaller than records") << QByteArray("1\r\n1 2 2\r\n1 4 4\r\n") << QPoint(6, 6);
        QTest::newRow("every code counts, halves to even")
            << QByteArray("2\r\n0 5 4\r\n3 0 4\r\n") << QPoint(2, 4);
        QTest::newRow("count 0 reads no further") << QByteArray("0\r\nnot a drawing") << QPoint(-1, -1);
        QTest::newRow("negative count") << QByteArray("-3\r\n1 4 4\r\n") << QPoint(-1, -1);
    }

    void massCentreDividesByTheCountOfTheFirstLine() {
        QFETCH(QByteArray, text);
        QFETCH(QPoint, centre);
        Picture picture;
        DrawingRender::render(picture.surface, file(text), DrawingRender::Mode::MassCentre);
        QVERIFY(centre.x() < 0 ? picture.dark(picture.image.rect()) == 0
                               : picture.grey(centre.x() * 10, centre.y() * 10) == 255 - 80);
    }

    // Grey lost = round(depth / size * (size - Manhattan distance)), halves to even: {size, depth, offset
    // from the centre, grey}, for the fuse's blot (17, 50) and the mass centre's (30, 80).
    void blotDarkensADiamondAroundItsCentre() {
        for (const auto &[size, depth, dx, dy, grey] : QList<std::array<int, 5>>{{17, 50, 0, 0, 255 - 50},
                                                                                 {17, 50, 0, -1, 255 - 47},
                                                                                 {17, 50, -8, -8, 255 - 3},
                                                                                 {17, 50, 9, 0, 255},
                                                                                 {30, 80, -15, 0, 255 - 40},
                                                                                 {30, 80, 15, 0, 255}}) {
            Picture picture;
            DrawingRender::stampBlot(picture.surface, 6, 6, size, depth);
            QCOMPARE(picture.grey(60 + dx, 60 + dy), grey);
        }
    }

    void blotsAccumulateAndClampAtBlack() {
        Picture picture;
        picture.surface.setPixel(50, 54, 0x0000FF); // pure red: less than the grey as a packed value
        for (int stamp = 0; stamp < 6; ++stamp) {
            DrawingRender::stampBlot(picture.surface, 5, 5, 17, 50);
        }
        QCOMPARE(picture.image.pixel(50, 50), qRgb(0, 0, 0));
        QCOMPARE(picture.grey(53, 50), 255 - 6 * 41);
        QCOMPARE(picture.image.pixel(50, 54), qRgb(0, 0, 0));
        // A blot at the picture's edge changes only the pixels inside.
        DrawingRender::stampBlot(picture.surface, 0, 0, 17, 50);
        QCOMPARE(picture.grey(0, 0), 255 - 50);
    }

    void unreadableFilesShowTheErrorDisplay_data() {
        QTest::addColumn<QByteArray>("text"); // "-" for a missing file, "/" for an uncreatable folder
        QTest::addColumn<int>("mode");
        QTest::newRow("missing file, lines") << QByteArray("-") << 0;
        QTest::newRow("letters, fuse") << QByteArray("2\r\n0 a b\r\n") << 1;
        QTest::newRow("number out of range, mass") << QByteArray("1\r\n0 1 40000\r\n") << 2;
        QTest::newRow("record cut short, lines") << QByteArray("1\r\n0 1\r\n") << 0;
    }

    void unreadableFilesShowTheErrorDisplay() {
        QFETCH(QByteArray, text);
        QFETCH(int, mode);
        const QString path = text == "-" ? m_dir.filePath("missing") : file(text);
        Picture picture;
        DrawingRender::render(picture.surface, path, DrawingRender::Mode(mode));
        for (int x : {5, 64, 123}) { // both diagonals, corner to corner
            QVERIFY2(picture.blackNear(x, x), qPrintable(QString::number(x)));
            QVERIFY2(picture.blackNear(128 - x, x), qPrintable(QString::number(x)));
        }
        // "File error:" on the first line at the top-left corner, the path on the second; both clear of
        // the diagonals.
        QVERIFY(picture.dark(QRect(14, 0, 36, 10)) > 10);
        QVERIFY(picture.dark(QRect(30, 14, 60, 10)) > 10);
        QCOMPARE(picture.dark(QRect(40, 110, 20, 18)), 0);
    }

    // A drawing file to a PNG, as the picture areas draw it; bad arguments (exit code 2) and an
    // unreadable file (1) write no PNG.
    void theToolRendersOrRefuses_data() {
        // Two strokes: an L from (1, 1) to (11, 1) to (11, 11), and a diagonal from (3, 9) to (9, 3).
        const QString drawing = testData("drawings/two-strokes");
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
    void theToolRendersOrRefuses() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(int, size);
        const QString png = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".png");
        QString said;
        QCOMPARE(runProgram({}, QStringList{"render-drawing"} + args + QStringList{"--png", png}, &said),
                 exitCode);
        QCOMPARE(said.startsWith("Wrote "), exitCode == 0); // or says why not
        const QImage image(png);
        QCOMPARE(image.size(), QSize(size, size));
        if (exitCode == 0) {
            QFETCH(QPoint, dark);
            QTEST(qRed(image.pixel(dark)), "grey");
            QCOMPARE(image.pixel(size - 1, size - 1), qRgb(255, 255, 255));
        }
    }
};

QTEST_MAIN(TestDrawingRender)
#include "tst_drawingrender.moc"
