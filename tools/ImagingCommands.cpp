#include "tools/ImagingCommands.h"

#include "core/GridCells.h"
#include "core/SafeWrite.h"
#include "data/ServerStudy.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/NiftiFiles.h"
#include "imaging/PhantomWriter.h"
#include "imaging/SeriesLoader.h"
#include "imaging/StoredCalibration.h"
#include "subjects/SubjectStore.h"
#include "tools/CommandArguments.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QScopeGuard>
#include <QTextStream>
#include <QThread>

#include <climits>
#include <optional>

namespace ImagingCommands {

namespace {

// "X,Y,Z" in voxels.
bool readPoint(const QString &text, ImagingMath::Vector3 &point) {
    const QStringList parts = text.split(QLatin1Char(','));
    double values[3] = {0, 0, 0};
    if (parts.size() != 3) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value =
            CommandArguments::readNumber(parts.at(i).trimmed(), -32768, 32767);
        if (!value) {
            return false;
        }
        values[i] = *value;
    }
    point = {values[0], values[1], values[2]};
    return true;
}

// --landmarks X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI: false (with the reason on err) when it is not three voxel
// points.
bool readLandmarks(const CommandArguments &arguments, ImagingMath::Vector3 (&landmarks)[3],
                   QTextStream &err) {
    const QStringList points = arguments.value(QStringLiteral("landmarks")).split(QLatin1Char(':'));
    bool haveLandmarks = points.size() == 3;
    for (int p = 0; haveLandmarks && p < 3; ++p) {
        haveLandmarks = readPoint(points.at(p), landmarks[p]);
    }
    if (!haveLandmarks) {
        err << "zokorvane-tool: " << Tool::tr("--landmarks takes three voxel points X,Y,Z separated by ':'")
            << "\n";
    }
    return haveLandmarks;
}

// Loads the series (the folder's series `series`, -1 the largest, or a NIfTI file) as the loader
// window does; false (with the reason on err) when no volume could be built.
bool loadVolume(SeriesLoader &loader, const QString &source, int series, QTextStream &err) {
    loader.setThreads(QThread::idealThreadCount());
    if (loader.i_CargarImagenes(source, false, false, series)) {
        return true;
    }
    err << "zokorvane-tool: " << Tool::tr("no volume could be built from %1").arg(source);
    const QStringList &failures = loader.report().failures;
    err << (failures.isEmpty() ? QString() : QStringLiteral(": ") + failures.join(QStringLiteral("; ")))
        << "\n";
    return false;
}

} // namespace

int phantom(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral(
            "usage: zokorvane-tool phantom DIR [--slices N] [--size N] [--spacing MM] [--thickness MM] "
            "[--orientation sagittal|axial|coronal] [--tilt DEG] [--shuffle-names] [--multi-frame] "
            "[--own-windows]\n"),
        {"slices", "size", "spacing", "thickness", "orientation", "tilt"},
        {"shuffle-names", "multi-frame", "own-windows"});
    const QMap<QString, Phantom::Orientation> orientations{
        {QStringLiteral("sagittal"), Phantom::Orientation::Sagittal},
        {QStringLiteral("axial"), Phantom::Orientation::Axial},
        {QStringLiteral("coronal"), Phantom::Orientation::Coronal}};
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err);
    }
    Phantom::Options options;
    const auto slices = arguments.whole(QStringLiteral("slices"), 2, 2000, options.slices);
    const auto size = arguments.whole(QStringLiteral("size"), 8, 2048, options.size);
    const auto spacing = arguments.number(QStringLiteral("spacing"), 0.01, 100, options.spacing);
    const auto thickness = arguments.number(QStringLiteral("thickness"), 0.01, 100, options.thickness);
    const auto tilt = arguments.number(QStringLiteral("tilt"), -45, 45, options.tiltDegrees);
    const QString orientation = arguments.value(QStringLiteral("orientation"));
    if (!slices || !size || !spacing || !thickness || !tilt ||
        (arguments.isSet(QStringLiteral("orientation")) && !orientations.contains(orientation))) {
        return arguments.wrongArguments(err);
    }
    options.slices = int(*slices);
    options.size = int(*size);
    options.spacing = *spacing;
    options.thickness = *thickness;
    options.tiltDegrees = *tilt;
    options.orientation = orientations.value(orientation, options.orientation);
    options.shuffleNames = arguments.isSet(QStringLiteral("shuffle-names"));
    options.multiFrame = arguments.isSet(QStringLiteral("multi-frame"));
    options.ownWindows = arguments.isSet(QStringLiteral("own-windows"));
    const QString directory = arguments.positional().first();
    QString error;
    if (!Phantom::write(directory, options, &error)) {
        err << "zokorvane-tool: " << error << "\n";
        return 1;
    }
    const Phantom::Geometry g = Phantom::geometry(options);
    out << Tool::tr("Wrote %1 slices of %2 x %2 pixels to %3; head centre (%4, %5, %6), radii (%7, %8, %9) "
                    "voxels")
               .arg(options.slices)
               .arg(options.size)
               .arg(directory)
               .arg(g.cx, 0, 'g', 6)
               .arg(g.cy, 0, 'g', 6)
               .arg(g.cz, 0, 'g', 6)
               .arg(g.rx, 0, 'g', 6)
               .arg(g.ry, 0, 'g', 6)
               .arg(g.rz, 0, 'g', 6)
        << "\n";
    return 0;
}

