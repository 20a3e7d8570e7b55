#include "experiments/ParameterLists.h"

#include <QComboBox>
#include <QCoreApplication>

namespace ParameterLists {

namespace {
constexpr Item Coils[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Magstim en ocho"), 1},
                          {QT_TRANSLATE_NOOP("ParameterLists", "Magstim Redonda"), 2},
                          {QT_TRANSLATE_NOOP("ParameterLists", "Cadwell en ocho"), 3}};
constexpr Item PulseTypes[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Single"), 1},
                               {QT_TRANSLATE_NOOP("ParameterLists", "Repetitive"), 2},
                               {QT_TRANSLATE_NOOP("ParameterLists", "Two"), 3}};
constexpr Item Phases[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Monofásico"), 1},
                           {QT_TRANSLATE_NOOP("ParameterLists", "Bifáisco"), 2}};
constexpr Item Orientations[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Up-Down"), 3},
                                 {QT_TRANSLATE_NOOP("ParameterLists", "Down-Up"), 2},
                                 {QT_TRANSLATE_NOOP("ParameterLists", "Left-Right"), 0},
                                 {QT_TRANSLATE_NOOP("ParameterLists", "Right-Left"), 1}};
} // namespace

std::span<const Item> coils() {
    return Coils;
}
std::span<const Item> pulseTypes() {
    return PulseTypes;
}
std::span<const Item> phases() {
    return Phases;
}
std::span<const Item> orientations() {
    return Orientations;
}

namespace {
void fillList(QComboBox *list, std::span<const Item> items, const QString &anyItem) {
    list->clear();
    if (!anyItem.isNull()) {
        list->addItem(anyItem, Any);
    }
    for (const Item &item : items) {
        // Shown in the interface's language; the code is what is stored.
        list->addItem(QCoreApplication::translate("ParameterLists", item.caption), item.code);
    }
    list->setCurrentIndex(0);
}
} // namespace

void fill(const std::array<QComboBox *, 4> &lists, const std::array<QString, 4> &anyItems) {
    const std::array<std::span<const Item>, 4> items{coils(), pulseTypes(), phases(), orientations()};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        fillList(lists[i], items[i], anyItems[i]);
    }
}

int code(const QComboBox *list) {
    return list->currentIndex() < 0 ? Any : list->currentData().toInt();
}

void i_selecciona_valor_lista(qint16 code, QComboBox *lista) {
    int elegido = 0;
    for (int i = 0; i < lista->count(); ++i) {
        if (lista->itemData(i).toInt() == code) {
            elegido = i;
        }
    }
    lista->setCurrentIndex(lista->count() > 0 ? elegido : -1);
}

} // namespace ParameterLists
