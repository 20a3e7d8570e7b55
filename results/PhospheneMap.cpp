#include "results/PhospheneMap.h"

#include "data/Answer.h"
#include "data/Query.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "drawings/DrawingShape.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace PhospheneMap {

namespace {

// The conditions every query of the map shares: the filter, then the subjects.
QString conditions(const Selection &selection, QVariantList &values) {
    if (!selection.filter.ok()) {
        throw StudyError(
            QCoreApplication::translate("PhospheneMap", "The filter has bounds that are not whole numbers"));
    }
    values = selection.filter.values;
    QString sql = QStringLiteral(" WHERE ") + selection.filter.sql;
    if (!selection.subjects.isEmpty()) {
        QStringList marks;
        for (int id : selection.subjects) {
            marks << QStringLiteral("?");
            values << id;
        }
        sql += QStringLiteral(" AND (puntoestimulacion.Id_paciente IN (") + marks.join(QLatin1Char(',')) +
               QStringLiteral("))");
    }
    return sql;
}

const QString Joined = QStringLiteral(" FROM estimulo JOIN puntoestimulacion ON puntoestimulacion.ID = "
                                      "estimulo.id_puntoestimulo JOIN paciente ON paciente.ID = "
                                      "puntoestimulacion.Id_paciente");

// The cell a row's stimulus counts for: columns 0 to 5 of the row are fila, columna, FilaCentro,
// ColumnaCentro, orientacion and TipoBobina. -1 for none.
int cellOfRow(const QSqlQuery &query) {
    if (query.value(2).isNull() || query.value(3).isNull()) {
        return -1;
    }
    const int recorded =
        GridCells::cellAt(Query::integer<qint16>(query.value(0), "puntoestimulacion", "fila"),
                          Query::integer<qint16>(query.value(1), "puntoestimulacion", "columna"),
                          Query::integer(query.value(2), "paciente", "FilaCentro"),
                          Query::integer(query.value(3), "paciente", "ColumnaCentro"));
    if (recorded < 0) {
        return -1;
    }
    // A stimulus without an orientation is not moved.
    const int orientation =
        query.value(4).isNull() ? -1 : Query::integer<qint16>(query.value(4), "estimulo", "orientacion");
    const int cell = StimulationComparison::DesplazaCelda(
        recorded, orientation, Query::integer<quint8>(query.value(5), "estimulo", "TipoBobina"));
    return GridCells::isValid(cell) ? cell : -1;
}

const QString CellColumns =
    QStringLiteral("puntoestimulacion.fila, puntoestimulacion.columna, paciente.FilaCentro, "
                   "paciente.ColumnaCentro, estimulo.orientacion, estimulo.TipoBobina");

} // namespace

int Counts::total() const {
    int n = offGrid;
    for (const CellCounts &c : cells) {
        n += c.stimuli;
    }
    return n;
}

Counts count(const QSqlDatabase &db, const Selection &selection) {
    QVariantList values;
    const QString where = conditions(selection, values);
    // The engine groups the stimuli by everything that decides their cell and answer, so only a few
    // hundred rows come back however large the study is; the cell itself is decided here, by the
    // same rules as everywhere else.
    QSqlQuery query = Query::run(
        db,
        QStringLiteral("SELECT ") + CellColumns + QStringLiteral(", estimulo.hayfosfeno, COUNT(*)") + Joined +
            where + QStringLiteral(" GROUP BY ") + CellColumns + QStringLiteral(", estimulo.hayfosfeno"),
        values, QCoreApplication::translate("PhospheneMap", "Cannot count the stimuli"));
    Counts counts;
    while (query.next()) {
        const int n = query.value(7).toInt();
        const int cell = cellOfRow(query);
        if (cell < 0) {
            counts.offGrid += n;
            continue;
        }
        CellCounts &c = counts.cells[std::size_t(cell)];
        c.stimuli += n;
        const QVariant answer = query.value(6);
        if (!answer.isNull()) {
            switch (answer.toInt()) {
            case Answer::Yes:
                c.yes += n;
                break;
            case Answer::No:
                c.no += n;
                break;
            case Answer::Doubt:
                c.doubt += n;
                break;
            default:
                break;
            }
        }
    }
    Query::finished(query);
    return counts;
}

