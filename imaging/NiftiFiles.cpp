#include "imaging/NiftiFiles.h"

#include "core/ConfinedRead.h"
#include "core/SafeWrite.h"
#include "imaging/GreyWindow.h"

#include <QFile>
#include <QFileInfo>

#include <nifti2_io.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

namespace {

using VolumeLayout::Affine;
using VolumeLayout::ScannerVolume;

// NIfTI-1 stores each dimension as a signed 16-bit number.
constexpr int MaxNifti1Dim = 32767;
// An axis shorter than this (mm) places every voxel on the same spot.
constexpr double MinSpacing = 1e-6;
// Bytes of a NIfTI-1 header plus the four that say no extensions follow; the voxels start there.
constexpr qint64 Nifti1VoxelOffset = 352;

// Quiets the library's own messages (the callers report failures themselves) and lets it accept
// upper-case extensions, once for the whole program.
void prepareNifti() {
    static std::once_flag once;
    std::call_once(once, [] {
        nifti_set_debug_level(0);
        nifti_set_allow_upper_fext(1);
    });
}

struct ImageFree {
    void operator()(nifti_image *image) const { nifti_image_free(image); }
};
using ImagePtr = std::unique_ptr<nifti_image, ImageFree>;

template <typename T, typename F> bool visitAs(const void *data, std::int64_t count, F &&f) {
    const T *values = static_cast<const T *>(data);
    for (std::int64_t n = 0; n < count; ++n) {
        f(n, static_cast<double>(values[n]));
    }
    return true;
}

// Calls f(index, value) for each of count stored values of the datatype; false (calling nothing)
// for the datatypes that are not one real number per voxel (complex, RGB, bits) or have no C type
// here (128-bit floats).
template <typename F> bool visitValues(int datatype, const void *data, std::int64_t count, F &&f) {
    switch (datatype) {
    case DT_UINT8:
        return visitAs<std::uint8_t>(data, count, f);
    case DT_INT8:
        return visitAs<std::int8_t>(data, count, f);
    case DT_INT16:
        return visitAs<std::int16_t>(data, count, f);
    case DT_UINT16:
        return visitAs<std::uint16_t>(data, count, f);
    case DT_INT32:
        return visitAs<std::int32_t>(data, count, f);
    case DT_UINT32:
        return visitAs<std::uint32_t>(data, count, f);
    case DT_INT64:
        return visitAs<std::int64_t>(data, count, f);
    case DT_UINT64:
        return visitAs<std::uint64_t>(data, count, f);
    case DT_FLOAT32:
        return visitAs<float>(data, count, f);
    case DT_FLOAT64:
        return visitAs<double>(data, count, f);
    default:
        return false;
    }
}

bool convertible(int datatype) {
    return visitValues(datatype, nullptr, 0, [](std::int64_t, double) {});
}

// The stored values as 8-bit greys: scaled by scl_slope/scl_inter (a zero slope means unscaled),
// then through the volume's own window (GreyWindow.h) stretched over 0..255. NaN and infinite
// values are left out of the range and come out black; so does a volume of one value.
std::vector<std::uint8_t> toGreys(const nifti_image &image, const void *data, std::int64_t count) {
    const bool scaled =
        image.scl_slope != 0 && std::isfinite(image.scl_slope) && std::isfinite(image.scl_inter);
    const double slope = scaled ? image.scl_slope : 1.0;
    const double inter = scaled ? image.scl_inter : 0.0;
    std::vector<float> finite;
    finite.reserve(static_cast<std::size_t>(count));
    visitValues(image.datatype, data, count, [&](std::int64_t, double value) {
        value = value * slope + inter;
        if (std::isfinite(value)) {
            finite.push_back(static_cast<float>(value));
        }
    });
    std::vector<std::uint8_t> greys(static_cast<std::size_t>(count), 0);
    const auto window = ownGreyWindow({std::span<const float>(finite)});
    if (!window) {
        return greys;
    }
    const double low = window->first;
    const double gain = 255.0 / (window->second - low);
    visitValues(image.datatype, data, count, [&](std::int64_t index, double value) {
        value = value * slope + inter;
        if (std::isfinite(value)) {
            greys[static_cast<std::size_t>(index)] =
                static_cast<std::uint8_t>(std::clamp(std::lround((value - low) * gain), 0L, 255L));
        }
    });
    return greys;
}

// The stored values as labels: whole numbers from 0 to 255 after scl_slope/scl_inter, kept as they
// are; false when any value is not one.
bool toLabels(const nifti_image &image, const void *data, std::int64_t count,
              std::vector<std::uint8_t> &labels) {
    const bool scaled =
        image.scl_slope != 0 && std::isfinite(image.scl_slope) && std::isfinite(image.scl_inter);
    const double slope = scaled ? image.scl_slope : 1.0;
    const double inter = scaled ? image.scl_inter : 0.0;
    labels.assign(static_cast<std::size_t>(count), 0);
    bool whole = true;
    visitValues(image.datatype, data, count, [&](std::int64_t index, double value) {
        value = value * slope + inter;
        if (!(value >= 0 && value <= 255) || value != std::floor(value)) {
            whole = false;
            return;
        }
        labels[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value);
    });
    return whole;
}

// NIfTI's world has x towards the subject's right and y to the front (RAS), the program's the
// opposite (LPS): the same matrix with its first two rows negated serves both ways.
constexpr double RasToLps[3] = {-1, -1, 1};

Affine fromRas(const nifti_dmat44 &m) {
    Affine affine;
    for (int row = 0; row < 3; ++row) {
        affine.origin[row] = RasToLps[row] * m.m[row][3];
        for (int axis = 0; axis < 3; ++axis) {
            affine.axes[axis][row] = RasToLps[row] * m.m[row][axis];
        }
    }
    return affine;
}

nifti_dmat44 toRas(const Affine &affine) {
    nifti_dmat44 m{};
    for (int row = 0; row < 3; ++row) {
        m.m[row][3] = RasToLps[row] * affine.origin[row];
        for (int axis = 0; axis < 3; ++axis) {
            m.m[row][axis] = RasToLps[row] * affine.axes[axis][row];
        }
    }
    m.m[3][3] = 1;
    return m;
}

// Why the affine cannot place voxels (NaN or infinite entries, an axis of no length, axes in one
// plane), or "" when it can.
QString affineProblem(const Affine &affine) {
    bool finite = true;
    for (int row = 0; row < 3; ++row) {
        finite = finite && std::isfinite(affine.origin[row]) && std::isfinite(affine.axes[0][row]) &&
                 std::isfinite(affine.axes[1][row]) && std::isfinite(affine.axes[2][row]);
    }
    if (!finite) {
        return QStringLiteral("the placement has NaN or infinite values");
    }
    const double sx = affine.spacing(0);
    const double sy = affine.spacing(1);
    const double sz = affine.spacing(2);
    if (sx < MinSpacing || sy < MinSpacing || sz < MinSpacing) {
        return QStringLiteral("zero voxel size (%1 x %2 x %3 mm)").arg(sx).arg(sy).arg(sz);
    }
    const auto &a = affine.axes;
    const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                       a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                       a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    if (std::abs(det) < 1e-6 * sx * sy * sz) {
        return QStringLiteral("the voxel axes lie in one plane");
    }
    return {};
}

// The voxel sizes (pixdim 1 to 3) as the header stores them. The library puts 1 mm in place of a
// zero, NaN or infinite size when it describes the image, which would hide a damaged header.
bool storedVoxelSizes(const char *name, double size[3]) {
    int version = 0;
    const std::unique_ptr<void, void (*)(void *)> raw(nifti_read_header(name, &version, 0), std::free);
    if (!raw) {
        return false;
    }
    // The header is given as stored; a size field that does not read right means the other byte order.
    if (version == 1) {
        nifti_1_header header;
        std::memcpy(&header, raw.get(), sizeof header);
        if (header.sizeof_hdr != int(sizeof header)) {
            nifti_swap_as_nifti1(&header);
        }
        std::copy(header.pixdim + 1, header.pixdim + 4, size);
        return true;
    }
    if (version == 2) {
        nifti_2_header header;
        std::memcpy(&header, raw.get(), sizeof header);
        if (header.sizeof_hdr != int(sizeof header)) {
            nifti_swap_as_nifti2(&header);
        }
        std::copy(header.pixdim + 1, header.pixdim + 4, size);
        return true;
    }
    return false;
}

// Where the file puts its voxels, in RAS: the sform when it has one, else the qform, else the voxel
// sizes alone along the stored axes. The sform carries its own sizes; the other two take pixdim's.
bool placement(const nifti_image &image, const double size[3], Affine &affine, QString &problem) {
    if (image.sform_code > 0) {
        affine = fromRas(image.sto_xyz);
    } else {
        if (!std::all_of(size, size + 3,
                         [](double v) { return std::isfinite(v) && std::abs(v) >= MinSpacing; })) {
            problem = QStringLiteral("NaN, infinite or zero voxel size (%1 x %2 x %3 mm)")
                          .arg(size[0])
                          .arg(size[1])
                          .arg(size[2]);
            return false;
        }
        nifti_dmat44 m{};
        if (image.qform_code > 0) {
            m = image.qto_xyz;
        } else {
            for (int axis = 0; axis < 3; ++axis) {
                m.m[axis][axis] = size[axis];
            }
            m.m[3][3] = 1;
        }
        affine = fromRas(m);
    }
    problem = affineProblem(affine);
    return problem.isEmpty();
}

// Reads bytes from the offset on, through zlib, which reads plain and gzip-compressed files alike.
// The memory grows with the bytes that really come, 16 MiB at a time, so a compressed file that
// claims more than it holds is found short before the claim is set aside. The library's own reader
// reports a short file on stderr; here it is only a false.
bool readBytes(const char *name, std::int64_t offset, std::vector<char> &data, std::int64_t bytes) {
    const gzFile file = gzopen(name, "rb");
    if (!file) {
        return false;
    }
    gzbuffer(file, 1 << 20);
    bool ok = offset >= 0 && gzseek(file, z_off_t(offset), SEEK_SET) == z_off_t(offset);
    data.clear();
    while (ok && std::int64_t(data.size()) < bytes) {
        const auto piece =
            static_cast<unsigned>(std::min<std::int64_t>(bytes - std::int64_t(data.size()), 16 << 20));
        const std::size_t at = data.size();
        data.resize(at + piece);
        ok = gzread(file, data.data() + at, piece) == int(piece);
    }
    return gzclose(file) == Z_OK && ok;
}

bool failWith(QString *error, const QString &message) {
    if (error) {
        *error = message;
    }
    return false;
}

// The NIfTI-1 header of an unsigned 8-bit volume placed by the affine, built by the library from
// an image description so that its fields (magic, quaternion, srow) follow the library's rules.
bool makeHeader(const ScannerVolume &volume, nifti_1_header &header) {
    const std::int64_t dims[8] = {3, volume.dims[0], volume.dims[1], volume.dims[2], 1, 1, 1, 1};
    ImagePtr image(nifti_make_new_nim(dims, DT_UINT8, 0));
    if (!image) {
        return false;
    }
    // The header takes the sform from sto_xyz, the qform from the quaternion fields.
    image->sform_code = NIFTI_XFORM_SCANNER_ANAT;
    image->sto_xyz = toRas(volume.affine);
    // The quaternion holds the rotation (qfac the reflection, when the axes are left-handed) and
    // gives back the axis lengths, which become the voxel sizes.
    image->qform_code = NIFTI_XFORM_SCANNER_ANAT;
    nifti_dmat44_to_quatern(image->sto_xyz, &image->quatern_b, &image->quatern_c, &image->quatern_d,
                            &image->qoffset_x, &image->qoffset_y, &image->qoffset_z, &image->dx, &image->dy,
                            &image->dz, &image->qfac);
    image->pixdim[1] = image->dx;
    image->pixdim[2] = image->dy;
    image->pixdim[3] = image->dz;
    image->xyz_units = NIFTI_UNITS_MM;
    image->scl_slope = 1;
    image->cal_max = 255;
    image->nifti_type = NIFTI_FTYPE_NIFTI1_1;
    nifti_set_iname_offset(image.get(), 1);
    if (image->iname_offset != Nifti1VoxelOffset || nifti_convert_nim2n1hdr(image.get(), &header) != 0) {
        return false;
    }
    // The unused dimensions count one voxel each, as most writers put it.
    std::fill(header.dim + 4, header.dim + 8, short(1));
    return true;
}

// Writes the bytes gzip-compressed into the file; "" when done, else why not.
QString writeGzip(QIODevice &file, const QByteArray &head, const std::vector<std::uint8_t> &voxels) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return QStringLiteral("zlib cannot compress");
    }
    QString reason;
    std::vector<Bytef> out(1 << 16);
    // Feeds one piece (at most 1 GiB at a time, as zlib counts in 32 bits) and writes what comes out.
    auto feed = [&](const std::uint8_t *data, std::size_t size, bool last) {
        do {
            const std::size_t piece = std::min<std::size_t>(size, std::size_t(1) << 30);
            stream.next_in = const_cast<Bytef *>(data);
            stream.avail_in = static_cast<uInt>(piece);
            data += piece;
            size -= piece;
            const int flush = last && size == 0 ? Z_FINISH : Z_NO_FLUSH;
            do {
                stream.next_out = out.data();
                stream.avail_out = static_cast<uInt>(out.size());
                if (deflate(&stream, flush) == Z_STREAM_ERROR) {
                    reason = QStringLiteral("zlib cannot compress");
                    return false;
                }
                const auto produced = static_cast<qint64>(out.size() - stream.avail_out);
                if (file.write(reinterpret_cast<const char *>(out.data()), produced) != produced) {
                    reason = file.errorString();
                    return false;
                }
            } while (stream.avail_out == 0);
        } while (size > 0);
        return true;
    };
    if (feed(reinterpret_cast<const std::uint8_t *>(head.constData()), std::size_t(head.size()), false)) {
        feed(voxels.data(), voxels.size(), true);
    }
    deflateEnd(&stream);
    return reason;
}

} // namespace

