#include "imaging/StoredCalibration.h"

#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/NiftiFiles.h"
#include "imaging/SeriesLoader.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <zlib.h>

#include <cstring>
#include <memory>

namespace StoredCalibration {

QString dicomFingerprint(const DicomFiles::Series &series) {
    return QStringLiteral("dicom:%1:%2").arg(series.uid).arg(series.slices.size());
}

QString niftiFingerprint(const QString &path, QString *error) {
    const auto fail = [&](const QString &why) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(path, why);
        }
        return QString();
    };
    if (!QFileInfo(path).isFile()) {
        return fail(QCoreApplication::translate("StoredCalibration", "not a file"));
    }
    // zlib reads a file that is not gzipped as it stands.
    std::unique_ptr<gzFile_s, int (*)(gzFile)> file(gzopen(QFile::encodeName(path).constData(), "rb"),
                                                    gzclose);
    char header[540];
    if (!file || gzread(file.get(), header, 4) != 4) {
        return fail(QCoreApplication::translate("StoredCalibration", "no NIfTI header"));
    }
    qint32 size = 0;
    std::memcpy(&size, header, 4);
    if (size != 348 && size != 540) {
        size = qbswap(size);
    }
    if ((size != 348 && size != 540) || gzread(file.get(), header + 4, unsigned(size - 4)) != size - 4) {
        return fail(QCoreApplication::translate("StoredCalibration", "no NIfTI header"));
    }
    return QStringLiteral("nifti-sha256:") +
           QString::fromLatin1(
               QCryptographicHash::hash(QByteArray(header, size), QCryptographicHash::Sha256).toHex());
}

Loaded loaded(SeriesLoader &loader, const QString &source, int series) {
    Loaded result;
    if (QFileInfo(source).isFile() && NiftiFiles::isNiftiPath(source)) {
        result.fingerprint = niftiFingerprint(source);
        return result;
    }
    if (loader.report().source != QLatin1String("dicom")) {
        return result;
    }
    const DicomFiles::Scan &scan = loader.scan(source);
    const int chosen = series >= 0 ? series : scan.largestSeries();
    if (chosen >= 0 && chosen < int(scan.series.size())) {
        result.seriesNumber = chosen;
        result.fingerprint = dicomFingerprint(scan.series[std::size_t(chosen)]);
    }
    return result;
}

int findSeries(const DicomFiles::Scan &scan, const QString &fingerprint) {
    for (std::size_t i = 0; i < scan.series.size(); ++i) {
        if (dicomFingerprint(scan.series[i]) == fingerprint) {
            return int(i);
        }
    }
    return -1;
}

bool insideVolume(const ImagingState &state, const SubjectCalibration::Landmark &voxel) {
    qint32 x = 0, y = 0, z = 0;
    state.library()._d2_dimensiones(state.VolumenActual, x, y, z);
    return voxel.x >= 0 && voxel.x < x && voxel.y >= 0 && voxel.y < y && voxel.z >= 0 && voxel.z < z;
}

void apply(ImagingState &state, const SubjectCalibration::Record &record) {
    state.InicializaResonancia();
    for (qint16 which = 1; which <= 3; ++which) {
        const SubjectCalibration::Landmark &p = record.landmarks[std::size_t(which - 1)];
        state.PonReferencia(p.x, p.y, p.z, which);
    }
    state.PonCalibracion(record.distance, record.interslice, record.zeroFrame);
}

SubjectCalibration::Record recordOf(const ImagingState &state, qint32 subjectId, const QString &series,
                                    const Loaded &loaded) {
    SubjectCalibration::Record r;
    r.subjectId = subjectId;
    r.series = series;
    r.seriesNumber = loaded.seriesNumber;
    r.fingerprint = loaded.fingerprint;
    const ImagingMath::Vector3 *points[3] = {&state.Referencia1, &state.Referencia2, &state.ReferenciaIlion};
    for (std::size_t i = 0; i < 3; ++i) {
        r.landmarks[i] = {points[i]->x, points[i]->y, points[i]->z};
    }
    r.distance = state.Distancia12;
    r.interslice = state.Interslice;
    r.zeroFrame = state.OrigenZ;
    r.accepted = QDateTime::currentDateTimeUtc();
    return r;
}

bool loadCalibrated(SeriesLoader &loader, const SubjectCalibration::Record &record, QString *error) {
    if (!loader.i_CargarImagenes(record.series, false, false, record.seriesNumber)) {
        if (error) {
            const QStringList &failures = loader.report().failures;
            *error =
                QCoreApplication::translate("StimulationSites", "No volume could be built from %1")
                    .arg(record.series) +
                (failures.isEmpty() ? QString() : QStringLiteral(": ") + failures.join(QStringLiteral("; ")));
        }
        return false;
    }
    // The landmarks hold only for the series they were marked on: another one under the same name
    // is refused rather than given wrong results.
    const QString found = loaded(loader, record.series, record.seriesNumber).fingerprint;
    if (!record.fingerprint.isEmpty() && found != record.fingerprint) {
        if (error) {
            *error = QCoreApplication::translate(
                         "AssociatedMr",
                         "The series in %1 is not the one calibrated on %2; mark the landmarks again")
                         .arg(QDir::toNativeSeparators(record.series),
                              record.accepted.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        }
        return false;
    }
    return true;
}

} // namespace StoredCalibration
