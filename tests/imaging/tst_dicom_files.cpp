#include "DicomFiles.h"
#include "ImagingFixtures.h"
#include "Volume.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// The DICOM test files of Debian's python3-pydicom package (scripts/install-deps.sh installs it), or
// those in ZK_PYDICOM_DATA; "" when missing.
QString pydicomTestFiles() {
    for (const QString &dir : {qEnvironmentVariable("ZK_PYDICOM_DATA"),
                               QStringLiteral("/usr/lib/python3/dist-packages/pydicom/data/test_files")}) {
        if (!dir.isEmpty() && QFileInfo::exists(dir + QStringLiteral("/MR_small.dcm"))) {
            return dir;
        }
    }
    return {};
}

#define REQUIRE_PYDICOM_FILES(dir)                                                                           \
    const QString dir = pydicomTestFiles();                                                                  \
    if (dir.isEmpty()) {                                                                                     \
        QSKIP("pydicom's DICOM test files are missing: install python3-pydicom (scripts/install-deps.sh)");  \
    }

// Largest and mean absolute grey difference of two pictures of the same size.
std::pair<int, double> difference(const QImage &a, const QImage &b) {
    if (a.isNull() || a.size() != b.size()) {
        return {256, 256};
    }
    const QImage ga = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage gb = b.convertToFormat(QImage::Format_Grayscale8);
    int largest = 0;
    double sum = 0;
    for (int y = 0; y < ga.height(); ++y) {
        for (int x = 0; x < ga.width(); ++x) {
            const int diff = std::abs(ga.constScanLine(y)[x] - gb.constScanLine(y)[x]);
            largest = std::max(largest, diff);
            sum += diff;
        }
    }
    return {largest, sum / (ga.width() * ga.height())};
}

// Converts one file beside it in dir; the picture, or a null one with *error set.
QImage convert(const QString &dicom, const QString &dir, QString *error = nullptr) {
    const QString jpg = dir + QLatin1Char('/') + QFileInfo(dicom).completeBaseName() + QStringLiteral(".jpg");
    DicomFiles files;
    return files._d2_convierteDicomAJpg(dicom, jpg, error) ? QImage(jpg) : QImage();
}

} // namespace

// Real scanner files (pydicom's test set, from Debian) and phantom variants through the DICOM side:
// every transfer syntax DCMTK decodes here, windows, and the geometry read from the headers.
class TestDicomFiles : public QObject {
    Q_OBJECT

private slots:
    void everyEncodingOfMrSmallConvertsToTheSamePicture_data();
    void everyEncodingOfMrSmallConvertsToTheSamePicture();
    void jpeg2000IsRefusedWithAClearMessage_data();
    void jpeg2000IsRefusedWithAClearMessage();
    void geometryComesFromThePositionsElseTheThickness_data();
    void geometryComesFromThePositionsElseTheThickness();
    void monochrome1AndAWindowOfWidthZeroShowTheSamePicture();
    void reloadingReadsNoHeaderAgainAndReleasesThePreviousVolume();
};

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
    const QImage reference = convert(data + "/MR_small.dcm", out.path(), &error);
    QVERIFY2(!reference.isNull(), qPrintable(error));
    const QImage variant = convert(data + "/" + file, out.path(), &error);
    QVERIFY2(!variant.isNull(), qPrintable(error));
    QCOMPARE(reference.size(), QSize(64, 64));
    const auto [largest, mean] = difference(reference, variant);
    QVERIFY2(largest <= 2 && mean < 0.5,
             qPrintable(QStringLiteral("largest %1, mean %2").arg(largest).arg(mean)));
    // Not a flat picture: the file's window spreads the grey levels.
    QImage flat(reference.size(), QImage::Format_Grayscale8);
    flat.fill(qGray(reference.pixel(0, 0)));
    QVERIFY(difference(reference, flat).first > 100);
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
    QVERIFY(convert(data + "/" + file, out.path(), &error).isNull());
    QVERIFY2(error.contains(QLatin1String("JPEG 2000")) && error.contains(file), qPrintable(error));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 0);
}

