#include "drawings/DrawingCanvas.h"
#include "drawings/DrawingFile.h"
#include "drawings/DrawingRender.h"
#include "drawings/PictureWidget.h"
#include "support/Files.h"
#include "support/Widgets.h"

#include <QPoint>
#include <QPointingDevice>
#include <QTabletEvent>

using DrawingFile::PointRecord;
using Records = QList<PointRecord>;
Q_DECLARE_METATYPE(PointRecord)

namespace DrawingFile {
char *toString(const PointRecord &record) {
    return QTest::toString(QStringLiteral("(%1 %2 %3)").arg(record.code).arg(record.x).arg(record.y));
}
} // namespace DrawingFile

// Drawing files, what the writer writes and what the reader accepts; rendering them into a picture:
// the three modes, the blot on the picture's pixels and the error display; zokorvane-tool
// render-drawing, which writes the picture as a PNG; and the drawing canvas: what pen down, move and
// up record, the 2000-point limit, live drawing and repaint, and the file GuardarDibujo writes.
// Pictures and the canvas are 129 pixels square, 10 pixels per drawing unit.

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

int grey(DrawingCanvas &canvas, int x, int y) {
    return qRed(canvas.image().pixel(x, y));
}

void stroke(DrawingCanvas &canvas, std::initializer_list<QPointF> points) {
    canvas.Picture1_MouseDown(1, 0, float(points.begin()->x()), float(points.begin()->y()));
    for (const QPointF &p : points) {
        canvas.Picture1_MouseMove(1, 0, float(p.x()), float(p.y()));
    }
    canvas.Picture1_MouseUp(1, 0, float((points.end() - 1)->x()), float((points.end() - 1)->y()));
}

QList<qint16> codes(const DrawingCanvas &canvas) {
    QList<qint16> codes;
    for (const DrawingFile::PointRecord &record : canvas.buffer().records()) {
        codes << record.code;
    }
    return codes;
}

} // namespace

