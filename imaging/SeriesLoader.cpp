#include "imaging/SeriesLoader.h"

#include "core/ConfinedRead.h"
#include "core/SafeWrite.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/NiftiFiles.h"
#include "imaging/ParallelJobs.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace {

const QString InfoFile = QStringLiteral("volume.json");

QString pictureName(int slice) {
    return QStringLiteral("slice%1.bmp").arg(slice + 1, 4, 10, QLatin1Char('0'));
}

// The frame (from 1, in slice order) of the slice nearest the scanner's origin.
double zeroFrame(const VolumeLayout::ScannerVolume &volume) {
    const VolumeLayout::Vec3 &step = volume.affine.axes[2];
    const VolumeLayout::Vec3 &origin = volume.affine.origin;
    const double length2 = step[0] * step[0] + step[1] * step[1] + step[2] * step[2];
    if (length2 <= 0 || volume.dims[2] < 1) {
        return 0;
    }
    const double k = -(origin[0] * step[0] + origin[1] * step[1] + origin[2] * step[2]) / length2;
    return std::clamp(std::round(k), 0.0, double(volume.dims[2] - 1)) + 1;
}

// What identifies the files a volume came from: names, sizes and modification times.
QString signatureOf(const QList<QFileInfo> &files) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QFileInfo &file : files) {
        hash.addData(file.absoluteFilePath().toUtf8());
        hash.addData(QByteArray::number(file.size()));
        hash.addData(QByteArray::number(file.lastModified().toMSecsSinceEpoch()));
    }
    return QString::fromLatin1(hash.result().toHex());
}

// Removes what loads killed while writing their pictures left in the cache: the fresh folders
// ("HASH.new-PID") of processes that no longer run. Links are removed, never followed.
void removeLeftovers(const QString &root) {
    const QFileInfoList entries = QDir(root).entryInfoList({QStringLiteral("*.new-*")},
                                                           QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        bool number = false;
        const qint64 pid = entry.fileName().section(QLatin1Char('-'), -1).toLongLong(&number);
        if (!number || pid <= 0 || pid == QCoreApplication::applicationPid()) {
            continue;
        }
#ifdef Q_OS_UNIX
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) {
            continue;
        }
#endif
        if (entry.isSymLink()) {
            QFile::remove(entry.absoluteFilePath());
        } else {
            QDir(entry.absoluteFilePath()).removeRecursively();
        }
    }
}

QPointer<QThreadPool> cacheWriterPool;

// Runs first thing in the application object's destructor, while the plugin paths the picture
// writer asks for still exist: a command that ends while a cache is being written waits for it
// here, not in the deletion of the application's children, when those paths are gone.
void waitForCacheWriters() {
    if (cacheWriterPool) {
        cacheWriterPool->waitForDone();
    }
}

// The one thread that writes the cache pictures, one set after another; the application object
// owns it and waits for it when the program ends. None without an application object.
QThreadPool *cacheWriters() {
    if (!cacheWriterPool && QCoreApplication::instance()) {
        cacheWriterPool = new QThreadPool(QCoreApplication::instance());
        cacheWriterPool->setMaxThreadCount(1);
        qAddPostRoutine(waitForCacheWriters);
    }
    return cacheWriterPool;
}

} // namespace

SeriesLoader::SeriesLoader(ImagingState &state)
    : m_state(state), m_cacheRoot(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                                  QStringLiteral("/series")) {}

void SeriesLoader::DestruyeVolumen() {
    if (m_state.VolumenActual != 0) {
        m_state.library()._d2_destruye(m_state.VolumenActual);
        m_state.VolumenActual = 0;
    }
}

QString SeriesLoader::cacheFolderFor(const QString &ruta) const {
    const QByteArray key = QFileInfo(ruta).absoluteFilePath().toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
    return QDir(m_cacheRoot).filePath(hash);
}

const DicomFiles::Scan &SeriesLoader::scan(const QString &folder, bool fresh) {
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (fresh || absolute != m_scannedFolder) {
        m_scan = DicomFiles::scanFolder(absolute, m_threads);
        m_scannedFolder = absolute;
    }
    return m_scan;
}