void TestDicomFiles::geometryComesFromThePositionsElseTheThickness_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("interslice");
    QTest::addColumn<double>("mm");
    QTest::addColumn<double>("zeroFrame");
    // MR700 is a radial localizer: SliceThickness 1.2 and no SpacingBetweenSlices, while the positions
    // put the nearest other slice 28.1744 mm away along every slice's normal. The zero frames are the
    // places of the slice nearest the origin in each slice's own normal order.
    const QString mr700 = QStringLiteral("dicomdirtests/98892003/MR700/");
    QTest::newRow("MR700 4467") << mr700 + "4467" << 28.1744 << 0.390625 << 4.0;
    QTest::newRow("MR700 4558") << mr700 + "4558" << 28.1744 << 0.390625 << 7.0;
    QTest::newRow("MR700 4648") << mr700 + "4648" << 28.1744 << 0.390625 << 1.0;
    QTest::newRow("MR700 4678") << mr700 + "4678" << 28.1744 << 0.390625 << 2.0;
    // Alone in its directory: SliceThickness. Not DICOM at all: the flag stays 0, outputs untouched.
    QTest::newRow("lone file") << "MR_small.dcm" << 0.8 << 0.3125 << 1.0;
    QTest::newRow("not DICOM") << "" << -1.0 << -1.0 << -1.0;
}

void TestDicomFiles::geometryComesFromThePositionsElseTheThickness() {
    QFETCH(QString, file);
    QFETCH(double, interslice);
    QFETCH(double, mm);
    QFETCH(double, zeroFrame);
    REQUIRE_PYDICOM_FILES(data);
    QTemporaryDir alone;
    QString path = data + "/" + file;
    if (!file.contains('/')) { // copied alone into a directory of its own
        path = alone.filePath(file.isEmpty() ? QStringLiteral("notes") : file);
        QVERIFY(file.isEmpty() ? QFile(path).open(QIODevice::WriteOnly)
                               : QFile::copy(data + "/" + file, path));
    }
    DicomFiles files;
    qint32 valid = -1;
    double readInterslice = -1, readMm = -1, frame = -1;
    files._d2_dicominfo(path, valid, readInterslice, readMm, frame);
    QCOMPARE(valid, file.isEmpty() ? 0 : 1);
    QCOMPARE(readInterslice, interslice);
    QCOMPARE(readMm, mm);
    QCOMPARE(frame, zeroFrame);
}

void TestDicomFiles::monochrome1AndAWindowOfWidthZeroShowTheSamePicture() {
    QTemporaryDir plain, inverted, minMax;
    const Phantom::Options options{.slices = 3, .size = 64};
    QVERIFY(Phantom::write(plain.path(), options));
    QVERIFY(Phantom::write(inverted.path(), Phantom::Options{.slices = 3, .size = 64, .monochrome1 = true}));
    QVERIFY(Phantom::write(minMax.path(), Phantom::Options{.slices = 3, .size = 64, .windowWidth = 0}));
    // The middle slice, through the centre of the head.
    const QImage a = convert(plain.filePath("slice0002.dcm"), plain.path());
    const QImage b = convert(inverted.filePath("slice0002.dcm"), inverted.path());
    QVERIFY2(difference(a, b).first <= 2, qPrintable(QString::number(difference(a, b).first)));
    QVERIFY(qGray(a.pixel(0, 0)) < 10); // air is black in both
    // Min-max: air at the bottom of the range, the scalp (the largest value) at the top.
    const QImage c = convert(minMax.filePath("slice0002.dcm"), minMax.path());
    QVERIFY(qGray(c.pixel(0, 0)) < 10);
    const Phantom::Geometry g = Phantom::geometry(options);
    QVERIFY(qGray(c.pixel(int(g.cx - g.rx + 2), 32)) > 240);
}

void TestDicomFiles::reloadingReadsNoHeaderAgainAndReleasesThePreviousVolume() {
    QTemporaryDir dir;
    QVERIFY(Phantom::write(dir.path(), Phantom::Options{.slices = 12, .size = 32}));
    Loading loading;
    QVERIFY(loading.load(dir.path()));
    QCOMPARE(loading.files.headersRead(), 12);
    QCOMPARE(loading.loader.report().converted, 12);
    const qint32 first = loading.state.VolumenActual;
    // A second load finds the JPEG and BMP files beside the series and reads no header again.
    QVERIFY(loading.load(dir.path(), false, true));
    QCOMPARE(loading.files.headersRead(), 12);
    QCOMPARE(loading.loader.report().slicesStacked, 12);
    QVERIFY(loading.state.VolumenActual != first);
    QCOMPARE(loading.library.volumeCount(), 1);
    QVERIFY(loading.library.volume(loading.state.VolumenActual)->lateralSlices());
}

QTEST_GUILESS_MAIN(TestDicomFiles)
#include "tst_dicom_files.moc"
