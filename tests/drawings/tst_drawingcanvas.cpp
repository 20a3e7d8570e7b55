#include "drawings/DrawingCanvas.h"
#include "support/Files.h"
#include "support/Widgets.h"

#include <QPointingDevice>
#include <QTabletEvent>

// The drawing canvas: what pen down, move and up record, the 2000-point limit, live drawing and
// repaint, and the file GuardarDibujo writes. The canvas is 129 pixels square, 10 pixels per unit.

namespace {

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

class TestDrawingCanvas : public QObject {
    Q_OBJECT

private slots:
    // Strokes are start, continue and end records, the end repeating the last position, kept exact
    // until GuardarDibujo writes them rounded half to even; a click without movement or a move after
    // the release records nothing. Comienza empties the buffer, clears the picture and lifts the pen,
    // and a later, shorter save replaces the whole file.
    void strokesAreRecordedAndSavedRoundedHalfToEven() {
        QTemporaryDir dir;
        const QString path = dir.filePath("352");
        DrawingCanvas canvas;
        canvas.resize(129, 129);
        QVERIFY(canvas.GuardarDibujo(path));
        QCOMPARE(fileBytes(path), QByteArray("0\r\n"));
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
        stroke(canvas, {{1, 1}, {2, 2}});
        QVERIFY(canvas.GuardarDibujo(path));
        QCOMPARE(fileBytes(path), QByteArray("3\r\n0 1 1\r\n1 2 2\r\n3 2 2\r\n"));
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
        QCOMPARE(grey(canvas, 60, 20), 0);

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

QTEST_MAIN(TestDrawingCanvas)
#include "tst_drawingcanvas.moc"
