#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/Volume.h"
#include "support/Files.h"
#include "support/ImagingFixtures.h"

#include <QStandardPaths>

#include <cmath>

namespace {

// Loads the phantom of these options (or its NIfTI conversion by dcm2niix) and aims at a few cells
// from the Ilion at the back of the head g describes: the volume and the scalp and target points of
// each cell.
struct Planned {
    Volume volume;
    QList<ImagingMath::VoxelPoint> points;
};

bool plan(const Phantom::Options &options, const Phantom::Geometry &g, bool nifti, Planned &result,
          QString &why) {
    QTemporaryDir dir;
    if (!Phantom::write(dir.filePath("dicom"), options, &why)) {
        return false;
    }
    QString source = dir.filePath("dicom");
    if (nifti) {
        if (runProgram("dcm2niix", {"-z", "y", "-f", "head", "-o", dir.path(), source}, &why) != 0) {
            why.prepend("dcm2niix failed: ");
            return false;
        }
        source = dir.filePath("head.nii.gz");
    }
    Loading m;
    if (!m.load(source)) {
        why = m.loader.report().failures.join('\n');
        return false;
    }
    result.volume = *m.library.volume(m.state.VolumenActual);
    m.state.InicializaResonancia();
    m.state.PonReferencia(std::round(g.cx + g.rx - 0.5), std::round(g.cy), std::round(g.cz), 3);
    m.state.PonCalibracion(200, m.state.Interslice, 1);
    for (const qint32 cell : {0, 14, 27, 49}) {
        aimAtCell(m.state, cell, 5);
        result.points << m.state.PuntoExterno << m.state.PuntoTarget;
    }
    return true;
}

// The phantom head of 49 slices 4 mm apart, sagittal unless told, with `slices` over the same extent.
Phantom::Options head(Phantom::Orientation orientation = Phantom::Orientation::Sagittal, double tilt = 0,
                      bool shuffle = false, bool multiFrame = false, int slices = 49) {
    return {.slices = slices,
            .size = 49,
            .spacing = 4,
            .thickness = 4.0 * 48 / (slices - 1),
            .orientation = orientation,
            .tiltDegrees = tilt,
            .shuffleNames = shuffle,
            .multiFrame = multiFrame};
}

} // namespace

Q_DECLARE_METATYPE(Phantom::Options)

