#pragma once

#include "imaging/DicomFiles.h"
#include "imaging/VolumeLayout.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class ImagingState;

// The image loader's work without its window: finds the series of a folder (or takes a NIfTI file),
// decodes the chosen one, brings it into the program's one volume layout (VolumeLayout.h), makes it
// the volume of the imaging state and stores the series spacing. Nothing is written beside the
// series: once the volume is ready (and shown) its slices are written in the background as BMP
// pictures (lossless, quick to write) to a per-user cache keyed by the folder, all or nothing, which
// the pictures-only reload reads back (as pictures:
// without the series' spacing, which the landmarks then calibrate).
//
// The "Images as lateral slices" box only matters for pictures, which carry no orientation: ticked,
// they are lateral slices already in the layout; unticked, axial slices as scanners show them.
class SeriesLoader {
public:
    enum class Phase { Converting, Stacking };

    struct Report {
        QString source;            // "dicom", "nifti" or "pictures"
        int filesSeen = 0;         // files of the folder
        int skippedFiles = 0;      // of them, not images of any series
        QStringList skipped;       // the first few skipped files, with the reason
        int seriesFound = 0;       // DICOM series in the folder
        QString series;            // the series loaded, as the loader lists it
        int volumes = 0;           // volumes that series holds (echoes, time points, directions...)
        int volume = 0;            // the one built, from 0
        QString volumeName;        // what tells it from the others ("echo 2"); empty for one volume
        int emptySlices = 0;       // places of the volume's slices that no file fills, left black
        QString orientation;       // the orientation found ("axial", "sagittal (oblique, ...)")
        int slicesStacked = 0;     // slices of the volume built
        int irregularFiles = 0;    // files whose pixel size or spacing differs from the series'
        QString irregularity;      // the one message that says how
        bool resampled = false;    // an in-plane axis was resampled to square pixels
        bool built = false;        // a volume was completed
        QStringList failures;      // files that could not be decoded, with the reason
        QString cacheFolder;       // where the pictures of the volume are, once written (waitForCache)
        QString cacheError;        // why they could not be (the load still stands)
        double readingSeconds = 0; // headers, decoding and layout: until the volume is ready
        double cacheSeconds = 0;   // writing the pictures afterwards (waitForCache)
    };

    explicit SeriesLoader(ImagingState &state);

    // Called after each step on the calling thread with the step (lo to hi) of the phase; a window
    // updates its progress bar and lets pending events run.
    void setProgress(std::function<void(Phase, int step, int lo, int hi)> progress) {
        m_progress = std::move(progress);
    }
    // Called once per load whose series is irregular, with the text to show.
    void setWarning(std::function<void(const QString &)> warning) { m_warning = std::move(warning); }
    // Decoding threads; 1 decodes on the calling thread only.
    void setThreads(int threads) { m_threads = threads < 1 ? 1 : threads; }
    // Whether a load writes the pictures of its volume to the cache (the default). A load that only
    // computes from the volume (the sites, a group map, an export) has no use for them: writing them
    // would keep a disk busy and the command waiting at its end. The state's SerieImagenes still name
    // where they would be.
    void setWritesPictures(bool writes) { m_writesPictures = writes; }

    // The series of a folder, for the window to list; remembered for the load that follows, so the
    // index chosen from the list names the same series. fresh reads the folder again.
    const DicomFiles::Scan &scan(const QString &folder, bool fresh = false);

    // Releases the volume of the state, if any.
    void DestruyeVolumen();
    // Loads the series of the folder, or the NIfTI file ruta names. soloJpg loads the pictures of an
    // earlier load from the cache (else the folder's own JPEG pictures); lateral is the "Images as
    // lateral slices" box; series chooses among the folder's series by its place in the list (-1: the
    // one DicomFiles::Scan::preferredSeries names), volume among the volumes of that series (from 0).
    // True when a volume was completed.
    bool i_CargarImagenes(const QString &ruta, bool soloJpg, bool lateral, int series = -1, int volume = 0);

    // Waits until the pictures of the last load are in the cache (or have failed) and completes the
    // report with them. A load returns before they are written; a pictures-only reload waits for them.
    void waitForCache();

    bool loading() const { return m_loading; }
    const Report &report() const { return m_report; }
    // The volume last loaded, in the layout, with its placement in patient space.
    const VolumeLayout::Oriented &layout() const { return m_layout; }

    // The cache folder of a series folder or NIfTI file.
    QString cacheFolderFor(const QString &ruta) const;

private:
    bool readSource(const QString &ruta, bool soloJpg, bool lateral, std::array<int, 2> chosen,
                    VolumeLayout::ScannerVolume &volume, bool &positioned, QString &named);
    bool readNifti(const QString &ruta, VolumeLayout::ScannerVolume &volume);
    bool readCachedPictures(const QString &ruta, bool lateral, VolumeLayout::ScannerVolume &volume);
    bool readDicom(const QString &ruta, bool lateral, std::array<int, 2> chosen,
                   VolumeLayout::ScannerVolume &volume, bool &positioned, QString &named);
    bool buildVolume(const QString &ruta, bool lateral, VolumeLayout::ScannerVolume &source);
    bool readPictures(const QStringList &paths, bool lateral, VolumeLayout::ScannerVolume &volume);
    struct CacheJob {
        QString target;                     // the series' cache folder
        QString root;                       // the folder of every series' cache
        VolumeLayout::ScannerVolume volume; // a copy: the loader may load another meanwhile
        int threads = 1;
        QJsonObject info;
    };
    struct Pending {
        QString folder;
        QString error;
        double seconds = 0;
    };
    void startCache(const QString &ruta);
    static void writeCache(const CacheJob &job, Pending &pending);

    ImagingState &m_state;
    std::function<void(Phase, int, int, int)> m_progress;
    std::function<void(const QString &)> m_warning;
    int m_threads = 1;
    bool m_writesPictures = true;
    bool m_loading = false;
    QString m_cacheRoot;
    QString m_scannedFolder;
    QString m_signature; // of the files the last volume came from; empty for pictures
    DicomFiles::Scan m_scan;
    Report m_report;
    VolumeLayout::Oriented m_layout;
    std::shared_ptr<Pending> m_pending; // of the pictures being written
};
