#pragma once

#include <QString>

#include <array>
#include <span>

class QComboBox;

// The stimulus parameter lists shared by the recording window, the viewer and editor and the
// comparison window: each item shows a caption and carries the code stored in the estimulo row
// (TipoBobina, PulsoTipo, PulsoFase, orientacion). The code is the item's data, not its position.
namespace ParameterLists {

struct Item {
    const char *caption; // UTF-8
    int code;
};

// Code of the first item the viewer and the comparison window put before the others: no
// condition, or no stored value matched.
inline constexpr int Any = -1;

std::span<const Item> coils();        // CBobina
std::span<const Item> pulseTypes();   // CPulso
std::span<const Item> phases();       // CFase
std::span<const Item> orientations(); // COrientacion

// Fills a window's four lists, in the order coil (CBobina), pulse type (CPulso), phase (CFase) and
// orientation (COrientacion), each with its items, preceded by an item with the code -1 and the
// caption `anyItems` gives for that list (none where it is null), and selects the first item.
void fill(const std::array<QComboBox *, 4> &lists, const std::array<QString, 4> &anyItems = {});

// Code of the selected item; -1 when nothing is selected.
int code(const QComboBox *list);

// Selects an item by code: the first item, then every item whose code equals `code` in turn,
// so the last matching item stays selected and the first one when none matches.
void i_selecciona_valor_lista(qint16 code, QComboBox *lista);

} // namespace ParameterLists
