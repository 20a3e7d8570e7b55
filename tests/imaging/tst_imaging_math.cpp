#include "imaging/ImagingError.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingMath.h"
#include "imaging/ImagingState.h"

#include <QTest>

#include <cmath>

using namespace ImagingMath;

// The vector library and the imaging state's computations that need no volume.
class TestImagingMath : public QObject {
    Q_OBJECT

private slots:
    void anguloFollowsTheQuadrantWithATolerance_data();
    void anguloFollowsTheQuadrantWithATolerance();
    void roundingGoesHalfToEvenAndReportsOverflow_data();
    void roundingGoesHalfToEvenAndReportsOverflow();
    void rotationsBelowTheToleranceLeaveThePoint();
    void rotationAboutACentreIsExactForOneAxis_data();
    void rotationAboutACentreIsExactForOneAxis();
    void mmPerPixelComesFromTheLandmarksUnlessFixed_data();
    void mmPerPixelComesFromTheLandmarksUnlessFixed();
    void resetKeepsTheSeriesFieldsAndCentresThePointsOnTheMiddleSlice();
    void landmarkUpdateUsesTheCalibrationBeforeTheMove();
    void targetMovesFromTheScalpTowardsTheCentre_data();
    void targetMovesFromTheScalpTowardsTheCentre();
    void arcsBecomeDegreesOnTheHeadCircleAndNeedARadius();
    void searchWithoutVolumeLeavesThePointsAtTheOrigin();
};

void TestImagingMath::anguloFollowsTheQuadrantWithATolerance_data() {
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("angle");
    const double pi = std::acos(-1.0);
    QTest::newRow("origin") << 0.0 << 0.0 << 0.0;
    QTest::newRow("straight up") << 1.0 << 0.0 << pi / 2;
    QTest::newRow("straight down") << -1.0 << 0.0 << -pi / 2;
    QTest::newRow("backwards") << 0.0 << -1.0 << pi;
    QTest::newRow("backwards, a just below zero") << -1e-13 << -1.0 << pi;
    QTest::newRow("backwards, a clearly below zero") << -1.0 << -1.0 << -3 * pi / 4;
    QTest::newRow("first quadrant") << 1.0 << 1.0 << pi / 4;
    QTest::newRow("b within the tolerance counts as zero") << 2.0 << 1e-13 << pi / 2;
}

void TestImagingMath::anguloFollowsTheQuadrantWithATolerance() {
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, angle);
    QVERIFY2(std::abs(Angulo(a, b) - angle) < 1e-12, qPrintable(QString::number(Angulo(a, b), 'g', 17)));
}

void TestImagingMath::roundingGoesHalfToEvenAndReportsOverflow_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::addColumn<bool>("overflows");
    QTest::newRow("2.5 to 2") << 2.5 << 2 << false;
    QTest::newRow("3.5 to 4") << 3.5 << 4 << false;
    QTest::newRow("-2.5 to -2") << -2.5 << -2 << false;
    QTest::newRow("2.6 to 3") << 2.6 << 3 << false;
    QTest::newRow("largest") << 32767.4 << 32767 << false;
    QTest::newRow("rounds past the largest") << 32767.5 << 0 << true;
    QTest::newRow("-32768.5 to the even -32768") << -32768.5 << -32768 << false;
    QTest::newRow("below the smallest") << -32769.0 << 0 << true;
}

void TestImagingMath::roundingGoesHalfToEvenAndReportsOverflow() {
    QFETCH(double, value);
    QFETCH(int, rounded);
    QFETCH(bool, overflows);
    if (overflows) {
        QVERIFY_THROWS_EXCEPTION(ImagingError, Redondea16(value));
    } else {
        QCOMPARE(int(Redondea16(value)), rounded);
    }
}

void TestImagingMath::rotationsBelowTheToleranceLeaveThePoint() {
    // The starting angle is deliberately wrong: a rotation that ran would move the point.
    Vector3 p{3, -4, 5};
    RotaX(p, 1e-13, 1.0);
    RotaY(p, -9e-13, 1.0);
    RotaZ(p, 5e-13, 1.0);
    QVERIFY(p.x == 3 && p.y == -4 && p.z == 5);
}