Density density(const QSqlDatabase &db, const Selection &selection, int cell) {
    Density d;
    d.cell = cell;
    d.samples.fill(0, qsizetype{DrawingShape::MaskSide} * DrawingShape::MaskSide);
    if (!GridCells::isValid(cell)) {
        return d;
    }
    QVariantList values;
    const QString where = conditions(selection, values);
    // Only points recorded at the cell or beside it can count for it (a coil moves a stimulus one
    // cell at most); the engine leaves the others out, and the cell is decided row by row below.
    QSqlQuery query =
        Query::run(db,
                   QStringLiteral("SELECT ") + CellColumns + QStringLiteral(", drawing.points") + Joined +
                       QStringLiteral(" JOIN drawing ON drawing.stimulus_id = estimulo.id") + where +
                       QStringLiteral(" AND (10 * (puntoestimulacion.fila + paciente.FilaCentro) + "
                                      "puntoestimulacion.columna + paciente.ColumnaCentro)"
                                      " IN (?, ?, ?, ?, ?)"),
                   values << cell << cell - 1 << cell + 1 << cell - 10 << cell + 10,
                   QCoreApplication::translate("PhospheneMap", "Cannot read the drawings of the cell"));
    double sumX = 0, sumY = 0;
    while (query.next()) {
        if (cellOfRow(query) != cell) {
            continue;
        }
        const DrawingFile::Contents contents = DrawingFile::parse(query.value(6).toByteArray());
        if (contents.records.isEmpty()) {
            continue;
        }
        QImage mask;
        const DrawingShape::Figures figures = DrawingShape::measure(contents.records, &mask);
        int *sample = d.samples.data();
        for (int y = 0; y < mask.height(); ++y) {
            const uchar *line = mask.constScanLine(y);
            for (int x = 0; x < mask.width(); ++x, ++sample) {
                *sample += line[x] != 0 ? 1 : 0;
            }
        }
        sumX += figures.centreX;
        sumY += figures.centreY;
        ++d.drawings;
    }
    Query::finished(query);
    if (d.drawings > 0) {
        d.meanCentre = QPointF(sumX / d.drawings, sumY / d.drawings);
    }
    return d;
}

QByteArray csv(const Counts &counts) {
    QByteArray text = "cell,stimuli,yes,no,doubt,rate\n";
    for (int cell = 0; cell < GridCells::Count; ++cell) {
        const CellCounts &c = counts.cells[std::size_t(cell)];
        text += QByteArray::number(cell) + ',' + QByteArray::number(c.stimuli) + ',' +
                QByteArray::number(c.yes) + ',' + QByteArray::number(c.no) + ',' +
                QByteArray::number(c.doubt) + ',' +
                (c.stimuli > 0 ? QByteArray::number(c.rate(), 'f', 4) : QByteArray()) + '\n';
    }
    return text;
}

QColor heat(double share) {
    // Stops of the scale; between two stops the colour is mixed linearly.
    static const QColor stops[] = {QColor(255, 255, 255), QColor(255, 237, 160), QColor(254, 178, 76),
                                   QColor(240, 59, 32), QColor(128, 0, 38)};
    constexpr int last = int(std::size(stops)) - 1;
    const double t = std::clamp(share, 0.0, 1.0) * last;
    const int i = std::min(int(t), last - 1);
    const double f = t - i;
    const auto mix = [f](int a, int b) { return int(std::lround(a + (b - a) * f)); };
    return QColor(mix(stops[i].red(), stops[i + 1].red()), mix(stops[i].green(), stops[i + 1].green()),
                  mix(stops[i].blue(), stops[i + 1].blue()));
}

