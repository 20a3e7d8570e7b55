#include "experiments/EGrid.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

namespace {

const QString DesignTPos = QStringLiteral("14");

} // namespace

EGrid::EGrid(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EGrid1"));
    setFocusPolicy(Qt::StrongFocus);
    m_cellColors.fill(UnmarkedColor);

    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    for (int i = 0; i < GridCells::Count; ++i) {
        auto *button = new QRadioButton(this);
        button->setObjectName(QStringLiteral("Elemento_%1").arg(i));
        button->setAccessibleName(tr("Point %1").arg(i));
        button->setAutoFillBackground(true);
        button->installEventFilter(this);
        m_group->addButton(button, i);
        m_cells[std::size_t(i)] = button;
        connect(button, &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) {
                seleccion(i);
            }
        });
    }
    for (int r = 0; r < GridCells::Rows; ++r) {
        auto *label = new QLabel(QString::number(GridCells::index(r, 0)), this);
        label->setObjectName(QStringLiteral("LFila_%1").arg(r));
        m_rowLabels[std::size_t(r)] = label;
    }
    for (int c = 0; c < GridCells::Columns - 1; ++c) {
        auto *label = new QLabel(QString::number(c), this);
        label->setObjectName(QStringLiteral("LColumna_%1").arg(c));
        m_columnLabels[std::size_t(c)] = label;
    }
    m_TPos = new QLabel(DesignTPos, this);
    m_TPos->setObjectName(QStringLiteral("TPos"));
    QFont tposFont(QStringLiteral("MS Sans Serif"));
    tposFont.setPointSizeF(9.75);
    tposFont.setBold(true);
    m_TPos->setFont(tposFont);

    layoutParts();
    m_cells[GridCells::DefaultIndex]->setChecked(true);
}

void EGrid::layoutParts() {
    for (int i = 0; i < GridCells::Count; ++i) {
        m_cells[std::size_t(i)]->setGeometry(toPixels(GridCells::cellRect(i)));
    }
    for (int r = 0; r < GridCells::Rows; ++r) {
        // The design's label box is a pixel short of two digits in some fonts: it grows to the
        // left, into the margin, so that the number stays whole and beside its row.
        QLabel *label = m_rowLabels[std::size_t(r)];
        QRect box = toPixels(GridCells::rowLabelRect(r));
        if (box.width() < label->sizeHint().width()) {
            box.setLeft(std::max(0, box.right() + 1 - label->sizeHint().width()));
        }
        label->setGeometry(box);
    }
    for (int c = 0; c < GridCells::Columns - 1; ++c) {
        m_columnLabels[std::size_t(c)]->setGeometry(toPixels(GridCells::columnLabelRect(c)));
    }
    m_TPos->setGeometry(toPixels(GridCells::TPosRect));
}

QRect EGrid::toPixels(const QRect &twips) const {
    const double sx = logicalDpiX() / 1440.0;
    const double sy = logicalDpiY() / 1440.0;
    const int left = qRound(twips.x() * sx);
    const int top = qRound(twips.y() * sy);
    // Right and bottom edges are rounded too, so neighbouring cells neither overlap nor gap by
    // more than the rounding of one pixel.
    return QRect(QPoint(left, top), QPoint(qRound((twips.x() + twips.width()) * sx) - 1,
                                           qRound((twips.y() + twips.height()) * sy) - 1));
}

QSize EGrid::sizeHint() const {
    return toPixels(QRect(QPoint(0, 0), GridCells::DesignSize)).size();
}

void EGrid::seleccion(int index) {
    m_eIndex = index;
    m_TPos->setText(QString::number(index));
    emit Click();
}

bool EGrid::setEIndex(int index) {
    if (!GridCells::isValid(index)) {
        return false;
    }
    m_eIndex = index;
    // Checking a cell that is already checked emits no toggled, so no Click either.
    m_cells[std::size_t(index)]->setChecked(true);
    return true;
}

void EGrid::QuitarMarcas() {
    for (int i = 0; i < GridCells::Count; ++i) {
        m_cellColors[std::size_t(i)] = UnmarkedColor;
        paintCell(i);
    }
}

void EGrid::MarcarElemento(int indice, bool Marcar) {
    if (!GridCells::isValid(indice)) {
        return;
    }
    m_cellColors[std::size_t(indice)] = Marcar ? MarkedColor : UnmarkedColor;
    paintCell(indice);
}

bool EGrid::ElementoMarcado(int indice) const {
    return GridCells::isValid(indice) && m_cellColors[std::size_t(indice)] == MarkedColor;
}

QVariant EGrid::FilaVisible(int, bool) {
    return {};
}

QVariant EGrid::ColumnaVisible(int, bool) {
    return {};
}

QRadioButton *EGrid::cell(int index) const {
    return GridCells::isValid(index) ? m_cells[std::size_t(index)] : nullptr;
}

int EGrid::selectedCell() const {
    return m_group->checkedId();
}

void EGrid::paintCell(int index) {
    QRadioButton *button = m_cells[std::size_t(index)];
    QPalette palette = QApplication::palette(button);
    if (m_cellColors[std::size_t(index)] == MarkedColor) {
        palette.setColor(button->backgroundRole(), Qt::red);
    }
    button->setPalette(palette);
}

bool EGrid::moveSelection(int key) {
    GridCells::Direction direction;
    switch (key) {
    case Qt::Key_Up:
        direction = GridCells::Direction::Up;
        break;
    case Qt::Key_Down:
        direction = GridCells::Direction::Down;
        break;
    case Qt::Key_Left:
        direction = GridCells::Direction::Left;
        break;
    case Qt::Key_Right:
        direction = GridCells::Direction::Right;
        break;
    default:
        return false;
    }
    const int target = GridCells::neighbour(m_eIndex, direction);
    setEIndex(target);
    if (hasFocus() || (focusWidget() && isAncestorOf(focusWidget()))) {
        m_cells[std::size_t(target)]->setFocus(Qt::TabFocusReason);
    }
    return true;
}

bool EGrid::eventFilter(QObject *watched, QEvent *event) {
    // The cells' own arrow-key handling moves by screen geometry; the grid moves by rows and columns.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (moveSelection(key->key())) {
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EGrid::keyPressEvent(QKeyEvent *event) {
    if (!moveSelection(event->key())) {
        QWidget::keyPressEvent(event);
    }
}
