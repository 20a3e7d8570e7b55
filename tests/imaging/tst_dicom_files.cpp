#include "imaging/DicomFiles.h"
#include "imaging/NiftiFiles.h"
#include "imaging/Volume.h"
#include "support/Files.h"
#include "support/ImagingFixtures.h"
#include "support/NiftiBytes.h"

#include <QImage>
#include <QScopeGuard>

#include <cmath>
#include <cstring>
#include <map>
#include <numeric>

using namespace Qt::StringLiterals;
using namespace VolumeLayout;

namespace {

// The DICOM test files of Debian's python3-pydicom package (scripts/install-deps.sh installs it), or
// those in ZK_PYDICOM_DATA.
const QString Pydicom = qEnvironmentVariable(
    "ZK_PYDICOM_DATA", QStringLiteral("/usr/lib/python3/dist-packages/pydicom/data/test_files"));

// NOLINTBEGIN(bugprone-macro-parentheses): the argument names the variable the macro declares.
#define REQUIRE_PYDICOM_FILES(dir)                                                                           \
    const QString dir = Pydicom;                                                                             \
    if (!QFileInfo::exists(dir + "/MR_small.dcm")) {                                                         \
        QSKIP("pydicom's DICOM test files are missing: install python3-pydicom (scripts/install-deps.sh)");  \
    }
// NOLINTEND(bugprone-macro-parentheses)

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

// One file copied alone into a folder of its own under a name without extension, decoded as the
// loader decodes it: the slice, or a null picture with *error set.
QImage decodeAlone(const QString &file, QString *error) {
    QTemporaryDir alone;
    const bool copied = QFile::copy(file, alone.filePath("1.2.826.0.1.3680043.2.1125.1"));
    const DicomFiles::Scan scan = DicomFiles::scanFolder(alone.path());
    VolumeLayout::ScannerVolume volume;
    QStringList failures{
        QStringLiteral("%1 copied: %2, %3 series found").arg(file).arg(copied).arg(scan.series.size())};
    if (scan.series.size() != 1 || !DicomFiles::decodeSeries(scan.series.front(), volume, &failures)) {
        *error = failures.join(QLatin1Char('\n'));
        return {};
    }
    return QImage(volume.voxels.data(), volume.dims[0], volume.dims[1], volume.dims[0],
                  QImage::Format_Grayscale8)
        .copy();
}

// 7 x 5 x 4 voxels, each with its own grey from 0 to 255, placed obliquely (rotated about z, then
// x) with a reflection and three different voxel sizes.
ScannerVolume sample() {
    ScannerVolume volume{{7, 5, 4}, {}, {}};
    for (int n = 0; n < 140; ++n) {
        volume.voxels.push_back(std::uint8_t(std::lround(n * 255.0 / 139)));
    }
    const double ca = std::cos(0.35), sa = std::sin(0.35), cb = std::cos(0.2), sb = std::sin(0.2);
    volume.affine = {{-12.5, 30.25, 7.75},
                     {Vec3{0.9 * ca, 0.9 * sa, 0}, Vec3{-1.3 * sa * cb, 1.3 * ca * cb, 1.3 * sb},
                      Vec3{-2.5 * sa * sb, 2.5 * ca * sb, -2.5 * cb}}};
    return volume;
}

double affineDistance(const Affine &a, const Affine &b) {
    double largest = 0;
    for (int r = 0; r < 3; ++r) {
        for (const double d : {a.origin[r] - b.origin[r], a.axes[0][r] - b.axes[0][r],
                               a.axes[1][r] - b.axes[1][r], a.axes[2][r] - b.axes[2][r]}) {
            largest = std::max(largest, std::abs(d));
        }
    }
    return largest;
}

} // namespace

