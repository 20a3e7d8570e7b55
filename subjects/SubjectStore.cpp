#include "subjects/SubjectStore.h"
#include "data/Query.h"

#include "core/GridCells.h"
#include "data/SharedQueries.h"
#include "data/StoredValue.h"
#include "data/StudyError.h"
#include "data/SubjectLock.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>

#include <initializer_list>

namespace SubjectStore {

namespace {

// How the text of a field becomes a stored value.
enum class Kind {
    Text,        // stored as typed
    Identifier,  // whole number of 1 or more, required
    WholeNumber, // whole number, or null when left empty
    Number,      // decimal number, or null when left empty
    GridNumber,  // whole number, required
    CentreRow,   // whole number, required, a row of the grid: the subject's centre cell lies on it
    CentreColumn // the same for a column
};

struct FieldInfo {
    int index;
    const char *column;
    const char *name;
    Kind kind;
};

// In the order of Field.
const FieldInfo Fields[FieldCount] = {
    {11, "ID", QT_TRANSLATE_NOOP("SubjectStore", "ID"), Kind::Identifier},
    {0, "Nombre", QT_TRANSLATE_NOOP("SubjectStore", "Name"), Kind::Text},
    {1, "Apellido1", QT_TRANSLATE_NOOP("SubjectStore", "First name"), Kind::Text},
    {2, "Apellido2", QT_TRANSLATE_NOOP("SubjectStore", "Last name"), Kind::Text},
    {3, "Edad", QT_TRANSLATE_NOOP("SubjectStore", "Age"), Kind::WholeNumber},
    {4, "Altura", QT_TRANSLATE_NOOP("SubjectStore", "Height"), Kind::Number},
    {5, "Peso", QT_TRANSLATE_NOOP("SubjectStore", "Weight"), Kind::Number},
    {22, "Filas", QT_TRANSLATE_NOOP("SubjectStore", "Rows"), Kind::GridNumber},
    {23, "Columnas", QT_TRANSLATE_NOOP("SubjectStore", "Columns"), Kind::GridNumber},
    {24, "FilaCentro", QT_TRANSLATE_NOOP("SubjectStore", "Center row"), Kind::CentreRow},
    {25, "ColumnaCentro", QT_TRANSLATE_NOOP("SubjectStore", "Center column"), Kind::CentreColumn},
    {6, "Observaciones", QT_TRANSLATE_NOOP("SubjectStore", "Observations"), Kind::Text},
};

const FieldInfo &info(Field field) {
    return Fields[static_cast<std::size_t>(field)];
}

Field fieldAt(std::size_t i) {
    return static_cast<Field>(i);
}

// "ID, Nombre, ..., Observaciones" in the order of Field.
QString columnList() {
    QStringList columns;
    for (const FieldInfo &field : Fields) {
        columns << QLatin1String(field.column);
    }
    return columns.join(QStringLiteral(", "));
}

using Query::run;

QString readError() {
    return QCoreApplication::translate("SubjectStore", "Cannot read the subjects");
}

// Null stays null; anything else becomes text that is not null, even when it is empty.
QString textOf(const QVariant &value) {
    if (value.isNull()) {
        return QString();
    }
    const QString text = value.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

Refusal refuse(Field field, const QString &reason) {
    return Refusal{field, fieldName(field) + QStringLiteral(": ") + reason};
}

// The value to store for one field, or why the text cannot be stored.
struct Parsed {
    QVariant value;
    std::optional<Refusal> refusal;
};

Parsed parse(Field field, const QString &text, const QString &original) {
    const Kind kind = info(field).kind;
    if (kind == Kind::Text) {
        // An untouched empty field keeps its null; a cleared one stores "".
        if (text.isEmpty()) {
            return {original.isNull() ? QVariant() : QVariant(QStringLiteral("")), {}};
        }
        return {text, {}};
    }
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        if (kind != Kind::WholeNumber && kind != Kind::Number) {
            return {{}, refuse(field, QCoreApplication::translate("SubjectStore", "a value is needed."))};
        }
        return {QVariant(), {}};
    }
    if (kind == Kind::Number) {
        // A decimal point, or a decimal comma as typed in Spanish.
        const std::optional<double> value = StoredValue::enteredNumber(trimmed);
        if (!value) {
            return {
                {},
                refuse(field,
                       QCoreApplication::translate("SubjectStore", "\"%1\" is not a number.").arg(trimmed))};
        }
        return {*value, {}};
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok) {
        return {{},
                refuse(field, QCoreApplication::translate("SubjectStore", "\"%1\" is not a whole number.")
                                  .arg(trimmed))};
    }
    if (kind == Kind::Identifier && value < 1) {
        return {
            {},
            refuse(field, QCoreApplication::translate("SubjectStore", "the identifier must be 1 or more."))};
    }
    // Every point of the subject is placed on the grid from its centre cell, so a centre off the
    // grid would put the points nowhere (or, far enough off, overflow the sums that place them).
    if (kind == Kind::CentreRow || kind == Kind::CentreColumn) {
        const bool row = kind == Kind::CentreRow;
        const int last = (row ? GridCells::Rows : GridCells::Columns) - 1;
        if (value < 0 || value > last) {
            return {
                {},
                refuse(field, QCoreApplication::translate(
                                  "SubjectStore", "%1 is off the grid; the centre %2 must be from 0 to %3.")
                                  .arg(value)
                                  .arg(row ? QCoreApplication::translate("SubjectStore", "row")
                                           : QCoreApplication::translate("SubjectStore", "column"))
                                  .arg(last))};
        }
    }
    return {value, {}};
}

bool exists(const QSqlDatabase &db, const QString &sql, int id) {
    QSqlQuery query = run(db, sql, {id}, readError());
    return query.next();
}

} // namespace

int controlIndex(Field field) {
    return info(field).index;
}

QString fieldName(Field field) {
    return QCoreApplication::translate("SubjectStore", info(field).name);
}

QList<int> subjectIds(const QSqlDatabase &db) {
    QSqlQuery query = run(db, QStringLiteral("SELECT ID FROM paciente ORDER BY ID"), {}, readError());
    QList<int> ids;
    while (query.next()) {
        ids << Query::integer(query.value(0), "paciente", "ID");
    }
    Query::finished(query);
    return ids;
}

SubjectRecord loadSubject(const QSqlDatabase &db, int id) {
    QSqlQuery query = run(db, QStringLiteral("SELECT %1, Ciego FROM paciente WHERE ID = ?").arg(columnList()),
                          {id}, readError());
    if (!query.next()) {
        throw StudyError(
            QCoreApplication::translate("SubjectStore", "The subject %1 is no longer in the study.").arg(id));
    }
    SubjectRecord record;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        record.texts[i] = textOf(query.value(static_cast<int>(i)));
    }
    record.ciego = query.value(static_cast<int>(FieldCount)).toBool();
    record.storedId = id;
    return record;
}

