#include "imaging/PhantomWriter.h"

#include "core/SafeWrite.h"
#include "core/ZoDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcostrmb.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmdata/dcwcache.h>
#include <dcmtk/oflog/oflog.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace Phantom {

namespace {

using Vec = std::array<double, 3>;

// The grid of an orientation in patient space: row direction (columns grow along it), column
// direction (rows grow along it); the slice normal is their cross product.
void gridDirections(Orientation orientation, Vec &r, Vec &c) {
    switch (orientation) {
    case Orientation::Sagittal:
        r = {0, 1, 0};  // columns to the back
        c = {0, 0, -1}; // rows downwards
        break;
    case Orientation::Axial:
        r = {1, 0, 0}; // columns to the subject's left
        c = {0, 1, 0}; // rows to the back
        break;
    case Orientation::Coronal:
        r = {1, 0, 0};
        c = {0, 0, -1};
        break;
    }
}

Vec cross(const Vec &a, const Vec &b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The head in patient space, millimetres.
struct Head {
    Vec centre{0, 0, 0};
    Vec radius{1, 1, 1}; // along x (left-right), y (front-back), z (up-down)

    // Sizes along each body axis: the grid's extent along it (count x step), and the head centre a
    // little in front of the grid's centre.
    explicit Head(const Options &o) {
        Vec r{}, c{};
        gridDirections(o.orientation, r, c);
        const Vec n = cross(r, c);
        Vec extent{0, 0, 0};
        Vec span{0, 0, 0};
        for (int axis = 0; axis < 3; ++axis) {
            extent[axis] = std::abs(r[axis]) * o.size * o.spacing + std::abs(c[axis]) * o.size * o.spacing +
                           std::abs(n[axis]) * o.slices * o.thickness;
            span[axis] = std::abs(r[axis]) * (o.size - 1) * o.spacing +
                         std::abs(c[axis]) * (o.size - 1) * o.spacing +
                         std::abs(n[axis]) * (o.slices - 1) * o.thickness;
        }
        radius = {0.45 * extent[0], 0.40 * extent[1], 0.36 * extent[2]};
        centre = {0, -0.03 * span[1], 0};
    }

    double scale(const Vec &p) const {
        double sum = 0;
        for (int a = 0; a < 3; ++a) {
            const double u = (p[a] - centre[a]) / radius[a];
            sum += u * u;
        }
        return std::sqrt(sum);
    }

    Uint16 value(const Vec &p) const {
        // The side mark: a ball inside the left half of the brain (+x is the subject's left).
        const Vec mark{centre[0] + 0.55 * radius[0], centre[1], centre[2] + 0.2 * radius[2]};
        const double markRadius = 0.1 * radius[0];
        if (std::hypot(p[0] - mark[0], p[1] - mark[1], p[2] - mark[2]) <= markRadius) {
            return Geometry::Mark;
        }
        const double s = scale(p);
        if (s > 1.0) {
            // The nose: a small ellipsoid on the face (front is -y), below the centre.
            const Vec nose{centre[0], centre[1] - 0.97 * radius[1], centre[2] - 0.25 * radius[2]};
            const Vec size{0.10 * radius[0], 0.15 * radius[1], 0.12 * radius[2]};
            double n = 0;
            for (int a = 0; a < 3; ++a) {
                const double u = (p[a] - nose[a]) / size[a];
                n += u * u;
            }
            return n <= 1.0 ? Uint16(Geometry::Scalp) : Uint16(0);
        }
        if (s > Geometry::ScalpInner) {
            return Geometry::Scalp;
        }
        if (s > Geometry::SkullInner) {
            return Geometry::Skull;
        }
        return s > 0.6 ? Geometry::GreyMatter : Geometry::WhiteMatter;
    }
};

// Turns v about the unit axis by the angle (Rodrigues).
Vec rotate(const Vec &v, const Vec &axis, double radians) {
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const Vec k = cross(axis, v);
    const double d = axis[0] * v[0] + axis[1] * v[1] + axis[2] * v[2];
    return {v[0] * c + k[0] * s + axis[0] * d * (1 - c), v[1] * c + k[1] * s + axis[1] * d * (1 - c),
            v[2] * c + k[2] * s + axis[2] * d * (1 - c)};
}

std::string number(double value) {
    return QString::number(value, 'g', 10).toStdString();
}

std::string triple(const Vec &v) {
    return number(v[0]) + "\\" + number(v[1]) + "\\" + number(v[2]);
}

// The file as DCMTK's saveFile lays it out (preamble, meta header, dataset in explicit little
// endian), in memory. The bytes then go to disk all or nothing: saveFile itself loses a full disk
// on a file smaller than its buffers, reporting a truncated or empty file as written.
bool encode(DcmFileFormat &file, QByteArray &bytes, QString &reason) {
    std::vector<char> chunk(std::size_t(1) << 16);
    DcmOutputBufferStream stream(chunk.data(), static_cast<offile_off_t>(chunk.size()));
    DcmWriteCache cache;
    file.transferInit();
    OFCondition status;
    do {
        // A full chunk comes back as EC_StreamNotifyClient: taken out, the next call goes on.
        status = file.write(stream, EXS_LittleEndianExplicit, EET_UndefinedLength, &cache, EGL_recalcGL);
        void *data = nullptr;
        offile_off_t length = 0;
        stream.flushBuffer(data, length);
        bytes.append(static_cast<const char *>(data), static_cast<qsizetype>(length));
    } while (status == EC_StreamNotifyClient);
    file.transferEnd();
    if (status.bad()) {
        reason = QString::fromLatin1(status.text());
        return false;
    }
    return true;
}

} // namespace

double Geometry::scale(double x, double y, double z) const {
    const double u = (x - cx) / rx;
    const double v = (y - cy) / ry;
    const double w = (z - cz) / rz;
    return std::sqrt(u * u + v * v + w * w);
}

Geometry geometry(const Options &options) {
    // The head of a sagittal grid of these options, in the loaded volume's voxels: columns front to
    // back, rows top down, slices left to right, each grid centred on the origin.
    Options sagittal = options;
    sagittal.orientation = Orientation::Sagittal;
    const Head head(sagittal);
    Geometry g;
    g.cx = 0.5 * (options.size - 1) + head.centre[1] / options.spacing;
    g.cy = 0.5 * (options.size - 1) - head.centre[2] / options.spacing;
    g.cz = 0.5 * (options.slices - 1) - head.centre[0] / options.thickness;
    g.rx = head.radius[1] / options.spacing;
    g.ry = head.radius[2] / options.spacing;
    g.rz = head.radius[0] / options.thickness;
    return g;
}

namespace {

// Writes one phantom series: the tags every file carries, the pixels of each slice, and each file
// all or nothing; when one fails, those written before it go too, with the folders this write made.
class Writer {
public:
    Writer(const QString &directory, const Options &options, QStringList made)
        : m_directory(directory), m_options(options), m_made(std::move(made)), m_head(options) {
        Vec r{}, c{};
        gridDirections(options.orientation, r, c);
        // The acquisition as written: the same grid turned about the row direction.
        const double tilt = options.tiltDegrees * 3.14159265358979323846 / 180.0;
        m_r = r;
        m_c = c;
        m_n = cross(r, c);
        m_cWritten = rotate(c, r, tilt);
        m_nWritten = rotate(m_n, r, tilt);
        char uid[100];
        m_study = dcmGenerateUniqueIdentifier(uid, SITE_STUDY_UID_ROOT);
        m_series = dcmGenerateUniqueIdentifier(uid, SITE_SERIES_UID_ROOT);
        m_frame = dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT);
        m_spacing = number(options.spacing) + "\\" + number(options.spacing);
        m_orientation = triple(m_r) + "\\" + triple(m_cWritten);
        m_instances.resize(std::size_t(options.slices));
        std::iota(m_instances.begin(), m_instances.end(), 1);
        if (options.shuffleNames) {
            std::mt19937 random(20261206);
            std::shuffle(m_instances.begin(), m_instances.end(), random);
        }
    }

