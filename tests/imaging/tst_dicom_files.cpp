#include "DicomFiles.h"
#include "ImagingLibrary.h"
#include "ImagingState.h"
#include "PhantomWriter.h"
#include "PydicomFiles.h"
#include "SeriesLoader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// Largest and mean absolute grey difference of two pictures of the same size.
struct Difference {
    int largest = 256;
    double mean = 256;
};

Difference compare(const QImage &a, const QImage &b) {
    Difference d;
    if (a.size() != b.size() || a.isNull()) {
        return d;
    }
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage gb = b.convertToFormat(QImage::Format_Grayscale8);
    d.largest = 0;
    double sum = 0;
    for (int y = 0; y < ga.height(); ++y) {
        for (int x = 0; x < ga.width(); ++x) {
            const int diff = std::abs(ga.constScanLine(y)[x] - gb.constScanLine(y)[x]);
            d.largest = std::max(d.largest, diff);
            sum += diff;
        }
    }
    d.mean = sum / (ga.width() * ga.height());
    return d;
}

} // namespace

// Real scanner files (pydicom's test set, from Debian) and phantom variants through the DICOM side:
// decoding of every transfer syntax DCMTK handles here, windows, geometry from the headers, and the
// loader on names as scanners write them.
class TestDicomFiles : public QObject {
    Q_OBJECT

private slots:
    void everyEncodingOfMrSmallConvertsToTheSamePicture_data();
    void everyEncodingOfMrSmallConvertsToTheSamePicture();
    void jpeg2000IsRefusedWithAClearMessage_data();
    void jpeg2000IsRefusedWithAClearMessage();
    void seriesGeometryComesFromThePositionsOfTheMr700Series_data();
    void seriesGeometryComesFromThePositionsOfTheMr700Series();
    void aLoneFileFallsBackToItsSliceThickness();
    void monochrome1IsShownInvertedBackToTheSamePicture();
    void aWindowOfWidthZeroFallsBackToMinMax();
    void directoryHeadersAreReadOncePerLoad();
    void loaderTakesNamesWithoutExtensionInAnyCase();
    void loaderWarnsOncePerFileOfAnotherGeometry();
    void aDirectoryWithOneImageBuildsNoVolume();

private:
    QString convert(const QString &dicom, const QString &dir, QString *error = nullptr);
};

QString TestDicomFiles::convert(const QString &dicom, const QString &dir, QString *error) {
    const QString jpg =
        dir + QDir::separator() + QFileInfo(dicom).completeBaseName() + QStringLiteral(".jpg");
    DicomFiles files;
    return files._d2_convierteDicomAJpg(dicom, jpg, error) ? jpg : QString();
}

void TestDicomFiles::everyEncodingOfMrSmallConvertsToTheSamePicture_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("implicit little endian") << "MR_small_implicit.dcm";
    QTest::newRow("big endian") << "MR_small_bigendian.dcm";
    QTest::newRow("explicit big endian") << "MR_small_expb.dcm";
    QTest::newRow("RLE") << "MR_small_RLE.dcm";
    QTest::newRow("JPEG-LS lossless") << "MR_small_jpeg_ls_lossless.dcm";
    QTest::newRow("padded") << "MR_small_padded.dcm";
}

void TestDicomFiles::everyEncodingOfMrSmallConvertsToTheSamePicture() {
    QFETCH(QString, file);
    REQUIRE_PYDICOM_FILES(data);
    QTemporaryDir out;
    QString error;
    const QString reference = convert(data + "/MR_small.dcm", out.path(), &error);
    QVERIFY2(!reference.isEmpty(), qPrintable(error));
    const QString variant = convert(data + "/" + file, out.path(), &error);
    QVERIFY2(!variant.isEmpty(), qPrintable(error));
    const QImage a(reference);
    const QImage b(variant);
    QCOMPARE(a.size(), QSize(64, 64));
    const Difference d = compare(a, b);
    QVERIFY2(d.largest <= 2 && d.mean < 0.5,
             qPrintable(QStringLiteral("largest %1, mean %2").arg(d.largest).arg(d.mean)));
    // Not a flat picture: the window of the file spreads the grey levels.
    int darkest = 255, brightest = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            darkest = std::min(darkest, qGray(a.pixel(x, y)));
            brightest = std::max(brightest, qGray(a.pixel(x, y)));
        }
    }
    QVERIFY(brightest - darkest > 100);
}