namespace NiftiFiles {

bool isNiftiPath(const QString &path) {
    return path.endsWith(QLatin1String(".nii"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".nii.gz"), Qt::CaseInsensitive);
}

namespace {

// Why the file is not handed to the library, which gives no reason when it cannot open a file and
// would try other names beside it: a name that is not NIfTI's, not a regular file (a FIFO or a device,
// or a link to one, would block or never end), or one that cannot be read; "" when it may be read.
QString openingProblem(const QString &path) {
    if (!isNiftiPath(path)) {
        return QStringLiteral("not a NIfTI file (the name does not end in .nii or .nii.gz)");
    }
    if (const QString notRegular = ConfinedRead::notRegularFile(path); !notRegular.isEmpty()) {
        return notRegular;
    }
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        return QStringLiteral("cannot be read (%1)").arg(probe.errorString());
    }
    return {};
}

// The first volume of the file (count voxels, whatever follows it) in this machine's byte order, as
// greys, or for labels as they are (each a whole number from 0 to 255); "" or why not. An
// uncompressed file shorter than its header says is refused before any memory is set aside for it.
QString readGreys(const QString &path, const nifti_image &image, std::int64_t count, bool labels,
                  std::vector<std::uint8_t> &greys) {
    const QByteArray name = QFile::encodeName(path);
    const std::int64_t bytes = count * image.nbyper;
    const QString cutShort = QStringLiteral("the voxel data is cut short or damaged");
    if (image.nbyper < 1 || image.iname_offset < 0 ||
        (!path.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive) &&
         QFileInfo(path).size() - image.iname_offset < bytes)) {
        return cutShort;
    }
    std::vector<char> data;
    if (!readBytes(name.constData(), image.iname_offset, data, bytes)) {
        return cutShort;
    }
    if (image.swapsize > 1 && image.byteorder != nifti_short_order()) {
        nifti_swap_Nbytes(bytes / image.swapsize, image.swapsize, data.data());
    }
    if (!labels) {
        greys = toGreys(image, data.data(), count);
    } else if (!toLabels(image, data.data(), count, greys)) {
        return QStringLiteral("not a label volume (a value is not a whole number from 0 to 255)");
    }
    return {};
}

