#include "imaging/NiftiFiles.h"
#include "support/Files.h"
#include "support/NiftiBytes.h"

#include <cmath>
#include <cstring>
#include <numeric>

using namespace VolumeLayout;

namespace {

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

class TstNiftiFiles : public QObject {
    Q_OBJECT

private slots:
    // Written over an earlier file and read back: same sizes, greys and placement.
    void roundTrip_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("qformOnly");
        QTest::newRow("nii") << "a.nii" << false;
        QTest::newRow("nii.gz") << "b.nii.gz" << false;
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

QTEST_GUILESS_MAIN(TstNiftiFiles)
#include "tst_nifti_files.moc"
