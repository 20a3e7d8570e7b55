#include "subjects/SubjectReport.h"
#include "data/Query.h"

#include "core/AppState.h"
#include "core/GridCells.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "subjects/ReportPage.h"

#include <QCoreApplication>
#include <QList>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The subject's points by the last experiment they took part in; ties in the order they were
// stored, so that a report always comes out the same.
const QString PuntosDelPaciente =
    QStringLiteral("SELECT ID, fila, columna FROM puntoestimulacion WHERE Id_paciente = ? "
                   "ORDER BY pasadas, ID");
// The first stimulus of a point in one experiment, with its drawing.
const QString EstimuloDelPunto =
    QStringLiteral("SELECT fecha, observaciones, intensidad, color, archivopuntos, "
                   "(SELECT points FROM drawing WHERE stimulus_id = estimulo.id) AS points FROM estimulo "
                   "WHERE id_puntoestimulo = ? AND pasada = ? ORDER BY id LIMIT 1");
// The experiments in which the subject has stimuli.
const QString PasadasDelPaciente = QStringLiteral(
    "SELECT DISTINCT e.pasada FROM estimulo e JOIN puntoestimulacion p ON p.ID = e.id_puntoestimulo "
    "WHERE p.Id_paciente = ? ORDER BY e.pasada");

int roundedToEven(double value) {
    return int(DrawingFile::roundHalfToEven(value));
}

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values) {
    return Query::run(db, sql, values,
                      QCoreApplication::translate("SubjectReport", "Cannot read the subject's experiments"));
}

bool hasText(const QVariant &value) {
    return !value.isNull() && !value.toString().isEmpty();
}

struct Punto {
    int id;
    int fila;
    int columna;
};

} // namespace

