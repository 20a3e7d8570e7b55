// libFuzzer target for the NIfTI reader: any bytes, written as a .nii file (.nii.gz when they start
// as gzip does), are read; a volume read is brought into the program's layout when it is within a
// head series' limits. Nothing may crash, leak or read out of bounds; a refusal names the file.

#include "imaging/NiftiFiles.h"
#include "imaging/VolumeLayout.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *folder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    folder = new QTemporaryDir;
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const bool gzip = size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
    const QString path =
        folder->filePath(gzip ? QStringLiteral("volume.nii.gz") : QStringLiteral("volume.nii"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
            std::abort();
        }
    }
    VolumeLayout::ScannerVolume volume;
    QString error;
    const bool read = NiftiFiles::read(path, volume, &error);
    QFile::remove(path);
    if (!read) {
        if (!error.startsWith(path)) {
            std::abort();
        }
        return 0;
    }
    if (volume.voxels.size() != std::size_t(volume.dims[0]) * volume.dims[1] * volume.dims[2]) {
        std::abort();
    }
    if (VolumeLayout::layoutProblem({volume.dims[0], volume.dims[1], volume.dims[2]}, volume.affine)
            .isEmpty()) {
        const VolumeLayout::Oriented oriented = VolumeLayout::toLayout(volume);
        if (oriented.volume.voxels.empty()) {
            std::abort();
        }
    }
    return 0;
}
