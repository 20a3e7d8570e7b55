#include "brain/BrainTemplate.h"
#include "core/AppState.h"
#include "data/StudyState.h"
#include "data/SubjectNormalisation.h"
#include "imaging/NiftiFiles.h"
#include "imaging/PhantomWriter.h"
#include "results/GroupMap.h"
#include "results/PhospheneMapWindow.h"
#include "results/StimulationSites.h"
#include "results/StudyExport.h"
#include "subjects/elegirpaciente.h"
#include "support/Files.h"
#include "support/MessageLog.h"
#include "support/MrRecords.h"
#include "support/Widgets.h"

#include <QSqlQuery>
#include <QTableWidget>

#include <cmath>
#include <numeric>

using namespace Qt::StringLiterals;

using StimulationSites::Vec3;

namespace {

// The phantom head of 49 slices 4 mm apart, in any orientation and tilt: the same anatomy.
Phantom::Options head(Phantom::Orientation orientation = Phantom::Orientation::Sagittal, double tilt = 0,
                      int size = 49, double spacing = 4) {
    return {.slices = 49,
            .size = size,
            .spacing = spacing,
            .thickness = 4,
            .orientation = orientation,
            .tiltDegrees = tilt};
}

// The landmarks on the same anatomy: the calibration pair across the face, the Ilion at the back.
SubjectCalibration::Record calibration(const QString &series, const Phantom::Options &options) {
    const Phantom::Geometry g = Phantom::geometry(options);
    return calibrationOf(
        1, series, {},
        {SubjectCalibration::Landmark{std::round(g.cx - g.rx), std::round(g.cy), std::round(g.cz)},
         SubjectCalibration::Landmark{std::round(g.cx), std::round(g.cy), std::round(g.cz)},
         SubjectCalibration::Landmark{std::round(g.cx + g.rx - 0.5), std::round(g.cy), std::round(g.cz)}});
}

// The values of a column of TSV lines, the first of which names the columns.
QList<QByteArray> column(const QList<QByteArray> &lines, const QByteArray &name) {
    const qsizetype at = lines.first().split('\t').indexOf(name);
    QList<QByteArray> values;
    for (const QByteArray &line : lines.mid(1)) {
        values << line.split('\t').value(at);
    }
    return values;
}

bool sitesOf(const Phantom::Options &options, double depth, StimulationSites::Sites &sites,
             StimulationSites::SubjectMr &mr, QTemporaryDir &dir, QString &why) {
    if (!Phantom::write(dir.path(), options, &why) || !mr.load(calibration(dir.path(), options), &why)) {
        return false;
    }
    sites = mr.sites(depth, {});
    return true;
}

double distance(const Vec3 &a, const Vec3 &b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Turns a RAS point back by the phantom's tilt about the acquisition's row direction (patient space).
Vec3 untilted(const Vec3 &ras, Phantom::Orientation orientation, double degrees) {
    const Vec3 p{-ras[0], -ras[1], ras[2]};
    const Vec3 axis = orientation == Phantom::Orientation::Sagittal ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    const double t = -degrees * M_PI / 180;
    const double d = axis[0] * p[0] + axis[1] * p[1] + axis[2] * p[2];
    const Vec3 k{axis[1] * p[2] - axis[2] * p[1], axis[2] * p[0] - axis[0] * p[2],
                 axis[0] * p[1] - axis[1] * p[0]};
    Vec3 q{};
    for (int a = 0; a < 3; ++a) {
        q[a] = p[a] * std::cos(t) + k[a] * std::sin(t) + axis[a] * d * (1 - std::cos(t));
    }
    return {-q[0], -q[1], q[2]};
}

// The demo study with some subjects calibrated by the tool, opened as the program opens it.
struct CalibratedDemo {
    QTemporaryDir dir;
    QString said; // what the tool or the opening said when a step failed
    AppState state;
    Vec3 mean{0, 0, 0};

    // With `normalised`, subject 1's mean target at 15 mm (RAS mm) is kept for normalise(), and
    // subject 1 normalised.
    bool open(const QStringList &subjects, bool normalised = false) {
        const QString study = calibratedDemo(dir.path(), subjects, &said);
        said = study.isEmpty() ? said : AbreBaseDatos(state, study);
        if (study.isEmpty() || !said.isEmpty()) {
            return false;
        }
        if (normalised) {
            StimulationSites::SubjectMr mr;
            if (!mr.load(*SubjectCalibration::read(state.BaseDatos, 1), &said)) {
                return false;
            }
            for (const StimulationSites::Site &site : mr.sites(15, {}).cells) {
                for (std::size_t a = 0; a < 3; ++a) {
                    mean[a] += site.target[a] / GridCells::Count;
                }
            }
            normalise(1);
        }
        return true;
    }

    // Stores a normalisation of the subject that carries `mean`, shrunk by 0.9, to the occipital pole
    // (MNI 0, -82, 6): the demo's targets then lie in the visual cortex.
    void normalise(qint32 subject) const {
        SubjectNormalisation::write(
            state.BaseDatos,
            normalisationOf(subject, SubjectCalibration::read(state.BaseDatos, subject)->fingerprint,
                            {0.9, 0, 0, -0.9 * mean[0], 0, 0.9, 0, -82 - 0.9 * mean[1], 0, 0, 0.9,
                             6 - 0.9 * mean[2], 0, 0, 0, 1}));
    }
};

} // namespace

Q_DECLARE_METATYPE(Phantom::Options)

// The sites of a calibrated subject in the scanner's space, and their files.
class TestStimulationSites : public QObject {
    Q_OBJECT

private slots:
    // The same head written another way, landmarks on the same anatomy: the same sites in the world,
    // each target `depth` mm beneath its scalp point on the way to the head centre.
    void theSameHeadInAnyOrientationGivesTheSameSitesInTheWorld_data() {
        QTest::addColumn<Phantom::Options>("options");
        using enum Phantom::Orientation;
        QTest::newRow("axial") << head(Axial);
        QTest::newRow("coronal") << head(Coronal);
        QTest::newRow("axial tilted 10 degrees") << head(Axial, 10);
        QTest::newRow("sagittal tilted -15 degrees") << head(Sagittal, -15);
    }
    void theSameHeadInAnyOrientationGivesTheSameSitesInTheWorld() {
        QFETCH(Phantom::Options, options);
        const double depth = 12;
        QTemporaryDir a, b;
        StimulationSites::SubjectMr ra, rb;
        StimulationSites::Sites reference, other;
        QString why;
        QVERIFY2(sitesOf(head(), depth, reference, ra, a, why), qPrintable(why));
        QVERIFY2(sitesOf(options, depth, other, rb, b, why), qPrintable(why));
        for (int cell = 0; cell < GridCells::Count; ++cell) {
            const StimulationSites::Site &p = reference.cells[std::size_t(cell)];
            const StimulationSites::Site &q = other.cells[std::size_t(cell)];
            for (const auto &[mine, theirs] : {std::pair{p.scalp, q.scalp}, std::pair{p.target, q.target}}) {
                const Vec3 back = untilted(theirs, options.orientation, options.tiltDegrees);
                QVERIFY2(distance(mine, back) <= 1.0,
                         qPrintable(
                             QString::asprintf("cell %d: (%.2f, %.2f, %.2f) against (%.2f, %.2f, %.2f)", cell,
                                               back[0], back[1], back[2], mine[0], mine[1], mine[2])));
            }
            QVERIFY(std::abs(distance(q.scalp, q.target) - depth) < 1e-6);
            QVERIFY(std::abs(distance(q.scalp, other.centre) - distance(q.target, other.centre) - depth) <
                    1e-6);
        }
        // The scanner's directions (RAS): cell 14 on the back of the head, column 9 on the subject's right
        // and column 0 on the left, row 4 above row 0.
        const auto at = [&](int cell) { return untilted(reference.cells[std::size_t(cell)].scalp, {}, 0); };
        const Vec3 c = reference.centre;
        QVERIFY(at(14)[1] < c[1] - 50 && std::abs(at(14)[0] - c[0]) < 2);
        QVERIFY(at(19)[0] > c[0] + 20 && at(10)[0] < c[0] - 20);
        QVERIFY(at(44)[2] > at(4)[2] + 20);
    }

