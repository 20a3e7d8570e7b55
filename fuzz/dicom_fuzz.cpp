// libFuzzer target for the DICOM side: any bytes, written as the one file of a folder, go through the
// header reader (the folder scan) and every series it finds is decoded. Nothing may crash, leak or
// read out of bounds, and every file refused or not decoded is named.

#include "imaging/DicomFiles.h"

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
    const QString path = folder->filePath(QStringLiteral("image.dcm"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
            std::abort();
        }
    }
    const DicomFiles::Scan scan = DicomFiles::scanFolder(folder->path());
    for (const QString &refusal : scan.refused) {
        if (!refusal.startsWith(path)) {
            std::abort();
        }
    }
    for (const DicomFiles::Series &series : scan.series) {
        VolumeLayout::ScannerVolume volume;
        QStringList failures;
        // As the loader decodes: into the layout's order.
        const bool decoded = DicomFiles::decodeSeries(series, volume, &failures, 1, {}, true);
        if (!decoded && failures.isEmpty()) {
            std::abort(); // a series that gives no volume says why
        }
        for (const QString &failure : failures) {
            if (!failure.startsWith(path)) {
                std::abort();
            }
        }
    }
    return 0;
}
