#include "ImagingCommands.h"

#include "DicomFiles.h"
#include "ImagingLibrary.h"
#include "ImagingState.h"
#include "PhantomWriter.h"
#include "SeriesLoader.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QThread>

namespace ImagingCommands {

namespace {

bool readNumber(const QString &text, double low, double high, double &value) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || v < low || v > high) {
        return false;
    }
    value = v;
    return true;
}

} // namespace

int phantom(const QStringList &args, QTextStream &out, QTextStream &err) {
    const QString usage = QStringLiteral(
        "usage: zokorvane-tool phantom DIR [--slices N] [--size N] [--spacing MM] [--thickness MM]\n");
    Phantom::Options options;
    QString directory;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        double value = 0;
        if (arg == QLatin1String("--slices") && hasValue && readNumber(args.at(i + 1), 2, 2000, value)) {
            options.slices = int(value);
        } else if (arg == QLatin1String("--size") && hasValue && readNumber(args.at(i + 1), 8, 2048, value)) {
            options.size = int(value);
        } else if (arg == QLatin1String("--spacing") && hasValue &&
                   readNumber(args.at(i + 1), 0.01, 100, value)) {
            options.spacing = value;
        } else if (arg == QLatin1String("--thickness") && hasValue &&
                   readNumber(args.at(i + 1), 0.01, 100, value)) {
            options.thickness = value;
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
    const QString usage =
        QStringLiteral("usage: zokorvane-tool load-series DIR [--jpg-only] [--lateral] [--threads N]\n");
    QString directory;
    bool jpgOnly = false;
    bool lateral = false;
    int threads = QThread::idealThreadCount();
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        double value = 0;
        if (arg == QLatin1String("--jpg-only")) {
            jpgOnly = true;
        } else if (arg == QLatin1String("--lateral")) {
            lateral = true;
        } else if (arg == QLatin1String("--threads") && i + 1 < args.size() &&
                   readNumber(args.at(i + 1), 1, 64, value)) {
            threads = int(value);
            ++i;
        } else if (!arg.startsWith(QLatin1String("--")) && directory.isEmpty()) {
            directory = arg;
        } else {
            err << usage;
            return 2;
        }
    }
    if (directory.isEmpty()) {
        err << usage;
        return 2;
    }
    if (!QFileInfo(directory).isDir()) {
        err << "zokorvane-tool: " << directory << " is not a directory\n";
        return 1;
    }
    QElapsedTimer total;
    total.start();
    ImagingLibrary library;
    ImagingState state(library);
    DicomFiles dicom;
    SeriesLoader loader(state, dicom);
    loader.setThreads(threads);
    const bool built = loader.i_CargarImagenes(directory, jpgOnly, lateral);
    const SeriesLoader::Report &report = loader.report();
    qint32 x = 0, y = 0, z = 0;
    library._d2_dimensiones(state.VolumenActual, x, y, z);
    QJsonObject seconds{{QStringLiteral("conversion"), report.conversionSeconds},
                        {QStringLiteral("stacking"), report.stackingSeconds},
                        {QStringLiteral("total"), total.nsecsElapsed() / 1e9}};
    QJsonObject json{
        {QStringLiteral("directory"), directory},
        {QStringLiteral("filesSeen"), report.filesSeen},
        {QStringLiteral("dicomFiles"), report.dicomFiles},
        {QStringLiteral("converted"), report.converted},
        {QStringLiteral("slicesStacked"), report.slicesStacked},
        {QStringLiteral("volumeBuilt"), built},
        {QStringLiteral("dimensions"), QJsonArray{x, y, z}},
        {QStringLiteral("interslice"), state.Interslice},
        {QStringLiteral("mmPerPixel"), state.MmPixelFijo},
        {QStringLiteral("zeroFrame"), state.FrameCero},
        {QStringLiteral("increment"), state.Incremento},
        {QStringLiteral("lateral"), lateral},
        {QStringLiteral("inconsistentFiles"), report.inconsistentFiles},
        {QStringLiteral("failures"), QJsonArray::fromStringList(report.failures)},
        {QStringLiteral("threads"), threads},
        {QStringLiteral("seconds"), seconds},
    };
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    for (const QString &failure : report.failures) {
        err << "zokorvane-tool: " << failure << "\n";
    }
    return report.failures.isEmpty() ? 0 : 1;
}

} // namespace ImagingCommands