// Real scanner files (pydicom's test set, from Debian) and phantom variants through the DICOM side:
// recognition by content, every transfer syntax DCMTK decodes here, windows, series and their order;
// and NIfTI files written and read back, converted from other datatypes, or refused.
class TestDicomFiles : public QObject {
    Q_OBJECT

private slots:
    // Every encoding of MR_small decodes to the plain file's picture, a lossless one to the very same
    // grey levels (one rounding rule for every decoder), or is refused naming the file and why.
    void everyEncodingOfMrSmallDecodesToTheSamePictureOrIsRefused_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("largest");     // grey levels off the plain file's picture
        QTest::addColumn<QString>("refusal"); // "" when it decodes
        QTest::newRow("implicit little endian") << u"MR_small_implicit.dcm"_s << 2 << QString();
        QTest::newRow("big endian") << u"MR_small_bigendian.dcm"_s << 2 << QString();
        QTest::newRow("RLE") << u"MR_small_RLE.dcm"_s << 0 << QString();
        QTest::newRow("JPEG-LS lossless") << u"MR_small_jpeg_ls_lossless.dcm"_s << 0 << QString();
        QTest::newRow("padded") << u"MR_small_padded.dcm"_s << 2 << QString();
        QTest::newRow("JPEG 2000 lossless") << u"MR_small_jp2klossless.dcm"_s << 0 << u"JPEG 2000"_s;
        QTest::newRow("a colour image") << u"SC_rgb_small_odd.dcm"_s << 0 << u"colour image (RGB)"_s;
    }

    void everyEncodingOfMrSmallDecodesToTheSamePictureOrIsRefused() {
        QFETCH(QString, file);
        QFETCH(int, largest);
        QFETCH(QString, refusal);
        REQUIRE_PYDICOM_FILES(data);
        QString error;
        const QImage reference = decodeAlone(data + "/MR_small.dcm", &error);
        QVERIFY2(reference.size() == QSize(64, 64), qPrintable(error));
        const QImage variant = decodeAlone(data + "/" + file, &error);
        if (!refusal.isEmpty()) {
            QVERIFY2(variant.isNull() && error.contains(refusal) && error.contains("1.2.826"),
                     qPrintable(error));
            return;
        }
        QVERIFY2(!variant.isNull(), qPrintable(error));
        const auto [found, mean] = difference(reference, variant);
        QVERIFY2(found <= largest && mean < 0.5,
                 qPrintable(QStringLiteral("largest %1, mean %2").arg(found).arg(mean)));
        // Not a flat picture: the file's window spreads the grey levels.
        QImage flat(reference.size(), QImage::Format_Grayscale8);
        flat.fill(qGray(reference.pixel(0, 0)));
        QVERIFY(difference(reference, flat).first > 100);
    }

    void aRealLocalizerFolderGivesOneSeriesPerPlane() {
        REQUIRE_PYDICOM_FILES(data);
        // MR700: a radial localizer whose files are named by number without extension; its slices lie in
        // planes of several orientations, so it is listed as several series. (The order of a series'
        // slices by position: the shuffled phantoms of tst_phantom_geometry.)
        const DicomFiles::Scan scan = DicomFiles::scanFolder(data + "/dicomdirtests/98892003/MR700");
        int images = 0;
        for (const DicomFiles::Series &series : scan.series) {
            images += int(series.slices.size());
        }
        QCOMPARE(QList<int>({scan.skippedFiles, images}), QList<int>({0, scan.filesSeen}));
        QVERIFY(scan.series.size() >= 2);
    }

    void everyFileOfARealTestSetIsSortedOutAndEverySeriesDecodesOrSaysWhy() {
        REQUIRE_PYDICOM_FILES(data);
        // pydicom's own test set: every kind of DICOM object, truncated and malformed files among them.
        const DicomFiles::Scan scan = DicomFiles::scanFolder(data);
        int images = 0;
        for (const DicomFiles::Series &series : scan.series) {
            images += int(series.slices.size());
            VolumeLayout::ScannerVolume volume;
            QStringList failures;
            const bool decoded = DicomFiles::decodeSeries(series, volume, &failures, 2);
            QVERIFY2(decoded || !failures.isEmpty(), qPrintable(series.label()));
            for (const QString &failure : failures) {
                QVERIFY2(failure.startsWith(data), qPrintable(failure)); // names the file
            }
        }
        QVERIFY(scan.skippedFiles > 0 && images > scan.skippedFiles);
        QCOMPARE(scan.filesSeen, int(QDir(data).entryList(QDir::Files | QDir::Hidden).size()));
    }

    // A head beside a DICOMDIR, a note and a second, smaller series, in a read-only folder whose name
    // has a dot: the larger series loads unless the other is chosen, and nothing is written beside them.
    void foldersWithOtherFilesAndSeveralSeriesLoadTheChosenSeries() {
        REQUIRE_PYDICOM_FILES(data);
        QTemporaryDir root;
        const QString mixed = root.filePath("mr.v1");
        QVERIFY(Phantom::write(mixed, Phantom::Options{.slices = 20, .size = 48, .shuffleNames = true}));
        QVERIFY(Phantom::write(
            mixed, Phantom::Options{.slices = 6, .size = 32, .orientation = Phantom::Orientation::Coronal}));
        QVERIFY(QFile::copy(data + "/dicomdirtests/DICOMDIR", mixed + "/DICOMDIR"));
        QVERIFY(putFile(mixed + "/notes.txt", "scanned on 3T\n"));
        const QStringList before = folderEntries(mixed);
        // Read-only, as on a CD (root writes anyway; the listing below is what shows nothing was written).
        const QFileDevice::Permissions writable = QFile::permissions(mixed);
        QVERIFY(QFile::setPermissions(mixed, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const auto restore = qScopeGuard([&] { QFile::setPermissions(mixed, writable); });

        Loading loading;
        QVERIFY(loading.load(mixed));
        const qint32 first = loading.state.VolumenActual;
        const SeriesLoader::Report &report = loading.loader.report();
        QCOMPARE(QList<int>(
                     {report.seriesFound, report.skippedFiles, report.slicesStacked, report.irregularFiles}),
                 QList<int>({2, 2, 20, 0}));
        const int smaller = loading.loader.scan(mixed).series[0].slices.size() == 6 ? 0 : 1;
        QVERIFY(loading.loader.i_CargarImagenes(mixed, false, false, smaller));
        QCOMPARE(loading.loader.report().orientation, "coronal");
        QVERIFY(loading.library.volume(first) == nullptr); // the first load's volume is released
        QCOMPARE(folderEntries(mixed), before);
    }

    // The texts in the interface's language are the catalogues' (tst_translations).
    void anIrregularSeriesIsOneMessageThatSaysHowManyAndHow() {
        QTemporaryDir dir;
        QVERIFY(Phantom::write(dir.path(), Phantom::Options{.slices = 12, .size = 32}));
        QVERIFY(QFile::remove(dir.filePath("slice0006.dcm"))); // a gap of two slices
        Loading loading;
        QStringList warnings;
        loading.loader.setWarning([&](const QString &text) { warnings << text; });
        QVERIFY(loading.load(dir.path()) && loading.loader.report().irregularFiles == 1);
        QVERIFY2(
            warnings.size() == 1 &&
                warnings[0].endsWith("of 11 files, 1 are not 2 mm from the slice before (from 2 to 4 mm)."),
            qPrintable(warnings.join('\n')));
    }

    // The imaging state gets the series' own pixel size and slice spacing, placed or not; without a
    // slice spacing either, the pixel size stands for it.
    void aSeriesGivesItsOwnSpacing_data() {
        QTest::addColumn<bool>("placed");
        QTest::addColumn<bool>("spaced");
        QTest::addColumn<double>("interslice");
        QTest::newRow("placed") << true << true << 1.5;
        QTest::newRow("without orientation or position") << false << true << 1.5;
        QTest::newRow("nor slice spacing") << false << false << 0.8;
    }
    void aSeriesGivesItsOwnSpacing() {
        QFETCH(bool, placed);
        QFETCH(bool, spaced);
        QFETCH(double, interslice);
        QTemporaryDir dir;
        QVERIFY(Phantom::write(dir.path(), Phantom::Options{.slices = 6,
                                                            .size = 32,
                                                            .spacing = 0.8,
                                                            .thickness = 1.5,
                                                            .placed = placed,
                                                            .spaced = spaced}));
        Loading loading;
        QVERIFY(loading.load(dir.path(), false, true));
        QCOMPARE(QList<double>({loading.state.Interslice, loading.state.MmPixelFijo}),
                 QList<double>({interslice, 0.8}));
    }

    void monochrome1AndAWindowOfWidthZeroShowTheSamePicture() {
        QTemporaryDir plain, inverted, minMax;
        const Phantom::Options options{.slices = 3, .size = 64};
        QVERIFY(
            Phantom::write(plain.path(), options) &&
            Phantom::write(inverted.path(), Phantom::Options{.slices = 3, .size = 64, .monochrome1 = true}) &&
            Phantom::write(minMax.path(), Phantom::Options{.slices = 3, .size = 64, .windowWidth = 0}));
        // The middle slice, through the centre of the head.
        QString error;
        const QImage a = decodeAlone(plain.filePath("slice0002.dcm"), &error);
        const QImage b = decodeAlone(inverted.filePath("slice0002.dcm"), &error);
        QVERIFY2(difference(a, b).first <= 2, qPrintable(QString::number(difference(a, b).first)));
        QVERIFY(qGray(a.pixel(0, 0)) < 10); // air is black in both
        // Min-max: air at the bottom of the range, the scalp (the largest value) at the top.
        const QImage c = decodeAlone(minMax.filePath("slice0002.dcm"), &error);
        QVERIFY(qGray(c.pixel(0, 0)) < 10);
        const Phantom::Geometry g = Phantom::geometry(options);
        QVERIFY(qGray(c.pixel(int(g.cx - g.rx + 2), 32)) > 240);
    }

    // Scanners window (and some rescale) each file on its own; the volume is windowed once, so a value
    // is one grey in every slice, and the noise of a slice outside the head stays dark.
    void everySliceOfAVolumeShowsAValueAsTheSameGrey_data() {
        QTest::addColumn<bool>("ownWindows");
        QTest::newRow("each file its own window") << true;
        QTest::newRow("each file its own rescale slope") << false;
    }
    void everySliceOfAVolumeShowsAValueAsTheSameGrey() {
        QFETCH(bool, ownWindows);
        QTemporaryDir common, own;
        const Phantom::Options options{.slices = 16, .size = 48};
        Phantom::Options each = options;
        (ownWindows ? each.ownWindows : each.ownRescale) = true;
        QVERIFY(Phantom::write(common.path(), options) && Phantom::write(own.path(), each));
        Loading a, b;
        QVERIFY(a.load(common.path()) && b.load(own.path()));
        const std::vector<std::uint8_t> &reference = a.loader.layout().volume.voxels;
        const VolumeLayout::ScannerVolume &v = b.loader.layout().volume;
        QCOMPARE(v.voxels.size(), reference.size());
        // The greys of the voxels that share one grey in the reference (one stored value there).
        std::map<int, std::pair<int, int>> range;
        for (std::size_t i = 0; i < reference.size(); ++i) {
            auto [it, added] = range.try_emplace(reference[i], v.voxels[i], v.voxels[i]);
            it->second = {std::min(it->second.first, int(v.voxels[i])),
                          std::max(it->second.second, int(v.voxels[i]))};
        }
        for (const auto &[grey, seen] : range) {
            QVERIFY2(
                grey == 0 ? seen.second <= 3 : seen.second - seen.first <= 1,
                qPrintable(
                    QStringLiteral("grey %1 became %2 to %3").arg(grey).arg(seen.first).arg(seen.second)));
        }
    }

    // Two echoes, or volumes told apart only by their repeated positions, beside a smaller series of
    // one volume: that one loads unless another is chosen, and a series of several loads one volume.
    void aSeriesOfSeveralVolumesLoadsOneOfThem_data() {
        QTest::addColumn<bool>("echoes");
        QTest::addColumn<int>("volumes");
        QTest::newRow("two echoes") << true << 2;
        QTest::newRow("three volumes at repeated positions") << false << 3;
    }
    void aSeriesOfSeveralVolumesLoadsOneOfThem() {
        QFETCH(bool, echoes);
        QFETCH(int, volumes);
        QTemporaryDir dir;
        QVERIFY(Phantom::write(
            dir.path(), Phantom::Options{.slices = 12, .size = 32, .volumes = volumes, .echoes = echoes}));
        QVERIFY(Phantom::write(dir.path(), Phantom::Options{.slices = 8, .size = 40, .shuffleNames = true}));
        Loading loading;
        QVERIFY(loading.load(dir.path()));
        QCOMPARE(QList<int>({loading.loader.report().slicesStacked, loading.loader.report().volumes}),
                 QList<int>({8, 1}));
        const DicomFiles::Scan &scan = loading.loader.scan(dir.path());
        const int several = scan.series[0].volumes > 1 ? 0 : 1;
        QCOMPARE(scan.series[std::size_t(several)].volumes, volumes);
        QVERIFY(loading.loader.i_CargarImagenes(dir.path(), false, false, several, volumes - 1));
        const SeriesLoader::Report &report = loading.loader.report();
        QCOMPARE(QList<int>({report.slicesStacked, report.volumes, report.volume}),
                 QList<int>({12, volumes, volumes - 1}));
        QVERIFY(!loading.loader.i_CargarImagenes(dir.path(), false, false, several, volumes));
    }

    // Slices are placed by their positions: three missing from the middle leave three black places, and
    // the slices after them stay where they were.
    void missingSlicesLeaveTheirPlacesEmpty() {
        QTemporaryDir whole, gap;
        const Phantom::Options options{.slices = 20, .size = 32};
        QVERIFY(Phantom::write(whole.path(), options) && Phantom::write(gap.path(), options));
        for (const char *name : {"slice0009.dcm", "slice0010.dcm", "slice0011.dcm"}) {
            QVERIFY(QFile::remove(gap.filePath(name)));
        }
        Loading a, b;
        QVERIFY(a.load(whole.path()) && b.load(gap.path()));
        QCOMPARE(b.loader.report().emptySlices, 3);
        const VolumeLayout::ScannerVolume &full = a.loader.layout().volume;
        std::vector<std::uint8_t> expected = full.voxels; // slices 8 to 10 black
        std::fill(expected.begin() + std::ptrdiff_t(full.index(0, 0, 8)),
                  expected.begin() + std::ptrdiff_t(full.index(0, 0, 11)), 0);
        QVERIFY(b.loader.layout().volume.dims == full.dims && b.loader.layout().volume.voxels == expected);
    }

    // A Siemens mosaic tiles an fMRI or diffusion acquisition in each picture: refused as such.
    void aMosaicIsRefusedAsAMosaic_data() {
        QTest::addColumn<bool>("oneFile");
        QTest::newRow("a series of mosaics") << false;
        QTest::newRow("a single mosaic") << true;
    }
    void aMosaicIsRefusedAsAMosaic() {
        QFETCH(bool, oneFile);
        QTemporaryDir dir;
        QVERIFY(Phantom::write(dir.path(), Phantom::Options{.slices = 4, .size = 32, .mosaic = true}));
        for (int k = 2; oneFile && k <= 4; ++k) {
            QVERIFY(
                QFile::remove(dir.filePath(QStringLiteral("slice%1.dcm").arg(k, 4, 10, QLatin1Char('0')))));
        }
        Loading loading;
        QVERIFY(!loading.load(dir.path()));
        const QStringList &failures = loading.loader.report().failures;
        QVERIFY2(failures.size() == 1 && failures[0].contains("mosaic"), qPrintable(failures.join('\n')));
    }

    // Written over an earlier file and read back: same sizes, greys and placement.
    void roundTrip_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("qformOnly");
        QTest::newRow("nii") << "a.nii" << false;
        QTest::newRow("upper-case NII.GZ") << "c.NII.GZ" << false;
        QTest::newRow("placed by the qform alone") << "d.nii" << true;
    }
    void roundTrip() {
        QFETCH(QString, name);
        QFETCH(bool, qformOnly);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const ScannerVolume volume = sample();
        QString error;
        QVERIFY(NiftiFiles::write(path, ScannerVolume{{2, 2, 2}, std::vector<std::uint8_t>(8), {}}));
        QVERIFY2(NiftiFiles::write(path, volume, &error), qPrintable(error));
        if (qformOnly) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(offsetof(nifti_1_header, sform_code)));
            QCOMPARE(file.write(QByteArray(2, '\0')), 2);
        }
        ScannerVolume back;
        QVERIFY2(NiftiFiles::read(path, back, &error), qPrintable(error));
        QVERIFY(back.dims == volume.dims && back.voxels == volume.voxels);
        QVERIFY(affineDistance(back.affine, volume.affine) < 1e-4);
        QCOMPARE(folderEntries(dir.path()), {name});
    }

    // Other datatypes, scaling, NIfTI-2 and the grey range: {index, grey} probes and the placement
    // in LPS {x, y, z sizes (diagonal), origin}.
    void conversion_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("dims");
        QTest::addColumn<QList<int>>("probes");
        QTest::addColumn<QList<double>>("placement");
        std::vector<float> ramp(400);
        for (std::size_t n = 2; n < ramp.size(); ++n) {
            ramp[n] = float(n % 100);
        }
        ramp[0] = NAN, ramp[1] = 1e6;
        QTest::newRow("2D float, NaN and a far outlier, pixdim only")
            << handMade<nifti_1_header>({20, 20}, DT_FLOAT32, ramp, {0.5, 2, 3}) << QList<int>{20, 20, 1}
            << QList<int>{0, 0, 1, 255, 2, 5, 50, 129, 99, 255} << QList<double>{-0.5, -2, 3, 0, 0, 0};
        std::vector<std::int16_t> series(48, 1000); // the second volume must not count
        std::iota(series.begin(), series.begin() + 24, 0);
        QTest::newRow("NIfTI-2, 4D int16, negative slope, sform")
            << handMade<nifti_2_header>({4, 3, 2, 2}, DT_INT16, series, {1, 1, 1}, {2, 3, 4, 10, 20, 30}, -1)
            << QList<int>{4, 3, 2} << QList<int>{0, 255, 12, 122, 23, 0}
            << QList<double>{-2, -3, 4, -10, -20, 30};
    }
    void conversion() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, dims);
        QFETCH(QList<int>, probes);
        QFETCH(QList<double>, placement);
        QTemporaryDir dir;
        ScannerVolume volume;
        QString error;
        QVERIFY2(putFile(dir.filePath("in.nii"), bytes) &&
                     NiftiFiles::read(dir.filePath("in.nii"), volume, &error),
                 qPrintable(error));
        QCOMPARE(QList<int>(volume.dims.begin(), volume.dims.end()), dims);
        for (int n = 0; n < probes.size(); n += 2) {
            QCOMPARE(int(volume.voxels.at(probes[n])), probes[n + 1]);
        }
        const Affine expected{{placement[3], placement[4], placement[5]},
                              {Vec3{placement[0], 0, 0}, Vec3{0, placement[1], 0}, Vec3{0, 0, placement[2]}}};
        QVERIFY(affineDistance(volume.affine, expected) < 1e-9);
    }

    void refusedReads_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: no such file
        QTest::addColumn<QString>("reason");
        QTemporaryDir dir;
        const QString whole = dir.filePath("whole.nii.gz");
        QVERIFY(NiftiFiles::write(whole, sample()));
        const std::vector<std::uint8_t> grey(12, 7);
        QTest::newRow("missing") << "missing.nii" << QByteArray() << "does not exist";
        QTest::newRow("text") << "notes.nii" << QByteArray(400, 'x') << "not a NIfTI file";
        QTest::newRow("truncated gzip") << "cut.nii.gz" << fileBytes(whole).chopped(60) << "cut short";
        QTest::newRow("RGB") << "rgb.nii" << handMade<nifti_1_header>({2, 2}, DT_RGB24, grey, {1, 1, 1})
                             << "RGB24";
        QTest::newRow("zero voxel size")
            << "flat.nii" << handMade<nifti_1_header>({3, 2, 2}, DT_UINT8, grey, {1, 0, 1})
            << "zero voxel size";
        QTest::newRow("2^33 voxels") << "huge.nii"
                                     << handMade<nifti_2_header>({65536, 65536, 2}, DT_UINT8,
                                                                 std::vector<char>{}, {1, 1, 1})
                                     << "damaged header";
    }
    void refusedReads() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(bytes.isNull() || putFile(path, bytes));
        ScannerVolume volume = sample();
        QString error;
        QVERIFY2(!NiftiFiles::read(path, volume, &error) && error.startsWith(path) && error.contains(reason),
                 qPrintable(error));
        QCOMPARE(volume.voxels, sample().voxels); // left as it was
    }

    // A write into a folder that does not exist says why and leaves nothing behind.
    void refusedWrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing/out.nii.gz");
        QString error;
        QVERIFY(!NiftiFiles::write(path, sample(), &error));
        QCOMPARE(error, QStringLiteral("Cannot write %1: No such file or directory").arg(path));
        QCOMPARE(folderEntries(dir.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestDicomFiles)
#include "tst_dicom_files.moc"
