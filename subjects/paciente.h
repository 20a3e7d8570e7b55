#pragma once

#include "subjects/SubjectStore.h"

#include <QDialog>
#include <QSqlDatabase>

#include <array>
#include <memory>
#include <optional>

namespace Ui {
class paciente;
}

// "Edit subject": browses the subjects one at a time, in ID order, and creates new ones. A record
// the operator changed is stored when another record is shown, a new one is started or the
// window closes; a record that cannot be stored stays on screen with the reason.
//
// Control arrays of the form are named <array>_<index>: txtFields_11 is the ID field.
class paciente : public QDialog {
    Q_OBJECT

public:
    explicit paciente(const QSqlDatabase &db, QWidget *parent = nullptr);
    ~paciente() override;

    // Escape and the window's close button end here: a changed record is stored first, and one
    // that cannot be stored is discarded only when the operator agrees.
    void reject() override;

private:
    enum class Move { First, Previous, Next, Last };

    // Why the record on screen could not be stored, and the control to correct.
    struct Problem {
        QString text;
        QWidget *control;
    };

    void bAdd_Click();
    void navigate(Move where);
    void showRecord(int position);
    void showEmpty();
    void Data1_Reposition();

    QWidget *fieldControl(SubjectStore::Field field) const;
    void setControls(const SubjectStore::SubjectRecord &record);
    SubjectStore::SubjectRecord onScreen() const;
    // Stores the record on screen when the operator changed it; nothing when it was stored or
    // needed no storing.
    std::optional<Problem> storeChanges();
    void pointAt(const Problem &problem);

    std::unique_ptr<Ui::paciente> ui;
    QSqlDatabase m_db;
    QList<int> m_ids;                    // every subject's ID, in the order the form walks through them
    int m_position = -1;                 // index in m_ids of the record shown, or shown before "New subject"
    SubjectStore::SubjectRecord m_shown; // the record as read or proposed
    SubjectStore::SubjectRecord m_initial; // what the controls gave back right after showing it
    std::array<QWidget *, SubjectStore::FieldCount> m_fields = {};
};
