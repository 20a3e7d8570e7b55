#include "experiments/NumericField.h"

#include "experiments/StimulusStore.h"
#include "widgets/Messages.h"

#include <QCoreApplication>
#include <QLineEdit>

bool readWholeNumber(QWidget *window, QLineEdit *field, const QString &name, qint64 minimum, qint64 maximum,
                     const QString &consequence, qint64 &value) {
    const std::optional<qint64> read = StimulusStore::wholeNumberInRange(field->text(), minimum, maximum);
    if (!read) {
        Messages::error(
            window, QCoreApplication::translate("NumericField",
                                                "%1 must be a whole number from %2 to %3; \"%4\" is not. %5")
                        .arg(name)
                        .arg(minimum)
                        .arg(maximum)
                        .arg(field->text(), consequence));
        field->setFocus();
        field->selectAll();
        return false;
    }
    value = *read;
    return true;
}
