#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DicomFiles;
class ImagingState;

// The image loader's work without its window: converts a directory's DICOM files to JPEG and then to
// BMP pictures beside them, stacks every BMP picture of the directory (in the listing's order) into
// a new volume of the imaging state, and stores the series spacing.
//
// Names are matched without regard to case, but files keep their own names: on a case-sensitive
// file system a lower-cased listing entry resolves to the file whose name differs only by case.
// DICOM files are the ones with extension "dcm" or none. The geometry of every DICOM file is read
// first, in listing order; the conversions then run on several threads when asked to.
class SeriesLoader {
public:
    enum class Phase { Converting, Stacking };

    struct Report {
        int filesSeen = 0;         // entries of the directory listing
        int dicomFiles = 0;        // of them, DICOM files (by extension)
        int converted = 0;         // pictures written (DICOM to JPEG, JPEG to BMP)
        int slicesStacked = 0;     // BMP pictures appended to the volume
        int inconsistentFiles = 0; // DICOM files whose geometry differs from the first one's
        bool built = false;        // a volume was completed
        QStringList failures;      // files that could not be converted, with the reason
        double conversionSeconds = 0;
        double stackingSeconds = 0;
    };

    SeriesLoader(ImagingState &state, DicomFiles &dicom);

    // Called after each step on the calling thread with the step (lo to hi) of the phase; a window
    // updates its progress bar and lets pending events run.
    void setProgress(std::function<void(Phase, int step, int lo, int hi)> progress) {
        m_progress = std::move(progress);
    }
    // Called once per DICOM file whose geometry differs from the first one's, with the text to show.
    void setWarning(std::function<void(const QString &)> warning) { m_warning = std::move(warning); }
    // Conversion threads; 1 converts on the calling thread only.
    void setThreads(int threads) { m_threads = threads < 1 ? 1 : threads; }

    // Releases the volume of the state, if any.
    void DestruyeVolumen();
    // Loads the series of the directory; soloJpg skips the DICOM conversion; lateral is the
    // "Images as lateral slices" box. True when a volume was completed.
    bool i_CargarImagenes(const QString &ruta, bool soloJpg, bool lateral);

    bool cargando() const { return m_cargando; }
    const Report &report() const { return m_report; }

    // The message shown for a DICOM file whose geometry differs from the series' first one.
    static QString inconsistentText() { return QStringLiteral("Imagenes no definidas igual"); }

private:
    ImagingState &m_state;
    DicomFiles &m_dicom;
    std::function<void(Phase, int, int, int)> m_progress;
    std::function<void(const QString &)> m_warning;
    int m_threads = 1;
    bool m_cargando = false;
    Report m_report;
};