    // The overlay lies on the volume's grid (its dimensions and affine) and holds a ball of 5 mm
    // around every target with stimuli, valued 1 + the rate in percent; nothing elsewhere.
    void theOverlayHasTheVolumesAffineAndBallsAtTheTargets() {
        QTemporaryDir dir;
        StimulationSites::SubjectMr mr;
        StimulationSites::Sites sites;
        QString why;
        QVERIFY2(sitesOf(head(Phantom::Orientation::Axial, 10, 96, 2), 15, sites, mr, dir, why),
                 qPrintable(why));
        const std::map<int, std::pair<int, int>> given{{14, {3, 1}}, {0, {2, 2}}, {27, {4, 0}}, {33, {0, 0}}};
        for (const auto &[cell, counts] : given) {
            sites.cells[std::size_t(cell)].counts = {.stimuli = counts.first, .yes = counts.second};
        }
        const QString path = dir.filePath("sites.nii");
        QVERIFY2(NiftiFiles::write(path, StimulationSites::overlay(sites, mr.volume()), &why),
                 qPrintable(why));
        // Read back with its values as stored (the NIfTI writer and reader: tst_dicom_files).
        VolumeLayout::ScannerVolume back;
        QVERIFY2(NiftiFiles::readLabels(path, back, &why), qPrintable(why));
        const VolumeLayout::ScannerVolume &volume = mr.volume();
        QVERIFY(back.dims == volume.dims && distance(back.affine.origin, volume.affine.origin) < 1e-3);
        for (std::size_t axis = 0; axis < 3; ++axis) {
            QVERIFY(distance(back.affine.axes[axis], volume.affine.axes[axis]) < 1e-4);
        }
        std::map<int, int> seen;
        for (int k = 0; k < volume.dims[2]; ++k) {
            for (int j = 0; j < volume.dims[1]; ++j) {
                for (int i = 0; i < volume.dims[0]; ++i) {
                    const int v = back.voxels[volume.index(i, j, k)];
                    if (v == 0) {
                        continue;
                    }
                    // Every marked voxel lies within 5 mm of the target of a cell with that value.
                    const Vec3 p = StimulationSites::toRas(volume.affine.map(i, j, k));
                    bool near = false;
                    for (const auto &[cell, counts] : given) {
                        const int value =
                            counts.first > 0 ? 1 + qRound(100.0 * counts.second / counts.first) : 0;
                        if (v == value && distance(p, sites.cells[std::size_t(cell)].target) <= 5.0 + 1e-9) {
                            near = true;
                            ++seen[cell];
                        }
                    }
                    QVERIFY2(near, qPrintable(QString::asprintf("voxel (%d, %d, %d) holds %d", i, j, k, v)));
                }
            }
        }
        // A ball of 5 mm holds about 524 mm3: some 65 voxels of 2 x 2 x 2 mm at these steps.
        for (const int cell : {14, 0, 27}) {
            QVERIFY2(seen[cell] > 40 && seen[cell] < 90, qPrintable(QString::number(seen[cell])));
        }
    }

