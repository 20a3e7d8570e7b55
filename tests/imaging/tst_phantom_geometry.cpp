#include "DicomFiles.h"
#include "ImagingLibrary.h"
#include "ImagingState.h"
#include "PhantomWriter.h"
#include "SeriesLoader.h"
#include "Volume.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

// A phantom series written, converted and stacked as the loader does, then measured: every answer
// has an analytic value from the phantom's ellipsoid.
class TestPhantomGeometry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void loaderStacksEverySliceWithTheSeriesGeometry();
    void centralColumnLiesOnThePhantomAxis_data();
    void centralColumnLiesOnThePhantomAxis();
    void lineSearchFindsTheAnalyticScalp_data();
    void lineSearchFindsTheAnalyticScalp();
    void innerPointIsTheBrainSurfaceBelowTheSkull();
    void zeroAnglesAimThroughTheIlionAndDepthZeroIsTheScalp();
    void horizontalQuarterTurnAimsAtTheSideOfTheHead();
    void cutsShowTheVoxelsWithSliceZeroAtTheBottom();
    void sideRenderingShowsTheHeadSilhouette();
    void reloadingReleasesThePreviousVolume();

private:
    Phantom::Options m_options;
    Phantom::Geometry m_geometry;
    QTemporaryDir m_dir;
    ImagingLibrary m_library;
    std::unique_ptr<ImagingState> m_state;
    std::unique_ptr<DicomFiles> m_dicom;
    int m_warnings = 0;
    bool m_built = false;

    const Volume &volume() const { return *m_library.volume(m_state->VolumenActual); }
    // Places the Ilion at the back of the head (smallest x) on the middle row and slice.
    void placeIlionAtTheBack();
};

void TestPhantomGeometry::initTestCase() {
    m_options.slices = 48;
    m_options.size = 96;
    m_options.spacing = 2.5;
    m_options.thickness = 4.0;
    m_geometry = Phantom::geometry(m_options);
    QString error;
    QVERIFY2(Phantom::write(m_dir.path(), m_options, &error), qPrintable(error));
    m_state = std::make_unique<ImagingState>(m_library);
    m_dicom = std::make_unique<DicomFiles>();
    SeriesLoader loader(*m_state, *m_dicom);
    loader.setThreads(2);
    loader.setWarning([this](const QString &) { ++m_warnings; });
    m_built = loader.i_CargarImagenes(m_dir.path(), false, false);
    QVERIFY2(loader.report().failures.isEmpty(), qPrintable(loader.report().failures.join('\n')));
    QVERIFY(m_built);
}

void TestPhantomGeometry::loaderStacksEverySliceWithTheSeriesGeometry() {
    qint32 x = 0, y = 0, z = 0;
    m_library._d2_dimensiones(m_state->VolumenActual, x, y, z);
    QCOMPARE(x, m_options.size);
    QCOMPARE(y, m_options.size);
    QCOMPARE(z, m_options.slices);
    QCOMPARE(m_warnings, 0);
    QCOMPARE(m_state->Interslice, m_options.thickness);
    QCOMPARE(m_state->MmPixelFijo, m_options.spacing);
    QVERIFY(m_state->FrameCero > 0); // the series carries its own geometry
    QCOMPARE(m_state->Incremento, m_options.thickness / m_options.spacing);
    QCOMPARE(m_state->SerieImagenes.size(), m_options.slices);
    QVERIFY(m_state->SerieImagenes.first().endsWith(QLatin1String("slice0001.bmp")));
    QCOMPARE(m_state->InvierteCorte(0), qint16(m_options.slices));
}

void TestPhantomGeometry::centralColumnLiesOnThePhantomAxis_data() {
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("z");
    QTest::newRow("middle row, middle slice") << 48 << 24;
    QTest::newRow("upper row") << 25 << 24;
    QTest::newRow("lower row, outer slice") << 70 << 10;
    QTest::newRow("towards the top of the head") << 75 << 30;
}

void TestPhantomGeometry::centralColumnLiesOnThePhantomAxis() {
    QFETCH(int, y);
    QFETCH(int, z);
    const qint32 cx = m_library._d2_dame_posicion_central(m_state->VolumenActual, y, z);
    QVERIFY2(std::abs(cx - m_geometry.cx) <= 1.0, qPrintable(QString::number(cx)));
}

