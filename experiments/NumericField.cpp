#include "experiments/NumericField.h"

#include "experiments/StimulusStore.h"
#include "widgets/Messages.h"

#include <QCoreApplication>
#include <QLineEdit>

bool leeEnteroDeCampo(QWidget *ventana, QLineEdit *campo, const QString &nombre, qint64 minimo, qint64 maximo,
                      const QString &consecuencia, qint64 &valor) {
    const std::optional<qint64> leido = StimulusStore::wholeNumberInRange(campo->text(), minimo, maximo);
    if (!leido) {
        Messages::error(
            ventana, QCoreApplication::translate("NumericField",
                                                 "%1 must be a whole number from %2 to %3; \"%4\" is not. %5")
                         .arg(nombre)
                         .arg(minimo)
                         .arg(maximo)
                         .arg(campo->text(), consecuencia));
        campo->setFocus();
        campo->selectAll();
        return false;
    }
    valor = *leido;
    return true;
}
