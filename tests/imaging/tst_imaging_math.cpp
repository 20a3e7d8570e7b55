#include "imaging/ImagingError.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingMath.h"
#include "imaging/ImagingState.h"
#include "imaging/VolumeLayout.h"

#include <QTest>

#include <cmath>

using namespace ImagingMath;

// The vector library and the imaging state's computations that need no volume.
class TestImagingMath : public QObject {
    Q_OBJECT

private slots:
    void anguloFollowsTheQuadrantWithATolerance() {
        const double pi = std::acos(-1.0);
        // {a, b, angle}: straight up and down, backwards with a just and clearly below zero, the first
        // quadrant, and b within the tolerance counting as zero.
        for (const auto &[a, b, angle] : QList<std::array<double, 3>>{{0, 0, 0},
                                                                      {1, 0, pi / 2},
                                                                      {-1, 0, -pi / 2},
                                                                      {0, -1, pi},
                                                                      {-1e-13, -1, pi},
                                                                      {-1, -1, -3 * pi / 4},
                                                                      {1, 1, pi / 4},
                                                                      {2, 1e-13, pi / 2}}) {
            QVERIFY2(std::abs(Angulo(a, b) - angle) < 1e-12,
                     qPrintable(QString::number(Angulo(a, b), 'g', 17)));
        }
    }

    void roundingGoesHalfToEvenAndReportsOverflow() {
        for (const auto &[value, rounded] : QList<QPair<double, int>>{
                 {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.6, 3}, {32767.4, 32767}, {-32768.5, -32768}}) {
            QCOMPARE(int(Redondea16(value)), rounded);
        }
        QVERIFY_THROWS_EXCEPTION(ImagingError, Redondea16(32767.5)); // rounds past the largest
        QVERIFY_THROWS_EXCEPTION(ImagingError, Redondea16(-32769.0));
    }

    void rotationsBelowTheToleranceLeaveThePoint() {
        // The starting angle is deliberately wrong: a rotation that ran would move the point.
        Vector3 p{3, -4, 5};
        RotaX(p, 1e-13, 1.0);
        RotaY(p, -9e-13, 1.0);
        RotaZ(p, 5e-13, 1.0);
        QVERIFY(p.x == 3 && p.y == -4 && p.z == 5);
    }

    // The point starts 10 voxels from the centre (5, 5, 5) along -x, as the Ilion lies from the centre:
    // quarter turns in x-z and x-y, a half turn in x-z.
    void rotationAboutACentreIsExactForOneAxis() {
        const double pi = std::acos(-1.0);
        for (const auto &[a, b, c, x, y, z] : QList<std::array<double, 6>>{
                 {0, pi / 2, 0, 5, 5, -5}, {0, 0, -pi / 2, 5, 15, 5}, {0, pi, 0, 15, 5, 5}}) {
            Vector3 p{-5, 5, 5};
            RotaAlrededor({5, 5, 5}, p, a, b, c);
            QVERIFY2(Distancia3D(p.x, p.y, p.z, x, y, z) < 1e-9,
                     qPrintable(QString("(%1, %2, %3)").arg(p.x).arg(p.y).arg(p.z)));
        }
    }

    // From the default landmarks 200 mm apart, 1 when they coincide, or as fixed by the DICOM data.
    void mmPerPixelComesFromTheLandmarksUnlessFixed() {
        for (const auto &[fixed, coincident, expected] :
             QList<std::tuple<double, bool, double>>{{0, false, 0.8997}, {0, true, 1}, {0.4, false, 0.4}}) {
            ImagingLibrary library;
            ImagingState state(library);
            state.MmPixelFijo = fixed;
            if (coincident) {
                state.PonReferencia(40, 50, 7, 1);
                state.PonReferencia(40, 50, 7, 2);
            }
            QVERIFY2(std::abs(state.MmPorPixel() - expected) < 5e-5,
                     qPrintable(QString::number(state.MmPorPixel())));
        }
    }

