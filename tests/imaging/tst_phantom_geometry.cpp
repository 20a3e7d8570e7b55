#include "ImagingFixtures.h"
#include "Volume.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

// A phantom series written, converted and stacked as the loader does, then measured: every answer
// has an analytic value from the phantom's ellipsoid.
class TestPhantomGeometry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void loaderStacksEverySliceWithTheSeriesGeometry();
    void centralColumnLiesOnThePhantomAxis_data();
    void centralColumnLiesOnThePhantomAxis();
    void lineSearchFindsTheAnalyticScalpAndBrain_data();
    void lineSearchFindsTheAnalyticScalpAndBrain();
    void zeroAnglesAimThroughTheIlionAndDepthZeroIsTheScalp();
    void cutsShowTheVoxelsWithSliceZeroAtTheBottom();
    void sideRenderingShowsTheHeadSilhouette();

private:
    const Phantom::Options m_options{.slices = 48, .size = 96, .spacing = 2.5, .thickness = 4.0};
    const Phantom::Geometry m_geometry = Phantom::geometry(m_options);
    QTemporaryDir m_dir;
    Loading m;
    int m_warnings = 0;

    qint32 handle() const { return m.state.VolumenActual; }
    const Volume &volume() const { return *m.library.volume(handle()); }
};

void TestPhantomGeometry::initTestCase() {
    QString error;
    QVERIFY2(Phantom::write(m_dir.path(), m_options, &error), qPrintable(error));
    m.loader.setThreads(2);
    m.loader.setWarning([this](const QString &) { ++m_warnings; });
    const bool built = m.load(m_dir.path());
    QVERIFY2(m.loader.report().failures.isEmpty(), qPrintable(m.loader.report().failures.join('\n')));
    QVERIFY(built);
}

void TestPhantomGeometry::loaderStacksEverySliceWithTheSeriesGeometry() {
    qint32 x = 0, y = 0, z = 0;
    m.library._d2_dimensiones(handle(), x, y, z);
    QCOMPARE(x, m_options.size);
    QCOMPARE(y, m_options.size);
    QCOMPARE(z, m_options.slices);
    QCOMPARE(m_warnings, 0);
    QCOMPARE(m.state.Interslice, m_options.thickness);
    QCOMPARE(m.state.MmPixelFijo, m_options.spacing);
    QVERIFY(m.state.FrameCero > 0); // the series carries its own geometry
}

void TestPhantomGeometry::centralColumnLiesOnThePhantomAxis_data() {
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("z");
    QTest::newRow("middle row, middle slice") << 48 << 24;
    QTest::newRow("upper row") << 25 << 24;
    QTest::newRow("lower row, outer slice") << 70 << 10;
}

void TestPhantomGeometry::centralColumnLiesOnThePhantomAxis() {
    QFETCH(int, y);
    QFETCH(int, z);
    const qint32 cx = m.library._d2_dame_posicion_central(handle(), y, z);
    QVERIFY2(std::abs(cx - m_geometry.cx) <= 1.0, qPrintable(QString::number(cx)));
}

void TestPhantomGeometry::lineSearchFindsTheAnalyticScalpAndBrain_data() {
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::addColumn<double>("dz");
    QTest::newRow("back") << -1.0 << 0.0 << 0.0;
    QTest::newRow("front") << 1.0 << 0.0 << 0.0;
    QTest::newRow("top") << 0.0 << -1.0 << 0.0;
    QTest::newRow("side, across slices") << 0.0 << 0.0 << 1.0;
    QTest::newRow("oblique in all three") << 0.5 << -0.6 << -0.4;
}

