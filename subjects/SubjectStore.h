#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <array>
#include <cstddef>
#include <optional>

// Reading and writing the rows of `paciente` for the subject windows, without any widget.
// Engine failures throw StudyError; input the operator has to correct comes back as a Refusal.
namespace SubjectStore {

// The text fields of the subject form, in the order the operator fills them in.
enum class Field {
    ID,
    Nombre,
    Apellido1,
    Apellido2,
    Edad,
    Altura,
    Peso,
    Filas,
    Columnas,
    FilaCentro,
    ColumnaCentro,
    Observaciones,
};
inline constexpr std::size_t FieldCount = 12;

// Index of the field in the form's control array txtFields (txtFields_<index>).
int controlIndex(Field field);
// What the operator reads for the field; messages about it start with this.
QString fieldName(Field field);

// One subject as the form shows it: every field as text, null where the row holds null.
struct SubjectRecord {
    std::array<QString, FieldCount> texts;
    bool ciego = false;
    // ID of the row the record was read from; -1 for a subject not stored yet.
    int storedId = -1;

    QString &operator[](Field field) { return texts[static_cast<std::size_t>(field)]; }
    const QString &operator[](Field field) const { return texts[static_cast<std::size_t>(field)]; }
    // Equal when the operator would see the same thing (a null text equals "").
    bool operator==(const SubjectRecord &) const = default;
};

// Why a record cannot be stored: the field to correct and what is wrong with it, as one text
// that starts with the field's name.
struct Refusal {
    Field field;
    QString message;
};

// Every subject's ID, in ID order (the order the form walks through them).
QList<int> subjectIds(const QSqlDatabase &db);

// The row with that ID; throws StudyError when it is not in the study.
SubjectRecord loadSubject(const QSqlDatabase &db, int id);

// A new subject as the form proposes it: the largest ID + 1 and the default grid 5, 9, 1, 4.
SubjectRecord newSubject(const QSqlDatabase &db);

// Checks `edited` and stores it in one transaction: a new row when original.storedId is -1,
// otherwise the row original.storedId. `original` is what the form showed before the operator
// typed; an empty text field that was null there stays null. When the record is refused nothing
// is written.
std::optional<Refusal> storeSubject(const QSqlDatabase &db, const SubjectRecord &original,
                                    const SubjectRecord &edited);

// Text of a subject in the subject lists: Nombre, then " " + Apellido1 and " " + Apellido2 for
// each surname that is not null (an empty surname still adds its blank). A null Nombre counts as "".
QString entryText(const QVariant &nombre, const QVariant &apellido1, const QVariant &apellido2);

struct SubjectEntry {
    int id;
    QString text;
};
// Every subject's list entry, in ID order.
QList<SubjectEntry> subjectEntries(const QSqlDatabase &db);

// The stimulation grid stored with a subject.
struct SubjectGrid {
    int filas;
    int columnas;
    int filaCentro;
    int columnaCentro;
};
// The grid of the subject with that ID; nothing when the subject is not in the study.
std::optional<SubjectGrid> subjectGrid(const QSqlDatabase &db, int id);

} // namespace SubjectStore