void TestImagingMath::rotationAboutACentreIsExactForOneAxis_data() {
    QTest::addColumn<QList<double>>("angles");
    QTest::addColumn<QList<double>>("expected");
    const double pi = std::acos(-1.0);
    // The point starts 10 voxels from the centre (5, 5, 5) along -x, as the Ilion lies from the centre.
    QTest::newRow("quarter turn in x-z") << QList<double>{0, pi / 2, 0} << QList<double>{5, 5, -5};
    QTest::newRow("quarter turn in x-y") << QList<double>{0, 0, -pi / 2} << QList<double>{5, 15, 5};
    QTest::newRow("half turn in x-z") << QList<double>{0, pi, 0} << QList<double>{15, 5, 5};
}

void TestImagingMath::rotationAboutACentreIsExactForOneAxis() {
    QFETCH(QList<double>, angles);
    QFETCH(QList<double>, expected);
    Vector3 p{-5, 5, 5};
    RotaAlrededor({5, 5, 5}, p, angles[0], angles[1], angles[2]);
    QVERIFY2(Distancia3D(p.x, p.y, p.z, expected[0], expected[1], expected[2]) < 1e-9,
             qPrintable(QStringLiteral("(%1, %2, %3)").arg(p.x).arg(p.y).arg(p.z)));
}

void TestImagingMath::mmPerPixelComesFromTheLandmarksUnlessFixed_data() {
    QTest::addColumn<double>("fixed");
    QTest::addColumn<bool>("coincident");
    QTest::addColumn<double>("expected");
    QTest::newRow("default landmarks, 200 mm") << 0.0 << false << 0.8997;
    QTest::newRow("coincident landmarks") << 0.0 << true << 1.0;
    QTest::newRow("fixed by the DICOM data") << 0.4 << false << 0.4;
}

void TestImagingMath::mmPerPixelComesFromTheLandmarksUnlessFixed() {
    QFETCH(double, fixed);
    QFETCH(bool, coincident);
    QFETCH(double, expected);
    ImagingLibrary library;
    ImagingState state(library);
    state.MmPixelFijo = fixed;
    if (coincident) {
        state.PonReferencia(40, 50, 7, 1);
        state.PonReferencia(40, 50, 7, 2);
    }
    QVERIFY2(std::abs(state.MmPorPixel() - expected) < 5e-5, qPrintable(QString::number(state.MmPorPixel())));
}

void TestImagingMath::resetKeepsTheSeriesFieldsAndCentresThePointsOnTheMiddleSlice() {
    ImagingLibrary library;
    ImagingState state(library);
    state.VolumenActual = 7;
    state.Interslice = 3;
    state.MmPixelFijo = 0.5;
    state.DialogoAceptado = true;
    state.Distancia12 = 120;
    state.Radio = 44;
    state.UmbralMaximo = 255;
    state.PonReferencia(1, 2, 3, 3);
    // Bounds 0 to 5: m = 2.5, rounded to the even 2.
    state.SerieImagenes = QStringList{"a", "b", "c", "d", "e", "f"};
    state.InicializaResonancia();
    // Kept: the series fields. Back to the defaults: the rest.
    QVERIFY(state.VolumenActual == 7 && state.Interslice == 3 && state.MmPixelFijo == 0.5);
    QVERIFY(state.DialogoAceptado);
    QVERIFY(state.Distancia12 == 200 && state.Radio == 0 && state.UmbralMaximo == 0);
    QVERIFY(state.ReferenciaIlion.x == 0 && state.Referencia1.x == 246);
    const VoxelPoint start{10, 10, 2};
    QVERIFY(state.PuntoIlion == start && state.PuntoCentro == start && state.PuntoTarget == start);
    state.SerieImagenes = QStringList{"a", "b", "c", "d"}; // m = 1.5, rounded to 2
    state.InicializaResonancia();
    QCOMPARE(state.PuntoExterno.z, qint16(2));
}

