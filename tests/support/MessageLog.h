#pragma once

#include "widgets/Messages.h"

#include <QList>
#include <QStringList>

// Takes every message box while it lives: records it instead of showing it and answers questions
// with the answer set (No unless told otherwise).
class MessageLog {
public:
    explicit MessageLog(bool answer = false) { setAnswer(answer); }
    ~MessageLog() { Messages::setResponder({}); }
    MessageLog(const MessageLog &) = delete;
    MessageLog &operator=(const MessageLog &) = delete;

    void setAnswer(bool yes) {
        Messages::setResponder([this, yes](const Messages::Shown &shown) {
            m_shown << shown;
            return yes;
        });
    }
    // Forgets what was shown and answers from now on with `yes`.
    void reset(bool yes = false) {
        m_shown.clear();
        setAnswer(yes);
    }
    void clear() { m_shown.clear(); }

    qsizetype size() const { return m_shown.size(); }
    bool isEmpty() const { return m_shown.isEmpty(); }
    const Messages::Shown &operator[](qsizetype i) const { return m_shown[i]; }
    Messages::Shown value(qsizetype i) const { return m_shown.value(i, Messages::Shown{}); }
    QStringList texts() const {
        QStringList texts;
        for (const Messages::Shown &shown : m_shown) {
            texts << shown.text;
        }
        return texts;
    }

private:
    QList<Messages::Shown> m_shown;
};
