// Speed of `zokorvane-tool sites`: writes a 181 x 217 x 181 head of 1 mm voxels as NIfTI (RAS, placed
// as a template brain is), makes the demo study, then does what the command does for its first
// subject with a calibration on that head, step by step: open the study, load the series, count the
// stimuli, aim at the 50 cells, write the TSV, the overlay and the volume (both .nii.gz). The first
// run also fills the loader's picture cache, as the first load of a series on a station does.
//
// usage: zk-bench-sites [RUNS]     (default 5)

#include "core/SafeWrite.h"
#include "data/Study.h"
#include "imaging/NiftiFiles.h"
#include "results/StimulationSites.h"
#include "tools/DemoStudy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// An ellipsoidal head: bright scalp, dark skull, brain; air around it.
VolumeLayout::ScannerVolume head() {
    VolumeLayout::ScannerVolume v;
    v.dims = {181, 217, 181};
    // Index axes along RAS x, y and z, 1 mm; the program's patient space is LPS.
    v.affine.origin = {90, 126, -72};
    v.affine.axes = {VolumeLayout::Vec3{-1, 0, 0}, VolumeLayout::Vec3{0, -1, 0}, VolumeLayout::Vec3{0, 0, 1}};
    v.voxels.resize(std::size_t(181) * 217 * 181);
    for (int k = 0; k < 181; ++k) {
        for (int j = 0; j < 217; ++j) {
            for (int i = 0; i < 181; ++i) {
                const double s = std::sqrt(std::pow((i - 90) / 70.0, 2) + std::pow((j - 108) / 90.0, 2) +
                                           std::pow((k - 90) / 80.0, 2));
                v.voxels[v.index(i, j, k)] = s > 1 ? 0 : s > 0.9 ? 250 : s > 0.82 ? 20 : 150;
            }
        }
    }
    return v;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    const QString series = dir.filePath(QStringLiteral("t1.nii.gz"));
    QString why;
    if (!NiftiFiles::write(series, head(), &why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    const QString study = DemoStudy::create(dir.filePath(QStringLiteral("demo")));
    SubjectCalibration::Record record;
    record.subjectId = 1;
    record.series = series;
    // In the layout (columns to the back, rows down, slices to the right): the Ilion at the back of
    // the head's middle, the calibration pair across it.
    record.landmarks = {SubjectCalibration::Landmark{40, 90, 90}, SubjectCalibration::Landmark{180, 90, 90},
                        SubjectCalibration::Landmark{198, 90, 90}};

    const char *const steps[] = {"open study", "load series", "count",  "aim",
                                 "tsv",        "overlay",     "volume", "total"};
    std::vector<std::vector<double>> ms(std::size(steps));
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer total, step;
        total.start();
        step.start();
        auto lap = [&](int i) {
            ms[std::size_t(i)].push_back(step.nsecsElapsed() / 1e6);
            step.restart();
        };
        Study::Opened opened = Study::open(study);
        if (!opened.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(opened.error));
            return 1;
        }
        lap(0);
        StimulationSites::SubjectMr mr;
        if (!mr.load(record, &why)) {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            return 1;
        }
        lap(1);
        StimulationComparison::Conditions conditions; // as the tool reads no filter option
        conditions.openBounds = true;
        conditions.bounds.fill(QString());
        PhospheneMap::Selection selection{StimulationComparison::buildFilter(conditions), {1}};
        const PhospheneMap::Counts counts = PhospheneMap::count(opened.db, selection);
        lap(2);
        const StimulationSites::Sites sites = mr.sites(15, counts);
        lap(3);
        QString why;
        if (!SafeWrite::writeBytes(dir.filePath(QStringLiteral("sites.tsv")), StimulationSites::tsv(sites),
                                   &why)) {
            qFatal("%s", qPrintable(why));
        }
        lap(4);
        NiftiFiles::write(dir.filePath(QStringLiteral("sites.nii.gz")),
                          StimulationSites::overlay(sites, mr.volume()));
        lap(5);
        NiftiFiles::write(dir.filePath(QStringLiteral("volume.nii.gz")), mr.volume());
        lap(6);
        Study::close(opened.db);
        ms[7].push_back(total.nsecsElapsed() / 1e6);
    }
    std::printf("sites on a 181 x 217 x 181 volume, %d runs (first / median ms):\n", runs);
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        std::printf("  %-12s %8.1f %8.1f\n", steps[i], ms[i].front(), median(ms[i]));
    }
    return 0;
}