bool readVolume(const QString &path, ScannerVolume &volume, QString *error, bool labels) {
    prepareNifti();
    auto fail = [&](const QString &reason) {
        return failWith(error, QStringLiteral("%1: %2").arg(path, reason));
    };
    if (const QString problem = openingProblem(path); !problem.isEmpty()) {
        return fail(problem);
    }
    const QByteArray name = QFile::encodeName(path);
    ImagePtr image(nifti_image_read(name.constData(), 0));
    if (!image || (image->nifti_type != NIFTI_FTYPE_NIFTI1_1 && image->nifti_type != NIFTI_FTYPE_NIFTI2_1)) {
        return fail(QStringLiteral("not a NIfTI file"));
    }
    if (!convertible(image->datatype)) {
        return fail(QStringLiteral("voxels of type %1 cannot be shown as greys")
                        .arg(QString::fromLatin1(nifti_datatype_string(image->datatype))));
    }
    // Dimensions past the number in use count as one (a 2D file is one slice).
    std::int64_t dims[3];
    for (int axis = 0; axis < 3; ++axis) {
        dims[axis] = image->dim[0] > axis ? image->dim[axis + 1] : 1;
    }
    if (dims[0] < 1 || dims[1] < 1 || dims[2] < 1) {
        return fail(QStringLiteral("no voxels (%1 x %2 x %3)").arg(dims[0]).arg(dims[1]).arg(dims[2]));
    }
    double size[3];
    Affine affine;
    QString problem;
    if (!storedVoxelSizes(name.constData(), size)) {
        return fail(QStringLiteral("not a NIfTI file"));
    }
    if (!placement(*image, size, affine, problem)) {
        return fail(problem);
    }
    // Sizes beyond a head series are a damaged header; nothing is set aside for them.
    problem = VolumeLayout::sizeProblem({dims[0], dims[1], dims[2]}, affine);
    if (!problem.isEmpty()) {
        return fail(QStringLiteral("a damaged header (%1)").arg(problem));
    }
    std::vector<std::uint8_t> greys;
    try {
        problem = readGreys(path, *image, dims[0] * dims[1] * dims[2], labels, greys);
        if (!problem.isEmpty()) {
            return fail(problem);
        }
    } catch (const std::bad_alloc &) {
        return fail(QStringLiteral("too large for the memory available (%1 x %2 x %3 voxels)")
                        .arg(dims[0])
                        .arg(dims[1])
                        .arg(dims[2]));
    }
    volume.dims = {int(dims[0]), int(dims[1]), int(dims[2])};
    volume.voxels = std::move(greys);
    volume.affine = affine;
    return true;
}

} // namespace

