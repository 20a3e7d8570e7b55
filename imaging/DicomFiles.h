#pragma once

#include <QDateTime>
#include <QString>

#include <map>
#include <mutex>
#include <vector>

// The DICOM side of the imaging library, on DCMTK: the geometry of a file and its conversion to a
// JPEG picture. DCMTK's own log is limited to errors.
//
// _d2_dicominfo reads the headers of the file's whole directory once and answers every later file of
// it from memory; a file that appears or changes afterwards (by name and modification time) is read
// again on its own, so the JPEG and BMP files a load writes beside the series cost nothing:
//   - interslice: the distance along this file's slice normal to the nearest other slice of the same
//     series in the directory (from ImagePositionPatient and ImageOrientationPatient), rounded to
//     1/10000 mm so a regular stack gives one value; else SpacingBetweenSlices; else SliceThickness;
//   - mm per pixel: the column spacing of PixelSpacing (its second value, the horizontal one);
//   - zero frame: the frame, counted from 1 in the order of the series' slice positions along the
//     normal, of the slice nearest the scanner's origin; 0 when the series carries no positions.
//     A positive zero frame therefore means the series carried its own geometry;
//   - the flag is 1 when the file is DICOM with PixelSpacing and an interslice could be found.
//
// _d2_convierteDicomAJpg decodes the first frame (uncompressed in any byte order, deflate, RLE,
// JPEG, JPEG-LS), applies the file's first window, or the min-max window when the file has none or
// its width is below 1, shows MONOCHROME1 inverted as it is meant to be seen, and writes an 8-bit
// grey JPEG. JPEG 2000 cannot be decoded by Debian's DCMTK and is refused with a message.
// Conversion is safe to run on several files at once from different threads.
class DicomFiles {
public:
    DicomFiles();

    void _d2_dicominfo(const QString &path, qint32 &valido, double &interslice, double &mmPorPixel,
                       double &frameCero);
    // True when the JPEG was written; otherwise *error (when given) says why.
    bool _d2_convierteDicomAJpg(const QString &dicomPath, const QString &jpgPath,
                                QString *error = nullptr) const;

    // How many file headers have been read so far (the directory cache at work).
    int headersRead() const { return m_headersRead; }

    // The JPEG quality of converted pictures (0 to 100).
    static constexpr int JpegQuality = 95;

private:
    struct Header {
        bool dicom = false;
        QString series;
        bool hasPosition = false;
        bool hasOrientation = false;
        double position[3] = {0, 0, 0};
        double orientation[6] = {0, 0, 0, 0, 0, 0};
        double spacingBetween = 0;
        double thickness = 0;
        double pixelSpacing = 0;
    };
    struct Directory {
        std::map<QString, Header> headers; // by file name
        std::map<QString, QDateTime> stamps;
    };

    const Directory &directory(const QString &dirPath);
    Header readHeader(const QString &path);

    std::mutex m_mutex;
    std::map<QString, Directory> m_directories;
    int m_headersRead = 0;
};
