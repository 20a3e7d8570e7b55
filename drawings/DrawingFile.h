#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>

// Perception drawing files: where they live, what they are called, and their content.
//
// A drawing is a list of point records in the coordinates of the drawing canvas (origin top-left,
// y downwards, 12.9 x 12.9 units), each coordinate kept as a whole unit. The file is plain text:
// the number of records on the first line, then one record "code x y" per line, lines ended by
// CR LF. A study keeps its drawings in this format inside it (StudyDrawings.h); the stimulus row
// names one by a bare name such as "352" (subject 3, point 5, experiment 2), the file name it has
// in an export and had in the drawing folder of earlier versions.
namespace DrawingFile {

// Point codes: the pen moves to a stroke's first point without drawing, draws a line to each next
// point, and the end of a stroke repeats its last point.
enum Code : qint16 { StrokeStart = 0, StrokeNext = 1, StrokeEnd = 3 };

// Most point records one drawing holds.
inline constexpr int MaxPoints = 2000;
// Most bytes read from a drawing file: far more than MaxPoints records take.
inline constexpr qint64 ReadLimit = 1 << 20;
// Width and height of the drawing canvas in drawing units.
inline constexpr double CanvasUnits = 12.9;

struct PointRecord {
    qint16 code = StrokeStart;
    qint16 x = 0;
    qint16 y = 0;
    friend bool operator==(const PointRecord &, const PointRecord &) = default;
};

// Rounds to the nearest whole number, halves to even (3.5 -> 4, 4.5 -> 4), as drawings have always
// stored their coordinates.
double roundHalfToEven(double value);
// A canvas coordinate as stored: rounded half to even and kept within the 16-bit range of the
// reader, so that a stroke dragged far outside the canvas still gives a readable file.
qint16 toUnit(double value);

// Name kept in a stimulus's archivopuntos: subject id, point id and experiment number written one
// after the other.
QString storedName(int idPaciente, int idPunto, int pasada);

// File content for the records, the count being the number of records.
QByteArray format(const QList<PointRecord> &records);
// Creates or replaces the file, all or nothing. False when it could not be written completely.
[[nodiscard]] bool write(const QString &path, const QList<PointRecord> &records);

// What a reader got from a file. Numbers are separated by any run of blanks, commas and line ends;
// each is a decimal signed 16-bit integer. The first is the count; after it the numbers come in
// groups of three (code, x, y) to the end of the file. A number that is not one, a number outside
// -32768..32767, a file that cannot be opened, an empty file and a last group cut short are read
// errors; what was read completely before the error is kept. Reading stops after MaxPoints
// records: more is an error too, the first MaxPoints kept.
struct Contents {
    bool countRead = false;
    qint16 count = 0;
    QList<PointRecord> records;
    QString error; // empty when the whole file was read
    bool ok() const { return error.isEmpty(); }
};

[[nodiscard]] Contents parse(QByteArrayView data);
[[nodiscard]] Contents read(const QString &path);

} // namespace DrawingFile
