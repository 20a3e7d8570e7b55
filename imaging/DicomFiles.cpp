#include "imaging/DicomFiles.h"

#include "core/ConfinedRead.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcrledrg.h>
#include <dcmtk/dcmdata/dcstack.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmjpeg/djdecode.h>
#include <dcmtk/dcmjpls/djdecode.h>
#include <dcmtk/oflog/oflog.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace DicomFiles {

namespace {

using VolumeLayout::Vec3;

// Registers the decoders and quiets DCMTK's log, once for the whole program: what it would say of
// each file refused (a line per file of a folder of junk) is counted and a few reasons kept in the
// scan, so only its fatal errors are printed.
void prepareDcmtk() {
    static std::once_flag once;
    std::call_once(once, [] {
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        DJDecoderRegistration::registerCodecs();
        DJLSDecoderRegistration::registerCodecs();
        DcmRLEDecoderRegistration::registerCodecs();
    });
}

OFFilename dcmtkName(const QString &path) {
    return OFFilename(QFile::encodeName(path).constData());
}

bool isJpeg2000(E_TransferSyntax xfer) {
    return xfer == EXS_JPEG2000LosslessOnly || xfer == EXS_JPEG2000 ||
           xfer == EXS_JPEG2000MulticomponentLosslessOnly || xfer == EXS_JPEG2000Multicomponent;
}

double dot(const Vec3 &a, const Vec3 &b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 cross(const Vec3 &a, const Vec3 &b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// A file that starts with the "DICM" preamble, or with a group 0002 or 0008 tag in either byte order
// (a data set written without preamble). Anything else is not looked at further.
bool looksLikeDicom(const QString &path) {
    // Only a regular file is opened: a FIFO or a device (or a link to one) would block or never end.
    QFile file(path);
    if (!ConfinedRead::notRegularFile(path).isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(132);
    if (head.size() >= 132 && head.mid(128, 4) == "DICM") {
        return true;
    }
    if (head.size() < 8) {
        return false;
    }
    const auto b = reinterpret_cast<const unsigned char *>(head.constData());
    const int little = b[0] | (b[1] << 8);
    const int big = (b[0] << 8) | b[1];
    return little == 0x0002 || little == 0x0008 || big == 0x0002 || big == 0x0008;
}

// Reads `count` finite values of the tag; the outputs keep what they held unless all are there.
bool readValues(DcmItem *item, const DcmTagKey &tag, double *values, unsigned long count) {
    double read[8] = {};
    for (unsigned long i = 0; i < count && i < 8; ++i) {
        if (!item || item->findAndGetFloat64(tag, read[i], i).bad() || !std::isfinite(read[i])) {
            return false;
        }
    }
    std::copy_n(read, std::min(count, 8ul), values);
    return true;
}

// A value found in a functional group: in the item's own sequence `group`, first item.
bool readGroupValues(DcmItem *groups, const DcmTagKey &group, const DcmTagKey &tag, double *values,
                     unsigned long count) {
    DcmItem *item = nullptr;
    return groups && groups->findAndGetSequenceItem(group, item, 0).good() &&
           readValues(item, tag, values, count);
}

// Why the sizes the image claims cannot be right: beyond what a head series reaches, or more pixel
// bytes than `available` (the file's size when its header is read, the pixel data's length when it is
// decoded) for data stored uncompressed, or more frames than a compressed file can hold (each at
// least an item of 8 bytes). "" when they can. The products are taken in 64 bits.
QString claimProblem(DcmItem *data, E_TransferSyntax xfer, std::int64_t available) {
    Uint16 rows = 0, columns = 0, samples = 1, bitsAllocated = 0;
    data->findAndGetUint16(DCM_Rows, rows);
    data->findAndGetUint16(DCM_Columns, columns);
    data->findAndGetUint16(DCM_SamplesPerPixel, samples);
    data->findAndGetUint16(DCM_BitsAllocated, bitsAllocated);
    Sint32 frames = 1;
    if (data->findAndGetSint32(DCM_NumberOfFrames, frames).bad() || frames < 1) {
        frames = 1;
    }
    if (rows > VolumeLayout::MaxAxisVoxels || columns > VolumeLayout::MaxAxisVoxels ||
        frames > VolumeLayout::MaxAxisVoxels) {
        return QStringLiteral(
                   "claims %1 x %2 pixels in %3 frames; a head series has at most %4 along any axis")
            .arg(rows)
            .arg(columns)
            .arg(frames)
            .arg(VolumeLayout::MaxAxisVoxels);
    }
    const std::int64_t pixels = std::int64_t(rows) * columns * frames;
    if (pixels > VolumeLayout::MaxVoxels) {
        return QStringLiteral("claims %1 x %2 pixels in %3 frames, more than a head series holds")
            .arg(rows)
            .arg(columns)
            .arg(frames);
    }
    if (DcmXfer(xfer).isEncapsulated()) {
        if (std::int64_t(frames) * 8 > available) {
            return QStringLiteral("claims %1 frames but holds %2 bytes").arg(frames).arg(available);
        }
        return {};
    }
    const std::int64_t needed = (pixels * std::max<Uint16>(samples, 1) * bitsAllocated + 7) / 8;
    if (needed > available) {
        return QStringLiteral("its pixel data is shorter than Rows x Columns x frames says (%1 x %2 x %3 "
                              "pixels of %4 bits need %5 bytes; there are %6)")
            .arg(rows)
            .arg(columns)
            .arg(frames)
            .arg(bitsAllocated)
            .arg(needed)
            .arg(available);
    }
    return {};
}

struct Header {
    bool image = false;
    bool damaged = false; // an image whose header cannot be right; reason says why
    QString reason;       // why it is not an image of a series
    QString uid;
    QString description;
    QString number;
    int rows = 0;
    int columns = 0;
    int frames = 1;
    double pixelSpacing[2] = {0, 0};
    double sliceSpacing = 0;
    bool hasOrientation = false;
    double orientation[6] = {1, 0, 0, 0, 1, 0};
    int instance = 0;
    std::vector<Slice> slices; // one per frame
};

// The longest value an element of the item claims, at any depth, of those DCMTK reads only when they
// are asked for (the pixel data, and values of undefined length, are checked where they are decoded).
Uint32 longestClaim(DcmItem *item) {
    Uint32 longest = 0;
    DcmStack stack;
    while (item && item->nextObject(stack, OFTrue).good()) {
        const DcmObject *object = stack.top();
        if (object && object->isLeaf() && object->getTag() != DCM_PixelData &&
            object->getLengthField() != DCM_UndefinedLength) {
            longest = std::max(longest, object->getLengthField());
        }
    }
    return longest;
}

Header readHeader(const QString &path, const QString &name) {
    Header h;
    if (!looksLikeDicom(path)) {
        h.reason = QStringLiteral("%1: not a DICOM file").arg(name);
        return h;
    }
    DcmFileFormat file;
    const OFCondition loaded = file.loadFileUntilTag(dcmtkName(path), EXS_Unknown, EGL_noChange,
                                                     DCM_MaxReadLength, ERM_autoDetect, DCM_PixelData);
    DcmDataset *data = file.getDataset();
    // A value longer than the file itself would be allocated at its claimed size when asked for.
    const qint64 fileSize = QFileInfo(path).size();
    if (qint64(std::max(longestClaim(file.getMetaInfo()), longestClaim(data))) > fileSize) {
        h.reason =
            QStringLiteral("%1: an element claims more bytes than the file's %2").arg(name).arg(fileSize);
        return h;
    }
    Uint16 rows = 0;
    Uint16 columns = 0;
    if (loaded.bad() || data->findAndGetUint16(DCM_Rows, rows).bad() ||
        data->findAndGetUint16(DCM_Columns, columns).bad() || rows == 0 || columns == 0) {
        OFString sopClass;
        if (file.getMetaInfo()->findAndGetOFString(DCM_MediaStorageSOPClassUID, sopClass).bad()) {
            data->findAndGetOFString(DCM_SOPClassUID, sopClass);
        }
        const char *className = sopClass.empty() ? nullptr : dcmFindNameOfUID(sopClass.c_str());
        h.reason = loaded.bad() ? QStringLiteral("%1: not a DICOM file that can be read (%2)")
                                      .arg(name, QString::fromLatin1(loaded.text()))
                                : QStringLiteral("%1: DICOM without an image (%2)")
                                      .arg(name, className ? QString::fromLatin1(className)
                                                           : QStringLiteral("no rows and columns"));
        return h;
    }
    // The sizes it claims, against the bytes the file has, before anything is set aside for them.
    const QString claim = claimProblem(data, data->getOriginalXfer(), std::int64_t(QFileInfo(path).size()));
    if (!claim.isEmpty()) {
        h.damaged = true;
        h.reason = QStringLiteral("%1: %2").arg(path, claim);
        return h;
    }
    h.image = true;
    h.rows = rows;
    h.columns = columns;
    OFString text;
    if (data->findAndGetOFString(DCM_SeriesInstanceUID, text).good()) {
        h.uid = QString::fromLatin1(text.c_str());
    }
    if (data->findAndGetOFString(DCM_SeriesDescription, text).good()) {
        h.description = QString::fromUtf8(text.c_str()).trimmed();
    }
    if (data->findAndGetOFString(DCM_SeriesNumber, text).good()) {
        h.number = QString::fromLatin1(text.c_str()).trimmed();
    }
    if (h.description.isEmpty() && data->findAndGetOFString(DCM_Modality, text).good()) {
        h.description = QStringLiteral("%1 series").arg(QString::fromLatin1(text.c_str()));
    }
    Sint32 instance = 0;
    if (data->findAndGetSint32(DCM_InstanceNumber, instance).good()) {
        h.instance = instance;
    }
    Sint32 frames = 1;
    if (data->findAndGetSint32(DCM_NumberOfFrames, frames).good() && frames > 1) {
        h.frames = frames;
    }
    DcmItem *shared = nullptr;
    data->findAndGetSequenceItem(DCM_SharedFunctionalGroupsSequence, shared, 0);
    DcmItem *perFrame0 = nullptr;
    data->findAndGetSequenceItem(DCM_PerFrameFunctionalGroupsSequence, perFrame0, 0);

    // Orientation and pixel size: the image's own, else the functional groups' (shared, then the
    // first frame's).
    h.hasOrientation = readValues(data, DCM_ImageOrientationPatient, h.orientation, 6);
    for (DcmItem *groups : {shared, perFrame0}) {
        if (!h.hasOrientation) {
            h.hasOrientation = readGroupValues(groups, DCM_PlaneOrientationSequence,
                                               DCM_ImageOrientationPatient, h.orientation, 6);
        }
    }
    bool hasSpacing = readValues(data, DCM_PixelSpacing, h.pixelSpacing, 2);
    double between = 0;
    double thickness = 0;
    readValues(data, DCM_SpacingBetweenSlices, &between, 1);
    readValues(data, DCM_SliceThickness, &thickness, 1);
    for (DcmItem *groups : {shared, perFrame0}) {
        if (!hasSpacing) {
            hasSpacing =
                readGroupValues(groups, DCM_PixelMeasuresSequence, DCM_PixelSpacing, h.pixelSpacing, 2);
        }
        if (between <= 0) {
            readGroupValues(groups, DCM_PixelMeasuresSequence, DCM_SpacingBetweenSlices, &between, 1);
        }
        if (thickness <= 0) {
            readGroupValues(groups, DCM_PixelMeasuresSequence, DCM_SliceThickness, &thickness, 1);
        }
    }
    if (!hasSpacing && data->tagExists(DCM_PixelSpacing)) {
        // Present but not two finite numbers: a damaged header, not a missing size.
        OFString given;
        data->findAndGetOFStringArray(DCM_PixelSpacing, given);
        if (!given.empty()) {
            h.image = false;
            h.damaged = true;
            h.reason = QStringLiteral("%1: PixelSpacing \"%2\" is not two numbers")
                           .arg(path, QString::fromLatin1(given.c_str()).left(80));
            return h;
        }
    }
    if (!hasSpacing) {
        h.pixelSpacing[0] = h.pixelSpacing[1] = 1.0; // no size given: one millimetre a pixel
    }
    {
        const auto [low, high] = std::minmax(h.pixelSpacing[0], h.pixelSpacing[1]);
        if (low < VolumeLayout::MinSpacingMm || high > VolumeLayout::MaxSpacingMm ||
            high > VolumeLayout::MaxSpacingRatio * low) {
            h.image = false;
            h.damaged = true;
            h.reason = QStringLiteral("%1: PixelSpacing %2\\%3 mm is beyond a head series (each from %4 to "
                                      "%5 mm, at most %6 times the other)")
                           .arg(path)
                           .arg(h.pixelSpacing[0], 0, 'g', 6)
                           .arg(h.pixelSpacing[1], 0, 'g', 6)
                           .arg(VolumeLayout::MinSpacingMm)
                           .arg(VolumeLayout::MaxSpacingMm)
                           .arg(VolumeLayout::MaxSpacingRatio);
            return h;
        }
    }
    h.sliceSpacing = between > 0 ? between : thickness;

    for (int f = 0; f < h.frames; ++f) {
        Slice slice;
        slice.path = path;
        slice.frame = f;
        slice.instance = h.instance;
        double p[3] = {0, 0, 0};
        DcmItem *frame = nullptr;
        if (h.frames > 1 &&
            data->findAndGetSequenceItem(DCM_PerFrameFunctionalGroupsSequence, frame, f).good() &&
            readGroupValues(frame, DCM_PlanePositionSequence, DCM_ImagePositionPatient, p, 3)) {
            slice.hasPosition = true;
        } else if (f == 0) {
            slice.hasPosition = readValues(data, DCM_ImagePositionPatient, p, 3);
        }
        slice.position = {p[0], p[1], p[2]};
        h.slices.push_back(slice);
    }
    return h;
}

struct Window {
    bool given = false; // else the frames' own minimum and maximum
    double centre = 0;
    double width = 0;
};

// The common case without DicomImage's general pipeline: uncompressed grey images of 8 or 16 bits
// with a linear rescale and a linear window (or none), turned into 8 bits the way DicomImage does it
// (DICOM's linear window function; min-max as centre (min + max + 1) / 2, width max - min + 1),
// MONOCHROME1 inverted. False, touching nothing, for anything else, which DicomImage then decodes.
bool decodeDirect(DcmDataset *data, E_TransferSyntax xfer, const Window &window, const Series &series,
                  const std::vector<std::pair<int, int>> &frames, VolumeLayout::ScannerVolume &volume) {
    if (DcmXfer(xfer).isEncapsulated()) {
        return false;
    }
    Uint16 samples = 0, bitsAllocated = 0, bitsStored = 0, representation = 0, rows = 0, columns = 0;
    OFString photometric;
    if (data->findAndGetUint16(DCM_SamplesPerPixel, samples).bad() || samples != 1 ||
        data->findAndGetUint16(DCM_BitsAllocated, bitsAllocated).bad() ||
        (bitsAllocated != 8 && bitsAllocated != 16) ||
        data->findAndGetUint16(DCM_BitsStored, bitsStored).bad() || bitsStored == 0 ||
        bitsStored > bitsAllocated || data->findAndGetUint16(DCM_PixelRepresentation, representation).bad() ||
        data->findAndGetUint16(DCM_Rows, rows).bad() || data->findAndGetUint16(DCM_Columns, columns).bad() ||
        rows != series.rows || columns != series.columns ||
        data->findAndGetOFString(DCM_PhotometricInterpretation, photometric).bad() ||
        (photometric != "MONOCHROME1" && photometric != "MONOCHROME2") ||
        data->tagExists(DCM_ModalityLUTSequence) || data->tagExists(DCM_VOILUTSequence) ||
        data->tagExists(DCM_PixelPaddingValue)) {
        return false;
    }
    Uint16 highBit = 0;
    if (data->findAndGetUint16(DCM_HighBit, highBit).good() && highBit != bitsStored - 1) {
        return false;
    }
    Sint32 frameCount = 1;
    data->findAndGetSint32(DCM_NumberOfFrames, frameCount);
    const std::size_t frameSize = std::size_t(rows) * columns;
    const Uint8 *bytes = nullptr;
    const Uint16 *words = nullptr;
    unsigned long count = 0;
    if (bitsAllocated == 8 ? data->findAndGetUint8Array(DCM_PixelData, bytes, &count).bad()
                           : data->findAndGetUint16Array(DCM_PixelData, words, &count).bad()) {
        return false;
    }
    if (count < frameSize * std::size_t(std::max(1, frameCount))) {
        return false;
    }
    double slope = 1;
    double intercept = 0;
    readValues(data, DCM_RescaleSlope, &slope, 1);
    readValues(data, DCM_RescaleIntercept, &intercept, 1);
    // Stored values to modality values.
    const unsigned mask = bitsStored >= 32 ? 0xffffffffu : (1u << bitsStored) - 1;
    auto value = [&](std::size_t i) {
        unsigned raw = (bitsAllocated == 8 ? bytes[i] : words[i]) & mask;
        int v = int(raw);
        if (representation == 1 && (raw >> (bitsStored - 1)) & 1u) {
            v = int(raw) - int(mask) - 1;
        }
        return v * slope + intercept;
    };
    double centre = window.centre;
    double width = window.width;
    if (!window.given) {
        double low = 0;
        double high = 0;
        bool first = true;
        for (const auto &[frame, k] : frames) {
            for (std::size_t i = frameSize * frame; i < frameSize * (frame + 1); ++i) {
                const double v = value(i);
                low = first || v < low ? v : low;
                high = first || v > high ? v : high;
                first = false;
            }
        }
        centre = (low + high + 1) / 2;
        width = high - low + 1;
    }
    const bool inverse = photometric == "MONOCHROME1";
    const double bottom = centre - 0.5 - (width - 1) / 2;
    const double top = centre - 0.5 + (width - 1) / 2;
    for (const auto &[frame, k] : frames) {
        std::uint8_t *target = &volume.voxels[frameSize * std::size_t(k)];
        for (std::size_t i = 0; i < frameSize; ++i) {
            const double v = value(frameSize * frame + i);
            double out = v <= bottom ? 0 : (v > top ? 255 : ((v - (centre - 0.5)) / (width - 1) + 0.5) * 255);
            out = std::clamp(out, 0.0, 255.0);
            // NOLINTNEXTLINE(bugprone-incorrect-roundings): out is within [0, 255]: this rounds half up.
            const auto grey = static_cast<std::uint8_t>(out + 0.5);
            target[i] = inverse ? std::uint8_t(255 - grey) : grey;
        }
    }
    return true;
}

// Orders the slices by position along the normal (then instance, then name and frame), derives the
// slice spacing, and counts the files whose spacing is off by more than 1%.
void arrange(Series &series, const std::map<QString, std::array<double, 2>> &pixelSizes) {
    const Vec3 normal = series.normal();
    std::sort(series.slices.begin(), series.slices.end(), [&](const Slice &a, const Slice &b) {
        const double pa = a.hasPosition ? dot(normal, a.position) : 0;
        const double pb = b.hasPosition ? dot(normal, b.position) : 0;
        if (std::abs(pa - pb) > 1e-4) {
            return pa < pb;
        }
        if (a.instance != b.instance) {
            return a.instance < b.instance;
        }
        return a.path != b.path ? a.path < b.path : a.frame < b.frame;
    });
    QStringList how;
    QSet<QString> irregular;
    // Pixel size against the first file's.
    for (const auto &[path, size] : pixelSizes) {
        if (std::abs(size[0] - series.rowSpacing) > 0.01 * series.rowSpacing ||
            std::abs(size[1] - series.columnSpacing) > 0.01 * series.columnSpacing) {
            irregular.insert(path);
        }
    }
    if (!irregular.isEmpty()) {
        how << QCoreApplication::translate("DicomFiles", "%1 have another pixel size than %2 x %3 mm")
                   .arg(irregular.size())
                   .arg(series.rowSpacing)
                   .arg(series.columnSpacing);
    }
    // Distances between consecutive slices against their median.
    const bool positions =
        std::all_of(series.slices.begin(), series.slices.end(), [](const Slice &s) { return s.hasPosition; });
    if (positions && series.slices.size() > 1) {
        std::vector<double> gaps;
        for (std::size_t i = 1; i < series.slices.size(); ++i) {
            gaps.push_back(dot(normal, series.slices[i].position) -
                           dot(normal, series.slices[i - 1].position));
        }
        std::vector<double> sorted = gaps;
        std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
        const double median = sorted[sorted.size() / 2];
        series.positionGap = median > 1e-4 ? median : 0;
        if (median > 1e-4) {
            double low = median;
            double high = median;
            int off = 0;
            for (std::size_t i = 0; i < gaps.size(); ++i) {
                if (std::abs(gaps[i] - median) > 0.01 * median) {
                    ++off;
                    irregular.insert(series.slices[i + 1].path);
                    low = std::min(low, gaps[i]);
                    high = std::max(high, gaps[i]);
                }
            }
            if (off > 0) {
                how << QCoreApplication::translate(
                           "DicomFiles", "%1 are not %2 mm from the slice before (from %3 to %4 mm)")
                           .arg(off)
                           .arg(median, 0, 'g', 6)
                           .arg(low, 0, 'g', 6)
                           .arg(high, 0, 'g', 6);
            }
        }
    }
    series.irregularFiles = int(irregular.size());
    if (!how.isEmpty()) {
        series.irregularity =
            QCoreApplication::translate("DicomFiles",
                                        "The images of series %1 are not all defined alike: of %2 files, %3.")
                .arg(series.label())
                .arg(series.slices.size())
                .arg(how.join(QStringLiteral("; ")));
    }
}

} // namespace

Vec3 Series::normal() const {
    return cross(rowDirection, columnDirection);
}

QString Series::orientation() const {
    return hasOrientation ? VolumeLayout::describeOrientation(normal()) : QStringLiteral("unknown");
}

QString Series::label() const {
    const QString what =
        QStringLiteral("%1 (%2 images, %3)").arg(description).arg(slices.size()).arg(orientation());
    return number.isEmpty() ? what : number + QStringLiteral(": ") + what;
}

int Scan::largestSeries() const {
    int best = -1;
    for (std::size_t i = 0; i < series.size(); ++i) {
        if (best < 0 || series[i].slices.size() > series[std::size_t(best)].slices.size()) {
            best = int(i);
        }
    }
    return best;
}

Scan scanFolder(const QString &folder) {
    prepareDcmtk();
    Scan scan;
    std::map<QString, Series> byKey;
    std::map<QString, std::map<QString, std::array<double, 2>>> pixelSizes;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    // Headers are read on every core, then grouped in name order.
    std::vector<Header> headers(std::size_t(files.size()));
    std::atomic<qsizetype> next{0};
    auto read = [&] {
        for (qsizetype i = next++; i < files.size(); i = next++) {
            // An exception must not leave a thread: a header too large to read is one file refused.
            try {
                headers[std::size_t(i)] = readHeader(files[i].absoluteFilePath(), files[i].fileName());
            } catch (const std::bad_alloc &) {
                headers[std::size_t(i)].reason =
                    QStringLiteral("%1: not enough memory to read its header").arg(files[i].fileName());
            }
        }
    };
    std::vector<std::thread> readers;
    for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()) && t < files.size(); ++t) {
        readers.emplace_back(read);
    }
    read();
    for (std::thread &reader : readers) {
        reader.join();
    }
    for (qsizetype f = 0; f < files.size(); ++f) {
        const QFileInfo &info = files[f];
        ++scan.filesSeen;
        const Header &h = headers[std::size_t(f)];
        if (!h.image) {
            ++scan.skippedFiles;
            if (h.damaged) {
                scan.refused << h.reason;
            } else if (scan.skippedReasons.size() < 20) {
                scan.skippedReasons << h.reason;
            }
            continue;
        }
        // Orientation to a thousandth, so one series with two planes (a localizer) becomes two.
        QString key = h.uid + QStringLiteral("|%1x%2").arg(h.rows).arg(h.columns);
        for (double o : h.orientation) {
            key += QStringLiteral("|%1").arg(std::round(o * 1000) / 1000);
        }
        auto [it, added] = byKey.try_emplace(key);
        Series &s = it->second;
        if (added) {
            s.uid = h.uid;
            s.description = h.description.isEmpty() ? QStringLiteral("Series") : h.description;
            s.number = h.number;
            s.rows = h.rows;
            s.columns = h.columns;
            s.rowSpacing = h.pixelSpacing[0];
            s.columnSpacing = h.pixelSpacing[1];
            s.sliceSpacing = h.sliceSpacing;
            s.hasOrientation = h.hasOrientation;
            s.rowDirection = {h.orientation[0], h.orientation[1], h.orientation[2]};
            s.columnDirection = {h.orientation[3], h.orientation[4], h.orientation[5]};
        }
        pixelSizes[key][info.absoluteFilePath()] = {h.pixelSpacing[0], h.pixelSpacing[1]};
        s.slices.insert(s.slices.end(), h.slices.begin(), h.slices.end());
    }
    for (auto &[key, series] : byKey) {
        arrange(series, pixelSizes[key]);
        scan.series.push_back(std::move(series));
    }
    std::sort(scan.series.begin(), scan.series.end(), [](const Series &a, const Series &b) {
        bool aNumber = false;
        bool bNumber = false;
        const int an = a.number.toInt(&aNumber);
        const int bn = b.number.toInt(&bNumber);
        if (aNumber && bNumber && an != bn) {
            return an < bn;
        }
        return a.description < b.description;
    });
    return scan;
}

bool decodeSeries(const Series &series, VolumeLayout::ScannerVolume &volume, QStringList *failures,
                  int threads, const std::function<void(int, int)> &progress) {
    prepareDcmtk();
    const int count = int(series.slices.size());
    volume = {};
    if (count == 0) {
        return false;
    }
    volume.dims = {series.columns, series.rows, count};
    const std::size_t sliceSize = std::size_t(series.columns) * series.rows;

    // Placement: the first slice's position, the in-plane directions and the step between slices
    // (the slice spacing along the normal without positions).
    const Vec3 normal = series.normal();
    const Slice &first = series.slices.front();
    const Slice &last = series.slices.back();
    volume.affine.origin = first.position;
    for (int c = 0; c < 3; ++c) {
        volume.affine.axes[0][c] = series.rowDirection[c] * series.columnSpacing;
        volume.affine.axes[1][c] = series.columnDirection[c] * series.rowSpacing;
    }
    const double fallback = series.sliceSpacing > 0 ? series.sliceSpacing : series.columnSpacing;
    // A slice one regular gap further along the line from the first to the last; a series with
    // missing or misplaced slices keeps the spacing most of its slices have.
    const double along = dot(normal, last.position) - dot(normal, first.position);
    if (count > 1 && first.hasPosition && last.hasPosition && along > 1e-3 && series.positionGap > 0) {
        for (int c = 0; c < 3; ++c) {
            volume.affine.axes[2][c] = (last.position[c] - first.position[c]) * series.positionGap / along;
        }
    } else {
        for (int c = 0; c < 3; ++c) {
            volume.affine.axes[2][c] = normal[c] * fallback;
        }
    }

    // Sizes and spacings beyond a head series are refused before the voxels are set aside.
    const QString problem = VolumeLayout::sizeProblem({series.columns, series.rows, count}, volume.affine);
    if (!problem.isEmpty()) {
        if (failures) {
            *failures
                << QStringLiteral("%1: the series of %2 files: %3").arg(first.path).arg(count).arg(problem);
        }
        volume = {};
        return false;
    }
    volume.voxels.assign(sliceSize * count, 0);

    // One job per file, decoding the frames of it that belong to the series.
    std::map<QString, std::vector<std::pair<int, int>>> framesOfFile; // path -> (frame, slice index)
    for (int k = 0; k < count; ++k) {
        framesOfFile[series.slices[std::size_t(k)].path].emplace_back(series.slices[std::size_t(k)].frame, k);
    }
    std::vector<std::pair<QString, std::vector<std::pair<int, int>>>> jobs(framesOfFile.begin(),
                                                                           framesOfFile.end());
    std::mutex failuresMutex;
    std::atomic<int> decoded{0};
    std::atomic<int> done{0};
    auto fail = [&](const QString &why) {
        std::lock_guard<std::mutex> lock(failuresMutex);
        if (failures) {
            *failures << why;
        }
    };
    auto decodeJob = [&](const std::pair<QString, std::vector<std::pair<int, int>>> &job) {
        const QString &path = job.first;
        DcmFileFormat file;
        const OFCondition loaded = file.loadFile(dcmtkName(path));
        if (loaded.bad()) {
            fail(QStringLiteral("%1: cannot be read (%2)").arg(path, QString::fromLatin1(loaded.text())));
            done += int(job.second.size());
            return;
        }
        DcmDataset *data = file.getDataset();
        const E_TransferSyntax xfer = data->getOriginalXfer();
        // The pixel data against what the header claims (the file may have changed since the scan).
        DcmElement *pixelData = nullptr;
        const std::int64_t available =
            DcmXfer(xfer).isEncapsulated()
                ? std::int64_t(QFileInfo(path).size())
                : (data->findAndGetElement(DCM_PixelData, pixelData).good() && pixelData
                       ? std::int64_t(pixelData->getLength())
                       : 0);
        const QString claim = claimProblem(data, xfer, available);
        if (!claim.isEmpty()) {
            fail(QStringLiteral("%1: %2").arg(path, claim));
            done += int(job.second.size());
            return;
        }
        if (isJpeg2000(xfer)) {
            fail(QStringLiteral("%1: compressed with JPEG 2000, which this program cannot decode; export the "
                                "series uncompressed or with JPEG or JPEG-LS compression")
                     .arg(path));
            done += int(job.second.size());
            return;
        }
        double centre = 0;
        double width = 0;
        DcmItem *shared = nullptr;
        data->findAndGetSequenceItem(DCM_SharedFunctionalGroupsSequence, shared, 0);
        const bool hasWindow =
            (readValues(data, DCM_WindowCenter, &centre, 1) &&
             readValues(data, DCM_WindowWidth, &width, 1)) ||
            (readGroupValues(shared, DCM_FrameVOILUTSequence, DCM_WindowCenter, &centre, 1) &&
             readGroupValues(shared, DCM_FrameVOILUTSequence, DCM_WindowWidth, &width, 1));
        const Window window{hasWindow && width >= 1, centre, width};
        if (decodeDirect(data, xfer, window, series, job.second, volume)) {
            decoded += int(job.second.size());
            done += int(job.second.size());
            return;
        }
        DicomImage image(&file, xfer, 0UL, 0UL, 0UL);
        std::unique_ptr<DicomImage> grey;
        DicomImage *shown = &image;
        if (image.getStatus() == EIS_Normal && !image.isMonochrome()) {
            grey.reset(image.createMonochromeImage());
            shown = grey.get();
        }
        if (!shown || shown->getStatus() != EIS_Normal) {
            fail(QStringLiteral("%1: holds no image that can be decoded (%2, transfer syntax %3)")
                     .arg(path,
                          QString::fromLatin1(
                              DicomImage::getString(shown ? shown->getStatus() : image.getStatus())),
                          QString::fromLatin1(DcmXfer(xfer).getXferName())));
            done += int(job.second.size());
            return;
        }
        if (window.given) {
            shown->setWindow(centre, width);
        } else {
            shown->setMinMaxWindow();
        }
        const int columns = int(shown->getWidth());
        const int rows = int(shown->getHeight());
        for (const auto &[frame, k] : job.second) {
            const auto *pixels = static_cast<const Uint8 *>(shown->getOutputData(8, unsigned(frame)));
            if (!pixels || frame >= int(shown->getFrameCount())) {
                fail(QStringLiteral("%1: frame %2 could not be rendered").arg(path).arg(frame + 1));
            } else {
                std::uint8_t *target = &volume.voxels[sliceSize * std::size_t(k)];
                const int copyRows = std::min(rows, series.rows);
                const int copyColumns = std::min(columns, series.columns);
                for (int y = 0; y < copyRows; ++y) {
                    std::copy_n(pixels + std::size_t(y) * columns, copyColumns,
                                target + std::size_t(y) * series.columns);
                }
                ++decoded;
            }
            ++done;
        }
    };
    // A file whose decoding needs more memory than there is fails alone, on whichever thread.
    auto runJob = [&](const std::pair<QString, std::vector<std::pair<int, int>>> &job) {
        try {
            decodeJob(job);
        } catch (const std::bad_alloc &) {
            fail(QStringLiteral("%1: too large for the memory available").arg(job.first));
        }
    };
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (int t = 1; t < threads && std::size_t(t) < jobs.size(); ++t) {
        workers.emplace_back([&] {
            for (std::size_t j = next++; j < jobs.size(); j = next++) {
                runJob(jobs[j]);
            }
        });
    }
    // The calling thread decodes too, and reports progress between its own files.
    for (std::size_t j = next++; j < jobs.size(); j = next++) {
        runJob(jobs[j]);
        if (progress) {
            progress(done.load(), count);
        }
    }
    for (std::thread &worker : workers) {
        worker.join();
    }
    if (progress) {
        progress(count, count);
    }
    if (failures) {
        failures->sort();
    }
    return decoded > 0;
}

} // namespace DicomFiles
