#include "experiments/EGrid.h"
#include "support/Widgets.h"

// The stimulation grid control: cell numbering on screen, marks, selection and Click, and the arrow
// keys.

static QString tpos(EGrid &grid) {
    return child<QLabel>(&grid, "TPos")->text();
}

class TestEGrid : public QObject {
    Q_OBJECT

private slots:
    // Cell i is in row i / 10 counted from the bottom and column i % 10 from the left. Each row is
    // labelled with the index of its first cell, and columns 0 to 8 with their numbers. A fresh control
    // selects the design's cell 14.
    void cellsAndLabelsAreNumberedFromTheBottomLeft() {
        EGrid grid;
        for (int i = 0; i < GridCells::Count; ++i) {
            const QRect cell = grid.cell(i)->geometry(), left = grid.cell(i - i % 10)->geometry();
            QVERIFY(i % 10 == 0 ||
                    (cell.top() == left.top() && cell.left() > grid.cell(i - 1)->geometry().left()));
            QVERIFY(i < 10 || cell.bottom() < grid.cell(i - 10)->geometry().top());
            if (i % 10 == 0) {
                QCOMPARE(labelText(&grid, qPrintable(QString("LFila_%1").arg(i / 10))), QString::number(i));
            }
            const auto *label = grid.findChild<QLabel *>(QString("LColumna_%1").arg(i));
            QCOMPARE(label ? label->text() : "none", i < 9 ? QString::number(i) : "none");
        }
        QCOMPARE(grid.EIndex(), 14);
    }

    void marksAreKeptInsideTheGridAndPaintedRed_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("cell 0") << 0;
        QTest::newRow("-1 refused") << -1;
        QTest::newRow("50 refused") << 50;
    }

    void marksAreKeptInsideTheGridAndPaintedRed() {
        QFETCH(int, index);
        const bool inside = index >= 0 && index < GridCells::Count;
        EGrid grid;
        grid.MarcarElemento(index, true);
        for (int i = 0; i < GridCells::Count; ++i) {
            QCOMPARE(grid.ElementoMarcado(i), i == index);
        }
        QCOMPARE(grid.ElementoMarcado(index), inside);
        if (!inside) {
            return;
        }
        grid.resize(grid.sizeHint());
        const QImage shot = grid.grab().toImage();
        QVERIFY(pixelsOf(shot, grid.cell(index)->geometry(), qRgb(255, 0, 0)) > 0);
        QCOMPARE(pixelsOf(shot, grid.cell(47)->geometry(), qRgb(255, 0, 0)), 0);
    }

    // The selection moved by setEIndex (how 0), a click on cell `to` (how 1) or an arrow key: Click once
    // per change, with the new index already in EIndex; an index outside the grid is refused.
    void theSelectionMovesAndRaisesClickOncePerChange_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("selected");
        QTest::newRow("set another cell") << 31 << 0 << 20 << 20;
        QTest::newRow("set the same cell again") << 31 << 0 << 31 << 31;
        QTest::newRow("set 50") << 31 << 0 << 50 << 31;
        QTest::newRow("clicking another cell") << 14 << 1 << 7 << 7;
        QTest::newRow("up is the next row") << 14 << int(Qt::Key_Up) << 0 << 24;
        QTest::newRow("down is the row below") << 14 << int(Qt::Key_Down) << 0 << 4;
        QTest::newRow("left") << 14 << int(Qt::Key_Left) << 0 << 13;
        QTest::newRow("right does not wrap to the next row") << 9 << int(Qt::Key_Right) << 0 << 9;
        QTest::newRow("up stops at the top row") << 49 << int(Qt::Key_Up) << 0 << 49;
    }
    void theSelectionMovesAndRaisesClickOncePerChange() {
        QFETCH(int, from);
        QFETCH(int, how);
        QFETCH(int, to);
        QFETCH(int, selected);
        EGrid grid;
        QVERIFY(exposed(&grid));
        QVERIFY(grid.setEIndex(from));
        grid.cell(from)->setFocus();
        QList<int> seenInHandler;
        connect(&grid, &EGrid::Click, &grid, [&] { seenInHandler << grid.EIndex(); });
        if (how == 0) {
            QCOMPARE(grid.setEIndex(to), to == selected);
        } else if (how == 1) {
            QTest::mouseClick(grid.cell(to), Qt::LeftButton, {}, QPoint(6, grid.cell(to)->height() / 2));
        } else {
            QTest::keyClick(grid.cell(from), Qt::Key(how));
            // The focus follows, so the next key moves on from the new cell.
            QCOMPARE(QApplication::focusWidget(), grid.cell(selected));
        }
        QCOMPARE(seenInHandler, from == selected ? QList<int>() : QList<int>{selected});
        QCOMPARE(QList<int>({grid.EIndex(), grid.selectedCell(), tpos(grid).toInt()}),
                 QList<int>(3, selected));
    }
};

QTEST_MAIN(TestEGrid)
#include "tst_egrid.moc"
