#include "EGrid.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <climits>

// The stimulation grid control: cell numbering on screen, marks, selection and Click, the arrow
// keys and the property bag.
class TestEGrid : public QObject {
    Q_OBJECT

private slots:
    void cellsAreNumberedTenTimesRowPlusColumnFromTheBottomLeft_data();
    void cellsAreNumberedTenTimesRowPlusColumnFromTheBottomLeft();
    void labelsStandBesideTheirCells_data();
    void labelsStandBesideTheirCells();
    void freshControlSelectsCell14AndKeepsItsDesignProportions();
    void cellsAtTheGridCornersCanBeMarkedAndCleared_data();
    void cellsAtTheGridCornersCanBeMarkedAndCleared();
    void marksOutsideTheGridAreIgnored_data();
    void marksOutsideTheGridAreIgnored();
    void clickIsRaisedOncePerSelectionChange();
    void clickingACellSelectsIt();
    void eIndexOutsideTheGridIsRefused_data();
    void eIndexOutsideTheGridIsRefused();
    void arrowKeysMoveTheSelectionByRowsAndColumns_data();
    void arrowKeysMoveTheSelectionByRowsAndColumns();
    void propertyBagRoundTripsEveryKey();
    void loadedControlShowsNoSelectionUntilEIndexIsSet();
    void markedCellsArePaintedRed();
};

void TestEGrid::cellsAreNumberedTenTimesRowPlusColumnFromTheBottomLeft_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("bottom left") << 0 << 0 << 0;
    QTest::newRow("bottom right") << 9 << 0 << 9;
    QTest::newRow("top left") << 40 << 4 << 0;
    QTest::newRow("top right") << 49 << 4 << 9;
    QTest::newRow("design selection") << 14 << 1 << 4;
}

void TestEGrid::cellsAreNumberedTenTimesRowPlusColumnFromTheBottomLeft() {
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
}

void TestEGrid::labelsStandBesideTheirCells_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("index");
    QTest::newRow("column label 0") << "LColumna_0" << 0;
    QTest::newRow("column label 1") << "LColumna_1" << 1;
    QTest::newRow("column label 2") << "LColumna_2" << 2;
    QTest::newRow("column label 8") << "LColumna_8" << 8;
    QTest::newRow("row label 0") << "LFila_0" << 0;
    QTest::newRow("row label 10") << "LFila_1" << 10;
    QTest::newRow("row label 40") << "LFila_4" << 40;
}

void TestEGrid::labelsStandBesideTheirCells() {
    QFETCH(QString, label);
    QFETCH(int, index);
    EGrid grid;
    const auto *shown = grid.findChild<QLabel *>(label);
    QVERIFY(shown);
    // The caption the operator reads is the index of the cell it labels.
    QCOMPARE(shown->text(), QString::number(index));
    const QRect at = shown->geometry();
    const QRect cell = grid.cell(index)->geometry();
    if (label.startsWith(QLatin1String("LColumna"))) {
        // Below the bottom row, starting at the cell's left edge.
        QCOMPARE(at.left(), cell.left());
        QVERIFY(at.top() > cell.bottom());
    } else {
        // Left of the row's first cell, on the same line.
        QCOMPARE(at.top(), cell.top());
        QVERIFY(at.right() < cell.left());
    }
}

void TestEGrid::freshControlSelectsCell14AndKeepsItsDesignProportions() {
    EGrid grid;
    QCOMPARE(grid.objectName(), QStringLiteral("EGrid1"));
    QCOMPARE(grid.EIndex(), 14);
    QCOMPARE(grid.selectedCell(), 14);
    QCOMPARE(grid.findChild<QLabel *>(QStringLiteral("TPos"))->text(), QStringLiteral("14"));
    QVERIFY(grid.findChild<QLabel *>(QStringLiteral("TPos"))->font().bold());
    QVERIFY(!grid.findChild<QLabel *>(QStringLiteral("LColumna_9")));
    const QSize size = grid.sizeHint();
    QVERIFY(qAbs(double(size.width()) / size.height() - 2850.0 / 1800.0) < 0.02);
    for (int i = 0; i < GridCells::Count; ++i) {
        QVERIFY(!grid.ElementoMarcado(i));
    }
}