namespace {

// The place in the folder's list of the series load-series is asked for: --series N by the number
// the scanner wrote (SeriesNumber), --series-index N by its place in the list, from 1; -1 for the one
// the loader prefers. Nothing (with the reason on err) when it names none.
std::optional<int> chosenSeries(const CommandArguments &arguments, SeriesLoader &loader,
                                const QString &source, QTextStream &err) {
    const bool byNumber = arguments.isSet(QStringLiteral("series"));
    const bool byIndex = arguments.isSet(QStringLiteral("series-index"));
    if (byNumber && byIndex) {
        err << "zokorvane-tool: " << Tool::tr("--series and --series-index name the same thing: give one")
            << "\n";
        return std::nullopt;
    }
    if (byIndex) {
        const auto index = arguments.whole(QStringLiteral("series-index"), 1, 100000);
        return index ? std::optional<int>(int(*index) - 1) : std::nullopt;
    }
    if (!byNumber || !QFileInfo(source).isDir()) {
        return -1;
    }
    const QString number = arguments.value(QStringLiteral("series")).trimmed();
    const DicomFiles::Scan &scan = loader.scan(source);
    const int found = scan.seriesNumbered(number);
    if (found < 0) {
        QStringList numbers;
        for (const DicomFiles::Series &s : scan.series) {
            numbers << s.number;
        }
        numbers.removeDuplicates();
        err << "zokorvane-tool: "
            << Tool::tr("%1 holds no series numbered %2 (its series numbers: %3; --series-index N takes the "
                        "N-th series as listed)")
                   .arg(source, number, numbers.join(QStringLiteral(", ")))
            << "\n";
        return std::nullopt;
    }
    return found;
}

// What load-series prints: what the loader built, as JSON.
QJsonObject loadJson(SeriesLoader &loader, const ImagingState &state, const QString &source, bool built,
                     bool lateral, int threads, double totalSeconds) {
    const SeriesLoader::Report &report = loader.report();
    qint32 x = 0, y = 0, z = 0;
    state.library()._d2_dimensiones(state.VolumenActual, x, y, z);
    QJsonArray seriesList;
    if (report.source == QLatin1String("dicom")) {
        for (const DicomFiles::Series &s : loader.scan(source).series) {
            seriesList.append(s.label());
        }
    }
    const QJsonObject seconds{{QStringLiteral("volume"), report.readingSeconds},
                              {QStringLiteral("cache"), report.cacheSeconds},
                              {QStringLiteral("total"), totalSeconds}};
    return QJsonObject{
        {QStringLiteral("source"), source},
        {QStringLiteral("kind"), report.source},
        {QStringLiteral("filesSeen"), report.filesSeen},
        {QStringLiteral("skippedFiles"), report.skippedFiles},
        {QStringLiteral("skipped"), QJsonArray::fromStringList(report.skipped)},
        {QStringLiteral("seriesFound"), seriesList},
        {QStringLiteral("series"), report.series},
        {QStringLiteral("volumes"), report.volumes},
        {QStringLiteral("volume"), report.volume + 1},
        {QStringLiteral("volumeName"), report.volumeName},
        {QStringLiteral("orientation"), report.orientation},
        {QStringLiteral("slicesStacked"), report.slicesStacked},
        {QStringLiteral("emptySlices"), report.emptySlices},
        {QStringLiteral("volumeBuilt"), built},
        {QStringLiteral("dimensions"), QJsonArray{x, y, z}},
        {QStringLiteral("interslice"), state.Interslice},
        {QStringLiteral("mmPerPixel"), state.MmPixelFijo},
        {QStringLiteral("zeroFrame"), state.FrameCero},
        {QStringLiteral("increment"), state.Incremento},
        {QStringLiteral("resampled"), report.resampled},
        {QStringLiteral("lateral"), lateral},
        {QStringLiteral("irregularFiles"), report.irregularFiles},
        {QStringLiteral("irregularity"), report.irregularity},
        {QStringLiteral("failures"), QJsonArray::fromStringList(report.failures)},
        {QStringLiteral("cacheFolder"), report.cacheFolder},
        {QStringLiteral("threads"), threads},
        {QStringLiteral("seconds"), seconds},
    };
}

} // namespace

