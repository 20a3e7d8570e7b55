#include "experiments/ParameterLists.h"

#include <QComboBox>

namespace ParameterLists {

namespace {
constexpr Item Bobinas[] = {{"Magstim en ocho", 1}, {"Magstim Redonda", 2}, {"Cadwell en ocho", 3}};
constexpr Item Pulsos[] = {{"Single", 1}, {"Repetitive", 2}, {"Two", 3}};
constexpr Item Fases[] = {{"Monofásico", 1}, {"Bifáisco", 2}};
constexpr Item Orientaciones[] = {{"Up-Down", 3}, {"Down-Up", 2}, {"Left-Right", 0}, {"Right-Left", 1}};
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
        lista->addItem(QString::fromUtf8(item.texto), item.code);
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