void TestEGrid::cellsAtTheGridCornersCanBeMarkedAndCleared_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("cell 0") << 0;
    QTest::newRow("cell 49") << 49;
}

void TestEGrid::cellsAtTheGridCornersCanBeMarkedAndCleared() {
    QFETCH(int, index);
    EGrid grid;
    grid.MarcarElemento(index, true);
    QVERIFY(grid.ElementoMarcado(index));
    QCOMPARE(grid.cellColor(index), 255u);
    for (int i = 0; i < GridCells::Count; ++i) {
        QCOMPARE(grid.ElementoMarcado(i), i == index);
    }
    grid.MarcarElemento(index, false);
    QVERIFY(!grid.ElementoMarcado(index));
    QCOMPARE(grid.cellColor(index), EGrid::UnmarkedColor);

    grid.MarcarElemento(index, true);
    grid.MarcarElemento(37, true);
    grid.QuitarMarcas();
    for (int i = 0; i < GridCells::Count; ++i) {
        QCOMPARE(grid.cellColor(i), EGrid::UnmarkedColor);
    }
}

void TestEGrid::marksOutsideTheGridAreIgnored_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("50") << 50;
    QTest::newRow("largest") << INT_MAX;
}

void TestEGrid::marksOutsideTheGridAreIgnored() {
    QFETCH(int, index);
    EGrid grid;
    grid.MarcarElemento(index, true);
    QVERIFY(!grid.ElementoMarcado(index));
    for (int i = 0; i < GridCells::Count; ++i) {
        QVERIFY(!grid.ElementoMarcado(i));
    }
}

void TestEGrid::clickIsRaisedOncePerSelectionChange() {
    EGrid grid;
    QSignalSpy clicks(&grid, &EGrid::Click);
    QVERIFY(grid.setEIndex(20));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(grid.selectedCell(), 20);
    QCOMPARE(grid.findChild<QLabel *>(QStringLiteral("TPos"))->text(), QStringLiteral("20"));

    QVERIFY(grid.setEIndex(20));
    QCOMPARE(clicks.count(), 1);
    QVERIFY(grid.setEIndex(14));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(grid.EIndex(), 14);
}

void TestEGrid::clickingACellSelectsIt() {
    EGrid grid;
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy clicks(&grid, &EGrid::Click);
    int seenInHandler = -1;
    connect(&grid, &EGrid::Click, &grid, [&] { seenInHandler = grid.EIndex(); });
    QRadioButton *cell = grid.cell(7);
    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(6, cell->height() / 2));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(seenInHandler, 7);
    QCOMPARE(grid.selectedCell(), 7);
    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(6, cell->height() / 2));
    QCOMPARE(clicks.count(), 1);
}

void TestEGrid::eIndexOutsideTheGridIsRefused_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("50") << 50;
    QTest::newRow("smallest") << INT_MIN;
}

void TestEGrid::eIndexOutsideTheGridIsRefused() {
    QFETCH(int, index);
    EGrid grid;
    QVERIFY(grid.setEIndex(31));
    QSignalSpy clicks(&grid, &EGrid::Click);
    QVERIFY(!grid.setEIndex(index));
    QCOMPARE(grid.EIndex(), 31);
    QCOMPARE(grid.selectedCell(), 31);
    QCOMPARE(grid.findChild<QLabel *>(QStringLiteral("TPos"))->text(), QStringLiteral("31"));
    QCOMPARE(clicks.count(), 0);
}

void TestEGrid::arrowKeysMoveTheSelectionByRowsAndColumns_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("up is the next row") << 14 << int(Qt::Key_Up) << 24;
    QTest::newRow("down is the row below") << 14 << int(Qt::Key_Down) << 4;
    QTest::newRow("left") << 14 << int(Qt::Key_Left) << 13;
    QTest::newRow("right") << 14 << int(Qt::Key_Right) << 15;
    QTest::newRow("right does not wrap to the next row") << 9 << int(Qt::Key_Right) << 9;
    QTest::newRow("left does not wrap to the row below") << 10 << int(Qt::Key_Left) << 10;
    QTest::newRow("up stops at the top row") << 49 << int(Qt::Key_Up) << 49;
    QTest::newRow("down stops at the bottom row") << 0 << int(Qt::Key_Down) << 0;
}