    // The map window on the demo with subjects 1 and 3 (those with stimuli) calibrated and subject 1
    // normalised. "On the MR" with subject 1 chosen: the sites, with the map's counts, loaded when the
    // tab is shown; a click on a target chooses its cell, the saves write the sites and the overlay;
    // with two subjects chosen there is nothing to save. "In the brain": the group map computed when the
    // tab is shown, of subject 1, with a row per area reached; "Normalise..." is for subject 3, and once
    // its normaliser has stored one, the view recounts with both and nobody is left to normalise.
    void theMapWindowShowsTheSitesOnTheMrAndTheNormalisedTargetsInTheBrain() {
        MessageLog messages;
        CalibratedDemo demo;
        QVERIFY2(demo.open({"1", "3"}, true), qPrintable(demo.said));
        PhospheneMapWindow w(demo.state, LlenaListaPacientes);
        w.resize(1280, 660);
        auto *subjects = child<QListWidget>(&w, "subjectList");
        auto *saveSites = child<QPushButton>(&w, "saveSitesButton");
        QVERIFY(!saveSites->isEnabled());
        for (int i = 0; i < subjects->count(); ++i) {
            subjects->item(i)->setSelected(subjects->item(i)->data(Qt::UserRole).toInt() == 1);
        }
        QVERIFY(saveSites->isEnabled() && !w.sites()); // loaded when first needed
        child<QTabWidget>(&w, "viewTabs")->setCurrentWidget(child<QWidget>(&w, "mrTab"));
        auto *picture = child<QLabel>(&w, "mrPicture");
        QVERIFY2(w.sites(), qPrintable(picture->text()));
        StimulationSites::Sites counted = *w.sites(); // with the counts of the map shown
        StimulationSites::setCounts(counted, w.counts());
        QCOMPARE(StimulationSites::tsv(*w.sites()), StimulationSites::tsv(counted));
        StimulationSites::SubjectMr mr; // the view the window renders, made as it makes it
        QVERIFY(mr.load(*SubjectCalibration::read(demo.state.BaseDatos, 1)));
        const SitesPicture::View view(mr.volume(), mr.state().Incremento);
        QTest::mouseClick(picture, Qt::LeftButton, {},
                          view.at(w.sites()->cells[27], picture->contentsRect().size()).toPoint());
        QCOMPARE(w.cell(), 27);
        QVERIFY(w.saveSites(demo.dir.filePath("sites.tsv")));
        QCOMPARE(fileBytes(demo.dir.filePath("sites.tsv")), StimulationSites::tsv(*w.sites()));
        QVERIFY(w.saveOverlay(demo.dir.filePath("sites.nii.gz")) &&
                QFileInfo(demo.dir.filePath("sites.nii.gz")).size() > 0);
        subjects->selectAll();
        QVERIFY(!saveSites->isEnabled() && !w.sites());

        QList<qint32> asked;
        w.setNormaliser([&](QWidget *, const QSqlDatabase &, qint32 subject) {
            asked << subject;
            demo.normalise(subject);
            return true;
        });
        auto *button = child<QPushButton>(&w, "normaliseButton");
        QVERIFY(button->isEnabled() && !w.groupMap()); // computed when shown
        child<QTabWidget>(&w, "viewTabs")->setCurrentWidget(child<QWidget>(&w, "brainTab"));
        QVERIFY2(w.groupMap(), qPrintable(child<QLabel>(&w, "brainPicture")->text()));
        QCOMPARE(w.groupMap()->subjects, QList<qint32>{1});
        QCOMPARE(child<QTableWidget>(&w, "areaTable")->rowCount(), w.groupMap()->areas.size());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(asked, QList<qint32>{3});
        QVERIFY(w.groupMap() && !button->isEnabled());
        QCOMPARE(w.groupMap()->subjects, (QList<qint32>{1, 3}));
        QVERIFY(w.saveGroupMap(demo.dir.filePath("group.nii.gz")));
        QCOMPARE(messages.size(), 0);
    }

