#include "imaging/DicomClaims.h"
#include "imaging/DicomFiles.h"
#include "imaging/GreyWindow.h"
#include "imaging/ParallelJobs.h"

#include <QFileInfo>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfcache.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmimgle/dipixel.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

// Decoding a volume: every file once into modality values, then one window for the whole volume.
namespace DicomFiles {

namespace {

using namespace Claims;
using VolumeLayout::Vec3;

// A linear window: values at or below `low` black, above `high` white, straight between (DICOM's
// linear window function, written with its two ends).
struct Window {
    bool given = false;
    double low = 0;
    double high = 0;
};

// The window of a frame as the file gives it: the image's own (first value), else the frame's
// functional groups' (shared, then its own). Not given when absent or narrower than 1.
Window readWindow(DcmItem *data, DcmItem *frame) {
    double centre = 0;
    double width = 0;
    DcmItem *shared = nullptr;
    data->findAndGetSequenceItem(DCM_SharedFunctionalGroupsSequence, shared, 0);
    bool given =
        readValues(data, DCM_WindowCenter, &centre, 1) && readValues(data, DCM_WindowWidth, &width, 1);
    for (DcmItem *groups : {shared, frame}) {
        given = given || (readGroupValues(groups, DCM_FrameVOILUTSequence, DCM_WindowCenter, &centre, 1) &&
                          readGroupValues(groups, DCM_FrameVOILUTSequence, DCM_WindowWidth, &width, 1));
    }
    if (!given || !(width >= 1)) {
        return {};
    }
    return {true, centre - 0.5 - (width - 1) / 2, centre - 0.5 + (width - 1) / 2};
}

// An allocator that leaves values as they are when a vector grows: the values of a whole volume are
// written by the decoders, so zeroing them first would be one more pass over the memory.
template <class T> struct Uninitialised : std::allocator<T> {
    template <class U> struct rebind { using other = Uninitialised<U>; };
    template <class U> void construct(U *p) noexcept { ::new (static_cast<void *>(p)) U; }
    template <class U, class... Args> void construct(U *p, Args &&...args) {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
};

// How a place's 16-bit codes give its modality values: slope * code + intercept. Stored values are
// kept as codes (signed ones moved up by 32768), so a volume takes two bytes a voxel, and the
// rescale is applied once per code, in the lookup table that turns codes into greys.
struct Coding {
    double slope = 1;
    double intercept = 0;
    bool operator<(const Coding &o) const {
        return slope < o.slope || (slope == o.slope && intercept < o.intercept);
    }
    double value(int code) const { return slope * code + intercept; }
};

// The codes of one place counted, one bin per code from the least.
struct CodeCounts {
    int low = 0;
    std::vector<std::int64_t> counts;
};

// What the decoding of a volume gathers: the codes of every place, and for each place whether it
// was decoded, its coding, the window its file gives and whether it is shown inverted (MONOCHROME1).
struct Gathered {
    Gathered(std::size_t size, std::size_t places)
        : sliceSize(size), codes(size * places), decoded(places, 0), inverse(places, 0), codings(places),
          windows(places), counts(places), counted(places, 0) {}

    std::size_t sliceSize = 0;
    std::vector<std::uint16_t, Uninitialised<std::uint16_t>> codes; // a place not decoded is never read
    std::vector<char> decoded;
    std::vector<char> inverse;
    std::vector<Coding> codings;
    std::vector<Window> windows;
    std::vector<CodeCounts> counts; // of each place's codes, counted while decoded
    std::vector<char> counted;      // whether counts holds the place's
    // The first window a decoded file gave: a slice that carries it is counted only when the volume
    // turns out to need its own window (the common case of one window for all costs no counting).
    std::mutex referenceGuard;
    std::optional<Window> reference;

    std::uint16_t *place(std::size_t k) { return &codes[sliceSize * k]; }
    const std::uint16_t *place(std::size_t k) const { return &codes[sliceSize * k]; }
};

bool sameWindow(const Window &a, const Window &b) {
    return a.given && b.given && std::abs(a.low - b.low) < 1e-6 && std::abs(a.high - b.high) < 1e-6;
}

// Whether the place's values must be counted now: its window is missing or not the reference.
bool countNow(Gathered &g, const Window &window) {
    if (!window.given) {
        return true;
    }
    const std::lock_guard<std::mutex> lock(g.referenceGuard);
    if (!g.reference) {
        g.reference = window;
    }
    return !sameWindow(*g.reference, window);
}

// The least and greatest code of a slice, in sixteen lanes the compiler keeps in vector registers.
std::pair<std::uint16_t, std::uint16_t> codeRange(std::span<const std::uint16_t> codes) {
    constexpr std::size_t Lanes = 16;
    std::uint16_t low[Lanes];
    std::uint16_t high[Lanes];
    std::fill_n(low, Lanes, codes[0]);
    std::fill_n(high, Lanes, codes[0]);
    std::size_t i = 0;
    for (; i + Lanes <= codes.size(); i += Lanes) {
        for (std::size_t l = 0; l < Lanes; ++l) {
            const std::uint16_t v = codes[i + l];
            low[l] = v < low[l] ? v : low[l];
            high[l] = v > high[l] ? v : high[l];
        }
    }
    for (; i < codes.size(); ++i) {
        low[0] = std::min(low[0], codes[i]);
        high[0] = std::max(high[0], codes[i]);
    }
    return {*std::min_element(low, low + Lanes), *std::max_element(high, high + Lanes)};
}

void countPlace(Gathered &g, std::size_t k) {
    const std::uint16_t *codes = g.place(k);
    const auto [least, greatest] = codeRange({codes, g.sliceSize});
    std::size_t i = 0;
    CodeCounts &c = g.counts[k];
    c.low = least;
    const auto bins = std::size_t(greatest - least) + 1;
    // Four partial counts, so that runs of one code (the air) do not wait on each other's increment.
    std::vector<std::uint32_t> partial(4 * bins, 0);
    for (i = 0; i + 4 <= g.sliceSize; i += 4) {
        ++partial[codes[i] - c.low];
        ++partial[bins + codes[i + 1] - c.low];
        ++partial[2 * bins + codes[i + 2] - c.low];
        ++partial[3 * bins + codes[i + 3] - c.low];
    }
    for (; i < g.sliceSize; ++i) {
        ++partial[codes[i] - c.low];
    }
    c.counts.resize(bins);
    for (std::size_t b = 0; b < bins; ++b) {
        c.counts[b] =
            std::int64_t(partial[b]) + partial[bins + b] + partial[2 * bins + b] + partial[3 * bins + b];
    }
    g.counted[k] = 1;
}

// The frames of a file that belong to the volume: (frame, place).
using Frames = std::vector<std::pair<int, int>>;

// Uncompressed grey images of 8 or 16 bits with a linear rescale, read straight from the data set.
// False, touching nothing, for anything else, which DicomImage then decodes.
bool decodeDirect(DcmDataset *data, E_TransferSyntax xfer, const Series &series, const Frames &frames,
                  Gathered &out) {
    Uint16 bitsAllocated = 0, bitsStored = 0, representation = 0, rows = 0, columns = 0, highBit = 0;
    if (DcmXfer(xfer).isEncapsulated() || data->findAndGetUint16(DCM_BitsAllocated, bitsAllocated).bad() ||
        (bitsAllocated != 8 && bitsAllocated != 16) ||
        data->findAndGetUint16(DCM_BitsStored, bitsStored).bad() || bitsStored == 0 ||
        bitsStored > bitsAllocated || data->findAndGetUint16(DCM_PixelRepresentation, representation).bad() ||
        data->findAndGetUint16(DCM_Rows, rows).bad() || data->findAndGetUint16(DCM_Columns, columns).bad() ||
        rows != series.rows || columns != series.columns || data->tagExists(DCM_ModalityLUTSequence) ||
        data->tagExists(DCM_PixelPaddingValue) ||
        (data->findAndGetUint16(DCM_HighBit, highBit).good() && highBit != bitsStored - 1)) {
        return false;
    }
    Sint32 frameCount = 1;
    data->findAndGetSint32(DCM_NumberOfFrames, frameCount);
    const std::size_t frameSize = std::size_t(rows) * columns;
    const std::size_t frameBytes = frameSize * (bitsAllocated / 8);
    DcmElement *pixels = nullptr;
    if (data->findAndGetElement(DCM_PixelData, pixels).bad() || !pixels ||
        pixels->getLength() < frameBytes * std::size_t(std::max(1, frameCount))) {
        return false;
    }
    double slope = 1;
    double intercept = 0;
    readValues(data, DCM_RescaleSlope, &slope, 1);
    readValues(data, DCM_RescaleIntercept, &intercept, 1);
    const unsigned mask = (1u << bitsStored) - 1;
    // Signed values are moved up by 32768 into codes; their coding moves the intercept down alike.
    const bool signedValues = representation == 1;
    const unsigned signBit = 1u << (bitsStored - 1);
    const Coding coding{slope, signedValues ? intercept - 32768 * slope : intercept};
    // The frames are read from the file straight into their places (16 bits) or a row of bytes
    // (8 bits), in this machine's byte order, without DCMTK holding the pixel data itself.
    DcmFileCache cache;
    std::vector<Uint8> bytes(bitsAllocated == 8 ? frameSize : 0);
    for (const auto &[frame, place] : frames) {
        std::uint16_t *target = out.place(std::size_t(place));
        void *into = bitsAllocated == 8 ? static_cast<void *>(bytes.data()) : static_cast<void *>(target);
        if (pixels->getPartialValue(into, Uint32(frameBytes * std::size_t(frame)), Uint32(frameBytes), &cache)
                .bad()) {
            return false;
        }
        auto convert = [&](const auto *stored) {
            if (!signedValues) {
                for (std::size_t i = 0; i < frameSize; ++i) {
                    target[i] = std::uint16_t(stored[i] & mask);
                }
                return;
            }
            // Two's complement of bitsStored bits, sign-extended, then moved up by 32768.
            for (std::size_t i = 0; i < frameSize; ++i) {
                const unsigned raw = stored[i] & mask;
                target[i] = std::uint16_t(((raw ^ signBit) - signBit + 32768u) & 0xFFFFu);
            }
        };
        if (bitsAllocated == 8) {
            convert(bytes.data());
        } else if (signedValues || bitsStored < 16) { // else the words are the codes already
            convert(static_cast<const std::uint16_t *>(target));
        }
        out.codings[std::size_t(place)] = coding;
    }
    return true;
}

// Anything else DCMTK decodes (compressed, other bit depths, lookup tables): its modality values as
// DicomImage holds them before any window.
QString decodeGeneral(DcmFileFormat &file, E_TransferSyntax xfer, const QString &path, const Series &series,
                      const Frames &frames, Gathered &out) {
    DicomImage image(&file, xfer, 0UL, 0UL, 0UL);
    const DiPixel *inter = image.getStatus() == EIS_Normal ? image.getInterData() : nullptr;
    if (!inter || !inter->getData()) {
        return QStringLiteral("%1: holds no image that can be decoded (%2, transfer syntax %3)")
            .arg(path, QString::fromLatin1(DicomImage::getString(image.getStatus())),
                 QString::fromLatin1(DcmXfer(xfer).getXferName()));
    }
    const int columns = int(image.getWidth());
    const int rows = int(image.getHeight());
    const std::size_t frameSize = std::size_t(columns) * rows;
    const unsigned long frameCount = image.getFrameCount();
    // The frame's values as codes from its least value up: whole steps when they span at most 65535,
    // else spread evenly over the 65536 codes (32-bit data, which keeps its order, not its steps).
    auto copy = [&](const auto *data, std::size_t first, std::size_t place) {
        std::uint16_t *target = out.place(place);
        const int height = std::min(rows, series.rows);
        const int width = std::min(columns, series.columns);
        double low = double(data[first]);
        double high = low;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const double v = double(data[first + std::size_t(y) * columns + x]);
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        const double step = high - low <= 65535 ? 1.0 : (high - low) / 65535;
        if (rows < series.rows || columns < series.columns) { // a smaller frame: the rest is its least
            std::fill_n(target, out.sliceSize, std::uint16_t(0));
        }
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const double v = double(data[first + std::size_t(y) * columns + x]);
                // NOLINTNEXTLINE(bugprone-incorrect-roundings): within [0, 65535]: rounds half up.
                target[std::size_t(y) * series.columns + x] = std::uint16_t((v - low) / step + 0.5);
            }
        }
        out.codings[place] = {step, low};
    };
    for (const auto &[frame, place] : frames) {
        if (static_cast<unsigned long>(frame) >= frameCount || frameSize * (frame + 1) > inter->getCount()) {
            return QStringLiteral("%1: frame %2 could not be decoded").arg(path).arg(frame + 1);
        }
        const std::size_t first = frameSize * std::size_t(frame);
        const auto at = std::size_t(place);
        const void *data = inter->getData();
        switch (inter->getRepresentation()) {
        case EPR_Uint8:
            copy(static_cast<const Uint8 *>(data), first, at);
            break;
        case EPR_Sint8:
            copy(static_cast<const Sint8 *>(data), first, at);
            break;
        case EPR_Uint16:
            copy(static_cast<const Uint16 *>(data), first, at);
            break;
        case EPR_Sint16:
            copy(static_cast<const Sint16 *>(data), first, at);
            break;
        case EPR_Uint32:
            copy(static_cast<const Uint32 *>(data), first, at);
            break;
        case EPR_Sint32:
            copy(static_cast<const Sint32 *>(data), first, at);
            break;
        }
    }
    return {};
}

// Decodes the frames of one file into their places; "" or why it could not.
QString decodeFile(const QString &path, const Series &series, const Frames &frames, Gathered &out) {
    DcmFileFormat file;
    const OFCondition loaded = file.loadFile(dcmtkName(path));
    if (loaded.bad()) {
        return QStringLiteral("%1: cannot be read (%2)").arg(path, QString::fromLatin1(loaded.text()));
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
        return QStringLiteral("%1: %2").arg(path, claim);
    }
    if (isJpeg2000(xfer)) {
        return QStringLiteral("%1: compressed with JPEG 2000, which this program cannot decode; export the "
                              "series uncompressed or with JPEG or JPEG-LS compression")
            .arg(path);
    }
    Uint16 samples = 1;
    OFString photometric;
    data->findAndGetUint16(DCM_SamplesPerPixel, samples);
    data->findAndGetOFString(DCM_PhotometricInterpretation, photometric);
    if (samples != 1 || (photometric != "MONOCHROME1" && photometric != "MONOCHROME2")) {
        return QStringLiteral("%1: a colour image (%2); an MR series is grey, so it is not loaded")
            .arg(path, QString::fromLatin1(photometric.c_str()));
    }
    if (!decodeDirect(data, xfer, series, frames, out)) {
        const QString problem = decodeGeneral(file, xfer, path, series, frames, out);
        if (!problem.isEmpty()) {
            return problem;
        }
    }
    for (const auto &[frame, place] : frames) {
        DcmItem *frameGroups = nullptr;
        data->findAndGetSequenceItem(DCM_PerFrameFunctionalGroupsSequence, frameGroups, frame);
        out.windows[std::size_t(place)] = readWindow(data, frameGroups);
        out.inverse[std::size_t(place)] = photometric == "MONOCHROME1" ? 1 : 0;
        out.decoded[std::size_t(place)] = 1;
        // Counted now, while the slice is in the cache, when the volume may need its own window.
        if (countNow(out, out.windows[std::size_t(place)])) {
            countPlace(out, std::size_t(place));
        }
    }
    return {};
}

// The one window of the volume: the window every decoded slice carries when they all carry the
// same, else the volume's own (GreyWindow.h) over the values of its decoded slices.
Window volumeWindow(Gathered &g, const std::vector<std::size_t> &places, int threads) {
    const Window &first = g.windows[places.front()];
    const bool common = std::all_of(places.begin(), places.end(),
                                    [&](std::size_t k) { return sameWindow(g.windows[k], first); });
    if (common) {
        return first;
    }
    // The slices that carried the reference window were not counted while decoded.
    std::vector<std::size_t> uncounted;
    std::copy_if(places.begin(), places.end(), std::back_inserter(uncounted),
                 [&](std::size_t k) { return !g.counted[k]; });
    ParallelJobs::run(
        uncounted.size(), threads, [&](std::size_t i) { countPlace(g, uncounted[i]); }, [](std::size_t) {});
    // The counts of places with one coding add up code by code; each coding's then become values.
    std::map<Coding, std::vector<std::int64_t>> byCoding;
    for (const std::size_t k : places) {
        std::vector<std::int64_t> &sum = byCoding[g.codings[k]];
        const CodeCounts &c = g.counts[k];
        sum.resize(std::max(sum.size(), std::size_t(c.low) + c.counts.size()), 0);
        for (std::size_t b = 0; b < c.counts.size(); ++b) {
            sum[std::size_t(c.low) + b] += c.counts[b];
        }
    }
    std::vector<std::pair<double, std::int64_t>> valueCounts;
    for (const auto &[coding, sum] : byCoding) {
        for (std::size_t code = 0; code < sum.size(); ++code) {
            if (sum[code] > 0) {
                valueCounts.emplace_back(coding.value(int(code)), sum[code]);
            }
        }
    }
    const std::optional<std::pair<double, double>> own = ownGreyWindow(std::move(valueCounts));
    // A volume of one value: black.
    const double only = g.codings[places.front()].value(g.place(places.front())[0]);
    return own ? Window{true, own->first, own->second} : Window{true, only, only + 1.0};
}

// Turns the codes into 8 bits through the one window, the same rule for every slice:
// (v - low) / (high - low) of 255, rounded half up, MONOCHROME1 inverted; one lookup table for each
// coding, so each code is windowed once. Places not decoded are black. The greys are written in the
// layout's order (`order`), so the volume is not moved once more.
void toGrey(const Gathered &g, const std::vector<std::size_t> &places, const Window &window,
            const VolumeLayout::Reorder &order, std::vector<std::uint8_t> &voxels, int threads) {
    const double gain = 255 / std::max(window.high - window.low, 1e-12);
    std::map<std::pair<Coding, bool>, std::vector<std::uint8_t>> tables;
    for (const std::size_t k : places) {
        std::vector<std::uint8_t> &table = tables[{g.codings[k], g.inverse[k] != 0}];
        if (!table.empty()) {
            continue;
        }
        table.resize(65536);
        for (int code = 0; code < 65536; ++code) {
            const double out = std::clamp((g.codings[k].value(code) - window.low) * gain, 0.0, 255.0);
            // NOLINTNEXTLINE(bugprone-incorrect-roundings): out is within [0, 255]: this rounds half up.
            const auto grey = static_cast<std::uint8_t>(out + 0.5);
            table[std::size_t(code)] = g.inverse[k] ? std::uint8_t(255 - grey) : grey;
        }
    }
    const std::vector<std::uint8_t> black(65536, 0);
    std::vector<const std::uint8_t *> tableOf(g.decoded.size(), black.data());
    for (const std::size_t k : places) {
        tableOf[k] = tables.at({g.codings[k], g.inverse[k] != 0}).data();
    }
    const auto sliceSize = std::ptrdiff_t(g.sliceSize);
    const std::ptrdiff_t step = order.stride[0];
    const std::ptrdiff_t width = order.dims[0];
    const std::uint16_t *codes = g.codes.data();
    order.forEachRow(threads, [&, step, width, sliceSize](std::size_t to, std::ptrdiff_t from) {
        std::uint8_t *target = voxels.data() + to;
        if (std::abs(step) < sliceSize) { // a row within one slice: one table
            const std::uint8_t *table = tableOf[std::size_t(from / sliceSize)];
            for (std::ptrdiff_t i = 0; i < width; ++i) {
                target[i] = table[codes[from + i * step]];
            }
            return;
        }
        for (std::ptrdiff_t i = 0; i < width; ++i) { // a row across the slices
            const std::ptrdiff_t at = from + i * step;
            target[i] = tableOf[std::size_t(at / sliceSize)][codes[at]];
        }
    });
}

// The placement of the volume: the first slice's position, the in-plane directions and the step
// between places (the slice spacing along the normal without positions).
VolumeLayout::Affine placement(const Series &series) {
    VolumeLayout::Affine affine;
    const Slice &first = series.slices.front();
    const Slice &last = series.slices.back();
    affine.origin = first.position;
    const Vec3 normal = series.normal();
    for (int c = 0; c < 3; ++c) {
        affine.axes[0][c] = series.rowDirection[c] * series.columnSpacing;
        affine.axes[1][c] = series.columnDirection[c] * series.rowSpacing;
    }
    const double fallback = series.sliceSpacing > 0 ? series.sliceSpacing : series.columnSpacing;
    const double along = dot(normal, last.position) - dot(normal, first.position);
    if (last.place > first.place && first.hasPosition && last.hasPosition && along > 1e-3) {
        for (int c = 0; c < 3; ++c) {
            affine.axes[2][c] = (last.position[c] - first.position[c]) / (last.place - first.place);
        }
    } else {
        for (int c = 0; c < 3; ++c) {
            affine.axes[2][c] = normal[c] * fallback;
        }
    }
    return affine;
}

// Decodes the frames of the series into `gathered`, one job per file; what a file could not give is
// told to `fail`.
void decodeFiles(const Series &series, Gathered &gathered, int threads,
                 const std::function<void(int, int)> &progress,
                 const std::function<void(const QString &)> &fail) {
    std::map<QString, Frames> framesOfFile;
    for (const Slice &slice : series.slices) {
        framesOfFile[slice.path].emplace_back(slice.frame, slice.place);
    }
    const std::vector<std::pair<QString, Frames>> jobs(framesOfFile.begin(), framesOfFile.end());
    const int count = int(series.slices.size());
    std::atomic<int> done{0};
    ParallelJobs::run(
        jobs.size(), threads,
        [&](std::size_t j) {
            const QString problem = decodeFile(jobs[j].first, series, jobs[j].second, gathered);
            if (!problem.isEmpty()) {
                fail(problem);
            }
            done += int(jobs[j].second.size());
        },
        [&](std::size_t j) {
            fail(QStringLiteral("%1: too large for the memory available").arg(jobs[j].first));
            done += int(jobs[j].second.size());
        },
        [&] {
            if (progress) {
                progress(done.load(), count);
            }
        });
    if (progress) {
        progress(count, count);
    }
}

} // namespace