// A phantom series written, converted and stacked as the loader does, then measured: every answer
// has an analytic value from the phantom's ellipsoid. Then the MR planning aimed at grid cells on it:
// the scalp arcs of each cell, their angles on the head's circle, where the ray meets the phantom's
// scalp, and the refusals.
class TestPhantomGeometry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(Phantom::write(m_dir.path(), m_options, &error), qPrintable(error));
        m.loader.setThreads(2);
        m.loader.setWarning([this](const QString &) { ++m_warnings; });
        QVERIFY2(m.load(m_dir.path()) && m_warnings == 0 && m.loader.report().failures.isEmpty(),
                 qPrintable(m.loader.report().failures.join('\n')));
    }

    // On the middle row and slice, an upper row, and a lower row of an outer slice.
    void centralColumnLiesOnThePhantomAxis() {
        for (const auto &[y, z] : QList<QPair<int, int>>{{48, 24}, {25, 24}, {70, 10}}) {
            const qint32 cx = m.library._d2_dame_posicion_central(handle(), y, z);
            QVERIFY2(std::abs(cx - m_geometry.cx) <= 1.0, qPrintable(QString::number(cx)));
        }
    }

    // Back, front, top, the side across slices, and oblique in all three.
    void lineSearchFindsTheAnalyticScalpAndBrain() {
        for (const auto &[dx, dy, dz] :
             QList<std::array<double, 3>>{{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0.5, -0.6, -0.4}}) {
            const qint32 a[3] = {qint32(std::lround(m_geometry.cx)), qint32(std::lround(m_geometry.cy)),
                                 qint32(std::lround(m_geometry.cz))};
            // B lies inside the head, ten voxels out from the centre.
            const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
            const qint32 b[3] = {a[0] + qint32(std::lround(10 * dx / length)),
                                 a[1] + qint32(std::lround(10 * dy / length)),
                                 a[2] + qint32(std::lround(10 * dz / length))};
            qint32 out[6] = {};
            m.library._d2_dameUmbral3D(handle(), a, b, 0, 255, out);
            // The scalp and, below the skull, the brain's surface: where the analytic ellipsoid's shells
            // cross the sampled line. Scales grow linearly along a ray from the centre, so the scalp (scale
            // 1) lies at t = 1 / scale of the centre moved by u.
            const double u[3] = {double(b[0] - a[0]), double(b[1] - a[1]), double(b[2] - a[2])};
            const double t =
                1 / m_geometry.scale(m_geometry.cx + u[0], m_geometry.cy + u[1], m_geometry.cz + u[2]);
            for (const auto &[found, scale] :
                 {std::pair{out, 1.0}, std::pair{out + 3, Phantom::Geometry::SkullInner}}) {
                const double miss =
                    std::hypot(found[0] - a[0] - u[0] * t * scale, found[1] - a[1] - u[1] * t * scale,
                               found[2] - a[2] - u[2] * t * scale);
                QVERIFY2(miss <= 1.5,
                         qPrintable(QString::asprintf("found (%d, %d, %d) for scale %g, %g voxels off",
                                                      found[0], found[1], found[2], scale, miss)));
            }
        }
    }

    void sideRenderingShowsTheHeadSilhouette() {
        QImage picture;
        m.library._d2_crea3D_2(handle(), 500, 1, 60, 255, 0, &picture);
        QCOMPARE(picture.size(), QSize(48, 96));     // u = z, v = y
        QVERIFY(qGray(picture.pixel(24, 48)) > 150); // the head faces the viewer at its centre
        // The silhouette's height on the middle slice is the head's extent in y, the air black.
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

    void theNoseIsAtTheFrontAndTheSideMarkOnTheLeft() {
        const Phantom::Geometry &g = m_geometry;
        auto at = [&](double x, double y, double z) {
            return int(volume().at(int(std::lround(x)), int(std::lround(y)), int(std::lround(z))));
        };
        // Columns run from the face to the back: the nose stands out of the face, below the centre.
        QVERIFY(at(g.cx - 1.05 * g.rx, g.cy + 0.25 * g.ry, g.cz) > 200);
        QCOMPARE(at(g.cx + 1.05 * g.rx, g.cy + 0.25 * g.ry, g.cz), 0);
        // Slices run from the subject's left to right: the mark is in the first half, above the centre.
        QVERIFY(at(g.cx, g.cy - 0.2 * g.ry, g.cz - 0.55 * g.rz) > 230);
        QVERIFY(at(g.cx, g.cy - 0.2 * g.ry, g.cz + 0.55 * g.rz) < 200);
    }

    // The sagittal head of 49 slices 4 mm apart and the same head written another way: its slices
    // in another orientation or tilt, in other files, or fewer slices over the same extent.
    void theSameHeadInAnyOrientationGivesTheSameVolumeAndPlan_data() {
        QTest::addColumn<Phantom::Options>("options");
        QTest::addColumn<bool>("nifti");
        QTest::addColumn<double>("meanDifference"); // grey levels; 0: voxel for voxel
        using enum Phantom::Orientation;
        QTest::newRow("coronal") << head(Coronal) << false << 0.0;
        QTest::newRow("axial tilted 10 degrees") << head(Axial, 10) << false << 0.0;
        QTest::newRow("sagittal tilted -10 degrees, shuffled UID names")
            << head(Sagittal, -10, true) << false << 0.0;
        QTest::newRow("axial as one enhanced multi-frame file, frames shuffled")
            << head(Axial, 0, true, true) << false << 0.0;
        QTest::newRow("coronal through NIfTI") << head(Coronal) << true << 3.0;
        QTest::newRow("axial, slices twice as thick, resampled")
            << head(Axial, 0, false, false, 25) << false << 8.0;
    }
    void theSameHeadInAnyOrientationGivesTheSameVolumeAndPlan() {
        QFETCH(Phantom::Options, options);
        QFETCH(bool, nifti);
        QFETCH(double, meanDifference);
        if (nifti && QStandardPaths::findExecutable("dcm2niix").isEmpty()) {
            QSKIP("dcm2niix is missing: install it (scripts/install-deps.sh)");
        }
        const Phantom::Geometry g = Phantom::geometry(head());
        Planned reference;
        Planned other;
        QString why;
        QVERIFY2(plan(head(), g, false, reference, why), qPrintable(why));
        QVERIFY2(plan(options, g, nifti, other, why), qPrintable(why));
        const Volume &a = reference.volume, &b = other.volume;
        QCOMPARE(QList<int>({b.width(), b.height(), b.slices()}),
                 QList<int>({a.width(), a.height(), a.slices()}));
        double sum = 0;
        for (int z = 0; z < a.slices(); ++z) {
            for (int y = 0; y < a.height(); ++y) {
                for (int x = 0; x < a.width(); ++x) {
                    sum += std::abs(int(a.at(x, y, z)) - int(b.at(x, y, z)));
                }
            }
        }
        const double mean = sum / (double(a.width()) * a.height() * a.slices());
        QVERIFY2(mean <= meanDifference, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
        for (int i = 0; i < reference.points.size(); ++i) {
            const auto &p = reference.points[i], &q = other.points[i];
            QVERIFY2(std::abs(p.x - q.x) <= 1 && std::abs(p.y - q.y) <= 1 && std::abs(p.z - q.z) <= 1,
                     qPrintable(QString::asprintf("point %d: (%d, %d, %d) against (%d, %d, %d)", i, q.x, q.y,
                                                  q.z, p.x, p.y, p.z)));
        }
    }

    // Cell 14 lies in the Ilion direction; each grid step is an arc of 20 mm on the scalp: {cell, arcs}
    // through the Ilion, at the bottom left and at the top right.
    void eachCellIsAimedAlongItsArcsFromTheIlion() {
        for (const auto &[cell, arcH, arcV] :
             QList<std::array<int, 3>>{{14, 0, 0}, {0, -80, -20}, {49, 100, 60}}) {
            const Phantom::Geometry &g = m_geometry;
            ImagingState &state = m.state;
            state.InicializaResonancia();
            state.PonReferencia(std::round(g.cx - g.rx + 0.5), std::round(g.cy), std::round(g.cz), 3);
            state.PonCalibracion(200, m_options.thickness, 1);
            const GridAim aim = aimAtCell(state, cell, 5);

            QCOMPARE(QList<int>({aim.arcH, aim.arcV}), QList<int>({arcH, arcV}));
            const double degreesPerMm = 360.0 / (2 * std::acos(-1.0) * state.MmPorPixel() * state.Radio);
            QCOMPARE(aim.angleH, arcH * degreesPerMm);
            QCOMPARE(aim.angleV, arcV * degreesPerMm);
            const auto &e = state.PuntoExterno;
            const auto &i = state.PuntoIlion;
            if (cell == 14) {
                // Straight through the Ilion point: the scalp is met there, the target 5 voxels inside.
                QVERIFY2(std::abs(e.x - i.x) <= 1 && e.y == i.y && e.z == i.z,
                         qPrintable(QStringLiteral("(%1, %2, %3)").arg(e.x).arg(e.y).arg(e.z)));
                QCOMPARE(state.PuntoTarget.x, qint16(e.x + 5));
            } else {
                // Negative horizontal arcs turn towards higher slices; the ray meets the phantom's scalp.
                QCOMPARE(e.z > i.z, arcH < 0);
                const double scale = g.scale(e.x, e.y, e.z);
                QVERIFY2(scale > 0.85 && scale < 1.1, qPrintable(QString::number(scale)));
            }
        }
    }

    // A cell whose arc leaves 16 bits, and a head of radius 0 (the Ilion at its centre), aim nowhere.
    void cellsBeyond16BitArcsAndAHeadOfRadiusZeroAreRefused() {
        qint16 h = 0, v = 0;
        ArcosDeCelda(16399, h, v);
        QCOMPARE(v, qint16(32760));
        QVERIFY_THROWS_EXCEPTION(ImagingError, ArcosDeCelda(16400, h, v));
        ImagingLibrary library;
        ImagingState state(library);
        state.Profundidad = 7;
        QVERIFY_THROWS_EXCEPTION(ImagingError, aimAtCell(state, 14, 5));
        QCOMPARE(state.Profundidad, 7.0);
    }

private:
    const Phantom::Options m_options{.slices = 48, .size = 96, .spacing = 2.5, .thickness = 4.0};
    const Phantom::Geometry m_geometry = Phantom::geometry(m_options);
    QTemporaryDir m_dir;
    Loading m;
    int m_warnings = 0;

    qint32 handle() const { return m.state.VolumenActual; }
    const Volume &volume() const { return *m.library.volume(handle()); }
};

QTEST_GUILESS_MAIN(TestPhantomGeometry)
#include "tst_phantom_geometry.moc"
