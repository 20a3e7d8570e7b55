#pragma once

#include "data/ServerStudy.h"
#include "data/Study.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QSqlDatabase>

// One operator action that writes: everything between construction and commit() is stored
// together, and anything not committed is rolled back when the object goes out of scope
// (also when an exception leaves the scope). On a server study the transaction first waits for the
// other stations' writing transactions to end.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db) : m_db(std::move(db)) {
        // A station whose connection dropped connects again here, so it can store once more.
        if (!ServerStudy::reconnectIfLost(m_db) || !m_db.transaction()) {
            throw StudyError(QCoreApplication::translate("Transaction", "Cannot start a transaction"),
                             m_db.lastError());
        }
        // On a server, stations write one at a time (identifiers are "largest + 1").
        try {
            ServerStudy::lockWriters(m_db);
        } catch (...) {
            m_db.rollback();
            throw;
        }
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    ~Transaction() {
        if (!m_done) {
            m_db.rollback();
        }
    }

    void commit() {
        if (!m_db.commit()) {
            const QSqlError error = m_db.lastError();
            m_db.rollback();
            m_done = true;
            throw StudyError(QCoreApplication::translate("Transaction", "Cannot store the changes"), error);
        }
        m_done = true;
    }

private:
    QSqlDatabase m_db;
    bool m_done = false;
};
