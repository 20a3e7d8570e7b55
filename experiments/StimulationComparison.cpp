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
    for (const QString &problema : problemas) {
        if (!problema.isEmpty()) {
            return false;
        }
    }
    return true;
}

Filter buildFilter(const Conditions &c) {
    Filter f;
    QStringList textos, partes;
    const auto rango = [&](const char *columna, Bound desde, Bound hasta) {
        const QString col = QString::fromLatin1(columna);
        QStringList texto, parte;
        for (const Bound limite : {desde, hasta}) {
            const QString &valorTexto = c.bounds[limite];
            const QString operador = limite == desde ? QStringLiteral(" >= ") : QStringLiteral(" <= ");
            if (c.openBounds && valorTexto.trimmed().isEmpty()) {
                continue;
            }
            texto << col + operador + valorTexto;
            parte << col + operador + QStringLiteral("?");
            const std::optional<qint64> valor = StimulusStore::wholeNumberInRange(
                valorTexto, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
            if (valor) {
                f.valores << *valor;
            } else {
                f.valores << QVariant();
                f.problemas[limite] =
                    valorTexto.trimmed().isEmpty()
                        ? QCoreApplication::translate("StimulationComparison", "empty: type a whole number")
                        : QCoreApplication::translate("StimulationComparison", "\"%1\" is not a whole number")
                              .arg(valorTexto);
            }
        }
        if (!parte.isEmpty()) {
            textos << QStringLiteral("(") + texto.join(QStringLiteral(" AND ")) + QStringLiteral(")");
            partes << QStringLiteral("(") + parte.join(QStringLiteral(" AND ")) + QStringLiteral(")");
        }
    };
    rango("NumeroPulsos", PulsesFrom, PulsesTo);
    rango("PulsoFrecuencia", FrequencyFrom, FrequencyTo);
    rango("PulsoIntensidad", IntensityFrom, IntensityTo);
    const auto igual = [&](const char *columna, int code) {
        if (code < 0) {
            return;
        }
        const QString condicion = QStringLiteral("(") + QString::fromLatin1(columna) + QStringLiteral(" = ");
        textos << condicion + QString::number(code) + QStringLiteral(")");
        partes << condicion + QStringLiteral("?)");
        f.valores << code;
    };
    igual("TipoBobina", c.coil);
    igual("PulsoTipo", c.pulseType);
    igual("PulsoFase", c.pulsePhase);
    igual("Orientacion", c.orientation);
    f.texto = textos.join(QStringLiteral(" AND "));
    f.sql = partes.isEmpty() ? QStringLiteral("(1 = 1)") : partes.join(QStringLiteral(" AND "));
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

DrawingFinder::DrawingFinder(const QSqlDatabase &db, const Filter &filtro, int indice, int filaCentro,
                             int columnaCentro)
    : m_query(db), m_valores(filtro.valores), m_indice(indice), m_filaCentro(filaCentro),
      m_columnaCentro(columnaCentro) {
    if (!filtro.ok()) {
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
        filtro.sql +
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
    for (const QVariant &valor : m_valores) {
        m_query.bindValue(i++, valor);
    }
    for (const QVariant &valor : QVariantList{idPaciente, m_filaCentro, m_columnaCentro, m_indice,
                                              m_indice - 1, m_indice + 1, m_indice - 10, m_indice + 10}) {
        m_query.bindValue(i++, valor);
    }
    if (!m_query.exec()) {
        throw StudyError(
            QCoreApplication::translate("StimulationComparison", "Cannot read the stimuli to compare"),
            m_query.lastError());
    }
    QString nombre;
    m_puntos.reset();
    while (m_query.next()) {
        // A point off the grid counts for no cell.
        const int celda =
            GridCells::cellAt(Query::integer<qint16>(m_query.value(0), "puntoestimulacion", "fila"),
                              Query::integer<qint16>(m_query.value(1), "puntoestimulacion", "columna"),
                              m_filaCentro, m_columnaCentro);
        if (celda < 0) {
            continue;
        }
        // A stimulus without an orientation is not moved.
        const QVariant orientacion = m_query.value(2);
        const int o =
            orientacion.isNull() ? -1 : Query::integer<qint16>(orientacion, "estimulo", "orientacion");
        if (DesplazaCelda(celda, o, Query::integer<quint8>(m_query.value(3), "estimulo", "TipoBobina")) !=
            m_indice) {
            continue;
        }
        const QVariant archivo = m_query.value(4);
        if (!archivo.isNull() && !archivo.toString().isEmpty()) {
            nombre = archivo.toString();
            const QVariant puntos = m_query.value(5);
            if (!puntos.isNull()) {
                m_puntos = puntos.toString().toLatin1();
            }
            break;
        }
    }
    m_query.finish();
    return nombre;
}

} // namespace StimulationComparison