int loadSeries(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral(
            "usage: zokorvane-tool load-series DIR|FILE.nii[.gz] [--series NUMBER | --series-index N] "
            "[--volume N] [--jpg-only] [--lateral] [--threads N] [--export-volume OUT.nii[.gz]]\n"),
        {"series", "series-index", "volume", "threads", "export-volume"}, {"jpg-only", "lateral"});
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err);
    }
    const auto threads = arguments.whole(QStringLiteral("threads"), 1, 64, QThread::idealThreadCount());
    const auto volume = arguments.whole(QStringLiteral("volume"), 1, 100000, 1);
    if (!threads || !volume) {
        return arguments.wrongArguments(err);
    }
    const QString source = arguments.positional().first();
    const QString exportPath = arguments.value(QStringLiteral("export-volume"));
    const bool jpgOnly = arguments.isSet(QStringLiteral("jpg-only"));
    const bool lateral = arguments.isSet(QStringLiteral("lateral"));
    if (!QFileInfo(source).isDir() && !(QFileInfo(source).isFile() && NiftiFiles::isNiftiPath(source))) {
        err << "zokorvane-tool: "
            << Tool::tr("%1 is neither a folder nor a NIfTI file (.nii, .nii.gz)").arg(source) << "\n";
        return 1;
    }
    if (!exportPath.isEmpty() && !NiftiFiles::isNiftiPath(exportPath)) {
        err << "zokorvane-tool: " << Tool::tr("--export-volume takes a file name ending in .nii or .nii.gz")
            << "\n";
        return 2;
    }
    QElapsedTimer total;
    total.start();
    ImagingLibrary library;
    ImagingState state(library);
    SeriesLoader loader(state);
    loader.setThreads(int(*threads));
    const std::optional<int> series = chosenSeries(arguments, loader, source, err);
    if (!series) {
        return arguments.isSet(QStringLiteral("series")) && arguments.isSet(QStringLiteral("series-index"))
                   ? arguments.wrongArguments(err)
                   : 1;
    }
    const bool built = loader.i_CargarImagenes(source, jpgOnly, lateral, *series, int(*volume) - 1);
    loader.waitForCache();
    const SeriesLoader::Report &report = loader.report();
    out << QJsonDocument(
               loadJson(loader, state, source, built, lateral, int(*threads), total.nsecsElapsed() / 1e9))
               .toJson(QJsonDocument::Indented);
    for (const QString &failure : report.failures) {
        err << "zokorvane-tool: " << failure << "\n";
    }
    if (!report.cacheError.isEmpty()) {
        err << "zokorvane-tool: " << report.cacheError << "\n";
    }
    if (!built) {
        err << "zokorvane-tool: " << Tool::tr("no volume could be built from %1").arg(source) << "\n";
        return 1;
    }
    if (!exportPath.isEmpty()) {
        QString error;
        if (!NiftiFiles::write(exportPath, loader.layout().volume, &error)) {
            err << "zokorvane-tool: " << error << "\n";
            return 1;
        }
    }
    return report.failures.isEmpty() ? 0 : 1;
}