void TestEGrid::arrowKeysMoveTheSelectionByRowsAndColumns() {
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    EGrid grid;
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setEIndex(from);
    grid.cell(from)->setFocus();
    QSignalSpy clicks(&grid, &EGrid::Click);
    QTest::keyClick(grid.cell(from), Qt::Key(key));
    QCOMPARE(grid.EIndex(), to);
    QCOMPARE(grid.selectedCell(), to);
    QCOMPARE(clicks.count(), from == to ? 0 : 1);
    // The focus follows, so the next key moves on from the new cell.
    QCOMPARE(QApplication::focusWidget(), grid.cell(to));
}

void TestEGrid::propertyBagRoundTripsEveryKey() {
    EGrid saved;
    QFont font(QStringLiteral("Serif"), 14);
    saved.setBackColor(0x123456);
    saved.setForeColor(0x8000000F);
    saved.setFontProperty(font);
    saved.setAppearance(1);
    saved.setBackStyle(2);
    saved.setBorderStyle(3);
    saved.setEIndex(42);
    saved.setEnabled(false);
    const QVariantMap bag = saved.writeProperties();
    QCOMPARE(bag.size(), 8);

    EGrid loaded;
    loaded.readProperties(bag);
    QCOMPARE(loaded.BackColor(), 0x123456u);
    QCOMPARE(loaded.ForeColor(), 0x8000000Fu);
    QCOMPARE(loaded.Font(), font);
    QCOMPARE(loaded.Appearance(), qint16(1));
    QCOMPARE(loaded.BackStyle(), qint16(2));
    QCOMPARE(loaded.BorderStyle(), qint16(3));
    QCOMPARE(loaded.EIndex(), 42);
    QVERIFY(!loaded.Enabled());
    QVERIFY(!loaded.cell(0)->isEnabled());
    QCOMPARE(loaded.writeProperties(), bag);
}

void TestEGrid::loadedControlShowsNoSelectionUntilEIndexIsSet() {
    EGrid loaded;
    loaded.setEIndex(30);
    loaded.setBackColor(7);
    loaded.setEnabled(false);
    // Missing keys take their defaults; a stored index outside the grid is not taken over.
    loaded.readProperties({{QStringLiteral("EIndex"), 77}});
    EGridProperties defaults;
    defaults.Font = QApplication::font(&loaded);
    QCOMPARE(loaded.writeProperties(), defaults.write());
    loaded.readProperties({{QStringLiteral("EIndex"), 22}});
    QCOMPARE(loaded.EIndex(), 22);
    QCOMPARE(loaded.selectedCell(), -1);
    QCOMPARE(loaded.findChild<QLabel *>(QStringLiteral("TPos"))->text(), QStringLiteral("14"));

    // Setting the stored index again selects its cell, which is a change of selection.
    QSignalSpy clicks(&loaded, &EGrid::Click);
    loaded.setEIndex(22);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(loaded.selectedCell(), 22);
    QCOMPARE(loaded.findChild<QLabel *>(QStringLiteral("TPos"))->text(), QStringLiteral("22"));
}

void TestEGrid::markedCellsArePaintedRed() {
    EGrid grid;
    grid.MarcarElemento(0, true);
    grid.MarcarElemento(49, true);
    grid.resize(grid.sizeHint());
    const QImage shot = grid.grab().toImage();
    if (!qEnvironmentVariableIsEmpty("ZK_GRAB_DIR")) {
        shot.save(qEnvironmentVariable("ZK_GRAB_DIR") + QStringLiteral("/egrid.png"));
    }
    const auto redPixels = [&](int index) {
        const QRect area = grid.cell(index)->geometry();
        int red = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                red += shot.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
            }
        }
        return red;
    };
    QVERIFY(redPixels(0) > 0);
    QVERIFY(redPixels(49) > 0);
    QCOMPARE(redPixels(1), 0);
    QCOMPARE(redPixels(47), 0);
}

QTEST_MAIN(TestEGrid)
#include "tst_egrid.moc"