    // A new series keeps what the loader set and starts the rest as a fresh state has it, the points
    // on the middle slice.
    void resetKeepsTheSeriesFieldsAndCentresThePointsOnTheMiddleSlice() {
        ImagingLibrary library;
        ImagingState state(library);
        const ImagingState fresh(library);
        state.VolumenActual = 7;
        state.Interslice = 3;
        state.MmPixelFijo = 0.5;
        state.DialogoAceptado = true;
        state.Distancia12 = 120;
        state.Radio = 44;
        state.UmbralMaximo = 255;
        state.PonReferencia(1, 2, 3, 3);
        state.SerieImagenes = QStringList{"a", "b", "c", "d", "e", "f"}; // bounds 0 to 5: m = 2.5, to even 2
        state.InicializaResonancia();
        QVERIFY(state.VolumenActual == 7 && state.Interslice == 3 && state.MmPixelFijo == 0.5 &&
                state.DialogoAceptado);
        QVERIFY(state.Distancia12 == fresh.Distancia12 && state.Radio == fresh.Radio &&
                state.UmbralMaximo == fresh.UmbralMaximo &&
                state.ReferenciaIlion.x == fresh.ReferenciaIlion.x);
        const VoxelPoint start{10, 10, 2};
        QVERIFY(state.PuntoIlion == start && state.PuntoCentro == start && state.PuntoTarget == start);
        state.SerieImagenes = QStringList{"a", "b", "c", "d"}; // m = 1.5, rounded to 2
        state.InicializaResonancia();
        QCOMPARE(state.PuntoExterno.z, qint16(2));
    }
    void landmarkUpdateUsesTheCalibrationBeforeTheMove() {
        ImagingLibrary library;
        ImagingState state(library);
        state.Interslice = 2;
        // Increment = interslice / (200 mm over the landmarks' voxel distance): the default landmarks
        // (246, 121) and (25, 97) are sqrt(49417) voxels apart; once landmark 1 is at (100, 121),
        // sqrt(6201).
        state.PonReferencia(100, 121, 42, 1);
        QVERIFY(std::abs(state.Incremento - 2.2229934772733815) < 1e-12 && state.Referencia1.x == 100.0);
        state.PonReferencia(5, 5, 5, 4); // no such landmark: only the spacing is refreshed
        QVERIFY(std::abs(state.Incremento - 0.7874642849044012) < 1e-12 && state.Referencia1.x == 100.0);
    }

    // With the centre at (50, 50, 20): {scalp, depth, target}. Depth 0 stays on the scalp; along x;
    // along y, x unchanged; on the x-z diagonal x and y scale by the x-y distance (30), z by the x-z
    // distance (50).
    void targetMovesFromTheScalpTowardsTheCentre() {
        for (const auto &[scalp, depth, target] :
             QList<std::tuple<VoxelPoint, double, VoxelPoint>>{{{80, 62, 31}, 0, {80, 62, 31}},
                                                               {{80, 50, 20}, 10, {70, 50, 20}},
                                                               {{50, 90, 20}, 15, {50, 75, 20}},
                                                               {{80, 50, 60}, 25, {55, 50, 40}}}) {
            ImagingLibrary library;
            ImagingState state(library);
            state.PuntoCentro = {50, 50, 20};
            state.PuntoExterno = scalp;
            state.PonParametros(depth, 0, 0, 0, 255);
            const VoxelPoint &t = state.PuntoTarget;
            QCOMPARE((QList<int>{t.x, t.y, t.z}), (QList<int>{target.x, target.y, target.z}));
        }
    }

