#include "experiments/StimulationComparison.h"

#include "core/GridCells.h"
#include "data/Query.h"
#include "data/StudyError.h"
#include "experiments/StimulusStore.h"

#include <QCoreApplication>
#include <QStringList>
#include <QVariant>

#include <limits>

namespace StimulationComparison {

bool Filter::ok() const {
    for (const QString &problem : problems) {
        if (!problem.isEmpty()) {
            return false;
        }
    }
    return true;
}

Filter buildFilter(const Conditions &c) {
    Filter f;
    QStringList texts, parts;
    const auto range = [&](const char *column, Bound from, Bound to) {
        const QString col = QString::fromLatin1(column);
        QStringList text, part;
        for (const Bound bound : {from, to}) {
            const QString &boundText = c.bounds[bound];
            const QString op = bound == from ? QStringLiteral(" >= ") : QStringLiteral(" <= ");
            if (c.openBounds && boundText.trimmed().isEmpty()) {
                continue;
            }
            text << col + op + boundText;
            part << col + op + QStringLiteral("?");
            const std::optional<qint64> value = StimulusStore::wholeNumberInRange(
                boundText, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
            if (value) {
                f.values << *value;
            } else {
                f.values << QVariant();
                f.problems[bound] =
                    boundText.trimmed().isEmpty()
                        ? QCoreApplication::translate("StimulationComparison", "empty: type a whole number")
                        : QCoreApplication::translate("StimulationComparison", "\"%1\" is not a whole number")
                              .arg(boundText);
            }
        }
        if (!part.isEmpty()) {
            texts << QStringLiteral("(") + text.join(QStringLiteral(" AND ")) + QStringLiteral(")");
            parts << QStringLiteral("(") + part.join(QStringLiteral(" AND ")) + QStringLiteral(")");
        }
    };
    range("NumeroPulsos", PulsesFrom, PulsesTo);
    range("PulsoFrecuencia", FrequencyFrom, FrequencyTo);
    range("PulsoIntensidad", IntensityFrom, IntensityTo);
    const auto equal = [&](const char *column, int code) {
        if (code < 0) {
            return;
        }
        const QString condition = QStringLiteral("(") + QString::fromLatin1(column) + QStringLiteral(" = ");
        texts << condition + QString::number(code) + QStringLiteral(")");
        parts << condition + QStringLiteral("?)");
        f.values << code;
    };
    equal("TipoBobina", c.coil);
    equal("PulsoTipo", c.pulseType);
    equal("PulsoFase", c.pulsePhase);
    equal("Orientacion", c.orientation);
    f.text = texts.join(QStringLiteral(" AND "));
    f.sql = parts.isEmpty() ? QStringLiteral("(1 = 1)") : parts.join(QStringLiteral(" AND "));
    return f;
}

int DesplazaCelda(int indice, int orientacion, int tipoBobina) {
    if (tipoBobina != 3) {
        return indice;
    }
    switch (orientacion) {
    case 0:
        return indice + 1;
    case 1:
        return indice - 1;
    case 2:
        return indice + 10;
    case 3:
        return indice - 10;
    default:
        return indice;
    }
}

DrawingFinder::DrawingFinder(const QSqlDatabase &db, const Filter &filter, int cell, int filaCentro,
                             int columnaCentro)
    : m_query(db), m_values(filter.values), m_cell(cell), m_filaCentro(filaCentro),
      m_columnaCentro(columnaCentro) {
    if (!filter.ok()) {
        throw StudyError(QCoreApplication::translate("StimulationComparison",
                                                     "The filter has bounds that are not whole numbers"));
    }
    // Only points recorded at the cell or at one of its four neighbours can count for it (a coil
    // moves a stimulus one cell at most), so the others are left to the engine, which keeps many
    // selected subjects quick. The moved cell itself is decided below, row by row.
    const QString sql =
        QStringLiteral("SELECT puntoestimulacion.fila, puntoestimulacion.columna, estimulo.orientacion, "
                       "estimulo.TipoBobina, estimulo.archivopuntos, drawing.points FROM puntoestimulacion "
                       "LEFT JOIN estimulo ON puntoestimulacion.ID = estimulo.id_puntoestimulo "
                       "LEFT JOIN drawing ON drawing.stimulus_id = estimulo.id WHERE ") +
        filter.sql +
        QStringLiteral(" AND (puntoestimulacion.Id_paciente = ?)"
                       " AND (10 * (puntoestimulacion.fila + ?) + puntoestimulacion.columna + ?)"
                       " IN (?, ?, ?, ?, ?)"
                       " ORDER BY puntoestimulacion.ID, estimulo.id");
    m_query.setForwardOnly(true);
    if (!m_query.prepare(sql)) {
        throw StudyError(
            QCoreApplication::translate("StimulationComparison", "Cannot read the stimuli to compare"),
            m_query.lastError());
    }
}

QString DrawingFinder::drawingName(int idPaciente) {
    int i = 0;
    for (const QVariant &value : m_values) {
        m_query.bindValue(i++, value);
    }
    for (const QVariant &value : QVariantList{idPaciente, m_filaCentro, m_columnaCentro, m_cell, m_cell - 1,
                                              m_cell + 1, m_cell - 10, m_cell + 10}) {
        m_query.bindValue(i++, value);
    }
    if (!m_query.exec()) {
        throw StudyError(
            QCoreApplication::translate("StimulationComparison", "Cannot read the stimuli to compare"),
            m_query.lastError());
    }
    QString name;
    m_drawing.reset();
    while (m_query.next()) {
        // A point off the grid counts for no cell.
        const int stimulusCell =
            GridCells::cellAt(Query::integer<qint16>(m_query.value(0), "puntoestimulacion", "fila"),
                              Query::integer<qint16>(m_query.value(1), "puntoestimulacion", "columna"),
                              m_filaCentro, m_columnaCentro);
        if (stimulusCell < 0) {
            continue;
        }
        // A stimulus without an orientation is not moved.
        const QVariant orientation = m_query.value(2);
        const int o =
            orientation.isNull() ? -1 : Query::integer<qint16>(orientation, "estimulo", "orientacion");
        if (DesplazaCelda(stimulusCell, o,
                          Query::integer<quint8>(m_query.value(3), "estimulo", "TipoBobina")) != m_cell) {
            continue;
        }
        const QVariant stored = m_query.value(4);
        if (!stored.isNull() && !stored.toString().isEmpty()) {
            name = stored.toString();
            const QVariant points = m_query.value(5);
            if (!points.isNull()) {
                m_drawing = points.toString().toLatin1();
            }
            break;
        }
    }
    m_query.finish();
    return name;
}

} // namespace StimulationComparison
