#include "core/ConfinedRead.h"
#include "imaging/DicomClaims.h"
#include "imaging/DicomFiles.h"
#include "imaging/ParallelJobs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <thread>
#include <tuple>

// Scanning a folder: which files are images of which series, split into volumes, in what order and
// at which place.
namespace DicomFiles {

namespace {

using namespace Claims;
using VolumeLayout::Vec3;

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
    int mosaicImages = 0;
    std::vector<Slice> slices; // one per frame
};

// Why a file is not an image of a series ("" when it is one): not DICOM, unreadable, a value that
// claims more than the file holds, no rows and columns, sizes beyond the bytes it has.
QString notAnImage(DcmFileFormat &file, const OFCondition &loaded, const QString &path, const QString &name,
                   bool &damaged) {
    DcmDataset *data = file.getDataset();
    // A value longer than the file itself would be allocated at its claimed size when asked for.
    const qint64 fileSize = QFileInfo(path).size();
    if (qint64(std::max(longestClaim(file.getMetaInfo()), longestClaim(data))) > fileSize) {
        return QStringLiteral("%1: an element claims more bytes than the file's %2").arg(name).arg(fileSize);
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
        return loaded.bad() ? QStringLiteral("%1: not a DICOM file that can be read (%2)")
                                  .arg(name, QString::fromLatin1(loaded.text()))
                            : QStringLiteral("%1: DICOM without an image (%2)")
                                  .arg(name, className ? QString::fromLatin1(className)
                                                       : QStringLiteral("no rows and columns"));
    }
    // The sizes it claims, against the bytes the file has, before anything is set aside for them.
    const QString claim = claimProblem(data, data->getOriginalXfer(), std::int64_t(fileSize));
    damaged = !claim.isEmpty();
    return damaged ? QStringLiteral("%1: %2").arg(path, claim) : QString();
}

// The series a file belongs to, its description, number, instance and frames.
void readIdentity(DcmDataset *data, Header &h) {
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
    // A Siemens mosaic says so in its image type, and how many images it tiles in a private tag.
    OFString imageType;
    data->findAndGetOFStringArray(DCM_ImageType, imageType);
    const DcmTagKey imagesInMosaic(0x0019, 0x100a);
    if (QString::fromLatin1(imageType.c_str()).contains(QLatin1String("MOSAIC"), Qt::CaseInsensitive) ||
        data->tagExists(imagesInMosaic)) {
        Uint16 images = 0;
        h.mosaicImages = data->findAndGetUint16(imagesInMosaic, images).good() && images > 0 ? images : -1;
    }
}

// What tells the volumes of a series apart, as far as the file says: "echo|time|b|direction|type".
QString volumeKey(DcmItem *data, DcmItem *frame) {
    QStringList parts;
    auto text = [&](DcmItem *item, const DcmTagKey &tag) {
        OFString value;
        if (item) {
            item->findAndGetOFStringArray(tag, value);
        }
        return QString::fromLatin1(value.c_str()).trimmed();
    };
    auto grouped = [&](const DcmTagKey &group, const DcmTagKey &tag) {
        DcmItem *item = nullptr;
        return frame && frame->findAndGetSequenceItem(group, item, 0).good() ? text(item, tag) : QString();
    };
    parts << text(data, DCM_EchoNumbers) + grouped(DCM_MREchoSequence, DCM_EffectiveEchoTime)
          << text(data, DCM_TemporalPositionIdentifier) +
                 grouped(DCM_FrameContentSequence, DCM_TemporalPositionIndex)
          << text(data, DCM_DiffusionBValue) + grouped(DCM_MRDiffusionSequence, DCM_DiffusionBValue)
          << text(data, DCM_DiffusionGradientOrientation) << text(data, DCM_ImageType);
    return parts.join(QLatin1Char('|'));
}

// Orientation, pixel size and slice spacing: the image's own, else the functional groups' (shared,
// then the first frame's). False, with the reason, for a pixel size that cannot be right.
bool readPlacement(DcmDataset *data, const QString &path, Header &h) {
    DcmItem *shared = nullptr;
    data->findAndGetSequenceItem(DCM_SharedFunctionalGroupsSequence, shared, 0);
    DcmItem *perFrame0 = nullptr;
    data->findAndGetSequenceItem(DCM_PerFrameFunctionalGroupsSequence, perFrame0, 0);
    h.hasOrientation = readValues(data, DCM_ImageOrientationPatient, h.orientation, 6);
    bool hasSpacing = readValues(data, DCM_PixelSpacing, h.pixelSpacing, 2);
    double between = 0;
    double thickness = 0;
    readValues(data, DCM_SpacingBetweenSlices, &between, 1);
    readValues(data, DCM_SliceThickness, &thickness, 1);
    for (DcmItem *groups : {shared, perFrame0}) {
        if (!h.hasOrientation) {
            h.hasOrientation = readGroupValues(groups, DCM_PlaneOrientationSequence,
                                               DCM_ImageOrientationPatient, h.orientation, 6);
        }
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
    h.sliceSpacing = between > 0 ? between : thickness;
    if (!hasSpacing && data->tagExists(DCM_PixelSpacing)) {
        // Present but not two finite numbers: a damaged header, not a missing size.
        OFString given;
        data->findAndGetOFStringArray(DCM_PixelSpacing, given);
        if (!given.empty()) {
            h.reason = QStringLiteral("%1: PixelSpacing \"%2\" is not two numbers")
                           .arg(path, QString::fromLatin1(given.c_str()).left(80));
            return false;
        }
    }
    if (!hasSpacing) {
        h.pixelSpacing[0] = h.pixelSpacing[1] = 1.0; // no size given: one millimetre a pixel
    }
    const auto [low, high] = std::minmax(h.pixelSpacing[0], h.pixelSpacing[1]);
    if (low < VolumeLayout::MinSpacingMm || high > VolumeLayout::MaxSpacingMm ||
        high > VolumeLayout::MaxSpacingRatio * low) {
        h.reason = QStringLiteral("%1: PixelSpacing %2\\%3 mm is beyond a head series (each from %4 to "
                                  "%5 mm, at most %6 times the other)")
                       .arg(path)
                       .arg(h.pixelSpacing[0], 0, 'g', 6)
                       .arg(h.pixelSpacing[1], 0, 'g', 6)
                       .arg(VolumeLayout::MinSpacingMm)
                       .arg(VolumeLayout::MaxSpacingMm)
                       .arg(VolumeLayout::MaxSpacingRatio);
        return false;
    }
    return true;
}

// One slice per frame, placed by its own functional group (a multi-frame file) or the image's
// position.
void readFrames(DcmDataset *data, const QString &path, Header &h) {
    for (int f = 0; f < h.frames; ++f) {
        Slice slice;
        slice.path = path;
        slice.frame = f;
        slice.instance = h.instance;
        slice.pixelSpacing[0] = h.pixelSpacing[0];
        slice.pixelSpacing[1] = h.pixelSpacing[1];
        double p[3] = {0, 0, 0};
        DcmItem *frame = nullptr;
        if (h.frames > 1) {
            data->findAndGetSequenceItem(DCM_PerFrameFunctionalGroupsSequence, frame, f);
        }
        if (frame && readGroupValues(frame, DCM_PlanePositionSequence, DCM_ImagePositionPatient, p, 3)) {
            slice.hasPosition = true;
        } else if (f == 0) {
            slice.hasPosition = readValues(data, DCM_ImagePositionPatient, p, 3);
        }
        slice.position = {p[0], p[1], p[2]};
        slice.volumeKey = volumeKey(data, frame);
        h.slices.push_back(slice);
    }
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
    h.reason = notAnImage(file, loaded, path, name, h.damaged);
    if (!h.reason.isEmpty()) {
        return h;
    }
    DcmDataset *data = file.getDataset();
    Uint16 rows = 0;
    Uint16 columns = 0;
    data->findAndGetUint16(DCM_Rows, rows);
    data->findAndGetUint16(DCM_Columns, columns);
    h.rows = rows;
    h.columns = columns;
    readIdentity(data, h);
    if (!readPlacement(data, path, h)) {
        h.damaged = true;
        return h;
    }
    readFrames(data, path, h);
    h.image = true;
    return h;
}

// Where a slice lies along the normal (0 without a position).
double along(const Vec3 &normal, const Slice &slice) {
    return slice.hasPosition ? dot(normal, slice.position) : 0;
}

// The volumes of a series: its images grouped by what tells volumes apart (volumeKey), groups in
// the order of their first instance; within a group, where positions repeat, the n-th image at a
// position (by instance) goes to the n-th volume. Sets each slice's volume and the series' names.
void splitVolumes(Series &series) {
    const Vec3 normal = series.normal();
    auto byInstance = [](const Slice &a, const Slice &b) {
        return std::tie(a.instance, a.path, a.frame) < std::tie(b.instance, b.path, b.frame);
    };
    std::sort(series.slices.begin(), series.slices.end(), byInstance);
    std::vector<QString> keys; // in the order of their first instance
    std::map<QString, std::vector<Slice>> groups;
    for (const Slice &slice : series.slices) {
        if (groups.find(slice.volumeKey) == groups.end()) {
            keys.push_back(slice.volumeKey);
        }
        groups[slice.volumeKey].push_back(slice);
    }
    // The parts of the key that differ between the groups name the volumes.
    static const char *const partNames[] = {"echo", "time", "b", "direction", "type"};
    std::vector<bool> differs(5, false);
    for (const QString &key : keys) {
        const QStringList parts = key.split(QLatin1Char('|'));
        const QStringList firstParts = keys.front().split(QLatin1Char('|'));
        for (int p = 0; p < 5 && p < parts.size() && p < firstParts.size(); ++p) {
            differs[std::size_t(p)] = differs[std::size_t(p)] || parts[p] != firstParts[p];
        }
    }
    std::vector<Slice> ordered;
    QStringList names;
    for (const QString &key : keys) {
        std::vector<Slice> &group = groups[key];
        // Stable: equal positions keep their instance order.
        std::stable_sort(group.begin(), group.end(), [&](const Slice &a, const Slice &b) {
            return along(normal, a) < along(normal, b) - 1e-3;
        });
        std::vector<int> repeat(group.size(), 0);
        int repeats = 1;
        for (std::size_t i = 1; i < group.size(); ++i) {
            if (group[i].hasPosition && group[i - 1].hasPosition &&
                std::abs(along(normal, group[i]) - along(normal, group[i - 1])) <= 1e-3) {
                repeat[i] = repeat[i - 1] + 1;
                repeats = std::max(repeats, repeat[i] + 1);
            }
        }
        QStringList keyName;
        const QStringList parts = key.split(QLatin1Char('|'));
        for (int p = 0; p < 5 && p < parts.size(); ++p) {
            if (differs[std::size_t(p)]) {
                keyName << QStringLiteral("%1 %2").arg(QLatin1String(partNames[p]), parts[p]);
            }
        }
        for (int r = 0; r < repeats; ++r) {
            for (std::size_t i = 0; i < group.size(); ++i) {
                if (repeat[i] == r) {
                    group[i].volume = int(names.size());
                    ordered.push_back(group[i]);
                }
            }
            QStringList name = keyName;
            if (repeats > 1) {
                name << QStringLiteral("repeat %1").arg(r + 1);
            }
            names << name.join(QStringLiteral(", "));
        }
    }
    series.slices = std::move(ordered);
    series.volumes = int(names.size());
    series.volumeNames = series.volumes > 1 ? names : QStringList();
}

// Places the slices of one volume on its regular grid of slices: the place of a slice is its
// distance from the first over the regular gap, rounded, so a missing slice leaves its place empty.
// Without positions or a gap, slices take places in their order.
void placeSlices(Series &series) {
    const Vec3 normal = series.normal();
    const bool positions =
        std::all_of(series.slices.begin(), series.slices.end(), [](const Slice &s) { return s.hasPosition; });
    double last = 0;
    for (std::size_t i = 0; i < series.slices.size(); ++i) {
        Slice &slice = series.slices[i];
        double place = double(i);
        if (positions && series.positionGap > 0) {
            place = std::round((along(normal, slice) - along(normal, series.slices.front())) /
                               series.positionGap);
        }
        // Held to what an int takes: a volume beyond a head series is refused by its size anyway.
        slice.place = int(std::clamp(place, 0.0, double(VolumeLayout::MaxVoxels)));
        last = std::max(last, double(slice.place));
    }
    series.places = series.slices.empty() ? 0 : int(last) + 1;
    QSet<int> filled;
    for (const Slice &slice : series.slices) {
        filled.insert(slice.place);
    }
    series.emptyPlaces = series.places - int(filled.size());
}

// Orders the slices of one volume by position along the normal (then instance, then name and
// frame), derives the slice spacing, counts the files whose spacing is off by more than 1% and
// places the slices.
void arrange(Series &series) {
    const Vec3 normal = series.normal();
    std::sort(series.slices.begin(), series.slices.end(), [&](const Slice &a, const Slice &b) {
        const double pa = along(normal, a);
        const double pb = along(normal, b);
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
    for (const Slice &slice : series.slices) {
        if (std::abs(slice.pixelSpacing[0] - series.rowSpacing) > 0.01 * series.rowSpacing ||
            std::abs(slice.pixelSpacing[1] - series.columnSpacing) > 0.01 * series.columnSpacing) {
            irregular.insert(slice.path);
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
    placeSlices(series);
}

// Reads the header of every file, on `threads` threads (every core when 0).
std::vector<Header> readHeaders(const QFileInfoList &files, int threads) {
    std::vector<Header> headers(std::size_t(files.size()));
    ParallelJobs::run(
        headers.size(), threads > 0 ? threads : int(std::max(1u, std::thread::hardware_concurrency())),
        [&](std::size_t i) {
            headers[i] = readHeader(files[qsizetype(i)].absoluteFilePath(), files[qsizetype(i)].fileName());
        },
        [&](std::size_t i) {
            headers[i] = Header{};
            headers[i].damaged = true;
            headers[i].reason = QStringLiteral("%1: too large for the memory available")
                                    .arg(files[qsizetype(i)].absoluteFilePath());
        });
    return headers;
}

// Series by number, then description.
bool seriesOrder(const Series &a, const Series &b) {
    bool aNumber = false;
    bool bNumber = false;
    const int an = a.number.toInt(&aNumber);
    const int bn = b.number.toInt(&bNumber);
    if (aNumber && bNumber && an != bn) {
        return an < bn;
    }
    return a.description < b.description;
}

} // namespace

Series Series::volume(int index) const {
    Series one = *this;
    one.slices.clear();
    for (const Slice &slice : slices) {
        if (slice.volume == index) {
            one.slices.push_back(slice);
        }
    }
    one.volumes = 1;
    one.volumeNames.clear();
    one.irregularFiles = 0;
    one.irregularity.clear();
    arrange(one);
    return one;
}

Vec3 Series::normal() const {
    return cross(rowDirection, columnDirection);
}

QString Series::orientation() const {
    return hasOrientation ? VolumeLayout::describeOrientation(normal()) : QStringLiteral("unknown");
}

QString Series::label() const {
    const QString images = volumes > 1
                               ? QStringLiteral("%1 images in %2 volumes").arg(slices.size()).arg(volumes)
                               : QStringLiteral("%1 images").arg(slices.size());
    const QString what = QStringLiteral("%1 (%2, %3%4)")
                             .arg(description, images,
                                  mosaicImages != 0 ? QStringLiteral("mosaic, ") : QString(), orientation());
    return number.isEmpty() ? what : number + QStringLiteral(": ") + what;
}

namespace {

// Of the series that pass, the one a load takes unless told (see Scan::preferredSeries).
int preferred(const std::vector<Series> &series, const std::function<bool(const Series &)> &passes) {
    int best = -1;
    auto anatomical = [](const Series &s) { return s.volumes == 1 && s.mosaicImages == 0; };
    for (std::size_t i = 0; i < series.size(); ++i) {
        if (!passes(series[i])) {
            continue;
        }
        const Series &s = series[i];
        if (best < 0) {
            best = int(i);
            continue;
        }
        const Series &b = series[std::size_t(best)];
        if (anatomical(s) != anatomical(b) ? anatomical(s) : s.slices.size() > b.slices.size()) {
            best = int(i);
        }
    }
    return best;
}

} // namespace

int Scan::preferredSeries() const {
    return preferred(series, [](const Series &) { return true; });
}

int Scan::seriesNumbered(const QString &number) const {
    return preferred(series, [&](const Series &s) { return s.number == number; });
}

Scan scanFolder(const QString &folder, int threads) {
    prepareDcmtk();
    Scan scan;
    std::map<QString, Series> byKey;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    const std::vector<Header> headers = readHeaders(files, threads);
    for (const Header &h : headers) {
        ++scan.filesSeen;
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
        s.mosaicImages = h.mosaicImages != 0 ? h.mosaicImages : s.mosaicImages;
        s.slices.insert(s.slices.end(), h.slices.begin(), h.slices.end());
    }
    for (auto &[key, series] : byKey) {
        splitVolumes(series);
        // The series shows what its first volume is: its spacing, places and irregularity.
        const Series first = series.volume(0);
        if (series.volumes == 1) {
            series.slices = first.slices; // in position order, placed
        }
        series.positionGap = first.positionGap;
        series.places = first.places;
        series.emptyPlaces = first.emptyPlaces;
        series.irregularFiles = first.irregularFiles;
        series.irregularity = first.irregularity;
        scan.series.push_back(std::move(series));
    }
    std::sort(scan.series.begin(), scan.series.end(), seriesOrder);
    return scan;
}

} // namespace DicomFiles