void TestImagingMath::landmarkUpdateUsesTheCalibrationBeforeTheMove() {
    ImagingLibrary library;
    ImagingState state(library);
    state.Interslice = 2;
    const double before = state.MmPorPixel();
    state.PonReferencia(100, 121, 42, 1);
    QVERIFY(std::abs(state.Incremento - 2 / before) < 1e-12);
    QCOMPARE(state.Referencia1.x, 100.0);
    state.PonReferencia(5, 5, 5, 4); // no such landmark: only the spacing is refreshed
    QCOMPARE(state.Referencia1.x, 100.0);
    QVERIFY(std::abs(state.Incremento - 2 / state.MmPorPixel()) < 1e-12);
}

void TestImagingMath::targetMovesFromTheScalpTowardsTheCentre_data() {
    QTest::addColumn<QList<int>>("scalp");
    QTest::addColumn<double>("depth");
    QTest::addColumn<QList<int>>("target");
    // The centre is (50, 50, 20).
    QTest::newRow("depth 0 stays on the scalp") << QList<int>{80, 62, 31} << 0.0 << QList<int>{80, 62, 31};
    QTest::newRow("along x") << QList<int>{80, 50, 20} << 10.0 << QList<int>{70, 50, 20};
    QTest::newRow("along y, x unchanged") << QList<int>{50, 90, 20} << 15.0 << QList<int>{50, 75, 20};
    // x and y scale by the x-y distance (30), z by the x-z distance (50).
    QTest::newRow("x-z diagonal") << QList<int>{80, 50, 60} << 25.0 << QList<int>{55, 50, 40};
}

void TestImagingMath::targetMovesFromTheScalpTowardsTheCentre() {
    QFETCH(QList<int>, scalp);
    QFETCH(double, depth);
    QFETCH(QList<int>, target);
    ImagingLibrary library;
    ImagingState state(library);
    state.PuntoCentro = {50, 50, 20};
    state.PuntoExterno = {qint16(scalp[0]), qint16(scalp[1]), qint16(scalp[2])};
    state.PonParametros(depth, 0, 0, 0, 255);
    const VoxelPoint &t = state.PuntoTarget;
    QCOMPARE((QList<int>{t.x, t.y, t.z}), target);
}

void TestImagingMath::arcsBecomeDegreesOnTheHeadCircleAndNeedARadius() {
    ImagingLibrary library;
    ImagingState state(library);
    double h = 7;
    double v = 8;
    QVERIFY_THROWS_EXCEPTION(ImagingError, state.ArcosAAngulos(20, 20, h, v)); // Radio 0
    QVERIFY(h == 7 && v == 8);
    state.MmPixelFijo = 0.5;
    state.Radio = 360 / Pi(); // a circle of 360 mm: one degree per millimetre of arc
    state.ArcosAAngulos(90, -30, h, v);
    QVERIFY2(std::abs(h - 90) < 1e-9 && std::abs(v + 30) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(h).arg(v)));
}

void TestImagingMath::searchWithoutVolumeLeavesThePointsAtTheOrigin() {
    ImagingLibrary library;
    ImagingState state(library);
    state.PonReferencia(30, 40, 5, 3);
    state.PonCalibracion(200, 2, 1);
    QVERIFY((state.PuntoCentro == VoxelPoint{0, 40, 5} && state.PuntoIlion == VoxelPoint{30, 40, 5}));
    state.PonParametros(15, 0, 0, 0, 255);
    state.ApuntaConAngulos();
    QVERIFY((state.PuntoExterno == VoxelPoint{0, 0, 0} && state.PuntoInterno == VoxelPoint{0, 0, 0}));
    QCOMPARE(state.InvierteCorte(3), qint16(-3));
}

QTEST_GUILESS_MAIN(TestImagingMath)
#include "tst_imaging_math.moc"
