#include "app/WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace WindowAccessibility {

namespace {

// Asked for each class of a widget from the most derived up; a dialog or a main window meets Qt's
// own interface before its chain reaches "QWidget". Popups and tool tips are not windows.
QAccessibleInterface *windowInterface(const QString &className, QObject *object) {
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType()) {
        return nullptr;
    }
    auto *widget = static_cast<QWidget *>(object);
    return widget->windowType() == Qt::Window ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

} // namespace

void install() {
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace WindowAccessibility
