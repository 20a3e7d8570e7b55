// The point selection's landmark mode: what each click places, which tool bar button is down, and
// when OK may close the window.

#include "mr/LandmarkModel.h"

#include <QTest>

class LandmarkModelTest : public QObject {
    Q_OBJECT

private slots:
    void clicksPlaceTheChosenLandmarkAndOkWaitsForTheIlion_data() {
        QTest::addColumn<QStringList>("events"); // buttons pressed; "left" and "right" click the picture
        QTest::addColumn<QList<int>>("placed");  // what each click placed (0: nothing)
        QTest::addColumn<QString>("down");       // the tool bar button down afterwards
        QTest::addColumn<bool>("canAccept");
        QTest::newRow("nothing chosen") << QStringList{"left"} << QList<int>{0} << "" << false;
        QTest::newRow("point 1, then point 2")
            << QStringList{"Toolbar1Button1", "left", "Toolbar1Button2", "left"} << QList<int>{1, 2}
            << "Toolbar1Button2" << false;
        QTest::newRow("Ilion raises the tool bar")
            << QStringList{"Toolbar1Button1", "bIlion", "left"} << QList<int>{3} << "" << true;
        QTest::newRow("the right button places nothing")
            << QStringList{"bIlion", "right"} << QList<int>{0} << "" << false;
        QTest::newRow("the Ilion stays placed when a point is chosen again")
            << QStringList{"bIlion", "left", "Toolbar1Button2", "left"} << QList<int>{3, 2}
            << "Toolbar1Button2" << true;
    }
    void clicksPlaceTheChosenLandmarkAndOkWaitsForTheIlion() {
        QFETCH(QStringList, events);
        QFETCH(QList<int>, placed);
        QFETCH(QString, down);
        QFETCH(bool, canAccept);
        LandmarkModel model;
        QList<int> clicks;
        for (const QString &event : events) {
            if (event == "Toolbar1Button1" || event == "Toolbar1Button2") {
                model.choosePoint(event.endsWith('1') ? LandmarkModel::Point1 : LandmarkModel::Point2);
            } else if (event == "bIlion") {
                model.chooseIlion();
            } else {
                const LandmarkModel::Landmark landmark = model.landmarkFor(event == "left" ? 1 : 2);
                model.placed(landmark);
                clicks << landmark;
            }
        }
        QCOMPARE(clicks, placed);
        QCOMPARE(QString(model.point1Down()   ? "Toolbar1Button1"
                         : model.point2Down() ? "Toolbar1Button2"
                                              : ""),
                 down);
        QCOMPARE(model.canAccept(), canAccept);
    }
};

QTEST_GUILESS_MAIN(LandmarkModelTest)
#include "tst_landmark_model.moc"