int plan(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral(
            "usage: zokorvane-tool plan SERIES_DIR|FILE.nii[.gz] --landmarks X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI "
            "[--distance MM] [--depth D] [--csv OUT]\n"),
        {"landmarks", "distance", "depth", "csv"});
    if (!arguments.parse(args)) {
        return arguments.wrongArguments(err);
    }
    ImagingMath::Vector3 landmarks[3];
    if (arguments.isSet(QStringLiteral("landmarks")) && !readLandmarks(arguments, landmarks, err)) {
        return 2;
    }
    const auto distance = arguments.number(QStringLiteral("distance"), 1e-6, 1e6, 200.0);
    const auto depth = arguments.number(QStringLiteral("depth"), -1e4, 1e4, 15.0);
    if (arguments.positional().size() != 1 || !arguments.isSet(QStringLiteral("landmarks")) || !distance ||
        !depth) {
        return arguments.wrongArguments(err);
    }
    const QString directory = arguments.positional().first();
    const QString csvPath = arguments.value(QStringLiteral("csv"));
    ImagingLibrary library;
    ImagingState state(library);
    SeriesLoader loader(state);
    if (!loadVolume(loader, directory, -1, err)) {
        return 1;
    }
    QString csv;
    QTextStream table(&csv);
    try {
        // As the point selection leaves the state: defaults, the landmarks, the calibration.
        state.InicializaResonancia();
        for (qint16 which = 1; which <= 3; ++which) {
            const ImagingMath::Vector3 &p = landmarks[which - 1];
            state.PonReferencia(p.x, p.y, p.z, which);
        }
        state.PonCalibracion(*distance, state.Interslice, state.OrigenZ);
        const double mm = state.MmPorPixel();
        const double slice = state.Interslice;
        table << "cell,row,column,arc_h_mm,arc_v_mm,angle_h_deg,angle_v_deg,"
                 "scalp_x,scalp_y,scalp_z,target_x,target_y,target_z,"
                 "scalp_x_mm,scalp_y_mm,scalp_z_mm,target_x_mm,target_y_mm,target_z_mm\n";
        for (qint32 cell = 0; cell < 50; ++cell) {
            const GridAim aim = aimAtCell(state, cell, *depth);
            const auto &e = state.PuntoExterno;
            const auto &t = state.PuntoTarget;
            table << cell << ',' << GridCells::row(cell) << ',' << GridCells::column(cell) << ',' << aim.arcH
                  << ',' << aim.arcV << ',' << QString::number(aim.angleH, 'f', 4) << ','
                  << QString::number(aim.angleV, 'f', 4) << ',' << e.x << ',' << e.y << ',' << e.z << ','
                  << t.x << ',' << t.y << ',' << t.z;
            for (const auto *p : {&e, &t}) {
                table << ',' << QString::number(p->x * mm, 'f', 2) << ','
                      << QString::number(p->y * mm, 'f', 2) << ',' << QString::number(p->z * slice, 'f', 2);
            }
            table << '\n';
        }
    } catch (const ImagingError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return 1;
    }
    table.flush();
    if (csvPath.isEmpty()) {
        out << csv;
        return 0;
    }
    // All or nothing: a full disk or a missing folder leaves no partial plan, and a plan already
    // there stays as it was.
    QString why;
    if (!SafeWrite::writeBytes(csvPath, csv.toUtf8(), &why)) {
        err << "zokorvane-tool: " << why << "\n";
        return 1;
    }
    out << Tool::tr("Wrote the plan of 50 cells to %1").arg(csvPath) << "\n";
    return 0;
}

namespace {

// The subject exists in the open study; false with the reason on err.
bool haveSubject(const Study::Opened &study, const QString &shown, qint64 subject, QTextStream &err) {
    try {
        if (SubjectStore::subjectGrid(study.db, int(subject))) {
            return true;
        }
        err << "zokorvane-tool: " << Tool::tr("there is no subject %1 in %2").arg(subject).arg(shown) << "\n";
    } catch (const StudyError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
    }
    return false;
}

// The landmarks as a record, once each lies inside the loaded volume; false with the reason on err.
bool landmarksInside(const ImagingState &state, const ImagingMath::Vector3 (&landmarks)[3],
                     SubjectCalibration::Record &record, QTextStream &err) {
    for (std::size_t p = 0; p < 3; ++p) {
        record.landmarks[p] = {landmarks[p].x, landmarks[p].y, landmarks[p].z};
        if (!StoredCalibration::insideVolume(state, record.landmarks[p])) {
            qint32 x = 0, y = 0, z = 0;
            state.library()._d2_dimensiones(state.VolumenActual, x, y, z);
            err << "zokorvane-tool: "
                << Tool::tr("landmark %1 (%2, %3, %4) lies outside the volume of %5 x %6 x %7 voxels")
                       .arg(p + 1)
                       .arg(landmarks[p].x)
                       .arg(landmarks[p].y)
                       .arg(landmarks[p].z)
                       .arg(x)
                       .arg(y)
                       .arg(z)
                << "\n";
            return false;
        }
    }
    return true;
}

// Applies the record's landmarks as the point selection does when accepted, with the series' own
// spacing, and stores the calibration with the cells' aiming on the volume the affine places:
// landmarks that cannot place a grid are refused, the cells whose aiming meets no scalp named. False
// with the reason on err.
bool storeCalibration(const Study::Opened &study, ImagingState &state, const VolumeLayout::Affine &affine,
                      SubjectCalibration::Record &record, const QString &source,
                      const StoredCalibration::Loaded &loaded, QTextStream &err) {
    record.interslice = state.Interslice;
    record.zeroFrame = state.OrigenZ;
    try {
        StoredCalibration::apply(state, record);
        if (const QString refused = gridRefusal(state); !refused.isEmpty()) {
            err << "zokorvane-tool: " << refused << "\n";
            return false;
        }
        if (const QString missing = noScalpWarning(cellsWithoutScalp(state)); !missing.isEmpty()) {
            err << "zokorvane-tool: " << missing << "\n";
        }
        const QString whole = QFileInfo(source).absoluteFilePath();
        const SubjectCalibration::Record stored =
            StoredCalibration::recordOf(state, record.subjectId, whole, loaded);
        // Aimed from the record as stored, as a group map would aim from it after loading the series.
        StoredCalibration::apply(state, stored);
        const SubjectAiming::Record aiming = StoredCalibration::aiming(state, affine, stored);
        SubjectCalibration::write(study.db, stored, &aiming);
    } catch (const ImagingError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return false;
    } catch (const StudyError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return false;
    }
    return true;
}

} // namespace