    // On the demo study with subject 1 calibrated, as a script runs it: a subject without calibration
    // has no sites; the counts of the sites are the map's for that subject, under the same filter; the
    // NIBS-BIDS export holds the subject's T1w and the sites as markers on it, and the stimuli of that
    // subject name their site, those of a subject without calibration do not; another series under the
    // calibrated name is refused.
    void theToolGivesTheMapsCountsAtTheSitesAndExportsThem() {
        QTemporaryDir dir;
        QString said;
        const QString study = calibratedDemo(dir.path(), {"1"}, &said);
        QVERIFY2(!study.isEmpty(), qPrintable(said));
        QCOMPARE(runProgram({}, {"sites", study, "--subject", "2"}, &said), 1);
        QVERIFY2(said.contains("no stored MR calibration"), qPrintable(said));
        // Under a filter, which the sites apply as the map does.
        QCOMPARE(runProgram(
                     {}, {"map", study, "--subjects", "1", "--coil", "1", "--csv", dir.filePath("map.csv")}),
                 0);
        QCOMPARE(runProgram({},
                            {"sites", study, "--subject", "1", "--coil", "1", "--tsv",
                             dir.filePath("sites.tsv"), "--nifti", dir.filePath("sites.nii.gz")},
                            &said),
                 0);
        // Only the last line end goes: a last row with no rate ends in an empty field.
        const QList<QByteArray> map = fileBytes(dir.filePath("map.csv")).chopped(1).split('\n');
        const QList<QByteArray> table = fileBytes(dir.filePath("sites.tsv")).chopped(1).split('\n');
        QList<QByteArray> counts; // each site's cell and counts, as the map writes them
        for (const QByteArray &line : table) {
            const QList<QByteArray> fields = line.split('\t');
            counts << (QList<QByteArray>{fields.first()} + fields.mid(9, 5)).join(',');
        }
        QCOMPARE(counts.mid(1), map.mid(1));

        const QString bids = dir.filePath("bids"), nibs = bids + "/sub-%1/nibs/sub-%1_task-phosphene_";
        QCOMPARE(runProgram({}, {"export", study, bids, "--format", "nibs-bids"}), 0);
        QVERIFY(QFileInfo(bids + "/sub-1/anat/sub-1_T1w.nii.gz").size() > 0 &&
                !QFileInfo::exists(bids + "/sub-3/anat"));
        const QList<QByteArray> markers = fileBytes(nibs.arg(1) + "markers.tsv").chopped(1).split('\n');
        for (const char *axis : {"x", "y", "z"}) { // the scalp points and targets
            QCOMPARE(column(markers, QByteArray("entry_") + axis),
                     column(table, QByteArray("scalp_") + axis));
            QCOMPARE(column(markers, QByteArray("target_") + axis),
                     column(table, QByteArray("target_") + axis));
        }
        QVERIFY(fileBytes(nibs.arg(1) + "nibs.tsv").contains("\tcell-") &&
                !fileBytes(nibs.arg(3) + "nibs.tsv").contains("\tcell-"));
        // Another series in the calibrated folder: refused, not given the old landmarks.
        QVERIFY(QDir(dir.filePath("mr-ana")).removeRecursively());
        QCOMPARE(runProgram({}, {"phantom", dir.filePath("mr-ana"), "--slices", "60"}, &said), 0);
        QCOMPARE(
            runProgram({}, {"sites", study, "--subject", "1", "--tsv", dir.filePath("other.tsv")}, &said), 1);
        QVERIFY2(said.contains("is not the one calibrated on") &&
                     !QFileInfo::exists(dir.filePath("other.tsv")),
                 qPrintable(said));
    }

