// Speed of the brain space on a head of 1 mm voxels, 181 x 217 x 181: the template head's voxels
// placed in another scanner space (turned by about 10 degrees, scaled by about 6 %, shifted by about
// 20 mm) as a subject's series; a large study whose subjects are all calibrated on it. Times the
// normalisation of one subject (with the process's peak memory after it), then, with every subject
// normalised, the group map of all of them and `sites` with the MNI columns for one. The group map
// is timed as a study normalised by this version holds it (the cells' aiming stored with each
// normalisation) and once more without it, as a study normalised by an earlier version (every series
// loaded).
//
// usage: zk-bench-brain [SUBJECTS] [STIMULI] [RUNS] [own]     (defaults 50, 25000 and 5; "own": each
//        subject's series a copy of its own, loaded apart, as in a study of different people)

#include "brain/BrainSpace.h"
#include "brain/BrainTemplate.h"
#include "brain/Normalise.h"
#include "data/Study.h"
#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"
#include "imaging/NiftiFiles.h"
#include "imaging/StoredCalibration.h"
#include "results/GroupMap.h"
#include "results/StimulationSites.h"
#include "tools/DemoStudy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Vec3 = VolumeLayout::Vec3;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

// The subject -> MNI affine the head is made with (RAS mm, row-major).
constexpr std::array<double, 16> Truth{0.93,  -0.17, 0.05, 18, 0.18, 1.03, -0.16, -21,
                                       -0.02, 0.17,  0.96, 12, 0,    0,    0,     1};

// The template's volume placed in the subject's space: a patient point p of the template (LPS) is at
// flip(truth^-1(flip(p))) in the subject's, flip turning LPS into RAS and back.
VolumeLayout::ScannerVolume subjectHead(VolumeLayout::ScannerVolume head) {
    const std::array<double, 16> back = Normalise::inverse(Truth);
    const auto place = [&](const Vec3 &lps) {
        const Vec3 ras = Normalise::apply(back, {-lps[0], -lps[1], lps[2]});
        return Vec3{-ras[0], -ras[1], ras[2]};
    };
    const Vec3 origin = place(head.affine.origin);
    for (Vec3 &axis : head.affine.axes) {
        const Vec3 end = place({head.affine.origin[0] + axis[0], head.affine.origin[1] + axis[1],
                                head.affine.origin[2] + axis[2]});
        axis = {end[0] - origin[0], end[1] - origin[1], end[2] - origin[2]};
    }
    head.affine.origin = origin;
    return head;
}