bool SeriesLoader::readPictures(const QStringList &paths, bool lateral, VolumeLayout::ScannerVolume &volume) {
    if (paths.isEmpty()) {
        return false;
    }
    const int count = int(paths.size());
    for (int k = 0; k < count; ++k) {
        const QImage picture = QImage(paths[k]).convertToFormat(QImage::Format_Grayscale8);
        if (k == 0) {
            if (picture.isNull()) {
                m_report.failures << QStringLiteral("%1: not a picture that can be read").arg(paths[k]);
                return false;
            }
            // Pictures of one millimetre a pixel, as many as there are: within a head series' sizes.
            const QString problem =
                VolumeLayout::sizeProblem({picture.width(), picture.height(), count}, VolumeLayout::Affine{});
            if (!problem.isEmpty()) {
                m_report.failures
                    << QStringLiteral("%1: %2 pictures: %3").arg(paths[k]).arg(count).arg(problem);
                return false;
            }
            volume.dims = {picture.width(), picture.height(), count};
            volume.voxels.assign(std::size_t(picture.width()) * picture.height() * count, 0);
        }
        if (picture.isNull()) {
            m_report.failures << QStringLiteral("%1: not a picture that can be read").arg(paths[k]);
            continue;
        }
        // A picture of another size is placed at the top-left corner, cut or padded with black.
        for (int y = 0; y < std::min(picture.height(), volume.dims[1]); ++y) {
            std::copy_n(picture.constScanLine(y), std::min(picture.width(), volume.dims[0]),
                        &volume.voxels[volume.index(0, y, k)]);
        }
        if (m_progress) {
            m_progress(Phase::Converting, k, 0, count - 1);
        }
    }
    volume.affine = VolumeLayout::picturesAffine(lateral, 1.0, 1.0);
    return true;
}

bool SeriesLoader::readNifti(const QString &ruta, VolumeLayout::ScannerVolume &volume) {
    const QFileInfo info(ruta);
    m_report.source = QStringLiteral("nifti");
    m_report.filesSeen = 1;
    QString error;
    if (!NiftiFiles::read(ruta, volume, &error)) {
        m_report.failures << error;
        return false;
    }
    m_signature = signatureOf({info});
    const VolumeLayout::Affine &a = volume.affine;
    const VolumeLayout::Vec3 n{a.axes[0][1] * a.axes[1][2] - a.axes[0][2] * a.axes[1][1],
                               a.axes[0][2] * a.axes[1][0] - a.axes[0][0] * a.axes[1][2],
                               a.axes[0][0] * a.axes[1][1] - a.axes[0][1] * a.axes[1][0]};
    m_report.orientation = VolumeLayout::describeOrientation(n);
    m_report.series = info.fileName();
    m_report.volumes = 1;
    return true;
}

// The pictures of an earlier load of this folder, else the folder's own JPEG pictures.
bool SeriesLoader::readCachedPictures(const QString &ruta, bool lateral,
                                      VolumeLayout::ScannerVolume &volume) {
    m_report.source = QStringLiteral("pictures");
    const QString cache = cacheFolderFor(ruta);
    QFile infoFile(QDir(cache).filePath(InfoFile));
    if (infoFile.open(QIODevice::ReadOnly)) {
        const QJsonObject json = QJsonDocument::fromJson(infoFile.readAll()).object();
        const int slices = json.value(QStringLiteral("slices")).toInt();
        QStringList paths;
        for (int k = 0; k < slices; ++k) {
            paths << QDir(cache).filePath(pictureName(k));
        }
        // Pictures carry no geometry, as ever: the landmarks calibrate them.
        if (slices > 0 && slices <= VolumeLayout::MaxAxisVoxels && readPictures(paths, true, volume)) {
            m_report.orientation = QStringLiteral("sagittal");
            m_report.series = json.value(QStringLiteral("series")).toString();
            m_report.filesSeen = slices;
            m_report.source = QStringLiteral("cache");
            return true;
        }
    }
    QStringList jpegs;
    for (const QFileInfo &file : QDir(ruta).entryInfoList(QDir::Files, QDir::Name)) {
        const QString suffix = file.suffix().toLower();
        if ((suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) &&
            ConfinedRead::notRegularFile(file.absoluteFilePath()).isEmpty()) {
            jpegs << file.absoluteFilePath();
        }
    }
    m_report.filesSeen = int(jpegs.size());
    m_report.orientation = lateral ? QStringLiteral("sagittal (as told)") : QStringLiteral("axial (as told)");
    return readPictures(jpegs, lateral, volume);
}