SubjectRecord newSubject(const QSqlDatabase &db) {
    SubjectRecord record;
    record[Field::ID] = QString::number(UltimoIdPaciente(db) + 1);
    record[Field::Filas] = QStringLiteral("5");
    record[Field::Columnas] = QStringLiteral("9");
    record[Field::FilaCentro] = QStringLiteral("1");
    record[Field::ColumnaCentro] = QStringLiteral("4");
    return record;
}

std::optional<Refusal> storeSubject(const QSqlDatabase &db, const SubjectRecord &original,
                                    const SubjectRecord &edited) {
    QVariantList values;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        Parsed parsed = parse(fieldAt(i), edited.texts[i], original.texts[i]);
        if (parsed.refusal) {
            return parsed.refusal;
        }
        values << parsed.value;
    }
    values << edited.ciego;
    const int id = values.first().toInt();
    const bool isNew = original.storedId == -1;

    // An existing subject being recorded at another station is not changed under it.
    const SubjectLock subject = isNew ? SubjectLock() : SubjectLock(db, original.storedId);
    Transaction transaction(db);
    if (id != original.storedId && exists(db, QStringLiteral("SELECT ID FROM paciente WHERE ID = ?"), id)) {
        return refuse(Field::ID, QCoreApplication::translate("SubjectStore",
                                                             "another subject already has the identifier %1.")
                                     .arg(id));
    }
    // The points refer to their subject by ID, so a subject with points keeps its ID.
    if (!isNew && id != original.storedId &&
        exists(db, QStringLiteral("SELECT ID FROM puntoestimulacion WHERE Id_paciente = ? LIMIT 1"),
               original.storedId)) {
        return refuse(Field::ID,
                      QCoreApplication::translate("SubjectStore",
                                                  "the subject's stimulation points are recorded under the "
                                                  "identifier %1, so it cannot be changed.")
                          .arg(original.storedId));
    }

    QString sql;
    if (isNew) {
        const QStringList marks(static_cast<qsizetype>(values.size()), QStringLiteral("?"));
        sql = QStringLiteral("INSERT INTO paciente (%1, Ciego) VALUES (%2)")
                  .arg(columnList(), marks.join(QStringLiteral(", ")));
    } else {
        QStringList assignments;
        for (const FieldInfo &field : Fields) {
            assignments << QLatin1String(field.column) + QStringLiteral(" = ?");
        }
        sql = QStringLiteral("UPDATE paciente SET %1, Ciego = ? WHERE ID = ?")
                  .arg(assignments.join(QStringLiteral(", ")));
        values << original.storedId;
    }
    QSqlQuery query =
        run(db, sql, values, QCoreApplication::translate("SubjectStore", "Cannot store the subject"));
    if (query.numRowsAffected() != 1) {
        throw StudyError(
            QCoreApplication::translate("SubjectStore", "The subject %1 is no longer in the study.")
                .arg(original.storedId));
    }
    query.finish();
    transaction.commit();
    return std::nullopt;
}