bool decodeSeries(const Series &whole, VolumeLayout::ScannerVolume &volume, QStringList *failures,
                  int threads, const std::function<void(int, int)> &progress, bool inLayout) {
    prepareDcmtk();
    volume = {};
    std::mutex failuresMutex;
    auto fail = [&](const QString &why) {
        std::lock_guard<std::mutex> lock(failuresMutex);
        if (failures) {
            *failures << why;
        }
    };
    if (whole.slices.empty()) {
        return false;
    }
    if (whole.mosaicImages != 0) {
        fail(QStringLiteral("%1: a Siemens mosaic (%2 images tiled in each picture): an fMRI or diffusion "
                            "series, not an anatomical one; it is not loaded")
                 .arg(whole.slices.front().path, whole.mosaicImages > 0 ? QString::number(whole.mosaicImages)
                                                                        : QStringLiteral("several")));
        return false;
    }
    const Series series = whole.volumes > 1 ? whole.volume(0) : whole;
    const int count = int(series.slices.size());
    volume.affine = placement(series);
    // Sizes and spacings beyond a head series are refused before the voxels are set aside.
    const QString problem =
        VolumeLayout::sizeProblem({series.columns, series.rows, series.places}, volume.affine);
    if (!problem.isEmpty()) {
        fail(QStringLiteral("%1: the series of %2 files: %3")
                 .arg(series.slices.front().path)
                 .arg(count)
                 .arg(problem));
        volume = {};
        return false;
    }
    volume.dims = {series.columns, series.rows, series.places};
    const auto places = std::size_t(series.places);
    Gathered gathered(std::size_t(series.columns) * series.rows, places);
    decodeFiles(series, gathered, threads, progress, fail);
    if (failures) {
        failures->sort();
    }
    std::vector<std::size_t> decoded;
    for (std::size_t k = 0; k < places; ++k) {
        if (gathered.decoded[k]) {
            decoded.push_back(k);
        }
    }
    if (decoded.empty()) {
        volume = {};
        return false;
    }
    // Asked for, a placed volume is written in the layout's order; without an orientation the caller
    // places it as pictures, and the layout moves it then.
    const VolumeLayout::Reorder order = inLayout && series.hasOrientation
                                            ? VolumeLayout::reorder(volume.dims, volume.affine)
                                            : VolumeLayout::keepOrder(volume.dims, volume.affine);
    volume.voxels.resize(gathered.sliceSize * places);
    toGrey(gathered, decoded, volumeWindow(gathered, decoded, threads), order, volume.voxels, threads);
    volume.dims = order.dims;
    volume.affine = order.affine;
    return true;
}

} // namespace DicomFiles