bool read(const QString &path, ScannerVolume &volume, QString *error) {
    return readVolume(path, volume, error, false);
}

bool readLabels(const QString &path, ScannerVolume &volume, QString *error) {
    return readVolume(path, volume, error, true);
}

bool write(const QString &path, const ScannerVolume &volume, QString *error) {
    prepareNifti();
    auto fail = [&](const QString &reason) {
        return failWith(error, QStringLiteral("%1: not written (%2)").arg(path, reason));
    };
    if (!isNiftiPath(path)) {
        return fail(QStringLiteral("the name must end in .nii or .nii.gz"));
    }
    const auto &dims = volume.dims;
    if (dims[0] < 1 || dims[1] < 1 || dims[2] < 1 ||
        volume.voxels.size() != std::size_t(dims[0]) * std::size_t(dims[1]) * std::size_t(dims[2])) {
        return fail(QStringLiteral("the volume has no voxels or not as many as its dimensions say"));
    }
    if (dims[0] > MaxNifti1Dim || dims[1] > MaxNifti1Dim || dims[2] > MaxNifti1Dim) {
        return fail(QStringLiteral("NIfTI-1 holds at most %1 voxels along an axis").arg(MaxNifti1Dim));
    }
    const QString problem = affineProblem(volume.affine);
    if (!problem.isEmpty()) {
        return fail(problem);
    }
    nifti_1_header header{};
    if (!makeHeader(volume, header)) {
        return fail(QStringLiteral("the NIfTI header could not be built"));
    }
    // The header, then four zero bytes: no extensions.
    QByteArray head(reinterpret_cast<const char *>(&header), sizeof header);
    head.append(Nifti1VoxelOffset - head.size(), '\0');

    // Written beside the target and renamed over it only once everything is on disk; until then, and
    // whatever fails (a full disk included), the target stays as it was.
    const bool gzip = path.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive);
    QString why;
    const bool written = SafeWrite::writeThroughDevice(
        path,
        [&](QIODevice &file) {
            if (gzip) {
                return writeGzip(file, head, volume.voxels);
            }
            const auto size = static_cast<qint64>(volume.voxels.size());
            if (file.write(head) != head.size() ||
                file.write(reinterpret_cast<const char *>(volume.voxels.data()), size) != size) {
                return file.errorString();
            }
            return QString();
        },
        &why);
    if (!written) {
        return failWith(error, why);
    }
    return true;
}

} // namespace NiftiFiles
