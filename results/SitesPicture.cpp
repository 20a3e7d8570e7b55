#include "results/SitesPicture.h"

#include "imaging/Volume.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace SitesPicture {

namespace {

// The thresholds of the associated MR window's 3D view.
constexpr int Low = 60;
constexpr int High = 255;

// The ring of a cell without stimuli: dark, to show on the lit surface where the targets lie.
const QColor Hollow(60, 60, 60);

double legendWidth(QSize size) {
    return std::clamp(size.width() / 7.0, 80.0, 110.0);
}

} // namespace

View::View(const VolumeLayout::ScannerVolume &volume, double increment)
    : m_increment(increment > 0 ? increment : 1.0), m_width(volume.dims[0]) {
    const auto &dims = volume.dims;
    if (volume.empty() || dims[0] < 1) {
        return;
    }
    // The columns reversed: the rays of the side rendering then start behind the head.
    std::vector<std::uint8_t> reversed(volume.voxels.size());
    for (std::size_t line = 0; line < reversed.size() / std::size_t(dims[0]); ++line) {
        const std::uint8_t *from = &volume.voxels[line * std::size_t(dims[0])];
        std::reverse_copy(from, from + dims[0], &reversed[line * std::size_t(dims[0])]);
    }
    Volume back;
    back.append(dims[0], dims[1], dims[2], std::move(reversed));
    back.close();
    back.setIncrement(m_increment);
    m_rendering = back.render3D(-1, Low, High);
}

QRectF View::frame(QSize size) const {
    if (isNull()) {
        return {};
    }
    const double across = m_rendering.width() * m_increment;
    const double down = m_rendering.height();
    const double room = std::max(1.0, size.width() - legendWidth(size));
    const double scale = std::min(room / across, size.height() / down);
    return QRectF((room - across * scale) / 2, (size.height() - down * scale) / 2, across * scale,
                  down * scale);
}

QPointF View::at(const StimulationSites::Vec3 &voxel, QSize size) const {
    const QRectF f = frame(size);
    if (f.isEmpty()) {
        return {};
    }
    // Pixel (z, y) of the rendering shows voxel row y of slice z; a voxel's centre is half a pixel in.
    const double u = (voxel[2] + 0.5) / m_rendering.width();
    const double v = (voxel[1] + 0.5) / m_rendering.height();
    return {f.left() + u * f.width(), f.top() + v * f.height()};
}

double View::markRadius(QSize size) const {
    return std::max(4.0, frame(size).height() / 45);
}

namespace {

QList<Mark> marksOf(const StimulationSites::Sites &sites) {
    QList<Mark> marks;
    marks.reserve(qsizetype(sites.cells.size()));
    for (const StimulationSites::Site &site : sites.cells) {
        marks.append({site.targetVoxel, site.counts, site.found});
    }
    return marks;
}

} // namespace

int View::cellAt(const StimulationSites::Sites &sites, QPointF point, QSize size) const {
    const int mark = markAt(marksOf(sites), point, size);
    return mark < 0 ? -1 : sites.cells[std::size_t(mark)].cell;
}

int View::markAt(const QList<Mark> &marks, QPointF point, QSize size) const {
    int best = -1;
    double bestDistance = markRadius(size) + 3;
    for (qsizetype i = 0; i < marks.size(); ++i) {
        if (!marks[i].shown) {
            continue;
        }
        const QPointF d = at(marks[i].voxel, size) - point;
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= bestDistance) {
            best = int(i);
            bestDistance = distance;
        }
    }
    return best;
}

QImage View::render(const StimulationSites::Sites &sites, int selectedCell, QSize size) const {
    return render(marksOf(sites), GridCells::isValid(selectedCell) ? selectedCell : -1,
                  QString::number(selectedCell),
                  QCoreApplication::translate("SitesPicture", "Seen from behind; targets %1 mm deep")
                      .arg(sites.depthMm, 0, 'g', 4),
                  size);
}

QImage View::render(const QList<Mark> &marks, int selected, const QString &selectedText,
                    const QString &caption, QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    if (isNull()) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(frame(size), m_rendering);
    const double r = markRadius(size);
    QFont font = painter.font();
    font.setPixelSize(std::clamp(int(r * 2.2), 9, 16));
    painter.setFont(font);
    for (const Mark &mark : marks) {
        if (!mark.shown) {
            continue; // no scalp, no mark
        }
        const QPointF p = at(mark.voxel, size);
        const bool stimulated = mark.counts.stimuli > 0;
        painter.setBrush(stimulated ? QBrush(PhospheneMap::heat(mark.counts.rate())) : QBrush(Qt::NoBrush));
        painter.setPen(stimulated ? QPen(Qt::black, 1) : QPen(Hollow, 2));
        painter.drawEllipse(p, r, r);
    }
    if (selected >= 0 && selected < marks.size() && marks[selected].shown) {
        const QPointF p = at(marks[selected].voxel, size);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 140, 255), 3));
        painter.drawEllipse(p, r + 4, r + 4);
        painter.drawText(p + QPointF(r + 7, -r - 2), selectedText);
    }
    // The map's scale, and the hollow ring of a cell without stimuli.
    const double left = size.width() - legendWidth(size) + 10;
    const QRectF bar(left, size.height() * 0.15, 14, size.height() * 0.55);
    QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
    for (int i = 0; i <= 10; ++i) {
        gradient.setColorAt(i / 10.0, PhospheneMap::heat(i / 10.0));
    }
    painter.fillRect(bar, gradient);
    QFont legend = font;
    legend.setPixelSize(std::min(font.pixelSize(), 12));
    painter.setFont(legend);
    painter.setPen(Qt::white);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    const QFontMetricsF metrics(legend);
    painter.drawText(QPointF(bar.right() + 4, bar.top() + metrics.ascent() / 2), QStringLiteral("100 %"));
    painter.drawText(QPointF(bar.right() + 4, bar.bottom() + metrics.ascent() / 2), QStringLiteral("0 %"));
    painter.drawText(QRectF(left - 4, 4, legendWidth(size) - 8, bar.top() - 8),
                     Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
                     QCoreApplication::translate("SitesPicture", "Phosphene rate"));
    const QPointF ring(bar.center().x(), bar.bottom() + 3 * metrics.height());
    painter.fillRect(QRectF(ring.x() - 9, ring.y() - 9, 18, 18), QColor(200, 200, 200));
    painter.setPen(QPen(Hollow, 2));
    painter.drawEllipse(ring, 6, 6);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(ring.x() + 12, ring.y() + metrics.ascent() / 2 - 2),
                     QCoreApplication::translate("SitesPicture", "none"));
    painter.setFont(font);
    painter.drawText(QRectF(4, 4, size.width() - legendWidth(size), 2 * QFontMetricsF(font).height() + 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption);
    return image;
}

} // namespace SitesPicture