void TestDicomFiles::jpeg2000IsRefusedWithAClearMessage_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("lossless") << "MR_small_jp2klossless.dcm";
    QTest::newRow("lossy") << "JPEG2000.dcm";
}

void TestDicomFiles::jpeg2000IsRefusedWithAClearMessage() {
    QFETCH(QString, file);
    REQUIRE_PYDICOM_FILES(data);
    QTemporaryDir out;
    QString error;
    QVERIFY(convert(data + "/" + file, out.path(), &error).isEmpty());
    QVERIFY2(error.contains(QLatin1String("JPEG 2000")) && error.contains(file), qPrintable(error));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 0);
}

void TestDicomFiles::seriesGeometryComesFromThePositionsOfTheMr700Series_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("zeroFrame");
    // A radial localizer: the tags give SliceThickness 1.2 and no SpacingBetweenSlices, while the
    // positions put the nearest other slice 28.1744 mm away along every slice's normal. The zero
    // frames are the places of the slice nearest the origin in each slice's own normal order.
    QTest::newRow("4467") << "4467" << 4.0;
    QTest::newRow("4558") << "4558" << 7.0;
    QTest::newRow("4648") << "4648" << 1.0;
    QTest::newRow("4678") << "4678" << 2.0;
}

void TestDicomFiles::seriesGeometryComesFromThePositionsOfTheMr700Series() {
    QFETCH(QString, file);
    QFETCH(double, zeroFrame);
    REQUIRE_PYDICOM_FILES(data);
    DicomFiles files;
    qint32 valid = 0;
    double interslice = 0, mm = 0, frame = 0;
    files._d2_dicominfo(data + "/dicomdirtests/98892003/MR700/" + file, valid, interslice, mm, frame);
    QCOMPARE(valid, 1);
    QCOMPARE(interslice, 28.1744);
    QCOMPARE(mm, 0.390625);
    QCOMPARE(frame, zeroFrame);
}