namespace {

// A vertical scale from 0 (bottom) to 1 (top) with its labels, in the rectangle given.
void drawLegend(QPainter &painter, const QRectF &bar, const QString &top, const QString &bottom,
                const QString &title) {
    QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
    for (int i = 0; i <= 10; ++i) {
        gradient.setColorAt(i / 10.0, heat(i / 10.0));
    }
    painter.fillRect(bar, gradient);
    painter.setPen(Qt::black);
    painter.drawRect(bar);
    const QFontMetricsF metrics(painter.font());
    painter.drawText(QPointF(bar.right() + 4, bar.top() + metrics.ascent() / 2), top);
    painter.drawText(QPointF(bar.right() + 4, bar.bottom() + metrics.ascent() / 2), bottom);
    painter.drawText(QRectF(bar.left() - 4, bar.top() - 2 * metrics.height() - 6, 400, 2 * metrics.height()),
                     Qt::AlignLeft | Qt::AlignBottom, title);
}

const QColor NoStimuli(225, 225, 225);

QColor textOn(const QColor &background) {
    return background.lightnessF() < 0.5 ? Qt::white : Qt::black;
}

} // namespace

MapGeometry mapGeometry(QSize size) {
    MapGeometry g;
    g.fontPixels = std::clamp(std::min(size.height() / 36, size.width() / 60), 8, 20);
    QFont font;
    font.setPixelSize(g.fontPixels);
    const QFontMetricsF metrics(font);
    // Room for the row labels on the left, the column labels below and the legend on the right.
    g.left = metrics.horizontalAdvance(QStringLiteral("400")) + 8;
    g.top = 4;
    const double legendWidth =
        std::max(metrics.horizontalAdvance(QCoreApplication::translate("PhospheneMap", "Phosphene rate")),
                 metrics.horizontalAdvance(QStringLiteral("100 %")) + 24) +
        16;
    g.legendLeft = size.width() - legendWidth;
    g.cellWidth = std::max(1.0, (g.legendLeft - g.left - 8) / GridCells::Columns);
    g.cellHeight = std::max(1.0, (size.height() - metrics.height() - 6 - g.top - 4) / GridCells::Rows);
    return g;
}

QRectF MapGeometry::cellRect(int cell) const {
    // Row 0 at the bottom, as on the grid control.
    return QRectF(left + GridCells::column(cell) * cellWidth,
                  top + (GridCells::Rows - 1 - GridCells::row(cell)) * cellHeight, cellWidth, cellHeight);
}

int MapGeometry::cellAt(QPointF point) const {
    const int column = int(std::floor((point.x() - left) / cellWidth));
    const int rowFromTop = int(std::floor((point.y() - top) / cellHeight));
    if (column < 0 || column >= GridCells::Columns || rowFromTop < 0 || rowFromTop >= GridCells::Rows) {
        return -1;
    }
    return GridCells::index(GridCells::Rows - 1 - rowFromTop, column);
}