namespace SubjectReport {

SlotGeometry slotGeometry(double w, double h, int posicion) {
    SlotGeometry g;
    g.mx = roundedToEven(w / 20);
    g.my = roundedToEven(h / 25);
    g.m2 = roundedToEven(g.mx / 2.0);
    g.cw = roundedToEven((w - 2.0 * g.mx) / 4);
    const int r = posicion / 4;
    const int c = posicion - 4 * r;
    g.x = g.cw * c + g.mx;
    g.y = (h - 2.0 * g.my) / 4 * r + g.my;
    g.s = g.cw - g.m2;
    return g;
}

QString dateText(const QDateTime &fecha, const QLocale &locale) {
    QString text = locale.toString(fecha.date(), QLocale::ShortFormat);
    if (fecha.time() != QTime(0, 0)) {
        // The short time form with seconds added where it has none.
        QString format = locale.timeFormat(QLocale::ShortFormat);
        if (!format.contains(QLatin1Char('s'))) {
            format.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
        }
        text += QLatin1Char(' ') + locale.toString(fecha.time(), format);
    }
    return text;
}

QString indexLine(int indice, const QVariant &fecha, const QLocale &locale) {
    QString line = QCoreApplication::translate("SubjectReport", "Index: ") + QString::number(indice);
    if (fecha.isNull()) {
        return line;
    }
    QDateTime when = fecha.toDateTime();
    if (!when.isValid()) {
        when = QDateTime::fromString(fecha.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return line + QStringLiteral("      ") + (when.isValid() ? dateText(when, locale) : fecha.toString());
}

} // namespace SubjectReport

void DibujaMarco(ReportPage &page, int x, int y, int ancho, int alto, bool cruz) {
    const int derecha = x + ancho;
    const int abajo = y + alto;
    page.line(x, y, derecha, y);
    page.line(derecha, y, derecha, abajo);
    page.line(derecha, abajo, x, abajo);
    page.line(x, abajo, x, y);
    if (cruz) {
        page.line(x, y, derecha, abajo);
        page.line(x, abajo, derecha, y);
    }
}

void DibujaDibujoImpreso(ReportPage &page, const QList<DrawingFile::PointRecord> &records, int x0, int y0,
                         int s) {
    // Whole canvas units times the side, then divided by the canvas's 12.9 units.
    const auto scaled = [s](qint16 unit) {
        return roundedToEven(double(qint64(unit) * s) / DrawingFile::CanvasUnits);
    };
    int previousX = x0;
    int previousY = y0;
    for (const DrawingFile::PointRecord &record : records) {
        const int px = x0 + scaled(record.x);
        const int py = y0 + scaled(record.y);
        if (record.code == DrawingFile::StrokeNext || record.code == DrawingFile::StrokeEnd) {
            page.line(previousX, previousY, px, py);
        }
        previousX = px;
        previousY = py;
    }
}

bool ImprimePunto(const AppState &state, ReportPage &page, const QString &nombre, bool cabeceraHecha,
                  int pasada, int idPunto, int indice, int posicion) {
    QSqlQuery estimulo = run(state.BaseDatos, EstimuloDelPunto, {idPunto, pasada});
    if (!estimulo.next()) {
        return false;
    }
    const QSqlRecord row = estimulo.record();
    estimulo.finish();

    if (!cabeceraHecha) {
        page.print(QCoreApplication::translate("SubjectReport", "Subject: ") + nombre);
        page.print(QCoreApplication::translate("SubjectReport", "Experiment: ") + QString::number(pasada));
    }
    const SubjectReport::SlotGeometry g = SubjectReport::slotGeometry(page.width(), page.height(), posicion);
    page.setPrintPosition(g.x, g.y);
    page.print(SubjectReport::indexLine(indice, row.value(QStringLiteral("fecha"))));

    const int y1 = roundedToEven(page.currentY());
    page.setPrintPosition(g.x, page.currentY());
    const int x = roundedToEven(page.currentX());
    const int y = roundedToEven(page.currentY());
    const QVariant puntos = row.value(QStringLiteral("points"));
    const DrawingFile::Contents dibujo =
        puntos.isNull() ? DrawingFile::Contents{} : DrawingFile::parse(puntos.toString().toLatin1());
    if (hasText(row.value(QStringLiteral("archivopuntos"))) && !puntos.isNull() && dibujo.ok()) {
        DibujaMarco(page, x, y, g.s, g.s, false);
        DibujaDibujoImpreso(page, dibujo.records, x, y, g.s);
    } else {
        DibujaMarco(page, x, y, g.s, g.s, true);
    }

    page.setPrintPosition(g.x, y1 + g.s);
    const QVariant observaciones = row.value(QStringLiteral("observaciones"));
    if (hasText(observaciones)) {
        page.print(observaciones.toString());
    }
    page.setPrintPosition(g.x, page.currentY());
    const QVariant intensidad = row.value(QStringLiteral("intensidad"));
    if (!intensidad.isNull()) {
        page.print(QCoreApplication::translate("SubjectReport", "Intensity: ") + intensidad.toString());
    }
    page.setPrintPosition(g.x, page.currentY());
    const QVariant color = row.value(QStringLiteral("color"));
    if (hasText(color)) {
        page.print(QCoreApplication::translate("SubjectReport", "Color: ") + color.toString());
    }
    return true;
}

bool ImprimeInforme(const AppState &state, ReportPage &page, QString *why) {
    try {
        QList<Punto> puntos;
        QSqlQuery query = run(state.BaseDatos, PuntosDelPaciente, {state.IdPacienteActual});
        while (query.next()) {
            puntos.append({Query::integer(query.value(0), "puntoestimulacion", "ID"),
                           Query::integer<qint16>(query.value(1), "puntoestimulacion", "fila"),
                           Query::integer<qint16>(query.value(2), "puntoestimulacion", "columna")});
        }
        Query::finished(query);
        query.finish();

        QList<int> pasadas;
        query = run(state.BaseDatos, PasadasDelPaciente, {state.IdPacienteActual});
        while (query.next()) {
            pasadas.append(Query::integer<qint16>(query.value(0), "estimulo", "pasada"));
        }
        Query::finished(query);
        query.finish();

        for (const int pasada : pasadas) {
            bool impreso = false;
            qsizetype fila = 0;
            while (fila < puntos.size()) {
                // One page: up to sixteen cells, the next point starting on a new page.
                int posicion = 0;
                for (; fila < puntos.size() && posicion < SubjectReport::SlotsPerPage; ++fila) {
                    const Punto &punto = puntos.at(fila);
                    const int celda = GridCells::cellAt(punto.fila, punto.columna, state.FilaCentroRejilla,
                                                        state.ColumnaCentroRejilla);
                    if (ImprimePunto(state, page, state.NombrePacienteActual, impreso, pasada, punto.id,
                                     celda, posicion)) {
                        impreso = true;
                        ++posicion;
                    }
                }
                if (impreso) {
                    page.newPage();
                }
            }
        }
        page.endDocument();
        return true;
    } catch (const std::exception &e) {
        page.cancelDocument();
        if (why) {
            *why = QString::fromStdString(e.what());
        }
        return false;
    }
}