QString entryText(const QVariant &nombre, const QVariant &apellido1, const QVariant &apellido2) {
    QString text = nombre.isNull() ? QString() : nombre.toString();
    for (const QVariant &apellido : {apellido1, apellido2}) {
        if (!apellido.isNull()) {
            text += QLatin1Char(' ') + apellido.toString();
        }
    }
    return text;
}

QList<SubjectEntry> subjectEntries(const QSqlDatabase &db) {
    QSqlQuery query =
        run(db, QStringLiteral("select Nombre,Apellido1,Apellido2,id from paciente Order by ID"), {},
            readError());
    QList<SubjectEntry> entries;
    while (query.next()) {
        entries << SubjectEntry{Query::integer(query.value(3), "paciente", "ID"),
                                entryText(query.value(0), query.value(1), query.value(2))};
    }
    Query::finished(query);
    return entries;
}

std::optional<SubjectGrid> subjectGrid(const QSqlDatabase &db, int id) {
    QSqlQuery query = run(
        db, QStringLiteral("SELECT Filas, Columnas, FilaCentro, ColumnaCentro FROM paciente WHERE ID = ?"),
        {id}, readError());
    if (!query.next()) {
        return std::nullopt;
    }
    // The grid's sizes and centre are 16-bit numbers everywhere they are used: refused, not wrapped.
    return SubjectGrid{Query::integer<qint16>(query.value(0), "paciente", "Filas"),
                       Query::integer<qint16>(query.value(1), "paciente", "Columnas"),
                       Query::integer<qint16>(query.value(2), "paciente", "FilaCentro"),
                       Query::integer<qint16>(query.value(3), "paciente", "ColumnaCentro")};
}

} // namespace SubjectStore