    // Nothing made up: landmarks that cannot place a grid are refused by calibrate, saying why; where
    // the field of view cuts the head the cells whose aiming meets no scalp are named and their fields
    // left empty; a depth past the head centre is refused.
    void whatCannotBeAimedIsRefusedOrLeftEmpty_data() {
        QTest::addColumn<QString>("landmarks"); // "cut:" first: on the series without its last 12 slices
        QTest::addColumn<QString>("depth");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("emptyCell"); // -1: the command is refused
        QTest::newRow("Ilion inside the head")
            << u"20,80,45:140,80,45:110,80,45"_s << u"15"_s << u"not on the scalp"_s << -1;
        QTest::newRow("landmarks 1 and 2 at one point")
            << u"20,80,45:20,80,45:138,80,45"_s << u"15"_s << u"same point"_s << -1;
        QTest::newRow("a field of view that cuts the head")
            << u"cut:20,80,45:140,80,45:138,80,45"_s << u"15"_s
            << u"no scalp at cells 47 (the field of view cuts the head there)"_s << 47;
        QTest::newRow("a depth past the head centre")
            << u"20,80,45:140,80,45:138,80,45"_s << u"200"_s << u"past the head centre"_s << -1;
    }
    void whatCannotBeAimedIsRefusedOrLeftEmpty() {
        QFETCH(QString, landmarks);
        QFETCH(QString, depth);
        QFETCH(QString, said);
        QFETCH(int, emptyCell);
        QTemporaryDir dir;
        QString output;
        const QString study = calibratedDemo(dir.path(), {}, &output);
        QVERIFY2(!study.isEmpty(), qPrintable(output));
        QString series = dir.filePath("mr-ana");
        if (landmarks.startsWith("cut:")) {
            landmarks.remove("cut:");
            for (int slice = 79; slice <= 90; ++slice) {
                QVERIFY(QFile::remove(series +
                                      QStringLiteral("/slice%1.dcm").arg(slice, 4, 10, QLatin1Char('0'))));
            }
        }
        const int calibrated = runProgram(
            {}, {"calibrate", study, "--subject", "1", "--series", series, "--landmarks", landmarks},
            &output);
        if (calibrated != 0) {
            QVERIFY2(emptyCell < 0 && output.contains(said), qPrintable(output));
            return;
        }
        const int aimed = runProgram(
            {}, {"sites", study, "--subject", "1", "--depth", depth, "--tsv", dir.filePath("sites.tsv")},
            &output);
        QVERIFY2(output.contains(said) && (aimed == 0) == (emptyCell >= 0), qPrintable(output));
        if (emptyCell >= 0) {
            const QList<QByteArray> fields =
                fileBytes(dir.filePath("sites.tsv")).split('\n').at(1 + emptyCell).split('\t');
            QCOMPARE(fields.mid(3, 6), QList<QByteArray>(6));
        }
    }

