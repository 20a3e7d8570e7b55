#include "subjects/paciente.h"
#include "ui_paciente.h"

#include "data/StudyError.h"
#include "widgets/Messages.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using SubjectStore::Field;
using SubjectStore::SubjectRecord;

paciente::paciente(const QSqlDatabase &db, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::paciente>()), m_db(db) {
    ui->setupUi(this);
    for (std::size_t i = 0; i < SubjectStore::FieldCount; ++i) {
        const int index = SubjectStore::controlIndex(static_cast<Field>(i));
        m_fields[i] = findChild<QWidget *>(QStringLiteral("txtFields_%1").arg(index));
        Q_ASSERT(m_fields[i]);
    }
    // Room for a few lines of notes, without making the window tall, and for the longest usual
    // number in each numeric field, whatever the font and scale.
    ui->txtFields_6->setFixedHeight(ui->txtFields_6->fontMetrics().lineSpacing() * 4 +
                                    2 * ui->txtFields_6->frameWidth() + 8);
    for (Field numeric : {Field::ID, Field::Edad, Field::Altura, Field::Peso, Field::Filas, Field::Columnas,
                          Field::FilaCentro, Field::ColumnaCentro}) {
        QWidget *edit = fieldControl(numeric);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000.00")));
    }
    // An empty study hides the form but keeps its place, so the window does not jump when the
    // first subject is added.
    QSizePolicy policy = ui->FPaciente->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ui->FPaciente->setSizePolicy(policy);

    connect(ui->bAdd, &QPushButton::clicked, this, &paciente::bAdd_Click);
    connect(ui->Data1First, &QToolButton::clicked, this, [this] { navigate(Move::First); });
    connect(ui->Data1Previous, &QToolButton::clicked, this, [this] { navigate(Move::Previous); });
    connect(ui->Data1Next, &QToolButton::clicked, this, [this] { navigate(Move::Next); });
    connect(ui->Data1Last, &QToolButton::clicked, this, [this] { navigate(Move::Last); });

    try {
        m_ids = SubjectStore::subjectIds(m_db);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    if (m_ids.isEmpty()) {
        showEmpty();
    } else {
        showRecord(0);
    }
}

paciente::~paciente() = default;

QWidget *paciente::fieldControl(Field field) const {
    return m_fields[static_cast<std::size_t>(field)];
}

void paciente::setControls(const SubjectRecord &record) {
    for (std::size_t i = 0; i < SubjectStore::FieldCount; ++i) {
        if (auto *edit = qobject_cast<QLineEdit *>(m_fields[i])) {
            edit->setText(record.texts[i]);
            edit->setCursorPosition(0);
        } else if (auto *text = qobject_cast<QPlainTextEdit *>(m_fields[i])) {
            text->setPlainText(record.texts[i]);
        }
    }
    ui->CCiego->setChecked(record.ciego);
    m_shown = record;
    m_initial = onScreen();
}

SubjectRecord paciente::onScreen() const {
    SubjectRecord record = m_shown;
    for (std::size_t i = 0; i < SubjectStore::FieldCount; ++i) {
        if (auto *edit = qobject_cast<QLineEdit *>(m_fields[i])) {
            record.texts[i] = edit->text();
        } else if (auto *text = qobject_cast<QPlainTextEdit *>(m_fields[i])) {
            record.texts[i] = text->toPlainText();
        }
    }
    record.ciego = ui->CCiego->isChecked();
    return record;
}

std::optional<paciente::Problem> paciente::storeChanges() {
    const SubjectRecord edited = onScreen();
    // Compared with what the controls showed, not with the row, so that text the controls
    // normalise (line ends of old notes) does not count as an edit.
    if (edited == m_initial) {
        return std::nullopt;
    }
    try {
        if (auto refusal = SubjectStore::storeSubject(m_db, m_shown, edited)) {
            return Problem{refusal->message, fieldControl(refusal->field)};
        }
        const int id = edited[Field::ID].trimmed().toInt();
        m_ids = SubjectStore::subjectIds(m_db);
        m_position = m_ids.indexOf(id);
        m_shown = edited;
        m_shown.storedId = id;
        m_initial = m_shown;
    } catch (const StudyError &e) {
        return Problem{e.message(), nullptr};
    }
    return std::nullopt;
}

void paciente::pointAt(const Problem &problem) {
    if (problem.control) {
        problem.control->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(problem.control)) {
            edit->selectAll();
        }
    }
}

void paciente::navigate(Move where) {
    if (const auto problem = storeChanges()) {
        Messages::error(this, tr("The subject cannot be stored.\n\n") + problem->text);
        pointAt(*problem);
        return;
    }
    if (m_ids.isEmpty()) {
        showEmpty();
        return;
    }
    const int last = static_cast<int>(m_ids.size()) - 1;
    int target = 0;
    switch (where) {
    case Move::First:
        target = 0;
        break;
    case Move::Previous:
        target = m_position - 1;
        break;
    case Move::Next:
        target = m_position + 1;
        break;
    case Move::Last:
        target = last;
        break;
    }
    // Moving before the first or after the last record stays on it.
    showRecord(qBound(0, target, last));
}

void paciente::showRecord(int position) {
    SubjectRecord record;
    try {
        record = SubjectStore::loadSubject(m_db, m_ids.at(position));
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
        return;
    }
    m_position = position;
    setControls(record);
    ui->FPaciente->show();
    Data1_Reposition();
}

void paciente::showEmpty() {
    m_position = -1;
    setControls(SubjectRecord());
    ui->FPaciente->hide();
    Data1_Reposition();
}

void paciente::Data1_Reposition() {
    ui->Data1Caption->setText(tr("Subjects (%1/%2)").arg(m_position + 1).arg(m_ids.size()));
    const bool hasRecords = !m_ids.isEmpty();
    for (QToolButton *button : {ui->Data1First, ui->Data1Previous, ui->Data1Next, ui->Data1Last}) {
        button->setEnabled(hasRecords);
    }
}

void paciente::bAdd_Click() {
    if (const auto problem = storeChanges()) {
        Messages::error(this, tr("The subject cannot be stored.\n\n") + problem->text);
        pointAt(*problem);
        return;
    }
    SubjectRecord proposal;
    try {
        proposal = SubjectStore::newSubject(m_db);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
        return;
    }
    ui->FPaciente->show();
    setControls(proposal);
    ui->Data1Caption->setText(tr("New Subject"));
    for (QToolButton *button : {ui->Data1First, ui->Data1Previous, ui->Data1Next, ui->Data1Last}) {
        button->setEnabled(true);
    }
    fieldControl(Field::Nombre)->setFocus();
}

void paciente::reject() {
    if (const auto problem = storeChanges()) {
        if (!Messages::question(this, tr("The subject cannot be stored.\n\n") + problem->text +
                                          tr("\n\nDiscard the changes to this subject?"))) {
            pointAt(*problem);
            return;
        }
    }
    QDialog::reject();
}
