#include "drawings/PictureWidget.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/SliceRendering.h"

#include "support/Files.h"

using namespace SliceRendering;

// The marks of the MR pictures, drawn on a plain image at one pixel per unit, and the cuts placed
// under them at one unit per voxel.
class TestSliceRendering : public QObject {
    Q_OBJECT

private slots:
    void miraSpansFromZeroTo500OneUnitBeforeThePoint() {
        QImage image(600, 600, QImage::Format_RGB32);
        image.fill(Qt::black);
        PictureSurface picture(&image);
        DibujaMiraAmarilla(picture, 40, 70);
        QVERIFY(at(image, 39, 0) == Yellow && at(image, 39, 500) == Yellow && at(image, 0, 69) == Yellow &&
                at(image, 500, 69) == Yellow);
        // Not to the picture's edge, and not through the point itself.
        QVERIFY(at(image, 39, 501) == ZoColors::Black && at(image, 550, 69) == ZoColors::Black &&
                at(image, 40, 10) == ZoColors::Black);
    }

    // {landmark 1's slice, the Ilion's}: both on the shown slice 42, both elsewhere, and a fractional
    // slice, which is never the shown one.
    void landmarksAreRingsOnTheShownSliceAndCrossesElsewhere() {
        for (const auto &[z1, zIlion] : QList<std::pair<double, double>>{{42, 42}, {41, 43}, {42.4, 42}}) {
            const bool ring1 = z1 == 42, ringIlion = zIlion == 42;
            ImagingLibrary library;
            ImagingState state(library);
            state.Referencia1 = {50, 50, z1};
            state.Referencia2 = {150, 50, 10};
            state.ReferenciaIlion = {100, 120, zIlion};
            QImage image(200, 200, QImage::Format_RGB32);
            image.fill(Qt::black);
            PictureSurface picture(&image);
            DibujaReferencias(state, picture, 42);
            // A ring leaves its centre empty and is yellow at radius 5; a cross covers its centre.
            if (ringIlion) {
                QVERIFY(at(image, 100, 120) == ZoColors::Black && at(image, 100, 125) == Yellow);
            } else {
                QVERIFY(at(image, 100, 117) == Red && at(image, 105, 120) == Red &&
                        at(image, 103, 123) == ZoColors::Black);
            }
            QCOMPARE(at(image, 50, ring1 ? 55 : 47), Yellow); // landmark 1
            QCOMPARE(at(image, 150, 47), Red);                // landmark 2, a cross on slice 10
            QCOMPARE(at(image, 100, 50), Green);              // the line joining them
        }
    }

    void cutSetsOneUnitPerVoxelAndSideViewPutsSliceZeroAtTheBottom() {
        ImagingLibrary library;
        ImagingState state(library);
        library._d2_crea(state.VolumenActual, 0);
        // Four 20 x 10 slices; slice z has a bright voxel at column 5 + z, row 3.
        QTemporaryDir dir;
        for (int z = 0; z < 4; ++z) {
            QImage slice(20, 10, QImage::Format_Grayscale8);
            slice.fill(0);
            slice.setPixel(5 + z, 3, qRgb(255, 255, 255));
            const QString path = dir.filePath(QStringLiteral("slice%1.bmp").arg(z));
            QVERIFY(slice.save(path, "BMP"));
            library._d2_anyade(state.VolumenActual, path);
        }
        library._d2_cierra(state.VolumenActual, 1);
        state.Incremento = 1;

        QImage image(200, 200, QImage::Format_RGB32);
        PictureSurface picture(&image);
        DibujaCorte(state, picture, 2, VistaCorteZ);
        // 20 units across 200 pixels: the voxel (7, 3) of slice 2 covers pixels 70..79, 30..39.
        QCOMPARE(picture.scaleWidth(), 20.0);
        QVERIFY(qGray(image.pixel(75, 35)) > 200 && qGray(image.pixel(55, 35)) < 50);

        // Side view through row 3: u = x, v = slices - z; voxel (5, 3, 0) is the bottom row.
        DibujaCorte(state, picture, 3, VistaLateral);
        const QPoint bottom = picture.toPixel(5.5, 3.5);
        QVERIFY(qGray(image.pixel(bottom)) > 200);
        qint16 u = 0, v = 0;
        state.PuntoAVista({5, 3, 0}, u, v);
        QCOMPARE(v, qint16(4));

        // The planning view: blue cross at the centre, green X at the target, in side-view units.
        state.PuntoCentro = {10, 3, 2};
        state.PuntoTarget = {16, 3, 2};
        DibujaVistaResonancia(state, picture);
        const QPoint centre = picture.toPixel(10, 2);
        const QPoint target = picture.toPixel(16, 2);
        QCOMPARE(at(image, centre.x(), centre.y() - 10), Blue);
        QCOMPARE(at(image, target.x(), target.y()), Green);
    }

    void withoutVolumeThePictureKeepsItsContent() {
        ImagingLibrary library;
        ImagingState state(library);
        QImage image(50, 50, QImage::Format_RGB32);
        image.fill(Qt::white);
        PictureSurface picture(&image);
        state.PuntoInterno = {10, 20, 30};
        DibujaCorte(state, picture, 0, VistaCorteZ);
        Dibuja3D(state, picture, 60, 255);
        QCOMPARE(at(image, 30, 30), ZoColors::White);
        // The crosshair still goes to the inner point: u = z, v = y.
        QCOMPARE(at(image, 29, 5), Yellow);
        QCOMPARE(at(image, 5, 19), Yellow);
    }

private:
    static ZoColor at(const QImage &image, int x, int y) {
        return ZoColors::fromQColor(image.pixelColor(x, y));
    }
};

QTEST_GUILESS_MAIN(TestSliceRendering)
#include "tst_slice_rendering.moc"
