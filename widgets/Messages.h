#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so that texts stay exactly as written
// and tests can read and answer them without a modal loop.
namespace Messages {

enum class Kind { Information, Error, Question };

struct Shown {
    Kind kind;
    QString text;
    QString title;
};

// Default title of message boxes that are given none: the application's name.
QString defaultTitle();

// Information (OK button).
void information(QWidget *parent, const QString &text, const QString &title = QString());
// Error (OK button, critical icon).
void error(QWidget *parent, const QString &text, const QString &title = QString());
// Confirmation with Yes and No, question icon, No as default. True for Yes.
bool question(QWidget *parent, const QString &text, const QString &title = QString());

// Tests install a responder: it receives each message instead of a box being shown and returns
// the answer to a question (true = Yes). An empty function restores real boxes.
using Responder = std::function<bool(const Shown &)>;
void setResponder(Responder responder);

} // namespace Messages
