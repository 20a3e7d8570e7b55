#include "DrawingCanvas.h"

#include <QApplication>
#include <QPointingDevice>
#include <QTabletEvent>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The drawing canvas: what pen down, move and up record, the 2000-point limit, live drawing and
// repaint, and the file GuardarDibujo writes. The canvas is 129 pixels square, 10 pixels per unit.
class TestDrawingCanvas : public QObject {
    Q_OBJECT

private slots:
    void twoStrokesGiveStartContinueAndEndCodes();
    void pressAndReleaseWithoutMovementRecordsNothing();
    void fullBufferIgnoresFurtherInput_data();
    void fullBufferIgnoresFurtherInput();
    void guardarDibujoWritesCoordinatesRoundedHalfToEven();
    void savingAnEmptyBufferWritesOnlyTheCount();
    void liveStrokesUseExactPositionsAndRepaintTheRoundedOnes();
    void comienzaEmptiesTheBufferAndClearsTheCanvas();
    void mouseDrawsThroughThePenOperations();
    void aPenStrokeIsRecordedOnceAndNotAgainAsMouse();

private:
    static QByteArray fileText(const QString &path);
};

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

} // namespace

QByteArray TestDrawingCanvas::fileText(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void TestDrawingCanvas::twoStrokesGiveStartContinueAndEndCodes() {
    DrawingCanvas canvas;
    stroke(canvas, {{1, 1}, {2, 1}, {3, 2}});
    stroke(canvas, {{8, 8}, {9, 9.5f}});
    const DrawingBuffer &buffer = canvas.buffer();
    QList<int> codes;
    for (int i = 0; i < buffer.count(); ++i) {
        codes << buffer.at(i).code;
    }
    QCOMPARE(codes, (QList<int>{0, 1, 1, 3, 0, 1, 3}));
    for (int end : {3, 6}) {
        QCOMPARE(buffer.at(end).x, buffer.at(end - 1).x);
        QCOMPARE(buffer.at(end).y, buffer.at(end - 1).y);
    }
    QCOMPARE(buffer.at(6).y, 9.5f);
    QVERIFY(!buffer.isPenDown());
}

void TestDrawingCanvas::pressAndReleaseWithoutMovementRecordsNothing() {
    DrawingCanvas canvas;
    canvas.Picture1_MouseDown(1, 0, 4, 4);
    canvas.Picture1_MouseUp(1, 0, 4, 4);
    QCOMPARE(canvas.buffer().count(), 0);
    // Nor does moving after the release.
    canvas.Picture1_MouseMove(0, 0, 6, 6);
    QCOMPARE(canvas.buffer().count(), 0);
    // The next stroke still starts with code 0.
    stroke(canvas, {{1, 1}, {2, 2}});
    QCOMPARE(canvas.buffer().at(0).code, qint16(DrawingFile::StrokeStart));
}

void TestDrawingCanvas::fullBufferIgnoresFurtherInput_data() {
    QTest::addColumn<int>("moves");
    QTest::addColumn<int>("countAfterRelease");
    QTest::newRow("1999 points leave room for the end point") << 1999 << 2000;
    QTest::newRow("2000 points: no end point") << 2000 << 2000;
    QTest::newRow("moves beyond 2000 are dropped") << 2100 << 2000;
}

void TestDrawingCanvas::fullBufferIgnoresFurtherInput() {
    QFETCH(int, moves);
    QFETCH(int, countAfterRelease);
    DrawingCanvas canvas;
    canvas.resize(129, 129);
    canvas.Picture1_MouseDown(1, 0, 1, 1);
    for (int i = 0; i < moves; ++i) {
        canvas.Picture1_MouseMove(1, 0, 1 + (i % 2), 1);
    }
    QCOMPARE(canvas.buffer().count(), qMin(moves, 2000));
    canvas.Picture1_MouseUp(1, 0, 1, 1);
    QCOMPARE(canvas.buffer().count(), countAfterRelease);
    if (canvas.buffer().count() == 2000) {
        // Full: a new stroke neither records nor draws.
        canvas.Picture1_MouseDown(1, 0, 8, 8);
        canvas.Picture1_MouseMove(1, 0, 8, 8);
        canvas.Picture1_MouseMove(1, 0, 8, 12);
        canvas.Picture1_MouseUp(1, 0, 8, 12);
        QCOMPARE(canvas.buffer().count(), 2000);
        QCOMPARE(grey(canvas, 80, 100), 255);
    }
}

void TestDrawingCanvas::guardarDibujoWritesCoordinatesRoundedHalfToEven() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("352"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older, longer drawing file that must disappear entirely\r\n");
    old.close();

    DrawingCanvas canvas;
    stroke(canvas, {{3.5f, 4.5f}, {2.5f, 0.49f}, {12.51f, 7.2f}});
    QVERIFY(canvas.GuardarDibujo(path));
    QCOMPARE(fileText(path), QByteArray("4\r\n0 4 4\r\n1 2 0\r\n1 13 7\r\n3 13 7\r\n"));
}

void TestDrawingCanvas::savingAnEmptyBufferWritesOnlyTheCount() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("352"));
    DrawingCanvas canvas;
    QVERIFY(canvas.GuardarDibujo(path));
    QCOMPARE(fileText(path), QByteArray("0\r\n"));
    QVERIFY(!canvas.GuardarDibujo(dir.filePath(QStringLiteral("missing/352"))));
}