void TestDicomFiles::aLoneFileFallsBackToItsSliceThickness() {
    REQUIRE_PYDICOM_FILES(data);
    QTemporaryDir dir;
    QVERIFY(QFile::copy(data + "/MR_small.dcm", dir.filePath("MR_small.dcm")));
    DicomFiles files;
    qint32 valid = 0;
    double interslice = 0, mm = 0, frame = 0;
    files._d2_dicominfo(dir.filePath("MR_small.dcm"), valid, interslice, mm, frame);
    QCOMPARE(valid, 1);
    QCOMPARE(interslice, 0.8);
    QCOMPARE(mm, 0.3125);
    QCOMPARE(frame, 1.0);
    // Not DICOM at all: the flag stays 0 and the outputs untouched.
    QFile text(dir.filePath("notes"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not an image\n");
    text.close();
    interslice = -1;
    files._d2_dicominfo(dir.filePath("notes"), valid, interslice, mm, frame);
    QCOMPARE(valid, 0);
    QCOMPARE(interslice, -1.0);
}

void TestDicomFiles::monochrome1IsShownInvertedBackToTheSamePicture() {
    QTemporaryDir plain, inverted, out;
    Phantom::Options options;
    options.slices = 2;
    options.size = 64;
    QVERIFY(Phantom::write(plain.path(), options));
    options.monochrome1 = true;
    QVERIFY(Phantom::write(inverted.path(), options));
    const QImage a(convert(plain.filePath("slice0001.dcm"), plain.path()));
    const QImage b(convert(inverted.filePath("slice0001.dcm"), inverted.path()));
    const Difference d = compare(a, b);
    QVERIFY2(d.largest <= 2, qPrintable(QString::number(d.largest)));
    QVERIFY(qGray(a.pixel(0, 0)) < 10); // air is black in both
}

void TestDicomFiles::aWindowOfWidthZeroFallsBackToMinMax() {
    QTemporaryDir dir;
    Phantom::Options options;
    options.slices = 3;
    options.size = 64;
    options.windowWidth = 0;
    QVERIFY(Phantom::write(dir.path(), options));
    const QImage picture(convert(dir.filePath("slice0002.dcm"), dir.path())); // through the centre
    QVERIFY(!picture.isNull());
    // Min-max: air at the bottom of the range, the scalp (the largest value) at the top.
    QVERIFY(qGray(picture.pixel(0, 0)) < 10);
    const Phantom::Geometry g = Phantom::geometry(options);
    QVERIFY(qGray(picture.pixel(int(g.cx - g.rx + 2), 32)) > 240);
}

void TestDicomFiles::directoryHeadersAreReadOncePerLoad() {
    QTemporaryDir dir;
    Phantom::Options options;
    options.slices = 12;
    options.size = 32;
    QVERIFY(Phantom::write(dir.path(), options));
    ImagingLibrary library;
    ImagingState state(library);
    DicomFiles files;
    SeriesLoader loader(state, files);
    QVERIFY(loader.i_CargarImagenes(dir.path(), false, false));
    QCOMPARE(files.headersRead(), 12);
    QCOMPARE(loader.report().converted, 12);
    // A second load finds the JPEG and BMP files beside the series and reads no header again.
    QVERIFY(loader.i_CargarImagenes(dir.path(), false, false));
    QCOMPARE(files.headersRead(), 12);
    QCOMPARE(loader.report().slicesStacked, 12);
}

void TestDicomFiles::loaderTakesNamesWithoutExtensionInAnyCase() {
    QTemporaryDir dir;
    Phantom::Options options;
    options.slices = 6;
    options.size = 32;
    QVERIFY(Phantom::write(dir.path(), options));
    for (int i = 1; i <= options.slices; ++i) {
        QVERIFY(QFile::rename(dir.filePath(QStringLiteral("slice%1.dcm").arg(i, 4, 10, QLatin1Char('0'))),
                              dir.filePath(QStringLiteral("IM%1").arg(i, 4, 10, QLatin1Char('0')))));
    }
    ImagingLibrary library;
    ImagingState state(library);
    DicomFiles files;
    SeriesLoader loader(state, files);
    loader.setThreads(2);
    QVERIFY(loader.i_CargarImagenes(dir.path(), false, false));
    QCOMPARE(loader.report().dicomFiles, 6);
    QCOMPARE(loader.report().slicesStacked, 6);
    QVERIFY(QFileInfo::exists(dir.filePath("IM0001.bmp")));
    QVERIFY(state.SerieImagenes.first().endsWith(QLatin1String("IM0001.bmp")));
    QCOMPARE(state.Interslice, options.thickness);
}

void TestDicomFiles::loaderWarnsOncePerFileOfAnotherGeometry() {
    QTemporaryDir dir, other;
    Phantom::Options options;
    options.slices = 4;
    options.size = 32;
    QVERIFY(Phantom::write(dir.path(), options));
    options.spacing = 1.5;
    QVERIFY(Phantom::write(other.path(), options));
    QVERIFY(QFile::copy(other.filePath("slice0001.dcm"), dir.filePath("slice0009.dcm")));
    ImagingLibrary library;
    ImagingState state(library);
    DicomFiles files;
    SeriesLoader loader(state, files);
    QStringList shown;
    loader.setWarning([&](const QString &text) { shown << text; });
    QVERIFY(loader.i_CargarImagenes(dir.path(), false, false));
    QCOMPARE(shown, QStringList{"Imagenes no definidas igual"});
    QCOMPARE(loader.report().slicesStacked, 5);
    QCOMPARE(state.MmPixelFijo, 1.0); // the first file's values are kept
}

void TestDicomFiles::aDirectoryWithOneImageBuildsNoVolume() {
    REQUIRE_PYDICOM_FILES(data);
    QTemporaryDir dir;
    QVERIFY(QFile::copy(data + "/MR_small.dcm", dir.filePath("mr_small.dcm")));
    ImagingLibrary library;
    ImagingState state(library);
    DicomFiles files;
    SeriesLoader loader(state, files);
    QVERIFY(!loader.i_CargarImagenes(dir.path(), false, false));
    QCOMPARE(state.VolumenActual, 0);
    QCOMPARE(library.volumeCount(), 0);
    // A one-entry listing is not converted, so no DICOM geometry was read: the default spacing.
    QCOMPARE(state.Interslice, 2.0);
    QCOMPARE(state.MmPixelFijo, 0.0);
    QVERIFY(!QFileInfo::exists(dir.filePath("mr_small.jpg")));
}

QTEST_GUILESS_MAIN(TestDicomFiles)
#include "tst_dicom_files.moc"
