#pragma once

#include "core/GridCells.h"

#include <QVariant>
#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;
class QRadioButton;

// The stimulation grid control: 50 round cells (5 rows of 10, row 0 at the bottom) of which the
// operator picks one, the picked cell's index shown in TPos, and cells the host marks in red for the
// points that already have a stimulus. It knows nothing of the database: hosts convert between a
// cell index and a point themselves.
//
// Click is raised once per selection change, by a mouse click, an arrow key or setEIndex; hosts read
// EIndex in their handler.
class EGrid : public QWidget {
    Q_OBJECT
public:
    // Cell colours: the system button face (colour index 15) unmarked, pure red marked.
    static constexpr quint32 UnmarkedColor = 0x8000000F;
    static constexpr quint32 MarkedColor = 255;

    // A newly placed control: cell 14 selected and shown in TPos.
    explicit EGrid(QWidget *parent = nullptr);

    int EIndex() const { return m_eIndex; }
    // Stores the index and selects its cell, raising Click when the selection changes. An index
    // outside 0 to 49 is refused: nothing changes, no Click, and the answer is false. Hosts never
    // ask for one, so a refusal means a fault in the caller that must not move the selection.
    bool setEIndex(int index);

    void Refresh() {}
    void QuitarMarcas();
    void MarcarElemento(int indice, bool Marcar);
    bool ElementoMarcado(int indice) const;
    QVariant FilaVisible(int fila, bool Visible);
    QVariant ColumnaVisible(int Columna, bool Visible);

    // The cell's widget, for hosts and tests that look at it; null outside the grid.
    QRadioButton *cell(int index) const;
    // Index of the cell shown selected, or -1 when none is.
    int selectedCell() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void seleccion(int index);
    bool moveSelection(int key);
    void layoutParts();
    QRect toPixels(const QRect &twips) const;
    void paintCell(int index);

    int m_eIndex = GridCells::DefaultIndex;
    std::array<quint32, GridCells::Count> m_cellColors{};
    std::array<QRadioButton *, GridCells::Count> m_cells{};
    std::array<QLabel *, GridCells::Rows> m_rowLabels{};
    std::array<QLabel *, GridCells::Columns - 1> m_columnLabels{};
    QButtonGroup *m_group = nullptr;
    QLabel *m_TPos = nullptr;
};