void TestPhantomGeometry::lineSearchFindsTheAnalyticScalpAndBrain() {
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
    qint32 out[6] = {};
    m.library._d2_dameUmbral3D(handle(), a, b, 0, 255, out);
    // The scalp and, below the skull, the brain's surface: where the analytic ellipsoid's shells cross
    // the sampled line. Scales grow linearly along a ray from the centre.
    const double u[3] = {double(b[0] - a[0]), double(b[1] - a[1]), double(b[2] - a[2])};
    const double t = m_geometry.scalpDistance(u[0], u[1], u[2]) / std::hypot(u[0], u[1], u[2]);
    for (const auto &[found, scale] :
         {std::pair{out, 1.0}, std::pair{out + 3, Phantom::Geometry::SkullInner}}) {
        const double miss = std::hypot(found[0] - a[0] - u[0] * t * scale, found[1] - a[1] - u[1] * t * scale,
                                       found[2] - a[2] - u[2] * t * scale);
        QVERIFY2(miss <= 1.5, qPrintable(QStringLiteral("found (%1, %2, %3) for scale %4, %5 voxels off")
                                             .arg(found[0])
                                             .arg(found[1])
                                             .arg(found[2])
                                             .arg(scale)
                                             .arg(miss)));
    }
}

void TestPhantomGeometry::zeroAnglesAimThroughTheIlionAndDepthZeroIsTheScalp() {
    // The Ilion at the back of the head (smallest x) on the middle row and slice.
    m.state.InicializaResonancia();
    m.state.PonReferencia(std::round(m_geometry.cx - m_geometry.rx + 0.5), std::round(m_geometry.cy),
                          std::round(m_geometry.cz), 3);
    m.state.PonCalibracion(200, m_options.thickness, 1);
    QVERIFY(std::abs(m.state.PuntoCentro.x - m_geometry.cx) <= 1.0);
    double h = 1, v = 1;
    m.state.ArcosAAngulos(0, 0, h, v);
    m.state.PonParametros(0, h, v, 0, 255);
    m.state.ApuntaConAngulos();
    const auto &e = m.state.PuntoExterno;
    const auto &i = m.state.PuntoIlion;
    QVERIFY2(std::abs(e.x - i.x) <= 1 && e.y == i.y && e.z == i.z,
             qPrintable(QStringLiteral("scalp (%1, %2, %3)").arg(e.x).arg(e.y).arg(e.z)));
    QVERIFY(m.state.PuntoTarget == m.state.PuntoExterno);
}

void TestPhantomGeometry::cutsShowTheVoxelsWithSliceZeroAtTheBottom() {
    QImage z;
    m.library._d2_crea_corte_z(handle(), 24, &z);
    QCOMPARE(z.size(), QSize(96, 96));
    QCOMPARE(qGray(z.pixel(48, 48)), int(volume().at(48, 48, 24)));
    QVERIFY(qGray(z.pixel(int(m_geometry.cx - m_geometry.rx + 2), 48)) > 200); // scalp
    QImage y;
    m.library._d2_crea_corte_y(handle(), 48, &y);
    QCOMPARE(y.size(), QSize(96, 48));
    for (const int slice : {0, 5, 24, 47}) {
        QCOMPARE(qGray(y.pixel(48, 47 - slice)), int(volume().at(48, 48, slice)));
    }
    // Out of range: the picture keeps what it had.
    m.library._d2_crea_corte_z(handle(), 48, &z);
    m.library._d2_crea_corte_y(handle(), -1, &z);
    QCOMPARE(z.size(), QSize(96, 96));
}

void TestPhantomGeometry::sideRenderingShowsTheHeadSilhouette() {
    QImage picture;
    m.library._d2_crea3D_2(handle(), 500, 1, 60, 255, 0, &picture);
    QCOMPARE(picture.size(), QSize(48, 96));     // u = z, v = y
    QVERIFY(qGray(picture.pixel(24, 48)) > 150); // the head faces the viewer at its centre
    QCOMPARE(qGray(picture.pixel(0, 0)), 0);
    // The silhouette's height on the middle slice is the head's extent in y.
    int lit = 0;
    for (int v = 0; v < 96; ++v) {
        lit += qGray(picture.pixel(24, v)) > 0 ? 1 : 0;
    }
    QVERIFY2(std::abs(lit - 2 * m_geometry.ry) <= 3, qPrintable(QString::number(lit)));
    // A cut column through the centre removes the near half: the rays start inside the head.
    QImage cut;
    m.library._d2_crea3D_2(handle(), 48, 1, 60, 255, 0, &cut);
    QVERIFY(qGray(cut.pixel(24, 48)) != qGray(picture.pixel(24, 48)));
}

QTEST_GUILESS_MAIN(TestPhantomGeometry)
#include "tst_phantom_geometry.moc"
