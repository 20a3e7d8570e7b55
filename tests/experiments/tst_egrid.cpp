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
    void cellsAndLabelsAreNumberedFromTheBottomLeft_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("bottom left") << 0 << 0 << 0;
        QTest::newRow("bottom right") << 9 << 0 << 9;
        QTest::newRow("top left") << 40 << 4 << 0;
        QTest::newRow("top right") << 49 << 4 << 9;
        QTest::newRow("design selection") << 14 << 1 << 4;
    }

    void cellsAndLabelsAreNumberedFromTheBottomLeft() {
        QFETCH(int, index);
        QFETCH(int, row);
        QFETCH(int, column);
        QCOMPARE(GridCells::index(row, column), index);
        QCOMPARE(GridCells::row(index), row);
        QCOMPARE(GridCells::column(index), column);

        // On screen, row 0 is the lowest row and column 0 the leftmost one.
        EGrid grid;
        const QRect cell = grid.cell(index)->geometry();
        QCOMPARE(cell.top() > grid.cell(40)->geometry().top(), row < 4);
        QCOMPARE(cell.top() < grid.cell(0)->geometry().top(), row > 0);
        QCOMPARE(cell.left() > grid.cell(0)->geometry().left(), column > 0);
        QCOMPARE(cell.left() < grid.cell(9)->geometry().left(), column < 9);
        // Labels: the row's left of its first cell, on the same line; the column's below the bottom
        // row at the cell's left edge (none for column 9). Each shows the index of the cell it labels.
        const auto *rowLabel = grid.findChild<QLabel *>(QStringLiteral("LFila_%1").arg(row));
        const QRect first = grid.cell(row * 10)->geometry();
        QCOMPARE(rowLabel->text(), QString::number(row * 10));
        QCOMPARE(rowLabel->geometry().top(), first.top());
        QVERIFY(rowLabel->geometry().right() < first.left());
        const auto *columnLabel = grid.findChild<QLabel *>(QStringLiteral("LColumna_%1").arg(column));
        QCOMPARE(columnLabel != nullptr, column < 9);
        if (columnLabel) {
            QCOMPARE(columnLabel->text(), QString::number(column));
            QCOMPARE(columnLabel->geometry().left(), grid.cell(column)->geometry().left());
            QVERIFY(columnLabel->geometry().top() > grid.cell(column)->geometry().bottom());
        }
        // A fresh control selects the design's cell and keeps the design's proportions at any scaling.
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

    void propertyBagRoundTripsAndFallsBackToDefaults() {
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
        const QVariantMap bag = saved.writeProperties();
        EGrid loaded;
        loaded.readProperties(bag);
        QCOMPARE(loaded.Font(), font);
        QVERIFY(!loaded.cell(0)->isEnabled());
        QCOMPARE(loaded.writeProperties(), bag);

        // Missing keys take their defaults; a stored index outside the grid is not taken over.
        loaded.readProperties({{QStringLiteral("EIndex"), 77}});
        EGridProperties defaults;
        defaults.Font = QApplication::font(&loaded);
        QCOMPARE(loaded.writeProperties(), defaults.write());
        // A loaded index is stored but not selected until it is set, which is then a change.
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
