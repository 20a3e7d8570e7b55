// Aiming the MR planning at a grid cell: the scalp arcs of each cell, their angles on the head's
// circle, where the ray meets the phantom's scalp, and the refusals.

#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "support/ImagingFixtures.h"

#include "support/Files.h"

#include <cmath>

class TestGridAim : public QObject {
    Q_OBJECT

private:
    const Phantom::Options m_options{.slices = 24, .size = 64, .spacing = 2.0, .thickness = 5.0};
    QTemporaryDir m_dir;
    Loading m;

private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(Phantom::write(m_dir.path(), m_options, &error), qPrintable(error));
        QVERIFY(m.load(m_dir.path()));
    }

    // Cell 14 lies in the Ilion direction; each grid step is an arc of 20 mm on the scalp: {cell, arcs}
    // through the Ilion, at the bottom left and at the top right.
    void eachCellIsAimedAlongItsArcsFromTheIlion() {
        for (const auto &[cell, arcH, arcV] :
             QList<std::array<int, 3>>{{14, 0, 0}, {0, -80, -20}, {49, 100, 60}}) {
            const Phantom::Geometry g = Phantom::geometry(m_options);
            ImagingState &state = m.state;
            state.InicializaResonancia();
            state.PonReferencia(std::round(g.cx - g.rx + 0.5), std::round(g.cy), std::round(g.cz), 3);
            state.PonCalibracion(200, m_options.thickness, 1);
            const GridAim aim = aimAtCell(state, cell, 5);

            QCOMPARE(QList<int>({aim.arcH, aim.arcV}), QList<int>({arcH, arcV}));
            const double degreesPerMm = 360.0 / (2 * std::acos(-1.0) * state.MmPorPixel() * state.Radio);
            QCOMPARE(QList<double>({aim.angleH, aim.angleV, state.AnguloHorizontal, state.AnguloVertical}),
                     QList<double>({arcH * degreesPerMm, arcV * degreesPerMm, aim.angleH, aim.angleV}));
            QCOMPARE(state.Profundidad, 5.0);
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
};

QTEST_GUILESS_MAIN(TestGridAim)
#include "tst_grid_aim.moc"