int calibrate(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral("usage: zokorvane-tool calibrate STUDY --subject ID --series DIR|FILE.nii[.gz] "
                       "[--series-number N] --landmarks X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI [--distance MM]\n"),
        {"subject", "series", "series-number", "landmarks", "distance"});
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err);
    }
    ImagingMath::Vector3 landmarks[3];
    if (arguments.isSet(QStringLiteral("landmarks")) && !readLandmarks(arguments, landmarks, err)) {
        return 2;
    }
    const auto subject = arguments.whole(QStringLiteral("subject"), 0, INT_MAX);
    // Counted from 1 as load-series lists them; 0: the folder's largest series.
    const auto seriesNumber = arguments.whole(QStringLiteral("series-number"), 1, 100000, 0);
    const auto distance = arguments.number(QStringLiteral("distance"), 1e-6, 1e6, 200.0);
    const QString source = arguments.value(QStringLiteral("series"));
    if (!subject || !seriesNumber || !distance || source.isEmpty() ||
        !arguments.isSet(QStringLiteral("landmarks"))) {
        return arguments.wrongArguments(err);
    }
    const QString studyPath = arguments.positional().first();
    Study::Opened study = Study::open(studyPath);
    const auto closeStudy = qScopeGuard([&] { Study::close(study.db); });
    for (const QString &note : study.notes) {
        out << note << "\n";
    }
    const QString shown = ServerStudy::shownLocation(studyPath);
    if (!study.ok()) {
        err << "zokorvane-tool: " << Tool::tr("cannot open %1: %2").arg(shown, study.error) << "\n";
        return 1;
    }
    if (!haveSubject(study, shown, *subject, err)) {
        return 1;
    }
    if (!QFileInfo(source).isDir() && !(QFileInfo(source).isFile() && NiftiFiles::isNiftiPath(source))) {
        err << "zokorvane-tool: "
            << Tool::tr("%1 is neither a folder nor a NIfTI file (.nii, .nii.gz)").arg(source) << "\n";
        return 1;
    }
    ImagingLibrary library;
    ImagingState state(library);
    SeriesLoader loader(state);
    const int series = int(*seriesNumber) - 1;
    if (!loadVolume(loader, source, series, err)) {
        return 1;
    }
    const StoredCalibration::Loaded loaded = StoredCalibration::loaded(loader, source, series);
    if (loaded.fingerprint.isEmpty()) {
        err << "zokorvane-tool: "
            << Tool::tr("%1 cannot be recognised again; no calibration stored").arg(source) << "\n";
        return 1;
    }
    SubjectCalibration::Record record;
    if (!landmarksInside(state, landmarks, record, err)) {
        return 1;
    }
    record.subjectId = qint32(*subject);
    record.distance = *distance;
    if (!storeCalibration(study, state, loader.layout().volume.affine, record, source, loaded, err)) {
        return 1;
    }
    out << Tool::tr("Stored the MR calibration of subject %1 on %2 (%3)")
               .arg(*subject)
               .arg(QFileInfo(source).absoluteFilePath(), loaded.fingerprint)
        << "\n";
    return 0;
}

} // namespace ImagingCommands
