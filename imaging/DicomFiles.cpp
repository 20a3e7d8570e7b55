#include "DicomFiles.h"

#include "ZoDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcrledrg.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmjpeg/djdecode.h>
#include <dcmtk/dcmjpls/djdecode.h>
#include <dcmtk/oflog/oflog.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Registers the decoders and quiets DCMTK's log, once for the whole program.
void prepareDcmtk() {
    static std::once_flag once;
    std::call_once(once, [] {
        OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
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

bool isDicomCandidate(const QString &name) {
    const QString extension = ZoDir::DameExtension(name).toLower();
    return extension == QLatin1String("dcm") || extension.isEmpty();
}

double round4(double value) {
    return std::round(value * 10000.0) / 10000.0;
}

} // namespace

DicomFiles::DicomFiles() {
    prepareDcmtk();
}

DicomFiles::Header DicomFiles::readHeader(const QString &path) {
    Header header;
    DcmFileFormat file;
    ++m_headersRead;
    if (file.loadFileUntilTag(dcmtkName(path), EXS_Unknown, EGL_noChange, DCM_MaxReadLength, ERM_autoDetect,
                              DCM_PixelData)
            .bad()) {
        return header;
    }
    DcmDataset *data = file.getDataset();
    OFString text;
    if (data->findAndGetOFString(DCM_SOPClassUID, text).bad() &&
        data->findAndGetOFString(DCM_Rows, text).bad()) {
        return header;
    }
    header.dicom = true;
    if (data->findAndGetOFString(DCM_SeriesInstanceUID, text).good()) {
        header.series = QString::fromLatin1(text.c_str());
    }
    header.hasPosition = true;
    for (unsigned long i = 0; i < 3; ++i) {
        header.hasPosition = header.hasPosition &&
                             data->findAndGetFloat64(DCM_ImagePositionPatient, header.position[i], i).good();
    }
    header.hasOrientation = true;
    for (unsigned long i = 0; i < 6; ++i) {
        header.hasOrientation =
            header.hasOrientation &&
            data->findAndGetFloat64(DCM_ImageOrientationPatient, header.orientation[i], i).good();
    }
    data->findAndGetFloat64(DCM_SpacingBetweenSlices, header.spacingBetween);
    data->findAndGetFloat64(DCM_SliceThickness, header.thickness);
    double rowSpacing = 0;
    double columnSpacing = 0;
    if (data->findAndGetFloat64(DCM_PixelSpacing, rowSpacing, 0).good()) {
        header.pixelSpacing =
            data->findAndGetFloat64(DCM_PixelSpacing, columnSpacing, 1).good() ? columnSpacing : rowSpacing;
    }
    return header;
}

const DicomFiles::Directory &DicomFiles::directory(const QString &dirPath) {
    const QDir dir(dirPath);
    Directory &cached = m_directories[dir.absolutePath()];
    std::map<QString, QDateTime> stamps;
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (isDicomCandidate(file.fileName())) {
            stamps[file.fileName()] = file.lastModified();
        }
    }
    for (auto it = cached.headers.begin(); it != cached.headers.end();) {
        it = stamps.count(it->first) != 0 ? std::next(it) : cached.headers.erase(it);
    }
    for (const auto &[name, stamp] : stamps) {
        const auto known = cached.stamps.find(name);
        if (known == cached.stamps.end() || known->second != stamp || cached.headers.count(name) == 0) {
            cached.headers[name] = readHeader(dir.filePath(name));
        }
    }
    cached.stamps = std::move(stamps);
    return cached;
}

void DicomFiles::_d2_dicominfo(const QString &path, qint32 &valido, double &interslice, double &mmPorPixel,
                               double &frameCero) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const QFileInfo info(path);
    const Directory &dir = directory(info.absolutePath());
    const auto found = dir.headers.find(info.fileName());
    const Header self = found != dir.headers.end() ? found->second : readHeader(path);
    if (!self.dicom || self.pixelSpacing <= 0) {
        valido = 0;
        return;
    }
    double spacing = 0;
    double zeroFrame = 0;
    if (self.hasPosition && self.hasOrientation) {
        const double *r = self.orientation;
        const double *c = self.orientation + 3;
        const double normal[3] = {r[1] * c[2] - r[2] * c[1], r[2] * c[0] - r[0] * c[2],
                                  r[0] * c[1] - r[1] * c[0]};
        auto along = [&](const double *p) { return normal[0] * p[0] + normal[1] * p[1] + normal[2] * p[2]; };
        const double own = along(self.position);
        std::vector<double> positions;
        for (const auto &[name, other] : dir.headers) {
            if (!other.dicom || !other.hasPosition || other.series != self.series) {
                continue;
            }
            const double p = along(other.position);
            positions.push_back(p);
            const double distance = std::abs(p - own);
            if (distance > 1e-4 && (spacing == 0 || distance < spacing)) {
                spacing = distance;
            }
        }
        if (found == dir.headers.end()) {
            positions.push_back(own);
        }
        std::sort(positions.begin(), positions.end());
        const auto nearest = std::min_element(positions.begin(), positions.end(),
                                              [](double a, double b) { return std::abs(a) < std::abs(b); });
        zeroFrame = static_cast<double>(nearest - positions.begin() + 1);
    }
    if (spacing > 0) {
        spacing = round4(spacing);
    } else if (self.spacingBetween > 0) {
        spacing = self.spacingBetween;
    } else {
        spacing = self.thickness;
    }
    if (spacing <= 0) {
        valido = 0;
        return;
    }
    valido = 1;
    interslice = spacing;
    mmPorPixel = self.pixelSpacing;
    frameCero = zeroFrame;
}

