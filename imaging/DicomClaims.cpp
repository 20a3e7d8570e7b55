#include "imaging/DicomClaims.h"

#include <QFile>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcrledrg.h>
#include <dcmtk/dcmdata/dcstack.h>
#include <dcmtk/dcmjpeg/djdecode.h>
#include <dcmtk/dcmjpls/djdecode.h>
#include <dcmtk/oflog/oflog.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace DicomFiles::Claims {

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

bool readGroupValues(DcmItem *groups, const DcmTagKey &group, const DcmTagKey &tag, double *values,
                     unsigned long count) {
    DcmItem *item = nullptr;
    return groups && groups->findAndGetSequenceItem(group, item, 0).good() &&
           readValues(item, tag, values, count);
}

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

} // namespace DicomFiles::Claims
