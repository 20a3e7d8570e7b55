#include "SeriesLoader.h"

#include "DicomFiles.h"
#include "ImagingLibrary.h"
#include "ImagingState.h"
#include "ZoDir.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Listing entries are compared in lower case; this gives back the file's own name.
QString resolveCase(const QString &entry, const QHash<QString, QString> &byLowerCase) {
    return byLowerCase.value(entry.toLower(), entry);
}

QHash<QString, QString> filesByLowerCase(const QString &directory) {
    QHash<QString, QString> map;
    for (const QString &path : ZoDir::ListaFicheros(directory)) {
        map.insert(path.toLower(), path);
    }
    return map;
}

} // namespace

SeriesLoader::SeriesLoader(ImagingState &state, DicomFiles &dicom) : m_state(state), m_dicom(dicom) {}

void SeriesLoader::DestruyeVolumen() {
    if (m_state.VolumenActual != 0) {
        m_state.library()._d2_destruye(m_state.VolumenActual);
        m_state.VolumenActual = 0;
    }
}

bool SeriesLoader::i_CargarImagenes(const QString &ruta, bool soloJpg, bool lateral) {
    DestruyeVolumen();
    m_cargando = true;
    m_report = Report{};
    QElapsedTimer timer;
    timer.start();

    qint32 valido = 0;
    double refInterslice = 0;
    double refMm = 0;
    double refFrame = 0;
    bool haveReference = false;

    m_state.SerieImagenes = ZoDir::ListaFicheros(ruta);
    QStringList &serie = m_state.SerieImagenes;
    m_report.filesSeen = serie.size() == 1 && serie.first().isEmpty() ? 0 : int(serie.size());
    if (serie.size() > 1) {
        const int lo = 0;
        const int hi = int(serie.size()) - 1;
        // One job per picture to write: DICOM to JPEG (then to BMP), or an existing JPEG to BMP.
        struct Job {
            QString dicom;
            QString jpg;
        };
        std::vector<Job> jobs;
        for (int i = lo; i <= hi; ++i) {
            QString entry = serie[i];
            const QString extension = ZoDir::DameExtension(entry).toLower();
            if (!soloJpg && (extension == QLatin1String("dcm") || extension.isEmpty())) {
                ++m_report.dicomFiles;
                double interslice = 0;
                double mm = 0;
                double frame = 0;
                valido = 0;
                m_dicom._d2_dicominfo(entry, valido, interslice, mm, frame);
                if (!haveReference) {
                    haveReference = true;
                    refInterslice = interslice;
                    refMm = mm;
                    refFrame = frame;
                } else if (interslice != refInterslice || mm != refMm || frame != refFrame) {
                    ++m_report.inconsistentFiles;
                    if (m_warning) {
                        m_warning(inconsistentText());
                    }
                }
                QString jpg = entry;
                ZoDir::PonExtension(jpg, QStringLiteral("jpg"));
                jobs.push_back({entry, jpg});
                serie[i] = jpg;
            } else if (extension == QLatin1String("jpg") && ZoDir::ExisteFichero(entry)) {
                jobs.push_back({QString(), entry});
            }
        }
        // A JPEG left by an earlier load is rewritten by its DICOM file's job, which also turns it
        // into BMP; converting it on its own as well would race that job for the same files.
        QSet<QString> written;
        for (const Job &job : jobs) {
            if (!job.dicom.isEmpty()) {
                written.insert(job.jpg);
            }
        }
        std::erase_if(jobs, [&](const Job &job) { return job.dicom.isEmpty() && written.contains(job.jpg); });
        std::atomic<std::size_t> next{0};
        std::atomic<int> done{0};
        std::atomic<int> converted{0};
        std::mutex failuresMutex;
        auto runJob = [&](const Job &job) {
            QString why;
            bool ok = job.dicom.isEmpty() || m_dicom._d2_convierteDicomAJpg(job.dicom, job.jpg, &why);
            if (ok) {
                QString bmp = job.jpg;
                ZoDir::PonExtension(bmp, QStringLiteral("bmp"));
                const QImage picture(job.jpg);
                ok = !picture.isNull() && picture.save(bmp, "BMP");
                if (!ok) {
                    why = QStringLiteral("Cannot turn %1 into %2.").arg(job.jpg, bmp);
                }
            }
            if (ok) {
                ++converted;
            } else {
                std::lock_guard<std::mutex> lock(failuresMutex);
                m_report.failures << why;
            }
            ++done;
        };
        std::vector<std::thread> workers;
        for (int t = 1; t < m_threads && std::size_t(t) < jobs.size(); ++t) {
            workers.emplace_back([&] {
                for (std::size_t j = next++; j < jobs.size(); j = next++) {
                    runJob(jobs[j]);
                }
            });
        }
        // The calling thread converts too, and reports progress between its own conversions.
        for (std::size_t j = next++; j < jobs.size(); j = next++) {
            runJob(jobs[j]);
            if (m_progress) {
                m_progress(Phase::Converting, std::min(lo + done.load(), hi), lo, hi);
            }
        }
        for (std::thread &worker : workers) {
            worker.join();
        }
        if (m_progress) {
            m_progress(Phase::Converting, hi, lo, hi);
        }
        m_report.converted = converted;
    }
    m_report.conversionSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();

    const QHash<QString, QString> byLowerCase = filesByLowerCase(ruta);
    QStringList bmps = ZoDir::ListaFicherosExtension(ruta, QStringLiteral("bmp"));
    for (QString &entry : bmps) {
        entry = resolveCase(entry, byLowerCase);
    }
    m_state.SerieImagenes = bmps;
    bool result = false;
    if (bmps.size() > 1) {
        const int lo = 0;
        const int hi = int(bmps.size()) - 1;
        ImagingLibrary &library = m_state.library();
        library._d2_crea(m_state.VolumenActual, lateral ? 1 : 0);
        for (int i = lo; i <= hi; ++i) {
            if (m_progress) {
                m_progress(Phase::Stacking, i, lo, hi);
            }
            library._d2_anyade(m_state.VolumenActual, bmps[i]);
            ++m_report.slicesStacked;
        }
        result = true;
        library._d2_cierra(m_state.VolumenActual, lateral ? 0 : 1);
    }
    m_report.stackingSeconds = timer.nsecsElapsed() / 1e9;

    if (valido != 0) {
        m_state.PonEspaciado(refInterslice, refMm, refFrame);
    } else {
        m_state.PonEspaciado(2.0, 0.0, 0.0);
    }
    m_report.built = result;
    m_cargando = false;
    return result;
}