// The chosen volume of the chosen series of a folder (series -1: the one the scan prefers).
bool SeriesLoader::readDicom(const QString &ruta, bool lateral, std::array<int, 2> chosen,
                             VolumeLayout::ScannerVolume &volume, bool &positioned, QString &named) {
    m_report.source = QStringLiteral("dicom");
    const DicomFiles::Scan &found = scan(ruta);
    m_report.filesSeen = found.filesSeen;
    m_report.skippedFiles = found.skippedFiles;
    m_report.skipped = found.skippedReasons;
    m_report.seriesFound = int(found.series.size());
    m_report.failures << found.refused;
    const int series = chosen[0] >= 0 ? chosen[0] : found.preferredSeries();
    if (series < 0 || series >= int(found.series.size())) {
        m_report.failures << (found.series.empty()
                                  ? QStringLiteral("%1: holds no DICOM image series").arg(ruta)
                                  : QStringLiteral("%1: there is no series %2; it holds %3")
                                        .arg(ruta)
                                        .arg(series + 1)
                                        .arg(found.series.size()));
        return false;
    }
    const DicomFiles::Series &whole = found.series[std::size_t(series)];
    m_report.series = whole.label();
    m_report.volumes = whole.volumes;
    if (chosen[1] < 0 || chosen[1] >= whole.volumes) {
        m_report.failures << QStringLiteral("%1: series %2 holds %3 volumes; there is no volume %4")
                                 .arg(ruta, whole.label())
                                 .arg(whole.volumes)
                                 .arg(chosen[1] + 1);
        return false;
    }
    const DicomFiles::Series s = whole.volumes > 1 ? whole.volume(chosen[1]) : whole;
    named = s.slices.front().path;
    m_report.volume = chosen[1];
    m_report.volumeName = whole.volumeNames.value(chosen[1]);
    m_report.emptySlices = s.emptyPlaces;
    m_report.orientation = s.orientation();
    m_report.irregularFiles = s.irregularFiles;
    m_report.irregularity = s.irregularity;
    if (!s.irregularity.isEmpty() && m_warning) {
        m_warning(s.irregularity);
    }
    QList<QFileInfo> files;
    for (const DicomFiles::Slice &slice : s.slices) {
        if (slice.frame == 0) {
            files << QFileInfo(slice.path);
        }
    }
    m_signature = signatureOf(files) + s.uid + QStringLiteral("#%1").arg(chosen[1]);
    QStringList failures;
    const bool decoded = DicomFiles::decodeSeries(
        s, volume, &failures, m_threads,
        [&](int done, int total) {
            if (m_progress) {
                m_progress(Phase::Converting, std::max(0, done - 1), 0, total - 1);
            }
        },
        true);
    m_report.failures << failures;
    if (!s.hasOrientation) {
        // Without ImageOrientationPatient the images are pictures as far as orientation goes.
        volume.affine = VolumeLayout::picturesAffine(lateral, s.columnSpacing,
                                                     s.sliceSpacing > 0 ? s.sliceSpacing : s.columnSpacing);
    }
    positioned =
        s.hasOrientation && std::all_of(s.slices.begin(), s.slices.end(),
                                        [](const DicomFiles::Slice &slice) { return slice.hasPosition; });
    return decoded;
}