void TestPhantomGeometry::lineSearchFindsTheAnalyticScalp_data() {
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::addColumn<double>("dz");
    QTest::newRow("back") << -1.0 << 0.0 << 0.0;
    QTest::newRow("front") << 1.0 << 0.0 << 0.0;
    QTest::newRow("top") << 0.0 << -1.0 << 0.0;
    QTest::newRow("side, across slices") << 0.0 << 0.0 << 1.0;
    QTest::newRow("oblique in x-z") << -0.7 << 0.0 << 0.5;
    QTest::newRow("oblique in all three") << 0.5 << -0.6 << -0.4;
}

void TestPhantomGeometry::lineSearchFindsTheAnalyticScalp() {
    QFETCH(double, dx);
    QFETCH(double, dy);
    QFETCH(double, dz);
    const qint32 a[3] = {qint32(std::lround(m_geometry.cx)), qint32(std::lround(m_geometry.cy)),
                         qint32(std::lround(m_geometry.cz))};
    // B lies inside the head, ten voxels out from the centre.
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const qint32 b[3] = {a[0] + qint32(std::lround(10 * dx / length)),
                         a[1] + qint32(std::lround(10 * dy / length)),
                         a[2] + qint32(std::lround(10 * dz / length))};
    qint32 out[6] = {0, 0, 0, 0, 0, 0};
    m_library._d2_dameUmbral3D(m_state->VolumenActual, a, b, 0, 255, out);
    // The analytic scalp along the sampled line: the last voxel of the line with scale <= 1.
    const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
    const double t = m_geometry.scalpDistance(ux, uy, uz) / std::sqrt(ux * ux + uy * uy + uz * uz);
    const double sx = a[0] + ux * t, sy = a[1] + uy * t, sz = a[2] + uz * t;
    const double miss = std::sqrt((out[0] - sx) * (out[0] - sx) + (out[1] - sy) * (out[1] - sy) +
                                  (out[2] - sz) * (out[2] - sz));
    QVERIFY2(miss <= 1.5, qPrintable(QStringLiteral("found (%1, %2, %3), analytic (%4, %5, %6)")
                                         .arg(out[0])
                                         .arg(out[1])
                                         .arg(out[2])
                                         .arg(sx)
                                         .arg(sy)
                                         .arg(sz)));
    QVERIFY(std::abs(m_geometry.scale(out[0], out[1], out[2]) - 1.0) < 0.05);
}

void TestPhantomGeometry::innerPointIsTheBrainSurfaceBelowTheSkull() {
    const qint32 a[3] = {48, 48, 24};
    const qint32 b[3] = {40, 48, 24};
    qint32 out[6] = {0, 0, 0, 0, 0, 0};
    m_library._d2_dameUmbral3D(m_state->VolumenActual, a, b, 0, 255, out);
    QCOMPARE(out[4], 48);
    QCOMPARE(out[5], 24);
    const double innerScale = m_geometry.scale(out[3], out[4], out[5]);
    QVERIFY2(innerScale < Phantom::Geometry::SkullInner && innerScale > Phantom::Geometry::SkullInner - 0.04,
             qPrintable(QString::number(innerScale)));
}

void TestPhantomGeometry::placeIlionAtTheBack() {
    const double x = m_geometry.cx - m_geometry.rx + 0.5;
    m_state->InicializaResonancia();
    m_state->PonReferencia(std::round(x), std::round(m_geometry.cy), std::round(m_geometry.cz), 3);
    m_state->PonCalibracion(200, m_options.thickness, 1);
}

void TestPhantomGeometry::zeroAnglesAimThroughTheIlionAndDepthZeroIsTheScalp() {
    placeIlionAtTheBack();
    QVERIFY(std::abs(m_state->PuntoCentro.x - m_geometry.cx) <= 1.0);
    QCOMPARE(m_state->PuntoCentro.y, m_state->PuntoIlion.y);
    QCOMPARE(m_state->PuntoCentro.z, m_state->PuntoIlion.z);
    QCOMPARE(m_state->Radio, double(ImagingMath::DistanciaVoxels(m_state->PuntoCentro, m_state->PuntoIlion)));
    double h = 1, v = 1;
    m_state->ArcosAAngulos(0, 0, h, v);
    m_state->PonParametros(0, h, v, 0, 255);
    m_state->ApuntaConAngulos();
    const auto &e = m_state->PuntoExterno;
    const auto &i = m_state->PuntoIlion;
    QVERIFY2(std::abs(e.x - i.x) <= 1 && e.y == i.y && e.z == i.z,
             qPrintable(QStringLiteral("scalp (%1, %2, %3)").arg(e.x).arg(e.y).arg(e.z)));
    QVERIFY(m_state->PuntoTarget == m_state->PuntoExterno);
    // 15 voxels deep the target lies on the ray, 15 voxels in from the scalp.
    m_state->PonParametros(15, 0, 0, 0, 255);
    QCOMPARE(m_state->PuntoTarget.x, qint16(e.x + 15));
    QCOMPARE(m_state->PuntoTarget.y, e.y);
}

