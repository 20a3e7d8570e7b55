#include "experiments/ParameterLists.h"

#include <QComboBox>
#include <QCoreApplication>

namespace ParameterLists {

namespace {
constexpr Item Bobinas[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Magstim en ocho"), 1},
                            {QT_TRANSLATE_NOOP("ParameterLists", "Magstim Redonda"), 2},
                            {QT_TRANSLATE_NOOP("ParameterLists", "Cadwell en ocho"), 3}};
constexpr Item Pulsos[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Single"), 1},
                           {QT_TRANSLATE_NOOP("ParameterLists", "Repetitive"), 2},
                           {QT_TRANSLATE_NOOP("ParameterLists", "Two"), 3}};
constexpr Item Fases[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Monofásico"), 1},
                          {QT_TRANSLATE_NOOP("ParameterLists", "Bifáisco"), 2}};
constexpr Item Orientaciones[] = {{QT_TRANSLATE_NOOP("ParameterLists", "Up-Down"), 3},
                                  {QT_TRANSLATE_NOOP("ParameterLists", "Down-Up"), 2},
                                  {QT_TRANSLATE_NOOP("ParameterLists", "Left-Right"), 0},
                                  {QT_TRANSLATE_NOOP("ParameterLists", "Right-Left"), 1}};
} // namespace

std::span<const Item> bobinas() {
    return Bobinas;
}
std::span<const Item> pulsos() {
    return Pulsos;
}
std::span<const Item> fases() {
    return Fases;
}
std::span<const Item> orientaciones() {
    return Orientaciones;
}

void llena(QComboBox *lista, std::span<const Item> items, const QString &primerItem) {
    lista->clear();
    if (!primerItem.isNull()) {
        lista->addItem(primerItem, Cualquiera);
    }
    for (const Item &item : items) {
        // Shown in the interface's language; the code is what is stored.
        lista->addItem(QCoreApplication::translate("ParameterLists", item.texto), item.code);
    }
    lista->setCurrentIndex(0);
}

int code(const QComboBox *lista) {
    return lista->currentIndex() < 0 ? Cualquiera : lista->currentData().toInt();
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