    // The one road back from the study: the stored zero frame, and the series' own slice spacing
    // where the record has none.
    void theStoredZeroFrameAndTheSeriesSpacingComeBack() {
        QTemporaryDir dir;
        const Phantom::Options options = head();
        QVERIFY(Phantom::write(dir.path(), options));
        SubjectCalibration::Record record = calibration(dir.path(), options);
        StimulationSites::SubjectMr mr;
        QString why;
        QVERIFY2(mr.load(record, &why), qPrintable(why));
        // Another subject on the same series (a group map): its own zero frame, and the series'
        // spacing rather than the interslice the record before left in the state.
        record.interslice = 2 * options.thickness;
        QVERIFY2(mr.calibrate(record, &why), qPrintable(why));
        QCOMPARE(mr.state().Interslice, 2 * options.thickness);
        record.interslice = 0;
        record.zeroFrame = 5;
        QVERIFY2(mr.calibrate(record, &why), qPrintable(why));
        QCOMPARE((QList<double>{mr.state().OrigenZ, mr.state().Interslice}),
                 (QList<double>{5, options.thickness}));
    }

    // The group map of subjects 1 and 3, both normalised: the voxel at each target holds 1 + the rate
    // pooled over the targets within the radius, and the areas reached are the visual cortex's. It takes
    // the cells' aiming stored with each calibration and loads no series, and gives the map the series
    // loaded give; a subject marked again since (stale aiming) has its series loaded. The sites of a
    // normalised subject lie where the map puts its targets.
    void theGroupMapPoolsTheTargetsFromTheStoredAimingAsTheSeriesGiveThem() {
        CalibratedDemo demo;
        QVERIFY2(demo.open({"1", "3"}, true), qPrintable(demo.said));
        demo.normalise(3);
        const QSqlDatabase &db = demo.state.BaseDatos;
        StimulationComparison::Conditions conditions;
        conditions.openBounds = true;
        conditions.bounds.fill(QString());
        GroupMap::Options options;
        options.filter = StimulationComparison::buildFilter(conditions);
        const BrainTemplate tpl = BrainTemplate::find();
        const auto sql = [&](const char *statement) { QVERIFY(QSqlQuery(db).exec(statement)); };

        const GroupMap::Result stored = GroupMap::compute(db, options, tpl);
        QCOMPARE(stored.subjects, (QList<qint32>{1, 3}));
        QCOMPARE(stored.seriesLoaded, QList<qint32>());
        std::array<Vec3, 3> inverse{};
        QVERIFY(!stored.targets.isEmpty() && VolumeLayout::invertAxes(stored.rate.affine, inverse));
        for (const GroupMap::Target &t : stored.targets) {
            int yes = 0, stimuli = 0;
            for (const GroupMap::Target &u : stored.targets) {
                if (distance(t.mni, u.mni) <= options.radiusMm) {
                    yes += u.yes;
                    stimuli += u.stimuli;
                }
            }
            const Vec3 d{-t.mni[0] - stored.rate.affine.origin[0], -t.mni[1] - stored.rate.affine.origin[1],
                         t.mni[2] - stored.rate.affine.origin[2]};
            std::array<int, 3> voxel{};
            for (std::size_t r = 0; r < 3; ++r) {
                voxel[r] =
                    int(std::lround(inverse[r][0] * d[0] + inverse[r][1] * d[1] + inverse[r][2] * d[2]));
            }
            QCOMPARE(int(stored.rate.voxels[stored.rate.index(voxel[0], voxel[1], voxel[2])]),
                     1 + int(std::lround(100.0 * yes / stimuli)));
        }
        QVERIFY(!stored.areas.isEmpty());
        for (const GroupMap::AreaRow &area : stored.areas) {
            QVERIFY2(QStringList({"BA17", "BA18", "BA19"}).contains(area.area), qPrintable(area.area));
        }
        // The sites of a normalised subject: the target in MNI where the map has it, its area and the
        // scalp's distance to the brain.
        const SubjectCalibration::Record calibrated = *SubjectCalibration::read(db, 1);
        StimulationSites::SubjectMr mr;
        QVERIFY(mr.load(calibrated));
        StimulationSites::Sites sites = mr.sites(options.depthMm, {});
        QVERIFY(StimulationSites::addBrainSpace(sites, db, calibrated));
        const StimulationSites::Site &site = sites.cells[std::size_t(stored.targets.first().cell)];
        QVERIFY(site.mni && distance(*site.mni, stored.targets.first().mni) < 1e-6 &&
                site.area.startsWith("BA"));
        QVERIFY(site.brainDistance && *site.brainDistance > 0 && *site.brainDistance < 40);
        // The NIBS-BIDS markers in the template's space: the normalisation carries the mean target to
        // the pole.
        QTemporaryDir bids;
        StudyExport::run(db, bids.filePath("out"), StudyExport::Format::NibsBids);
        const QList<QByteArray> inMni =
            fileBytes(bids.filePath("out/sub-1/nibs/sub-1_task-phosphene_space-MNIColin27_markers.tsv"))
                .chopped(1)
                .split('\n');
        for (const auto &[axis, pole] : {std::pair{"x", 0.0}, std::pair{"y", -82.0}, std::pair{"z", 6.0}}) {
            const QList<QByteArray> values = column(inMni, QByteArray("target_") + axis);
            const double sum =
                std::accumulate(values.begin(), values.end(), 0.0,
                                [](double s, const QByteArray &v) { return s + v.toDouble(); });
            QVERIFY2(values.size() == GridCells::Count && std::abs(sum / GridCells::Count - pole) < 0.05,
                     qPrintable(QString::number(sum / GridCells::Count)));
        }

        sql("CREATE TEMP TABLE kept AS SELECT * FROM mr_aiming");
        sql("DELETE FROM mr_aiming");
        const GroupMap::Result loaded = GroupMap::compute(db, options, tpl);
        QCOMPARE(loaded.seriesLoaded, (QList<qint32>{1, 3}));
        QVERIFY(loaded.rate.voxels == stored.rate.voxels && loaded.counts.voxels == stored.counts.voxels);
        QCOMPARE(GroupMap::areasTsv(loaded.areas), GroupMap::areasTsv(stored.areas));

        sql("INSERT INTO mr_aiming SELECT * FROM kept");
        SubjectCalibration::Record marked = *SubjectCalibration::read(db, 1);
        marked.landmarks[2].z += 3; // the Ilion 3 slices aside: the grid turns on the head
        SubjectCalibration::write(db, marked);
        const GroupMap::Result stale = GroupMap::compute(db, options, tpl);
        QCOMPARE(stale.seriesLoaded, QList<qint32>{1});
        QVERIFY(stale.rate.voxels != stored.rate.voxels);
    }
};

QTEST_MAIN(TestStimulationSites)
#include "tst_stimulation_sites.moc"