bool DicomFiles::_d2_convierteDicomAJpg(const QString &dicomPath, const QString &jpgPath,
                                        QString *error) const {
    auto fail = [&](const QString &why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    DcmFileFormat file;
    const OFCondition loaded = file.loadFile(dcmtkName(dicomPath));
    if (loaded.bad()) {
        return fail(QStringLiteral("%1 is not a DICOM file that can be read (%2).")
                        .arg(dicomPath, QString::fromLatin1(loaded.text())));
    }
    DcmDataset *data = file.getDataset();
    const E_TransferSyntax xfer = data->getOriginalXfer();
    if (isJpeg2000(xfer)) {
        return fail(QStringLiteral("%1 is compressed with JPEG 2000, which this program cannot decode. "
                                   "Export the series uncompressed or with JPEG or JPEG-LS compression.")
                        .arg(dicomPath));
    }
    auto image = std::make_unique<DicomImage>(&file, xfer, CIF_UsePartialAccessToPixelData, 0, 1);
    if (image->getStatus() != EIS_Normal) {
        return fail(QStringLiteral("%1 holds no image that can be decoded (%2, transfer syntax %3).")
                        .arg(dicomPath, QString::fromLatin1(DicomImage::getString(image->getStatus())),
                             QString::fromLatin1(DcmXfer(xfer).getXferName())));
    }
    if (!image->isMonochrome()) {
        std::unique_ptr<DicomImage> grey(image->createMonochromeImage());
        if (!grey || grey->getStatus() != EIS_Normal) {
            return fail(
                QStringLiteral("%1: the colour image cannot be turned into grey levels.").arg(dicomPath));
        }
        image = std::move(grey);
    }
    double centre = 0;
    double width = 0;
    const bool hasWindow = data->findAndGetFloat64(DCM_WindowCenter, centre, 0).good() &&
                           data->findAndGetFloat64(DCM_WindowWidth, width, 0).good();
    if (hasWindow && width >= 1) {
        image->setWindow(centre, width);
    } else {
        image->setMinMaxWindow();
    }
    const int columns = static_cast<int>(image->getWidth());
    const int rows = static_cast<int>(image->getHeight());
    const auto *pixels = static_cast<const uchar *>(image->getOutputData(8, 0));
    if (!pixels) {
        return fail(QStringLiteral("%1: the image could not be rendered.").arg(dicomPath));
    }
    QImage picture(columns, rows, QImage::Format_Grayscale8);
    for (int y = 0; y < rows; ++y) {
        std::copy_n(pixels + static_cast<std::size_t>(y) * columns, columns, picture.scanLine(y));
    }
    if (!picture.save(jpgPath, "JPG", JpegQuality)) {
        return fail(QStringLiteral("Cannot write %1.").arg(jpgPath));
    }
    return true;
}