    // The limits of a head series at their edges, as stored and once in the layout, where the
    // in-plane axis of the larger spacing is resampled to the smaller one.
    void volumesAreTakenUpToTheLimitsOfAHeadSeries_data() {
        QTest::addColumn<QList<qint64>>("dims");
        QTest::addColumn<QList<double>>("spacing");
        QTest::addColumn<bool>("stored"); // within the limits as stored
        QTest::addColumn<bool>("layout"); // and once in the layout
        using Dims = QList<qint64>;
        using Mm = QList<double>;
        QTest::newRow("4096 along an axis") << Dims{4096, 2, 2} << Mm{1, 1, 1} << true << true;
        QTest::newRow("4097 along an axis") << Dims{4097, 2, 2} << Mm{1, 1, 1} << false << false;
        QTest::newRow("512 M voxels") << Dims{4096, 4096, 32} << Mm{1, 1, 1} << true << true;
        QTest::newRow("more than 512 M voxels") << Dims{4096, 4096, 33} << Mm{1, 1, 1} << false << false;
        QTest::newRow("a single slice") << Dims{64, 64, 1} << Mm{1, 1, 1} << true << false;
        QTest::newRow("0.01 mm") << Dims{8, 8, 8} << Mm{0.01, 0.01, 0.01} << true << true;
        QTest::newRow("below 0.01 mm") << Dims{8, 8, 8} << Mm{0.0099, 0.01, 0.01} << false << false;
        QTest::newRow("spacings 100 times apart") << Dims{8, 8, 8} << Mm{1, 1, 100} << true << true;
        QTest::newRow("spacings more than 100 times apart")
            << Dims{8, 8, 8} << Mm{1, 1, 100.5} << false << false;
        QTest::newRow("resampled to 4001") << Dims{2, 41, 2} << Mm{1, 100, 1} << true << true;
        QTest::newRow("resampled beyond 4096") << Dims{2, 42, 2} << Mm{1, 100, 1} << true << false;
    }
    void volumesAreTakenUpToTheLimitsOfAHeadSeries() {
        QFETCH(QList<qint64>, dims);
        QFETCH(QList<double>, spacing);
        VolumeLayout::Affine affine;
        for (int axis = 0; axis < 3; ++axis) {
            for (int c = 0; c < 3; ++c) {
                affine.axes[axis][c] = VolumeLayout::LayoutAxes[axis][c] * spacing[axis];
            }
        }
        const QString stored = VolumeLayout::sizeProblem({dims[0], dims[1], dims[2]}, affine);
        const QString layout = VolumeLayout::layoutProblem({dims[0], dims[1], dims[2]}, affine);
        QTEST(stored.isEmpty(), "stored");
        QTEST(layout.isEmpty(), "layout");
        if (layout.isEmpty() && dims[0] * dims[1] * dims[2] < 100000) {
            // What passes comes out of the layout within the limits.
            VolumeLayout::ScannerVolume volume{{int(dims[0]), int(dims[1]), int(dims[2])}, {}, affine};
            volume.voxels.assign(std::size_t(dims[0] * dims[1] * dims[2]), 9);
            const VolumeLayout::Oriented oriented = VolumeLayout::toLayout(volume);
            for (const int n : oriented.volume.dims) {
                QVERIFY(n >= VolumeLayout::MinAxisVoxels && n <= VolumeLayout::MaxAxisVoxels);
            }
        }
    }

    // Slices 7.5 mm apart (as read from positions, a little short) resampled to 2.5 mm pixels reach
    // the last slice: three voxels a slice, none dropped at the end.
    void thickSlicesResampledKeepTheirWholeExtent() {
        VolumeLayout::ScannerVolume volume;
        volume.dims = {2, 20, 2};
        const double spacing[3] = {2.5, 7.5 * (1 - 2e-5), 2.5};
        for (int axis = 0; axis < 3; ++axis) {
            for (int c = 0; c < 3; ++c) {
                volume.affine.axes[axis][c] = VolumeLayout::LayoutAxes[axis][c] * spacing[axis];
            }
        }
        volume.voxels.resize(80);
        for (int j = 0; j < 20; ++j) {
            for (int i : {0, 1, 4, 5}) {
                volume.voxels[std::size_t(j) * 2 + std::size_t(i % 2) + std::size_t(i / 4) * 40] =
                    std::uint8_t(10 * j);
            }
        }
        const VolumeLayout::Oriented oriented = VolumeLayout::toLayout(volume);
        QCOMPARE(oriented.volume.dims[1], 58);
        QCOMPARE(oriented.volume.voxels[oriented.volume.index(0, 57, 0)], std::uint8_t(190));
    }
};

QTEST_GUILESS_MAIN(TestImagingMath)
#include "tst_imaging_math.moc"