class TestDrawings : public QObject {
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
        QTest::newRow("commas, runs of blanks, tabs, empty lines")
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
        QTest::newRow("coordinate too large") << QByteArray("2\r\n0 1 2\r\n1 32768 4\r\n") << true << 1;
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
        QTest::newRow("every code counts, halves to even")
            << QByteArray("2\r\n0 5 4\r\n3 0 4\r\n") << QPoint(2, 4);
        QTest::newRow("count 0 reads no further") << QByteArray("0\r\nnot a drawing") << QPoint(-1, -1);
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
        QTest::newRow("number out of range, mass") << QByteArray("1\r\n0 1 40000\r\n") << 2;
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
        // "File error:" on the first line at the top-left corner.
        QVERIFY(picture.dark(QRect(14, 0, 36, 10)) > 10);
    }

    // A drawing file to a PNG, as the picture areas draw it; bad arguments (exit code 2) and an
    // unreadable file (1) write no PNG.
    void theToolRendersOrRefuses_data() {
        // Two strokes: an L from (1, 1) to (11, 1) to (11, 11), and a diagonal from (3, 9) to (9, 3).
        const QString drawing = testData("drawings/two-strokes");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("size");
        QTest::addColumn<QPoint>("black"); // a pixel of the drawing's lines
        QTest::newRow("lines, default size")
            << QStringList{drawing, "--mode", "lines"} << 0 << 258 << QPoint(220, 120);
        QTest::newRow("size not a number")
            << QStringList{drawing, "--mode", "lines", "--size", "x"} << 2 << 0 << QPoint();
        QTest::newRow("missing file")
            << QStringList{"no-such-drawing", "--mode", "lines"} << 1 << 0 << QPoint();
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
            QFETCH(QPoint, black);
            QCOMPARE(image.pixel(black), qRgb(0, 0, 0));
        }
    }

    // Strokes are start, continue and end records, the end repeating the last position, kept exact
    // until GuardarDibujo writes them rounded half to even, or says it could not; a click without
    // movement or a move after the release records nothing. Comienza empties the buffer, clears the
    // picture and lifts the pen.
    void strokesAreRecordedAndSavedRoundedHalfToEven() {
        QTemporaryDir dir;
        const QString path = dir.filePath("352");
        DrawingCanvas canvas;
        canvas.resize(129, 129);
        QVERIFY(!canvas.GuardarDibujo(dir.filePath("missing/352")));
        canvas.Picture1_MouseDown(1, 0, 4, 4);
        canvas.Picture1_MouseUp(1, 0, 4, 4);
        canvas.Picture1_MouseMove(0, 0, 6, 6);
        stroke(canvas, {{3.5f, 4.5f}, {2.5f, 0.49f}, {12.51f, 7.2f}});
        stroke(canvas, {{8, 8}, {9, 9.5f}});
        canvas.Picture1_MouseMove(0, 0, 5, 5); // the pen is up again: nothing recorded
        QVERIFY(canvas.buffer().count() == 7 && canvas.buffer().at(6).y == 9.5f);
        QVERIFY(canvas.GuardarDibujo(path));
        QCOMPARE(fileBytes(path),
                 QByteArray("7\r\n0 4 4\r\n1 2 0\r\n1 13 7\r\n3 13 7\r\n0 8 8\r\n1 9 10\r\n3 9 10\r\n"));

        canvas.Picture1_MouseDown(1, 0, 2, 2);
        canvas.Picture1_MouseMove(1, 0, 2, 2);
        canvas.Picture1_MouseMove(1, 0, 10, 2);
        canvas.Comienza();
        canvas.Picture1_MouseMove(1, 0, 5, 5);
        QVERIFY(canvas.buffer().count() == 0 && grey(canvas, 60, 20) == 255);
    }

    void fullBufferIgnoresFurtherInput_data() {
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("countAfterRelease");
        QTest::newRow("1999 points leave room for the end point") << 1999 << 2000;
        QTest::newRow("moves beyond 2000 are dropped, no end point") << 2100 << 2000;
    }

    void fullBufferIgnoresFurtherInput() {
        QFETCH(int, moves);
        DrawingCanvas canvas;
        canvas.resize(129, 129);
        canvas.Picture1_MouseDown(1, 0, 1, 1);
        for (int i = 0; i < moves; ++i) {
            canvas.Picture1_MouseMove(1, 0, 1 + (i % 2), 1);
        }
        QCOMPARE(canvas.buffer().count(), qMin(moves, 2000));
        canvas.Picture1_MouseUp(1, 0, 1, 1);
        QTEST(canvas.buffer().count(), "countAfterRelease");
        // Full: a new stroke neither records nor draws.
        stroke(canvas, {{8, 8}, {8, 12}});
        QVERIFY(canvas.buffer().count() == 2000 && grey(canvas, 80, 100) == 255);
    }

    void liveStrokesUseExactPositionsAndRepaintTheRoundedOnes() {
        DrawingCanvas canvas;
        canvas.resize(129, 129);
        // Both x positions round to 4: the repaint is a vertical line at x = 4 units.
        stroke(canvas, {{3.5f, 1}, {4.5f, 9}});
        QCOMPARE(QList<int>({grey(canvas, 35, 10), grey(canvas, 45, 90), grey(canvas, 40, 20)}),
                 QList<int>({0, 0, 255}));
        canvas.Picture1_Paint();
        for (int y = 10; y <= 90; y += 10) {
            QCOMPARE(grey(canvas, 40, y), 0);
        }
        QCOMPARE(QList<int>({grey(canvas, 35, 10), grey(canvas, 45, 90)}), QList<int>({255, 255}));
    }

    void mouseAndPenDrawThroughThePenOperationsOnce() {
        DrawingCanvas canvas;
        canvas.resize(129, 129);
        QVERIFY(exposed(&canvas));
        QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(&canvas, QPoint(20, 20));
        QTest::mouseMove(&canvas, QPoint(100, 20));
        QTest::mouseMove(&canvas, QPoint(100, 100));
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY(
            canvas.buffer().records().first() == (DrawingFile::PointRecord{DrawingFile::StrokeStart, 2, 2}) &&
            canvas.buffer().records().last() == (DrawingFile::PointRecord{DrawingFile::StrokeEnd, 10, 10}));

        canvas.Comienza();
        const QPointingDevice pen(
            "pen", 7, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
            QTabletEvent event(type, &pen, at, canvas.mapToGlobal(at), buttons ? 0.5 : 0.0, 0, 0, 0, 0, 0, {},
                               type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton, buttons);
            event.setAccepted(false);
            QApplication::sendEvent(&canvas, &event);
            // An accepted tablet event is not turned into a mouse event as well.
            return event.isAccepted();
        };
        send(QEvent::TabletMove, {5, 5}, Qt::NoButton); // hovering records nothing
        QVERIFY(send(QEvent::TabletPress, {20, 20}, Qt::LeftButton));
        QVERIFY(send(QEvent::TabletMove, {30, 40}, Qt::LeftButton));
        QVERIFY(send(QEvent::TabletMove, {60, 80}, Qt::LeftButton));
        QVERIFY(send(QEvent::TabletRelease, {60, 80}, Qt::NoButton));
        QCOMPARE(codes(canvas), (QList<qint16>{0, 1, 3}));
        QCOMPARE(canvas.buffer().records().at(0), (DrawingFile::PointRecord{DrawingFile::StrokeStart, 3, 4}));
    }
};

QTEST_MAIN(TestDrawings)
#include "tst_drawingrender.moc"