bool SeriesLoader::readSource(const QString &ruta, bool soloJpg, bool lateral, std::array<int, 2> chosen,
                              VolumeLayout::ScannerVolume &volume, bool &positioned, QString &named) {
    positioned = false;
    named = ruta;
    const QFileInfo info(ruta);
    if (info.isFile() && NiftiFiles::isNiftiPath(ruta)) {
        positioned = readNifti(ruta, volume);
        return positioned;
    }
    if (!info.isDir()) {
        m_report.failures << QStringLiteral("%1: neither a folder nor a NIfTI file").arg(ruta);
        return false;
    }
    if (soloJpg) {
        return readCachedPictures(ruta, lateral, volume);
    }
    return readDicom(ruta, lateral, chosen, volume, positioned, named);
}

bool SeriesLoader::i_CargarImagenes(const QString &ruta, bool soloJpg, bool lateral, int series, int volume) {
    if (soloJpg) {
        waitForCache(); // the pictures of a load just made
    }
    DestruyeVolumen();
    m_loading = true;
    m_report = Report{};
    m_layout = VolumeLayout::Oriented{};
    m_signature.clear();
    m_state.SerieImagenes.clear();
    QElapsedTimer timer;
    timer.start();

    VolumeLayout::ScannerVolume source;
    bool positioned = false;
    bool result = false;
    QString named; // the file a refusal of the whole volume names
    try {
        if (readSource(ruta, soloJpg, lateral, {series, volume}, source, positioned, named)) {
            // The volume as the layout will hold it, before the layout sets anything aside for it.
            const QString problem =
                VolumeLayout::layoutProblem({source.dims[0], source.dims[1], source.dims[2]}, source.affine);
            if (problem.isEmpty()) {
                result = buildVolume(ruta, lateral, source);
            } else {
                m_report.failures << QStringLiteral("%1: %2").arg(named, problem);
            }
        }
    } catch (const std::bad_alloc &) {
        m_report.failures << QStringLiteral("%1: too large for the memory available").arg(named);
        result = false;
    }
    if (!result) {
        DestruyeVolumen();
        m_layout = VolumeLayout::Oriented{};
        m_state.SerieImagenes.clear();
    }
    if (result && (m_report.source == QLatin1String("dicom") || m_report.source == QLatin1String("nifti"))) {
        // A series keeps its own pixel size and slice spacing even without orientation or positions;
        // only where it lies (the zero frame) needs the positions.
        m_state.PonEspaciado(m_layout.sliceMm, m_layout.pixelMm,
                             positioned ? zeroFrame(m_layout.volume) : 0.0);
    } else {
        m_state.PonEspaciado(2.0, 0.0, 0.0);
    }
    m_report.readingSeconds = timer.nsecsElapsed() / 1e9;
    m_report.built = result;
    // Only a volume that passed has pictures in the cache.
    if (result && m_writesPictures && m_report.source != QLatin1String("cache")) {
        startCache(ruta);
    }
    m_loading = false;
    return result;
}

// Brings the volume read into the layout and makes it the state's volume.
bool SeriesLoader::buildVolume(const QString &ruta, bool lateral, VolumeLayout::ScannerVolume &source) {
    m_layout = VolumeLayout::toLayout(std::move(source), m_threads);
    source = {};
    const VolumeLayout::ScannerVolume &v = m_layout.volume;
    ImagingLibrary &library = m_state.library();
    library._d2_crea(m_state.VolumenActual, lateral ? 1 : 0);
    const QString cache = cacheFolderFor(ruta);
    for (int k = 0; k < v.dims[2]; ++k) {
        m_state.SerieImagenes << QDir(cache).filePath(pictureName(k));
    }
    if (m_progress) {
        m_progress(Phase::Stacking, v.dims[2] - 1, 0, v.dims[2] - 1);
    }
    // The library takes a copy; the layout keeps its own for the cache and the export.
    library._d2_anyade(m_state.VolumenActual, v.dims[0], v.dims[1], v.dims[2],
                       std::vector<std::uint8_t>(v.voxels));
    library._d2_cierra(m_state.VolumenActual, lateral ? 0 : 1);
    m_report.slicesStacked = v.dims[2];
    m_report.resampled = m_layout.resampled;
    return true;
}