    QString error() const { return m_error; }

    bool writeAll() {
        const std::size_t frameSize = std::size_t(m_options.size) * m_options.size;
        std::vector<Uint16> pixels(frameSize * std::size_t(m_options.multiFrame ? m_options.slices : 1));
        for (int k = 0; k < m_options.slices; ++k) {
            Uint16 *target = &pixels[m_options.multiFrame ? frameSize * std::size_t(k) : 0];
            sample(k, target);
            if (m_options.multiFrame) {
                continue;
            }
            for (int v = 0; v < std::max(1, m_options.volumes); ++v) {
                if (!writeSlice(k, v, target)) {
                    return false;
                }
            }
        }
        return !m_options.multiFrame || writeEnhanced(pixels);
    }

private:
    double along(int k) const { return (k - 0.5 * (m_options.slices - 1)) * m_options.thickness; }

    // The top-left corner of slice k as written.
    Vec corner(int k) const {
        const double half = 0.5 * (m_options.size - 1);
        Vec p{};
        for (int a = 0; a < 3; ++a) {
            p[a] = -half * m_options.spacing * (m_r[a] + m_cWritten[a]) + along(k) * m_nWritten[a];
        }
        return p;
    }

    // The stored values of slice k: the head sampled on the grid (inverted for MONOCHROME1), with
    // faint noise in the air when slices carry their own windows.
    void sample(int k, Uint16 *target) const {
        const int size = m_options.size;
        const double half = 0.5 * (size - 1);
        std::mt19937 random(std::uint32_t(k + 1));
        for (int j = 0; j < size; ++j) {
            for (int i = 0; i < size; ++i) {
                Vec p{};
                for (int a = 0; a < 3; ++a) {
                    p[a] = (i - half) * m_options.spacing * m_r[a] + (j - half) * m_options.spacing * m_c[a] +
                           along(k) * m_n[a];
                }
                Uint16 v = m_head.value(p);
                if (v == 0 && m_options.ownWindows) {
                    v = Uint16(random() % 4);
                }
                target[std::size_t(j) * size + i] = m_options.monochrome1 ? Uint16(4095 - v) : v;
            }
        }
    }

