#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

// The values of a study as its engine stores them, engine aside: each table's key and columns, the
// kind of each column, a value read as the bytes and type the engine holds (not as Qt would decode
// them: SQLite gives invalid UTF-8 back as U+FFFD), and the rules that tell whether another engine,
// or a text file, can hold a value exactly.
namespace StoredValue {

// What a column holds, as the schema declares it.
enum class Kind {
    Whole,    // INTEGER
    Small,    // SMALLINT
    Tiny,     // TINYINT (0 to 255)
    Boolean,  // 0 or 1
    Real,     // REAL, DOUBLE PRECISION
    Text,     // TEXT
    DateTime, // "yyyy-MM-dd HH:mm:ss"
    Entered,  // the subject's age, height and weight as typed: a number, or text kept as it is
};

struct Column {
    const char *name;
    Kind kind;
};

struct Table {
    const char *name;
    const char *key; // its first column, or first columns ("subject_id, cell")
    QList<Column> columns;
    QString columnList() const;
};

// The tables a study holds, in the order a copy writes them.
const QList<Table> &tables();

// A stored value: its type as the engine keeps it and its content.
struct Value {
    enum Type { Null, Integer, Real, Text, Blob } type = Null;
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes; // Text: UTF-8 as stored (not checked); Blob: as stored
    bool operator==(const Value &) const = default;
};

// The number a text stands for as the subject form reads it: a decimal point, or a decimal comma
// when the text has no point ("1,63" and "1.63" are 1.63); nothing when it is not a finite number.
std::optional<double> enteredNumber(const QString &text);

// A value of an as-entered column (Edad, Altura, Peso) as this version stores it: text that the
// subject form reads as a number written with a decimal comma becomes that number; anything else
// stays as it is.
QVariant entered(const QVariant &value);

// The as-entered columns of paciente.
const QStringList &enteredColumns();

// A time column as UTC: a file study keeps the text written ("yyyy-MM-dd HH:mm:ss"), a server a
// timestamp without zone. Invalid when the value is neither.
QDateTime utcTime(const QVariant &value);
// The text a time column is written with: the time in UTC as "yyyy-MM-dd HH:mm:ss".
QString utcText(const QDateTime &time);

// A text's bytes as a message shows them: valid UTF-8 as text, every other byte and control
// character as \xHH, cut after 60 characters.
QString shown(const QByteArray &bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or stray bytes).
bool isUtf8(const QByteArray &bytes);

// Reads every row of a table in key order, each value as stored. Throws StudyError.
class Reader {
public:
    Reader(const QSqlDatabase &db, const Table &table);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;
    bool next();
    const Value &value(int column) const { return m_values[column]; }
    // The row's key as messages name it ("ID 3", "subject_id 3, cell 7").
    QString key() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
    QList<Value> m_values;
};

// Throws StudyError naming the first text value of the study (table, row, column and the value) that
// is not well-formed UTF-8: it could be neither copied nor written out as it is stored.
void refuseInvalidText(const QSqlDatabase &db, const QString &what);

} // namespace StoredValue