[[noreturn]] void fail(const QString &why) {
    std::fprintf(stderr, "%s\n", qPrintable(why));
    std::exit(1);
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int subjects = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const int stimuli = argc > 2 ? std::max(1, std::atoi(argv[2])) : 25000;
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const bool own = argc > 4 && std::strcmp(argv[4], "own") == 0;
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    const BrainTemplate tpl = BrainTemplate::find();
    VolumeLayout::ScannerVolume head;
    QString why;
    if (!NiftiFiles::read(tpl.head, head, &why)) {
        fail(why);
    }
    const QString series = dir.filePath(QStringLiteral("subject.nii.gz"));
    if (!NiftiFiles::write(series, subjectHead(head), &why)) {
        fail(why);
    }
    const QString study = dir.filePath(QStringLiteral("large.sqlite"));
    DemoStudy::createLarge(study, subjects, stimuli);
    Study::Opened opened = Study::open(study);
    if (!opened.ok()) {
        fail(opened.error);
    }
    SubjectCalibration::Record calibration;
    calibration.series = series;
    calibration.fingerprint = StoredCalibration::niftiFingerprint(series);
    // In the loader's layout of this head: the calibration pair across the head, the Ilion at its back.
    calibration.landmarks = {SubjectCalibration::Landmark{3, 139, 90},
                             SubjectCalibration::Landmark{211, 119, 90},
                             SubjectCalibration::Landmark{211, 119, 90}};
    calibration.distance = 200;
    calibration.accepted = QDateTime::currentDateTimeUtc();
    for (int s = 1; s <= subjects; ++s) {
        calibration.subjectId = s;
        if (own && s > 1) {
            const QString copy = dir.filePath(QStringLiteral("subject%1.nii.gz").arg(s));
            if (!QFile::copy(series, copy)) {
                fail(QStringLiteral("Cannot copy the head to %1").arg(copy));
            }
            calibration.series = copy;
        }
        SubjectCalibration::write(opened.db, calibration);
    }
    calibration.series = series;
    std::printf("head of %d x %d x %d voxels, %d subjects calibrated on it, %d stimuli; peak %.0f MB\n",
                head.dims[0], head.dims[1], head.dims[2], subjects, stimuli, peakMegabytes());

    QElapsedTimer timer;
    timer.start();
    std::optional<SubjectAiming::Record> aiming;
    SubjectNormalisation::Record normalisation =
        Normalise::compute(Normalise::prepare(opened.db, 1, tpl), {}, &aiming);
    if (!aiming) {
        fail(QStringLiteral("The calibration places no grid on the head"));
    }
    const double normaliseSeconds = timer.nsecsElapsed() / 1e9;
    const Normalise::Parts parts = Normalise::decompose(normalisation.subjectToMni);
    std::printf("normalise: %.1f s, metric %.3f, scales %.3f %.3f %.3f; process peak %.0f MB\n",
                normaliseSeconds, normalisation.metric, parts.scales[0], parts.scales[1], parts.scales[2],
                peakMegabytes());
    double worst = 0;
    for (double x = -60; x <= 60; x += 20) {
        for (double y = -90; y <= 60; y += 25) {
            for (double z = -30; z <= 70; z += 20) {
                const Vec3 found = Normalise::apply(normalisation.subjectToMni,
                                                    Normalise::apply(Normalise::inverse(Truth), {x, y, z}));
                worst = std::max(worst, std::hypot(found[0] - x, found[1] - y, found[2] - z));
            }
        }
    }
    std::printf("  largest error over the brain's box against the affine the head was made with: %.2f mm\n",
                worst);
    for (int s = 1; s <= subjects; ++s) {
        // A copy has the same header, so the same fingerprint; the calibrations differ only in the
        // series' path, which the aiming does not depend on.
        normalisation.subjectId = aiming->subjectId = s;
        SubjectNormalisation::write(opened.db, normalisation, &*aiming);
    }

    StimulationComparison::Conditions conditions; // as the tool reads no filter option
    conditions.openBounds = true;
    conditions.bounds.fill(QString());
    GroupMap::Options options;
    options.filter = StimulationComparison::buildFilter(conditions);
    std::vector<double> groupMs, sitesMs;
    GroupMap::Result result;
    for (int run = 0; run < runs; ++run) {
        timer.restart();
        result = GroupMap::compute(opened.db, options, tpl);
        groupMs.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        StimulationSites::SubjectMr mr;
        calibration.subjectId = 1;
        if (!mr.load(calibration, &why)) {
            fail(why);
        }
        StimulationSites::Sites sites = mr.sites(15, PhospheneMap::Counts{});
        StimulationSites::addBrainSpace(sites, opened.db, calibration);
        const QByteArray tsv = StimulationSites::tsv(sites);
        sitesMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%s", own ? "each subject on a series of its own: " : "");
    std::printf("group map of %lld subjects, %lld targets, %lld areas: first %.0f ms, median %.0f ms\n",
                qlonglong(result.subjects.size()), qlonglong(result.targets.size()),
                qlonglong(result.areas.size()), groupMs.front(), median(groupMs));
    if (!QSqlQuery(opened.db).exec(QStringLiteral("DELETE FROM mr_aiming"))) {
        fail(QStringLiteral("Cannot delete the stored aiming"));
    }
    timer.restart();
    const GroupMap::Result loaded = GroupMap::compute(opened.db, options, tpl);
    const bool same = loaded.rate.voxels == result.rate.voxels &&
                      loaded.counts.voxels == result.counts.voxels &&
                      loaded.areas.size() == result.areas.size();
    std::printf("  without the stored aiming (%lld subjects aimed on their series loaded): %.0f ms, %s\n",
                qlonglong(loaded.seriesLoaded.size()), timer.nsecsElapsed() / 1e6,
                same ? "the same map" : "ANOTHER MAP");
    std::printf("sites with the MNI columns (load, aim, MNI, area, brain distance, table): first %.0f ms, "
                "median %.0f ms\n",
                sitesMs.front(), median(sitesMs));
    Study::close(opened.db);
    return 0;
}
