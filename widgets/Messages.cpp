#include "widgets/Messages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace Messages {

namespace {
Responder &responder() {
    static Responder instance;
    return instance;
}

bool show(QWidget *parent, Kind kind, const QString &text, const QString &title) {
    const QString caption = title.isEmpty() ? defaultTitle() : title;
    if (responder()) {
        return responder()(Shown{kind, text, caption});
    }
    switch (kind) {
    case Kind::Information:
        QMessageBox::information(parent, caption, text, QMessageBox::Ok);
        return true;
    case Kind::Error:
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
        return true;
    case Kind::Question:
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
    return false;
}
} // namespace

QString defaultTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("ZoKorvane") : name;
}

void information(QWidget *parent, const QString &text, const QString &title) {
    show(parent, Kind::Information, text, title);
}

void error(QWidget *parent, const QString &text, const QString &title) {
    show(parent, Kind::Error, text, title);
}

bool question(QWidget *parent, const QString &text, const QString &title) {
    return show(parent, Kind::Question, text, title);
}

void setResponder(Responder r) {
    responder() = std::move(r);
}

} // namespace Messages