void TestPhantomGeometry::horizontalQuarterTurnAimsAtTheSideOfTheHead() {
    placeIlionAtTheBack();
    m_state->PonParametros(0, 90, 0, 0, 255);
    m_state->ApuntaConAngulos();
    const auto &e = m_state->PuntoExterno;
    // Turned a quarter in the x-z plane the ray leaves through the side of the head, across slices.
    QVERIFY(std::abs(e.x - m_state->PuntoCentro.x) <= 1);
    QCOMPARE(e.y, m_state->PuntoCentro.y);
    const double expectedZ = m_geometry.cz - m_geometry.rz;
    QVERIFY2(std::abs(e.z - expectedZ) <= 1.5, qPrintable(QString::number(e.z)));
}

void TestPhantomGeometry::cutsShowTheVoxelsWithSliceZeroAtTheBottom() {
    const qint32 handle = m_state->VolumenActual;
    QImage z;
    m_library._d2_crea_corte_z(handle, 24, &z);
    QCOMPARE(z.size(), QSize(96, 96));
    QCOMPARE(qGray(z.pixel(48, 48)), int(volume().at(48, 48, 24)));
    QVERIFY(qGray(z.pixel(0, 0)) < 10);                                        // air
    QVERIFY(qGray(z.pixel(int(m_geometry.cx - m_geometry.rx + 2), 48)) > 200); // scalp
    QImage y;
    m_library._d2_crea_corte_y(handle, 48, &y);
    QCOMPARE(y.size(), QSize(96, 48));
    for (const int slice : {0, 5, 24, 47}) {
        QCOMPARE(qGray(y.pixel(48, 47 - slice)), int(volume().at(48, 48, slice)));
    }
    // Out of range: the picture keeps what it had.
    m_library._d2_crea_corte_z(handle, 48, &z);
    m_library._d2_crea_corte_y(handle, -1, &z);
    QCOMPARE(z.size(), QSize(96, 96));
}

void TestPhantomGeometry::sideRenderingShowsTheHeadSilhouette() {
    QImage picture;
    m_library._d2_crea3D_2(m_state->VolumenActual, 500, 1, 60, 255, 0, &picture);
    QCOMPARE(picture.size(), QSize(48, 96));     // u = z, v = y
    QVERIFY(qGray(picture.pixel(24, 48)) > 150); // the head faces the viewer at its centre
    QCOMPARE(qGray(picture.pixel(0, 0)), 0);
    QCOMPARE(qGray(picture.pixel(47, 95)), 0);
    // The silhouette's height on the middle slice is the head's extent in y.
    int lit = 0;
    for (int v = 0; v < 96; ++v) {
        lit += qGray(picture.pixel(24, v)) > 0 ? 1 : 0;
    }
    QVERIFY2(std::abs(lit - 2 * m_geometry.ry) <= 3, qPrintable(QString::number(lit)));
    // A cut column through the centre removes the near half: the rays start inside the head.
    QImage cut;
    m_library._d2_crea3D_2(m_state->VolumenActual, 48, 1, 60, 255, 0, &cut);
    QVERIFY(qGray(cut.pixel(24, 48)) != qGray(picture.pixel(24, 48)));
}

void TestPhantomGeometry::reloadingReleasesThePreviousVolume() {
    ImagingLibrary library;
    ImagingState state(library);
    SeriesLoader loader(state, *m_dicom);
    QVERIFY(loader.i_CargarImagenes(m_dir.path(), true, false)); // the BMP pictures are there already
    const qint32 first = state.VolumenActual;
    QVERIFY(loader.i_CargarImagenes(m_dir.path(), true, true));
    QVERIFY(state.VolumenActual != first);
    QCOMPARE(library.volumeCount(), 1);
    QVERIFY(library.volume(state.VolumenActual)->lateralSlices());
    // With no DICOM file read, the spacing falls back to 2 mm and no fixed mm per pixel.
    QCOMPARE(state.Interslice, 2.0);
    QCOMPARE(state.MmPixelFijo, 0.0);
}

QTEST_GUILESS_MAIN(TestPhantomGeometry)
#include "tst_phantom_geometry.moc"