void TestDrawingCanvas::liveStrokesUseExactPositionsAndRepaintTheRoundedOnes() {
    DrawingCanvas canvas;
    canvas.resize(129, 129);
    // Both x positions round to 4: the repaint is a vertical line at x = 4 units.
    stroke(canvas, {{3.5f, 1}, {4.5f, 9}});
    QCOMPARE(grey(canvas, 35, 10), 0);
    QCOMPARE(grey(canvas, 45, 90), 0);
    QCOMPARE(grey(canvas, 40, 50), 0);
    QCOMPARE(grey(canvas, 40, 20), 255);

    canvas.Picture1_Paint();
    if (!qEnvironmentVariableIsEmpty("ZK_GRAB_DIR")) {
        canvas.grab().save(qEnvironmentVariable("ZK_GRAB_DIR") + QStringLiteral("/canvas-repaint.png"));
    }
    for (int y = 10; y <= 90; y += 10) {
        QCOMPARE(grey(canvas, 40, y), 0);
    }
    QCOMPARE(grey(canvas, 35, 10), 255);
    QCOMPARE(grey(canvas, 45, 90), 255);
}

void TestDrawingCanvas::comienzaEmptiesTheBufferAndClearsTheCanvas() {
    DrawingCanvas canvas;
    canvas.resize(129, 129);
    canvas.Picture1_MouseDown(1, 0, 2, 2);
    canvas.Picture1_MouseMove(1, 0, 2, 2);
    canvas.Picture1_MouseMove(1, 0, 10, 2);
    canvas.Comienza();
    QCOMPARE(canvas.buffer().count(), 0);
    QVERIFY(!canvas.buffer().isPenDown());
    QCOMPARE(grey(canvas, 60, 20), 255);
    // The pen went up with Comienza: moving on records nothing.
    canvas.Picture1_MouseMove(1, 0, 5, 5);
    QCOMPARE(canvas.buffer().count(), 0);
}

void TestDrawingCanvas::mouseDrawsThroughThePenOperations() {
    DrawingCanvas canvas;
    canvas.resize(129, 129);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(&canvas, QPoint(20, 20));
    QTest::mouseMove(&canvas, QPoint(100, 20));
    QTest::mouseMove(&canvas, QPoint(100, 100));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(100, 100));
    const DrawingBuffer &buffer = canvas.buffer();
    QCOMPARE(buffer.count(), 4);
    QCOMPARE(buffer.records().last(), (DrawingFile::PointRecord{DrawingFile::StrokeEnd, 10, 10}));
    QCOMPARE(buffer.records().first(), (DrawingFile::PointRecord{DrawingFile::StrokeStart, 2, 2}));
    QCOMPARE(grey(canvas, 60, 20), 0);
    if (!qEnvironmentVariableIsEmpty("ZK_GRAB_DIR")) {
        canvas.grab().save(qEnvironmentVariable("ZK_GRAB_DIR") + QStringLiteral("/canvas-mouse.png"));
    }
}

void TestDrawingCanvas::aPenStrokeIsRecordedOnceAndNotAgainAsMouse() {
    DrawingCanvas canvas;
    canvas.resize(129, 129);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    const QPointingDevice pen(QStringLiteral("pen"), 7, QInputDevice::DeviceType::Stylus,
                              QPointingDevice::PointerType::Pen,
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
    QList<qint16> codes;
    for (const DrawingFile::PointRecord &record : canvas.buffer().records()) {
        codes << record.code;
    }
    QCOMPARE(codes,
             QList<qint16>({DrawingFile::StrokeStart, DrawingFile::StrokeNext, DrawingFile::StrokeEnd}));
    QCOMPARE(canvas.buffer().records().at(0), (DrawingFile::PointRecord{DrawingFile::StrokeStart, 3, 4}));
}

QTEST_MAIN(TestDrawingCanvas)
#include "tst_drawingcanvas.moc"
