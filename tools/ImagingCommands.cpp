#include "tools/ImagingCommands.h"

#include "core/SafeWrite.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/NiftiFiles.h"
#include "imaging/PhantomWriter.h"
#include "imaging/SeriesLoader.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>
#include <QThread>

#include <cmath>

namespace ImagingCommands {

namespace {

// Every number of the command line comes through here: text that is not a number, "nan", "inf"
// and values outside [low, high] are refused, so nothing further on sees them.
bool readNumber(const QString &text, double low, double high, double &value) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < low || v > high) {
        return false;
    }
    value = v;
    return true;
}

// A count (slices, pixels, threads, a place in a list): a number as above with nothing after the
// point, so "2.5 slices" is refused rather than cut to 2.
bool readWhole(const QString &text, int low, int high, int &value) {
    double v = 0;
    if (!readNumber(text, low, high, v) || v != std::floor(v)) {
        return false;
    }
    value = int(v);
    return true;
}

// "X,Y,Z" in voxels.
bool readPoint(const QString &text, ImagingMath::Vector3 &point) {
    const QStringList parts = text.split(QLatin1Char(','));
    double values[3] = {0, 0, 0};
    if (parts.size() != 3) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (!readNumber(parts.at(i).trimmed(), -32768, 32767, values[i])) {
            return false;
        }
    }
    point = {values[0], values[1], values[2]};
    return true;
}

} // namespace

int phantom(const QStringList &args, QTextStream &out, QTextStream &err) {
    const QString usage = QStringLiteral(
        "usage: zokorvane-tool phantom DIR [--slices N] [--size N] [--spacing MM] [--thickness MM] "
        "[--orientation sagittal|axial|coronal] [--tilt DEG] [--shuffle-names] [--multi-frame]\n");
    const QMap<QString, Phantom::Orientation> orientations{
        {QStringLiteral("sagittal"), Phantom::Orientation::Sagittal},
        {QStringLiteral("axial"), Phantom::Orientation::Axial},
        {QStringLiteral("coronal"), Phantom::Orientation::Coronal}};
    Phantom::Options options;
    QString directory;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        double value = 0;
        int count = 0;
        if (arg == QLatin1String("--slices") && hasValue && readWhole(args.at(i + 1), 2, 2000, count)) {
            options.slices = count;
        } else if (arg == QLatin1String("--size") && hasValue && readWhole(args.at(i + 1), 8, 2048, count)) {
            options.size = count;
        } else if (arg == QLatin1String("--spacing") && hasValue &&
                   readNumber(args.at(i + 1), 0.01, 100, value)) {
            options.spacing = value;
        } else if (arg == QLatin1String("--thickness") && hasValue &&
                   readNumber(args.at(i + 1), 0.01, 100, value)) {
            options.thickness = value;
        } else if (arg == QLatin1String("--orientation") && hasValue &&
                   orientations.contains(args.at(i + 1))) {
            options.orientation = orientations.value(args.at(i + 1));
        } else if (arg == QLatin1String("--tilt") && hasValue && readNumber(args.at(i + 1), -45, 45, value)) {
            options.tiltDegrees = value;
        } else if (arg == QLatin1String("--shuffle-names")) {
            options.shuffleNames = true;
            continue;
        } else if (arg == QLatin1String("--multi-frame")) {
            options.multiFrame = true;
            continue;
        } else if (!arg.startsWith(QLatin1String("--")) && directory.isEmpty()) {
            directory = arg;
            continue;
        } else {
            err << usage;
            return 2;
        }
        ++i;
    }
    if (directory.isEmpty()) {
        err << usage;
        return 2;
    }
    QString error;
    if (!Phantom::write(directory, options, &error)) {
        err << "zokorvane-tool: " << error << "\n";
        return 1;
    }
    const Phantom::Geometry g = Phantom::geometry(options);
    out << "Wrote " << options.slices << " slices of " << options.size << " x " << options.size
        << " pixels to " << directory << "; head centre (" << g.cx << ", " << g.cy << ", " << g.cz
        << "), radii (" << g.rx << ", " << g.ry << ", " << g.rz << ") voxels\n";
    return 0;
}