QImage renderMap(const Counts &counts, int selectedCell, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const MapGeometry g = mapGeometry(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(g.fontPixels);
    QFont small = font;
    small.setPixelSize(std::max(8, int(g.fontPixels * 0.8)));
    const QFontMetricsF metrics(font);

    for (int cell = 0; cell < GridCells::Count; ++cell) {
        const QRectF r = g.cellRect(cell);
        const CellCounts &c = counts.cells[std::size_t(cell)];
        const QColor fill = c.stimuli > 0 ? heat(c.rate()) : NoStimuli;
        painter.fillRect(r, fill);
        painter.setPen(QPen(QColor(150, 150, 150), 1));
        painter.drawRect(r);
        painter.setPen(textOn(fill));
        painter.setFont(small);
        painter.drawText(r.adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignTop, QString::number(cell));
        if (c.stimuli > 0) {
            painter.setFont(font);
            painter.drawText(r, Qt::AlignCenter, QStringLiteral("%1 %").arg(qRound(100 * c.rate())));
            painter.setFont(small);
            painter.drawText(r.adjusted(2, 2, -2, -2), Qt::AlignHCenter | Qt::AlignBottom,
                             QStringLiteral("%1/%2/%3").arg(c.yes).arg(c.no).arg(c.doubt));
            painter.drawText(r.adjusted(3, 2, -3, -2), Qt::AlignRight | Qt::AlignTop,
                             QStringLiteral("n=%1").arg(c.stimuli));
        }
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int row = 0; row < GridCells::Rows; ++row) {
        const QRectF r = g.cellRect(GridCells::index(row, 0));
        painter.drawText(QRectF(0, r.top(), g.left - 6, r.height()), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(GridCells::index(row, 0)));
    }
    for (int column = 0; column < GridCells::Columns; ++column) {
        const QRectF r = g.cellRect(GridCells::index(0, column));
        painter.drawText(QRectF(r.left(), r.bottom(), r.width(), metrics.height() + 6), Qt::AlignCenter,
                         QString::number(column));
    }
    if (GridCells::isValid(selectedCell)) {
        painter.setPen(QPen(QColor(0, 90, 200), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(g.cellRect(selectedCell).adjusted(1.5, 1.5, -1.5, -1.5));
    }
    const double gridBottom = g.cellRect(0).bottom();
    const double barTop = g.top + 2 * metrics.height() + 8;
    const double barBottom = gridBottom - 2 * metrics.height();
    drawLegend(painter, QRectF(g.legendLeft + 8, barTop, 14, barBottom - barTop), QStringLiteral("100 %"),
               QStringLiteral("0 %"),
               QCoreApplication::translate("PhospheneMap", "Phosphene rate\nyes/no/doubt"));
    // The colour of cells without stimuli, under the scale.
    const QRectF swatch(g.legendLeft + 8, gridBottom - metrics.height(), 14, metrics.height() * 0.8);
    painter.fillRect(swatch, NoStimuli);
    painter.setPen(Qt::black);
    painter.drawRect(swatch);
    painter.drawText(QPointF(swatch.right() + 4, swatch.bottom()),
                     QCoreApplication::translate("PhospheneMap", "none"));
    return image;
}

QImage renderDensity(const Density &d, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(std::max(9, size.height() / 30));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double legendWidth =
        std::max(metrics.horizontalAdvance(QCoreApplication::translate("PhospheneMap", "Share of")),
                 metrics.horizontalAdvance(QStringLiteral("100 %")) + 24) +
        16;
    const double titleHeight = metrics.height() + 6;
    const double side = std::min(size.width() - legendWidth - 8, size.height() - titleHeight - 8);
    const QRectF canvas(4, titleHeight + 4, side, side);

    // The canvas samples, each as a square of the share's colour.
    QImage samples(DrawingShape::MaskSide, DrawingShape::MaskSide, QImage::Format_RGB32);
    for (int y = 0; y < DrawingShape::MaskSide; ++y) {
        auto *line = reinterpret_cast<QRgb *>(samples.scanLine(y));
        for (int x = 0; x < DrawingShape::MaskSide; ++x) {
            const int v = d.samples.value(y * DrawingShape::MaskSide + x);
            line[x] = heat(d.drawings > 0 ? double(v) / d.drawings : 0.0).rgb();
        }
    }
    painter.drawImage(canvas, samples);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.drawRect(canvas);
    painter.setPen(Qt::black);
    const QString title = GridCells::isValid(d.cell)
                              ? QCoreApplication::translate("PhospheneMap", "Cell %1: %2 drawing%3")
                                    .arg(d.cell)
                                    .arg(d.drawings)
                                    .arg(d.drawings == 1 ? "" : "s")
                              : QCoreApplication::translate("PhospheneMap", "No cell chosen");
    painter.drawText(QRectF(4, 2, size.width() - 8, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
    if (d.drawings > 0) {
        // The mean centre: a cross in a ring, blue so that it shows on every colour of the scale.
        const double scale = side / DrawingShape::CanvasSide;
        const QPointF centre = canvas.topLeft() + d.meanCentre * scale;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0, 90, 200), 2.5));
        painter.drawLine(centre - QPointF(10, 0), centre + QPointF(10, 0));
        painter.drawLine(centre - QPointF(0, 10), centre + QPointF(0, 10));
        painter.drawEllipse(centre, 6, 6);
    }
    drawLegend(painter,
               QRectF(canvas.right() + 12, canvas.top() + 2.5 * metrics.height(), 14,
                      canvas.height() - 2.5 * metrics.height()),
               QStringLiteral("100 %"), QStringLiteral("0 %"),
               QCoreApplication::translate("PhospheneMap", "Share of\ndrawings"));
    return image;
}

} // namespace PhospheneMap
