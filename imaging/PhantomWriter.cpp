#include "PhantomWriter.h"

#include "ZoDir.h"

#include <QDir>
#include <QFile>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/oflog/oflog.h>

#include <cmath>
#include <vector>

namespace Phantom {

double Geometry::scale(double x, double y, double z) const {
    const double u = (x - cx) / rx;
    const double v = (y - cy) / ry;
    const double w = (z - cz) / rz;
    return std::sqrt(u * u + v * v + w * w);
}

double Geometry::scalpDistance(double dx, double dy, double dz) const {
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    return length / scale(cx + dx, cy + dy, cz + dz);
}

Geometry geometry(const Options &options) {
    Geometry g;
    // The head sits a little off the image centre in x, so a centre search that merely returned the
    // middle column would be caught.
    g.cx = 0.47 * (options.size - 1);
    g.cy = 0.5 * (options.size - 1);
    g.cz = 0.5 * (options.slices - 1);
    g.rx = 0.40 * options.size;
    g.ry = 0.36 * options.size;
    g.rz = 0.45 * options.slices;
    return g;
}

namespace {

std::string number(double value) {
    return QString::number(value, 'g', 10).toStdString();
}

Uint16 voxel(const Geometry &g, int x, int y, int z) {
    const double s = g.scale(x, y, z);
    if (s > 1.0) {
        return 0;
    }
    if (s > Geometry::ScalpInner) {
        return Geometry::Scalp;
    }
    if (s > Geometry::SkullInner) {
        return Geometry::Skull;
    }
    return s > 0.6 ? Geometry::GreyMatter : Geometry::WhiteMatter;
}

} // namespace

bool write(const QString &directory, const Options &options, QString *error) {
    auto fail = [&](const QString &why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    if (options.slices < 2 || options.size < 8 || options.spacing <= 0 || options.thickness <= 0) {
        return fail(
            QStringLiteral("A phantom needs at least 2 slices of 8 x 8 pixels and positive spacings."));
    }
    if (!QDir().mkpath(directory)) {
        return fail(QStringLiteral("Cannot create the directory %1.").arg(directory));
    }
    OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
    const Geometry g = geometry(options);
    char uid[100];
    const std::string study = dcmGenerateUniqueIdentifier(uid, SITE_STUDY_UID_ROOT);
    const std::string series = dcmGenerateUniqueIdentifier(uid, SITE_SERIES_UID_ROOT);
    const std::string frame = dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT);
    const std::string spacing = number(options.spacing) + "\\" + number(options.spacing);
    const int n = options.size;
    std::vector<Uint16> pixels(static_cast<std::size_t>(n) * n);
    for (int z = 0; z < options.slices; ++z) {
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const Uint16 v = voxel(g, x, y, z);
                pixels[static_cast<std::size_t>(y) * n + x] = options.monochrome1 ? Uint16(4095 - v) : v;
            }
        }
        // Sagittal slices: rows run head to foot, columns front to back, slices along the
        // patient's left-right axis, the middle one through the origin.
        const double location = (z - 0.5 * (options.slices - 1)) * options.thickness;
        const double top = 0.5 * (n - 1) * options.spacing;
        DcmFileFormat file;
        DcmDataset *d = file.getDataset();
        d->putAndInsertString(DCM_SOPClassUID, UID_MRImageStorage);
        d->putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
        d->putAndInsertString(DCM_StudyInstanceUID, study.c_str());
        d->putAndInsertString(DCM_SeriesInstanceUID, series.c_str());
        d->putAndInsertString(DCM_FrameOfReferenceUID, frame.c_str());
        d->putAndInsertString(DCM_Modality, "MR");
        d->putAndInsertString(DCM_PatientName, "Phantom^Head");
        d->putAndInsertString(DCM_PatientID, "PHANTOM");
        d->putAndInsertString(DCM_SeriesDescription, "Synthetic head phantom");
        d->putAndInsertString(DCM_SeriesNumber, "1");
        d->putAndInsertString(DCM_InstanceNumber, std::to_string(z + 1).c_str());
        d->putAndInsertString(DCM_PixelSpacing, spacing.c_str());
        d->putAndInsertString(DCM_SliceThickness, number(options.thickness).c_str());
        d->putAndInsertString(DCM_SpacingBetweenSlices, number(options.thickness).c_str());
        d->putAndInsertString(DCM_ImagePositionPatient,
                              (number(location) + "\\" + number(-top) + "\\" + number(top)).c_str());
        d->putAndInsertString(DCM_ImageOrientationPatient, "0\\1\\0\\0\\0\\-1");
        d->putAndInsertString(DCM_SliceLocation, number(location).c_str());
        d->putAndInsertString(DCM_WindowCenter, options.monochrome1 ? "3583" : "512");
        d->putAndInsertString(DCM_WindowWidth, number(options.windowWidth).c_str());
        d->putAndInsertUint16(DCM_SamplesPerPixel, 1);
        d->putAndInsertString(DCM_PhotometricInterpretation,
                              options.monochrome1 ? "MONOCHROME1" : "MONOCHROME2");
        d->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(n));
        d->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(n));
        d->putAndInsertUint16(DCM_BitsAllocated, 16);
        d->putAndInsertUint16(DCM_BitsStored, 12);
        d->putAndInsertUint16(DCM_HighBit, 11);
        d->putAndInsertUint16(DCM_PixelRepresentation, 0);
        d->putAndInsertUint16Array(DCM_PixelData, pixels.data(), static_cast<unsigned long>(pixels.size()));
        const QString name = QStringLiteral("slice%1.dcm").arg(z + 1, 4, 10, QLatin1Char('0'));
        const QString path = ZoDir::UneRuta(directory, name);
        const OFCondition saved =
            file.saveFile(OFFilename(QFile::encodeName(path).constData()), EXS_LittleEndianExplicit);
        if (saved.bad()) {
            return fail(QStringLiteral("Cannot write %1 (%2).").arg(path, QString::fromLatin1(saved.text())));
        }
    }
    return true;
}

} // namespace Phantom