    // The tags every file of the series carries.
    void describe(DcmDataset *d, const std::string &instanceUid, const char *sopClass) const {
        d->putAndInsertString(DCM_SOPClassUID, sopClass);
        d->putAndInsertString(DCM_SOPInstanceUID, instanceUid.c_str());
        d->putAndInsertString(DCM_StudyInstanceUID, m_study.c_str());
        d->putAndInsertString(DCM_SeriesInstanceUID, m_series.c_str());
        d->putAndInsertString(DCM_FrameOfReferenceUID, m_frame.c_str());
        d->putAndInsertString(DCM_Modality, "MR");
        d->putAndInsertString(DCM_PatientName, "Phantom^Head");
        d->putAndInsertString(DCM_PatientID, "PHANTOM");
        d->putAndInsertString(DCM_SeriesDescription, "Synthetic head phantom");
        d->putAndInsertString(DCM_SeriesNumber, std::to_string(m_options.seriesNumber).c_str());
        d->putAndInsertString(DCM_WindowCenter, m_options.monochrome1 ? "3583" : "512");
        d->putAndInsertString(DCM_WindowWidth, number(m_options.windowWidth).c_str());
        d->putAndInsertUint16(DCM_SamplesPerPixel, 1);
        d->putAndInsertString(DCM_PhotometricInterpretation,
                              m_options.monochrome1 ? "MONOCHROME1" : "MONOCHROME2");
        d->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(m_options.size));
        d->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(m_options.size));
        d->putAndInsertUint16(DCM_BitsAllocated, 16);
        d->putAndInsertUint16(DCM_BitsStored, 12);
        d->putAndInsertUint16(DCM_HighBit, 11);
        d->putAndInsertUint16(DCM_PixelRepresentation, 0);
        if (m_options.mosaic) {
            d->putAndInsertString(DCM_ImageType, "ORIGINAL\\PRIMARY\\M\\ND\\MOSAIC");
            d->putAndInsertString(DcmTag(0x0019, 0x0010, EVR_LO), "SIEMENS MR HEADER");
            d->putAndInsertUint16(DcmTag(0x0019, 0x100a, EVR_US), 4);
        }
    }

    // Volume v of slice k: its own window when asked, its echo, its values.
    bool writeSlice(int k, int v, const Uint16 *pixels) {
        const std::size_t frameSize = std::size_t(m_options.size) * m_options.size;
        std::vector<Uint16> values(pixels, pixels + frameSize);
        if (m_options.echoes) {
            for (Uint16 &value : values) {
                value = Uint16(value / (v + 1));
            }
        }
        DcmFileFormat file;
        DcmDataset *d = file.getDataset();
        char uid[100];
        const std::string instanceUid = dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT);
        describe(d, instanceUid, UID_MRImageStorage);
        const int instance = m_instances[std::size_t(k)] + v * m_options.slices;
        d->putAndInsertString(DCM_InstanceNumber, std::to_string(instance).c_str());
        d->putAndInsertString(DCM_PixelSpacing, m_spacing.c_str());
        if (m_options.echoes) {
            d->putAndInsertString(DCM_EchoNumbers, std::to_string(v + 1).c_str());
        }
        if (m_options.ownWindows) {
            // The slice's own range, its upper end moved by up to 40% from slice to slice, as the
            // windows scanners choose differ.
            const auto [low, high] = std::minmax_element(values.begin(), values.end());
            const double width = std::max(1.0, (*high - *low) * (0.6 + 0.08 * (k % 11)));
            d->putAndInsertString(DCM_WindowCenter, number(*low + 0.5 * width).c_str());
            d->putAndInsertString(DCM_WindowWidth, number(width).c_str());
        }
        if (m_options.ownRescale) {
            const int slope = 1 + k % 3;
            for (Uint16 &value : values) {
                value = Uint16((value + slope / 2) / slope);
            }
            d->putAndInsertString(DCM_RescaleSlope, std::to_string(slope).c_str());
            d->putAndInsertString(DCM_RescaleIntercept, "0");
        }
        if (m_options.spaced) {
            d->putAndInsertString(DCM_SliceThickness, number(m_options.thickness).c_str());
            d->putAndInsertString(DCM_SpacingBetweenSlices, number(m_options.thickness).c_str());
        }
        if (m_options.placed) {
            d->putAndInsertString(DCM_ImagePositionPatient, triple(corner(k)).c_str());
            d->putAndInsertString(DCM_ImageOrientationPatient, m_orientation.c_str());
            d->putAndInsertString(DCM_SliceLocation, number(along(k)).c_str());
        }
        d->putAndInsertUint16Array(DCM_PixelData, values.data(), static_cast<unsigned long>(frameSize));
        const QString name =
            m_options.shuffleNames ? QString::fromLatin1(instanceUid.c_str())
            : v == 0               ? QStringLiteral("slice%1.dcm").arg(k + 1, 4, 10, QLatin1Char('0'))
                     : QStringLiteral("slice%1-%2.dcm").arg(k + 1, 4, 10, QLatin1Char('0')).arg(v + 1);
        return save(file, name);
    }

    // One enhanced MR file: the pixel size and orientation shared by every frame, the position of
    // each frame in its own functional group, frames in the shuffled order when asked.
    bool writeEnhanced(const std::vector<Uint16> &pixels) {
        const std::size_t frameSize = std::size_t(m_options.size) * m_options.size;
        DcmFileFormat file;
        DcmDataset *d = file.getDataset();
        char uid[100];
        describe(d, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT), UID_EnhancedMRImageStorage);
        d->putAndInsertString(DCM_InstanceNumber, "1");
        d->putAndInsertString(DCM_NumberOfFrames, std::to_string(m_options.slices).c_str());
        DcmItem *shared = nullptr;
        d->findOrCreateSequenceItem(DCM_SharedFunctionalGroupsSequence, shared, 0);
        DcmItem *measures = nullptr;
        shared->findOrCreateSequenceItem(DCM_PixelMeasuresSequence, measures, 0);
        measures->putAndInsertString(DCM_PixelSpacing, m_spacing.c_str());
        measures->putAndInsertString(DCM_SliceThickness, number(m_options.thickness).c_str());
        measures->putAndInsertString(DCM_SpacingBetweenSlices, number(m_options.thickness).c_str());
        DcmItem *plane = nullptr;
        shared->findOrCreateSequenceItem(DCM_PlaneOrientationSequence, plane, 0);
        plane->putAndInsertString(DCM_ImageOrientationPatient, m_orientation.c_str());
        std::vector<Uint16> ordered(pixels.size());
        for (int f = 0; f < m_options.slices; ++f) {
            const int k = m_instances[std::size_t(f)] - 1; // the slice stored as frame f
            std::copy_n(&pixels[frameSize * std::size_t(k)], frameSize, &ordered[frameSize * std::size_t(f)]);
            DcmItem *perFrame = nullptr;
            d->findOrCreateSequenceItem(DCM_PerFrameFunctionalGroupsSequence, perFrame, f);
            DcmItem *position = nullptr;
            perFrame->findOrCreateSequenceItem(DCM_PlanePositionSequence, position, 0);
            position->putAndInsertString(DCM_ImagePositionPatient, triple(corner(k)).c_str());
        }
        d->putAndInsertUint16Array(DCM_PixelData, ordered.data(), static_cast<unsigned long>(ordered.size()));
        return save(file, QStringLiteral("enhanced.dcm"));
    }

    bool save(DcmFileFormat &file, const QString &name) {
        const QString path = ZoDir::UneRuta(m_directory, name);
        QByteArray bytes;
        QString reason;
        if (!encode(file, bytes, reason)) {
            m_error = SafeWrite::failure(path, reason);
        } else if (SafeWrite::writeBytes(path, bytes, &m_error)) {
            m_written << path;
            return true;
        }
        for (const QString &done : std::as_const(m_written)) {
            QFile::remove(done);
        }
        for (const QString &folder : std::as_const(m_made)) {
            QDir().rmdir(folder);
        }
        return false;
    }

    QString m_directory;
    Options m_options;
    QStringList m_made;
    Head m_head;
    Vec m_r{}, m_c{}, m_n{}, m_cWritten{}, m_nWritten{};
    std::string m_study, m_series, m_frame, m_spacing, m_orientation;
    std::vector<int> m_instances;
    QStringList m_written;
    QString m_error;
};

} // namespace

bool write(const QString &directory, const Options &options, QString *error) {
    auto fail = [&](const QString &why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    if (options.slices < 2 || options.size < 8 || !(options.spacing > 0) || !(options.thickness > 0) ||
        !std::isfinite(options.spacing) || !std::isfinite(options.thickness) ||
        !std::isfinite(options.tiltDegrees) || !std::isfinite(options.windowWidth) || options.size > 65535 ||
        options.volumes < 1 || options.volumes > 16) {
        return fail(QCoreApplication::translate(
            "PhantomWriter", "A phantom needs at least 2 slices of 8 x 8 to 65535 x 65535 pixels, positive "
                             "spacings and finite numbers."));
    }
    // The folders about to be made, deepest first, so that a failed series takes them away again.
    QStringList made;
    for (QString folder = QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
         !QFileInfo::exists(folder); folder = QFileInfo(folder).absolutePath()) {
        made << folder;
    }
    if (!QDir().mkpath(directory)) {
        return fail(
            QCoreApplication::translate("PhantomWriter", "Cannot create the directory %1.").arg(directory));
    }
    OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
    Writer writer(directory, options, made);
    return writer.writeAll() || fail(writer.error());
}

} // namespace Phantom