// The pictures go to a fresh folder beside the cache folder (named after this process, so two
// programs never write into one), which then replaces it, so a reload never reads a half-written set.
// Runs on the cache writers' thread, one set at a time, on its own copy of the volume.
void SeriesLoader::writeCache(const CacheJob &job, Pending &pending) {
    QElapsedTimer timer;
    timer.start();
    const auto finish = qScopeGuard([&] { pending.seconds = timer.nsecsElapsed() / 1e9; });
    const QString &target = job.target;
    removeLeftovers(job.root);
    const QString fresh = target + QStringLiteral(".new-%1").arg(QCoreApplication::applicationPid());
    QDir(fresh).removeRecursively();
    if (!QDir().mkpath(fresh)) {
        pending.error =
            QCoreApplication::translate("SeriesLoader", "Cannot create the picture cache %1").arg(fresh);
        return;
    }
    const VolumeLayout::ScannerVolume &v = job.volume;
    std::atomic<bool> failed{false};
    ParallelJobs::run(
        std::size_t(v.dims[2]), job.threads,
        [&](std::size_t k) {
            const QImage slice(&v.voxels[v.index(0, 0, int(k))], v.dims[0], v.dims[1], v.dims[0],
                               QImage::Format_Grayscale8);
            if (failed || !SafeWrite::writeImage(QDir(fresh).filePath(pictureName(int(k))), slice, "BMP")) {
                failed = true;
            }
        },
        [&](std::size_t) { failed = true; });
    const bool written =
        !failed && SafeWrite::writeBytes(QDir(fresh).filePath(InfoFile), QJsonDocument(job.info).toJson());
    QDir(target).removeRecursively();
    if (!written || !QDir().rename(fresh, target)) {
        QDir(fresh).removeRecursively();
        pending.error =
            QCoreApplication::translate("SeriesLoader", "Cannot write the pictures of the volume to %1")
                .arg(target);
        return;
    }
    pending.folder = target;
}

// A cache that already holds the pictures of the same files (by name, size and modification time)
// is kept as it is: reloading a subject's series writes nothing. Otherwise the pictures are written
// after the volume is shown, by the cache writers' thread.
void SeriesLoader::startCache(const QString &ruta) {
    const QString target = cacheFolderFor(ruta);
    QFile existing(QDir(target).filePath(InfoFile));
    if (!m_signature.isEmpty() && existing.open(QIODevice::ReadOnly) &&
        QJsonDocument::fromJson(existing.readAll()).object().value(QStringLiteral("signature")).toString() ==
            m_signature &&
        QFileInfo::exists(QDir(target).filePath(pictureName(m_layout.volume.dims[2] - 1)))) {
        m_report.cacheFolder = target;
        return;
    }
    auto job = std::make_shared<CacheJob>();
    job->target = target;
    job->root = m_cacheRoot;
    job->volume = m_layout.volume;
    job->threads = m_threads;
    job->info = QJsonObject{{QStringLiteral("source"), QFileInfo(ruta).absoluteFilePath()},
                            {QStringLiteral("series"), m_report.series},
                            {QStringLiteral("slices"), m_layout.volume.dims[2]},
                            {QStringLiteral("signature"), m_signature},
                            {QStringLiteral("pixelMm"), m_layout.pixelMm},
                            {QStringLiteral("sliceMm"), m_layout.sliceMm}};
    m_pending = std::make_shared<Pending>();
    QThreadPool *writers = cacheWriters();
    if (!writers) { // no application object to outlive the load: written here
        writeCache(*job, *m_pending);
        return;
    }
    writers->start([job, pending = m_pending] { writeCache(*job, *pending); });
}

void SeriesLoader::waitForCache() {
    if (QThreadPool *writers = cacheWriters()) {
        writers->waitForDone();
    }
    if (m_pending) {
        m_report.cacheFolder = m_pending->folder;
        m_report.cacheError = m_pending->error;
        m_report.cacheSeconds = m_pending->seconds;
        m_pending.reset();
    }
}
