#include "experiments/EGrid.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <climits>

// The stimulation grid control: cell numbering on screen, marks, selection and Click, the arrow
// keys and the property bag.

static QString tpos(EGrid &grid) {
    return grid.findChild<QLabel *>(QStringLiteral("TPos"))->text();
}

class TestEGrid : public QObject {
    Q_OBJECT

private slots:
    // Cell i is in row i / 10 counted from the bottom and column i % 10 from the left. Each row is
    // labelled with the index of its first cell, left of it on its line; columns 0 to 8 below the
    // bottom row at their cells' left edges. A fresh control selects the design's cell 14 and keeps the
    // design's proportions at any scaling.
    void cellsAndLabelsAreNumberedFromTheBottomLeft() {
        EGrid grid;
        for (int i = 0; i < GridCells::Count; ++i) {
            const int row = i / 10, column = i % 10;
            QCOMPARE(QList<int>({GridCells::index(row, column), GridCells::row(i), GridCells::column(i)}),
                     QList<int>({i, row, column}));
            const QRect cell = grid.cell(i)->geometry();
            QVERIFY(column == 0 || (cell.top() == grid.cell(i - 1)->geometry().top() &&
                                    cell.left() > grid.cell(i - 1)->geometry().left()));
            QVERIFY(row == 0 || cell.bottom() < grid.cell(i - 10)->geometry().top());
        }
        for (int row = 0; row < GridCells::Rows; ++row) {
            const auto *label = child<QLabel>(&grid, qPrintable(QStringLiteral("LFila_%1").arg(row)));
            const QRect first = grid.cell(row * 10)->geometry();
            QCOMPARE(label->text(), QString::number(row * 10));
            QVERIFY(label->geometry().top() == first.top() && label->geometry().right() < first.left());
        }
        for (int column = 0; column < GridCells::Columns; ++column) {
            const auto *label = grid.findChild<QLabel *>(QStringLiteral("LColumna_%1").arg(column));
            QCOMPARE(label != nullptr, column < 9);
            if (label) {
                QCOMPARE(label->text(), QString::number(column));
                QCOMPARE(label->geometry().left(), grid.cell(column)->geometry().left());
                QVERIFY(label->geometry().top() > grid.cell(column)->geometry().bottom());
            }
        }
        QCOMPARE(grid.EIndex(), 14);
        const QSize size = grid.sizeHint();
        QVERIFY(qAbs(double(size.width()) / size.height() - 2850.0 / 1800.0) < 0.02);
    }

    void marksAreKeptInsideTheGridAndPaintedRed_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("cell 0") << 0;
        QTest::newRow("cell 49") << 49;
        QTest::newRow("-1 refused") << -1;
        QTest::newRow("50 refused") << 50;
        QTest::newRow("largest refused") << INT_MAX;
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

        grid.MarcarElemento(index, false);
        QVERIFY(!grid.ElementoMarcado(index));
        grid.MarcarElemento(index, true);
        grid.MarcarElemento(37, true);
        grid.QuitarMarcas();
        for (int i = 0; i < GridCells::Count; ++i) {
            QCOMPARE(grid.cellColor(i), EGrid::UnmarkedColor);
        }
    }

    void eIndexRaisesClickOncePerChangeAndRefusesCellsOutside_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("another cell") << 20 << true;
        QTest::newRow("the same cell again: no Click") << 31 << true;
        QTest::newRow("-1") << -1 << false;
        QTest::newRow("50") << 50 << false;
        QTest::newRow("smallest") << INT_MIN << false;
    }

    void eIndexRaisesClickOncePerChangeAndRefusesCellsOutside() {
        QFETCH(int, index);
        QFETCH(bool, accepted);
        EGrid grid;
        QVERIFY(grid.setEIndex(31));
        QSignalSpy clicks(&grid, &EGrid::Click);
        QCOMPARE(grid.setEIndex(index), accepted);
        const int selected = accepted ? index : 31;
        QCOMPARE(clicks.count(), selected == 31 ? 0 : 1);
        QCOMPARE(grid.EIndex(), selected);
        QCOMPARE(grid.selectedCell(), selected);
        QCOMPARE(tpos(grid), QString::number(selected));
    }

    void keysAndTheMouseMoveTheSelection_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key"); // 0: a mouse click on the cell "to"
        QTest::addColumn<int>("to");
        QTest::newRow("up is the next row") << 14 << int(Qt::Key_Up) << 24;
        QTest::newRow("down is the row below") << 14 << int(Qt::Key_Down) << 4;
        QTest::newRow("left") << 14 << int(Qt::Key_Left) << 13;
        QTest::newRow("right does not wrap to the next row") << 9 << int(Qt::Key_Right) << 9;
        QTest::newRow("up stops at the top row") << 49 << int(Qt::Key_Up) << 49;
        QTest::newRow("clicking another cell") << 14 << 0 << 7;
        QTest::newRow("clicking the selected cell") << 7 << 0 << 7;
    }

    void keysAndTheMouseMoveTheSelection() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        EGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setEIndex(from);
        grid.cell(from)->setFocus();
        QList<int> seenInHandler;
        connect(&grid, &EGrid::Click, &grid, [&] { seenInHandler << grid.EIndex(); });
        if (key) {
            QTest::keyClick(grid.cell(from), Qt::Key(key));
            // The focus follows, so the next key moves on from the new cell.
            QCOMPARE(QApplication::focusWidget(), grid.cell(to));
        } else {
            QTest::mouseClick(grid.cell(to), Qt::LeftButton, {}, QPoint(6, grid.cell(to)->height() / 2));
        }
        QCOMPARE(grid.selectedCell(), to);
        QCOMPARE(seenInHandler, from == to ? QList<int>() : QList<int>{to});
    }

    // What the bag holds comes back whole; a stored index outside the grid is not taken over, and a
    // loaded one is not selected until it is set, which is then a change.
    void propertyBagRoundTripsAndALoadedIndexWaitsToBeSet() {
        EGrid saved;
        const QFont font(QStringLiteral("Serif"), 14);
        saved.setBackColor(0x123456);
        saved.setForeColor(0x8000000F);
        saved.setFontProperty(font);
        saved.setAppearance(1);
        saved.setBackStyle(2);
        saved.setBorderStyle(3);
        saved.setEIndex(42);
        saved.setEnabled(false);
        EGrid loaded;
        loaded.readProperties(saved.writeProperties());
        QCOMPARE(loaded.Font(), font);
        QVERIFY(!loaded.cell(0)->isEnabled());
        QCOMPARE(loaded.writeProperties(), saved.writeProperties());
        loaded.readProperties({{QStringLiteral("EIndex"), 77}});
        QCOMPARE(loaded.EIndex(), EGrid().EIndex());
        loaded.readProperties({{QStringLiteral("EIndex"), 22}});
        QCOMPARE(loaded.EIndex(), 22);
        QCOMPARE(loaded.selectedCell(), -1);
        QSignalSpy clicks(&loaded, &EGrid::Click);
        loaded.setEIndex(22);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(tpos(loaded), QStringLiteral("22"));
    }
};

QTEST_MAIN(TestEGrid)
#include "tst_egrid.moc"
