#include "imaging/StoredCalibration.h"

#include "core/ConfinedRead.h"

#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
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

#include <cmath>
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
    if (const QString notRegular = ConfinedRead::notRegularFile(path); !notRegular.isEmpty()) {
        return fail(notRegular);
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
    const int chosen = series >= 0 ? series : scan.preferredSeries();
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
    static const char *const Columns[3] = {"landmark1", "landmark2", "ilion"};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!insideVolume(state, record.landmarks[i])) {
            qint32 x = 0, y = 0, z = 0;
            state.library()._d2_dimensiones(state.VolumenActual, x, y, z);
            const SubjectCalibration::Landmark &p = record.landmarks[i];
            throw ImagingError(
                QCoreApplication::translate("StoredCalibration",
                                            "The stored MR calibration of subject %1 is refused: "
                                            "%2 (%3, %4, %5) lies outside the volume of %6 x %7 x "
                                            "%8 voxels. Mark the landmarks again.")
                    .arg(record.subjectId)
                    .arg(QLatin1String(Columns[i]))
                    .arg(p.x)
                    .arg(p.y)
                    .arg(p.z)
                    .arg(x)
                    .arg(y)
                    .arg(z));
        }
    }
    const double seriesInterslice = state.Interslice;
    state.InicializaResonancia();
    for (qint16 which = 1; which <= 3; ++which) {
        const SubjectCalibration::Landmark &p = record.landmarks[std::size_t(which - 1)];
        state.PonReferencia(p.x, p.y, p.z, which);
    }
    state.PonCalibracion(record.distance, record.interslice > 0 ? record.interslice : seriesInterslice,
                         record.zeroFrame);
}

SubjectAiming::Record aiming(ImagingState &state, const VolumeLayout::Affine &affine,
                             const SubjectCalibration::Record &record) {
    // NIfTI's world (RAS) from a voxel of the volume as held: patient space (LPS) with x and y turned.
    const auto world = [&](const ImagingMath::VoxelPoint &p) {
        const VolumeLayout::Vec3 lps = affine.map(double(p.x), double(p.y), double(p.z));
        return VolumeLayout::Vec3{-lps[0], -lps[1], lps[2]};
    };
    SubjectAiming::Record r;
    r.subjectId = record.subjectId;
    r.calibration = SubjectAiming::calibrationDigest(record);
    for (int cell = 0; cell < SubjectAiming::Cells; ++cell) {
        aimAtCell(state, cell, 0); // the depth only moves the view's target; the scalp point is the same
        if (!state.scalpFound) {
            continue; // no scalp point: the cell stays empty
        }
        SubjectAiming::Cell &c = r.cells[std::size_t(cell)];
        const VolumeLayout::Vec3 scalp = world(state.PuntoExterno), centre = world(state.PuntoCentro);
        const double length = std::hypot(centre[0] - scalp[0], centre[1] - scalp[1], centre[2] - scalp[2]);
        if (!(length > 0) || !std::isfinite(length)) {
            throw ImagingError(QCoreApplication::translate("StoredCalibration",
                                                           "The aiming at cell %1 of subject %2 meets the "
                                                           "scalp at the head centre.")
                                   .arg(cell)
                                   .arg(record.subjectId));
        }
        c.found = true;
        c.scalp = scalp;
        for (std::size_t a = 0; a < 3; ++a) {
            c.toward[a] = (centre[a] - scalp[a]) / length;
        }
        c.reach = length;
    }
    return r;
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
