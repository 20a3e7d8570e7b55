#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <QVariantList>
#include <optional>

#include <array>

// What the comparison window asks of a study, without any widget: the filter built from its
// controls, and for each subject the drawing to overlay at the chosen grid cell.
namespace StimulationComparison {

// The six bound boxes, in the order their conditions appear in the filter.
enum Bound {
    PulsesFrom,
    PulsesTo,
    FrequencyFrom,
    FrequencyTo,
    IntensityFrom,
    IntensityTo,
};
inline constexpr int BoundCount = 6;

// The controls' state: the bound texts as typed and the codes of the selected list entries
// (-1, the first entry, puts no condition).
struct Conditions {
    std::array<QString, BoundCount> bounds{QStringLiteral("0"),  QStringLiteral("20"), QStringLiteral("0"),
                                           QStringLiteral("20"), QStringLiteral("0"),  QStringLiteral("100")};
    int coil = -1;
    int pulseType = -1;
    int pulsePhase = -1;
    int orientation = -1;
    // When set, an empty bound puts no condition (the phosphene map's boxes); otherwise it is a bound
    // that cannot be used (the comparison window's).
    bool openBounds = false;
};

struct Filter {
    // The conditions written out with their values, as the operator reads them.
    QString text;
    // The same conditions with a "?" for every value; the values go in `values`, in order.
    QString sql;
    QVariantList values;
    // Why a bound box cannot be used ("" for a good one). A filter with any reason is not run.
    std::array<QString, BoundCount> problems;
    bool ok() const;
};

// The filter: the three ranges (pulse count, frequency, intensity), then a condition for each list
// whose code is 0 or more (coil, pulse type, phase, orientation), joined by " AND ". A bound must be
// a whole number within 32 bits, blanks around it allowed; any other text is reported and never
// reaches SQL. Without any condition the SQL is "(1 = 1)" and the text empty.
Filter buildFilter(const Conditions &conditions);

// The cell a stimulus counts for. The "Cadwell en ocho" coil (3) acts beside its reference point,
// one cell towards its orientation: Left-Right (0) +1, Right-Left (1) -1, Down-Up (2) +10 and
// Up-Down (3) -10. Every other stimulus counts for the cell it was recorded at.
int DesplazaCelda(int indice, int orientacion, int tipoBobina);

// Finds, subject by subject, the drawing to overlay at one grid cell: the first stimulus (points
// in ID order, then stimuli in id order) that passes the filter, counts for the cell after
// DesplazaCelda, and has a drawing. Points are placed with one grid centre for every subject.
// The statement is prepared once and run per subject. Throws StudyError on an engine failure.
class DrawingFinder {
public:
    DrawingFinder(const QSqlDatabase &db, const Filter &filter, int cell, int filaCentro, int columnaCentro);

    // Stored drawing name (archivopuntos) for the subject; "" when nothing matches.
    QString drawingName(int idPaciente);
    // The drawing the last drawingName() found, as the study keeps it (nothing when it has none stored).
    const std::optional<QByteArray> &drawing() const { return m_drawing; }

private:
    QSqlQuery m_query;
    std::optional<QByteArray> m_drawing;
    QVariantList m_values;
    int m_cell;
    int m_filaCentro;
    int m_columnaCentro;
};

} // namespace StimulationComparison