int loadSeries(const QStringList &args, QTextStream &out, QTextStream &err) {
    const QString usage = QStringLiteral("usage: zokorvane-tool load-series DIR|FILE.nii[.gz] [--series N] "
                                         "[--jpg-only] [--lateral] [--threads N] "
                                         "[--export-volume OUT.nii[.gz]]\n");
    QString source;
    QString exportPath;
    bool jpgOnly = false;
    bool lateral = false;
    int series = -1;
    int threads = QThread::idealThreadCount();
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--jpg-only")) {
            jpgOnly = true;
        } else if (arg == QLatin1String("--lateral")) {
            lateral = true;
        } else if (arg == QLatin1String("--threads") && hasValue &&
                   readWhole(args.at(i + 1), 1, 64, threads)) {
            ++i;
        } else if (arg == QLatin1String("--series") && hasValue &&
                   readWhole(args.at(i + 1), 1, 100000, series)) {
            --series; // counted from 1 on the command line
            ++i;
        } else if (arg == QLatin1String("--export-volume") && hasValue) {
            exportPath = args.at(++i);
        } else if (!arg.startsWith(QLatin1String("--")) && source.isEmpty()) {
            source = arg;
        } else {
            err << usage;
            return 2;
        }
    }
    if (source.isEmpty()) {
        err << usage;
        return 2;
    }
    if (!QFileInfo(source).isDir() && !(QFileInfo(source).isFile() && NiftiFiles::isNiftiPath(source))) {
        err << "zokorvane-tool: " << source << " is neither a folder nor a NIfTI file (.nii, .nii.gz)\n";
        return 1;
    }
    if (!exportPath.isEmpty() && !NiftiFiles::isNiftiPath(exportPath)) {
        err << "zokorvane-tool: --export-volume takes a file name ending in .nii or .nii.gz\n";
        return 2;
    }
    QElapsedTimer total;
    total.start();
    ImagingLibrary library;
    ImagingState state(library);
    SeriesLoader loader(state);
    loader.setThreads(threads);
    const bool built = loader.i_CargarImagenes(source, jpgOnly, lateral, series);
    const SeriesLoader::Report &report = loader.report();
    qint32 x = 0, y = 0, z = 0;
    library._d2_dimensiones(state.VolumenActual, x, y, z);
    QJsonArray seriesList;
    if (report.source == QLatin1String("dicom")) {
        for (const DicomFiles::Series &s : loader.scan(source).series) {
            seriesList.append(s.label());
        }
    }
    QJsonObject seconds{{QStringLiteral("volume"), report.readingSeconds},
                        {QStringLiteral("cache"), report.cacheSeconds},
                        {QStringLiteral("total"), total.nsecsElapsed() / 1e9}};
    QJsonObject json{
        {QStringLiteral("source"), source},
        {QStringLiteral("kind"), report.source},
        {QStringLiteral("filesSeen"), report.filesSeen},
        {QStringLiteral("skippedFiles"), report.skippedFiles},
        {QStringLiteral("skipped"), QJsonArray::fromStringList(report.skipped)},
        {QStringLiteral("seriesFound"), seriesList},
        {QStringLiteral("series"), report.series},
        {QStringLiteral("orientation"), report.orientation},
        {QStringLiteral("slicesStacked"), report.slicesStacked},
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
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    for (const QString &failure : report.failures) {
        err << "zokorvane-tool: " << failure << "\n";
    }
    if (!report.cacheError.isEmpty()) {
        err << "zokorvane-tool: " << report.cacheError << "\n";
    }
    if (!built) {
        err << "zokorvane-tool: no volume could be built from " << source << "\n";
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
    const QString usage = QStringLiteral(
        "usage: zokorvane-tool plan SERIES_DIR|FILE.nii[.gz] --landmarks X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI "
        "[--distance MM] [--depth D] [--csv OUT]\n");
    QString directory;
    QString csvPath;
    ImagingMath::Vector3 landmarks[3];
    bool haveLandmarks = false;
    double distance = 200.0;
    double depth = 15.0;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--landmarks") && hasValue) {
            const QStringList points = args.at(++i).split(QLatin1Char(':'));
            haveLandmarks = points.size() == 3;
            for (int p = 0; haveLandmarks && p < 3; ++p) {
                haveLandmarks = readPoint(points.at(p), landmarks[p]);
            }
            if (!haveLandmarks) {
                err << "zokorvane-tool: --landmarks takes three voxel points X,Y,Z separated by ':'\n";
                return 2;
            }
        } else if (arg == QLatin1String("--distance") && hasValue &&
                   readNumber(args.at(i + 1), 1e-6, 1e6, distance)) {
            ++i;
        } else if (arg == QLatin1String("--depth") && hasValue &&
                   readNumber(args.at(i + 1), -1e4, 1e4, depth)) {
            ++i;
        } else if (arg == QLatin1String("--csv") && hasValue) {
            csvPath = args.at(++i);
        } else if (!arg.startsWith(QLatin1String("--")) && directory.isEmpty()) {
            directory = arg;
        } else {
            err << usage;
            return 2;
        }
    }
    if (directory.isEmpty() || !haveLandmarks) {
        err << usage;
        return 2;
    }
    ImagingLibrary library;
    ImagingState state(library);
    SeriesLoader loader(state);
    loader.setThreads(QThread::idealThreadCount());
    if (!loader.i_CargarImagenes(directory, false, false)) {
        err << "zokorvane-tool: no volume could be built from " << directory;
        const QStringList &failures = loader.report().failures;
        err << (failures.isEmpty() ? QString() : QStringLiteral(": ") + failures.join(QStringLiteral("; ")))
            << "\n";
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
        state.PonCalibracion(distance, state.Interslice, state.OrigenZ);
        const double mm = state.MmPorPixel();
        const double slice = state.Interslice;
        table << "cell,row,column,arc_h_mm,arc_v_mm,angle_h_deg,angle_v_deg,"
                 "scalp_x,scalp_y,scalp_z,target_x,target_y,target_z,"
                 "scalp_x_mm,scalp_y_mm,scalp_z_mm,target_x_mm,target_y_mm,target_z_mm\n";
        for (qint32 cell = 0; cell < 50; ++cell) {
            const GridAim aim = aimAtCell(state, cell, depth);
            const auto &e = state.PuntoExterno;
            const auto &t = state.PuntoTarget;
            table << cell << ',' << cell / 10 << ',' << cell % 10 << ',' << aim.arcH << ',' << aim.arcV << ','
                  << QString::number(aim.angleH, 'f', 4) << ',' << QString::number(aim.angleV, 'f', 4) << ','
                  << e.x << ',' << e.y << ',' << e.z << ',' << t.x << ',' << t.y << ',' << t.z;
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
    out << "Wrote the plan of 50 cells to " << csvPath << "\n";
    return 0;
}

} // namespace ImagingCommands
