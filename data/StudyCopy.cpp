#include "data/StudyCopy.h"

#include "data/Query.h"
#include "data/ServerStudy.h"
#include "data/StoredValue.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>

namespace StudyCopy {

namespace {

using StoredValue::Kind;
using StoredValue::Table;
using StoredValue::Value;

// A number as its shortest text that reads back as the same double.
QString shortest(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The number an as-entered text stands for when it is exactly that number's own spelling ("34",
// "1.63", "1e+20"; not " 7", "007", "+5" nor "1e999"): a server keeps the numbers of those columns as
// such text. Any other text stays text.
std::optional<QVariant> writtenNumber(const QByteArray &bytes) {
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
    const QString text = QString::fromUtf8(bytes);
    bool ok = false;
    if (whole.match(text).hasMatch()) {
        const qlonglong n = text.toLongLong(&ok);
        if (ok && QString::number(n) == text) {
            return QVariant(n);
        }
    }
    const double d = text.toDouble(&ok);
    return ok && std::isfinite(d) && shortest(d) == text ? std::optional<QVariant>(QVariant(d))
                                                         : std::nullopt;
}

// Text that a study file's numeric column would store as a number (SQLite's affinity: a decimal
// literal, blanks around it allowed), so that it would not read back as the text it is.
bool fileTakesAsNumber(const QString &text) {
    static const QRegularExpression numeric(
        QStringLiteral("^\\s*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?\\s*$"));
    return numeric.match(text).hasMatch();
}

// A value as both engines' copies of it read the same, from the bytes and type stored: a file keeps
// dates as text and booleans as 0/1, a server its as-entered numbers as text.
QByteArray canonical(const Value &v, Kind kind) {
    const auto number = [](const QVariant &n) {
        if (n.typeId() == QMetaType::LongLong) {
            return QByteArray("N") + QByteArray::number(n.toLongLong());
        }
        const double d = n.toDouble();
        if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) {
            return QByteArray("N") + QByteArray::number(qint64(d));
        }
        return QByteArray("N") + shortest(d).toLatin1();
    };
    switch (v.type) {
    case Value::Null:
        return QByteArrayLiteral("\\N");
    case Value::Integer:
        if (kind == Kind::Real) { // a file may hold a whole number in a REAL column as an integer
            return QByteArray("R") + shortest(double(v.integer)).toLatin1();
        }
        return kind == Kind::Entered ? number(QVariant(qlonglong(v.integer)))
                                     : QByteArray("I") + QByteArray::number(v.integer);
    case Value::Real:
        return kind == Kind::Entered ? number(QVariant(v.real))
                                     : QByteArray("R") + shortest(v.real).toLatin1();
    case Value::Text:
        if (kind == Kind::Entered) {
            if (const auto n = writtenNumber(v.bytes)) {
                return number(*n);
            }
        }
        return QByteArray("T") + v.bytes;
    case Value::Blob:
        return QByteArray("B") + v.bytes;
    }
    return {};
}

// Why the target cannot hold a value exactly.
struct Refused {
    QString why;
};

// A text value as a QString; Refused when it is not UTF-8, or (for a server) holds a NUL.
QString textOf(const Value &v, bool server) {
    if (!StoredValue::isUtf8(v.bytes)) {
        throw Refused{QCoreApplication::translate("StudyCopy", "the text \"%1\" is not valid UTF-8")
                          .arg(StoredValue::shown(v.bytes))};
    }
    QString text = QString::fromUtf8(v.bytes);
    if (text.isNull()) {
        text = QStringLiteral(""); // "" stays "": a null string would be bound as null
    }
    if (server && v.bytes.contains('\0')) {
        throw Refused{QCoreApplication::translate(
                          "StudyCopy", "the text \"%1\" holds a NUL character, which a server cannot store")
                          .arg(StoredValue::shown(v.bytes))};
    }
    return text;
}

// A value not null into a file of the same schema: the same type and content.
QVariant forFile(const Value &v, Kind kind, const QString &text) {
    switch (v.type) {
    case Value::Integer:
        return qlonglong(v.integer);
    case Value::Real:
        return v.real;
    case Value::Text:
        if (kind == Kind::Entered) {
            if (const auto n = writtenNumber(v.bytes)) {
                return *n;
            }
            if (fileTakesAsNumber(text)) {
                throw Refused{QCoreApplication::translate(
                                  "StudyCopy", "the text \"%1\" would be read back from a study file as a "
                                               "number, not as the text it is")
                                  .arg(StoredValue::shown(v.bytes))};
            }
        }
        return text;
    default:
        return v.bytes;
    }
}

// A value not null, not text, into a server's whole-number column of this kind, within what it holds.
qlonglong wholeForServer(const Value &v, Kind kind) {
    if (v.type == Value::Real) {
        throw Refused{
            QCoreApplication::translate("StudyCopy", "%1 is not a whole number").arg(shortest(v.real))};
    }
    const qint64 lowest = kind == Kind::Tiny    ? 0
                          : kind == Kind::Small ? std::numeric_limits<qint16>::min()
                                                : std::numeric_limits<qint32>::min();
    const qint64 highest = kind == Kind::Tiny    ? 255
                           : kind == Kind::Small ? std::numeric_limits<qint16>::max()
                                                 : std::numeric_limits<qint32>::max();
    if (v.integer < lowest || v.integer > highest) {
        throw Refused{
            QCoreApplication::translate("StudyCopy", "%1 is beyond what the server keeps there (%2 to %3)")
                .arg(v.integer)
                .arg(lowest)
                .arg(highest)};
    }
    return qlonglong(v.integer);
}

// A value not null into a server's column of this kind, which holds typed values.
QVariant forServer(const Value &v, Kind kind, const QString &text) {
    if (v.type == Value::Blob) {
        throw Refused{QCoreApplication::translate(
            "StudyCopy", "it holds binary data, which the server keeps nowhere there")};
    }
    switch (kind) {
    case Kind::Text:
        if (v.type != Value::Text) {
            throw Refused{QCoreApplication::translate("StudyCopy", "%1 is a number where text belongs")
                              .arg(v.type == Value::Integer ? QString::number(v.integer) : shortest(v.real))};
        }
        return text;
    case Kind::Entered:
        return v.type == Value::Integer ? QString::number(v.integer)
               : v.type == Value::Real  ? shortest(v.real)
                                        : text;
    case Kind::DateTime:
        if (v.type != Value::Text || QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) != text) {
            throw Refused{QCoreApplication::translate(
                              "StudyCopy", "\"%1\" is not a date and time written yyyy-MM-dd HH:mm:ss")
                              .arg(v.type == Value::Text      ? StoredValue::shown(v.bytes)
                                   : v.type == Value::Integer ? QString::number(v.integer)
                                                              : shortest(v.real))};
        }
        return text;
    case Kind::Boolean:
        if (v.type != Value::Integer || (v.integer != 0 && v.integer != 1)) {
            throw Refused{QCoreApplication::translate("StudyCopy", "\"%1\" is neither 0 nor 1")
                              .arg(v.type == Value::Integer ? QString::number(v.integer)
                                   : v.type == Value::Real  ? shortest(v.real)
                                                            : StoredValue::shown(v.bytes))};
        }
        return v.integer == 1;
    case Kind::Real:
        if (v.type == Value::Text) {
            throw Refused{
                QCoreApplication::translate("StudyCopy", "\"%1\" is text where the server keeps a number")
                    .arg(StoredValue::shown(v.bytes))};
        }
        return v.type == Value::Integer ? double(v.integer) : v.real;
    default:
        break;
    }
    // A whole number within what the server's column holds.
    if (v.type == Value::Text) {
        throw Refused{
            QCoreApplication::translate("StudyCopy", "\"%1\" is text where the server keeps a whole number")
                .arg(StoredValue::shown(v.bytes))};
    }
    return wholeForServer(v, kind);
}

// A value as the target engine stores it; Refused when it cannot hold it exactly.
QVariant forTarget(const Value &v, Kind kind, bool server) {
    if (v.type == Value::Null) {
        return QVariant();
    }
    const QString text = v.type == Value::Text ? textOf(v, server) : QString();
    return server ? forServer(v, kind, text) : forFile(v, kind, text);
}

// Every value of the source as the target will hold it, row by row; a value it cannot hold stops
// with the table, row and column named.
class Rows {
public:
    Rows(const QSqlDatabase &db, const Table &t, bool server)
        : m_reader(db, t), m_table(t), m_server(server) {}
    bool next(QVariantList &values) {
        if (!m_reader.next()) {
            return false;
        }
        values.clear();
        for (int i = 0; i < m_table.columns.size(); ++i) {
            try {
                values << forTarget(m_reader.value(i), m_table.columns[i].kind, m_server);
            } catch (const Refused &r) {
                throw StudyError(
                    QCoreApplication::translate("StudyCopy",
                                                "Nothing was copied: in the table %1, row %2, column %3, %4.")
                        .arg(QString::fromLatin1(m_table.name), m_reader.key(),
                             QString::fromLatin1(m_table.columns[i].name), r.why));
            }
        }
        return true;
    }

private:
    StoredValue::Reader m_reader;
    const Table &m_table;
    bool m_server;
};

struct Opened {
    QSqlDatabase db;
    explicit Opened(const QString &location) {
        Study::Opened o = Study::open(location);
        if (!o.ok()) {
            throw StudyError(QCoreApplication::translate("StudyCopy", "Cannot open %1: %2")
                                 .arg(ServerStudy::shownLocation(location), o.error));
        }
        db = o.db;
    }
    ~Opened() { Study::close(db); }
    Opened(const Opened &) = delete;
    Opened &operator=(const Opened &) = delete;
};

// Writes every row into the target's new tables, inside the caller's transaction, and compares what
// the target now stores with the source, table by table.
std::map<QString, TableSum> copyRows(const QSqlDatabase &from, const QSqlDatabase &to, bool server,
                                     const Progress &progress) {
    for (const Table &t : StoredValue::tables()) {
        QSqlQuery insert(to);
        const QStringList marks(t.columns.size(), QStringLiteral("?"));
        if (!insert.prepare(
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(QString::fromLatin1(t.name), t.columnList(), marks.join(QStringLiteral(", "))))) {
            throw StudyError(QCoreApplication::translate("StudyCopy", "Cannot copy into the table %1")
                                 .arg(QString::fromLatin1(t.name)),
                             insert.lastError());
        }
        Rows rows(from, t, server);
        QVariantList values;
        qint64 n = 0;
        while (rows.next(values)) {
            for (int i = 0; i < values.size(); ++i) {
                insert.bindValue(i, values[i]);
            }
            if (!insert.exec()) {
                throw StudyError(QCoreApplication::translate("StudyCopy", "Cannot copy into the table %1")
                                     .arg(QString::fromLatin1(t.name)),
                                 insert.lastError());
            }
            ++n;
        }
        if (progress) {
            progress(QString::fromLatin1(t.name), n);
        }
    }
    const auto before = summary(from);
    const auto after = summary(to);
    for (const auto &[name, sum] : before) {
        const TableSum &copied = after.at(name);
        if (!(copied == sum)) {
            throw StudyError(
                QCoreApplication::translate(
                    "StudyCopy", "The copy of the table %1 differs from the original (%2 rows against %3)")
                    .arg(name)
                    .arg(copied.rows)
                    .arg(sum.rows));
        }
    }
    return after;
}

// Into an empty server database: the tables and every row in one transaction, so a failure leaves
// the database as it was.
std::map<QString, TableSum> copyToServer(const QSqlDatabase &from, const QString &target,
                                         const Progress &progress) {
    const QString shown = ServerStudy::shownLocation(target);
    ServerStudy::Connection c = ServerStudy::connect(target);
    if (!c.error.isEmpty()) {
        throw StudyError(
            QCoreApplication::translate("StudyCopy", "Cannot copy into %1: %2").arg(shown, c.error));
    }
    struct Closer {
        QSqlDatabase &db;
        ~Closer() { Study::close(db); }
    } closer{c.db};
    bool hasTables = false;
    try {
        hasTables = !ServerStudy::tableNames(c.db).isEmpty();
    } catch (const StudyError &e) {
        throw StudyError(
            QCoreApplication::translate("StudyCopy", "Cannot copy into %1: %2").arg(shown, e.message()));
    }
    if (hasTables) {
        throw StudyError(QCoreApplication::translate(
                             "StudyCopy",
                             "Cannot copy into %1: the database already has tables; a copy goes into an "
                             "empty database.")
                             .arg(shown));
    }
    Transaction transaction(c.db);
    Study::createTables(c.db);
    const auto sums = copyRows(from, c.db, true, progress);
    transaction.commit();
    return sums;
}

// Into a new file: made under a working name and put in place only when complete and checked.
std::map<QString, TableSum> copyToFile(const QSqlDatabase &from, const QString &target,
                                       const Progress &progress) {
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink()) {
        throw StudyError(QCoreApplication::translate(
                             "StudyCopy", "%1 already exists; a copy is never written over a file.")
                             .arg(target));
    }
    std::map<QString, TableSum> sums;
    Study::createFilled(target, QStringLiteral("copying"), [&](QSqlDatabase &db) {
        Transaction transaction(db);
        sums = copyRows(from, db, false, progress);
        transaction.commit();
    });
    return sums;
}

} // namespace

std::map<QString, TableSum> summary(const QSqlDatabase &db) {
    std::map<QString, TableSum> sums;
    for (const Table &t : StoredValue::tables()) {
        StoredValue::Reader rows(db, t);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        TableSum sum;
        while (rows.next()) {
            for (int i = 0; i < t.columns.size(); ++i) {
                const QByteArray value = canonical(rows.value(i), t.columns[i].kind);
                hash.addData(QByteArray::number(value.size()) + ':' + value);
            }
            ++sum.rows;
        }
        sum.checksum = hash.result().toHex();
        sums[QString::fromLatin1(t.name)] = sum;
    }
    return sums;
}

Report copy(const QString &source, const QString &target, const Progress &progress) {
    Opened from(source);
    const bool server = ServerStudy::isLocation(target);
    // A table the program does not know would be left out of the copy: refused, naming it. The
    // backup identity stays with its study (a copy gets its own), a server's version table with its
    // server (the target is made at this version); the engine's own tables are its.
    QStringList unknown;
    for (const QString &name : ServerStudy::tableNames(from.db)) {
        const bool known =
            std::any_of(StoredValue::tables().begin(), StoredValue::tables().end(),
                        [&](const Table &t) { return name == QString::fromLatin1(t.name).toLower(); });
        if (!known && name != QLatin1String("study_identity") && name != QLatin1String("study_version") &&
            !name.startsWith(QLatin1String("sqlite_"))) {
            unknown << name;
        }
    }
    if (!unknown.isEmpty()) {
        throw StudyError(QCoreApplication::translate("StudyCopy",
                                                     "Nothing was copied: the table %1 is not part of a "
                                                     "ZoKorvane study, and a copy would leave it out.")
                             .arg(unknown.join(QStringLiteral(", "))));
    }
    // Every value is checked before anything is written: a value the target cannot hold exactly
    // stops the copy naming it.
    for (const Table &t : StoredValue::tables()) {
        Rows rows(from.db, t, server);
        QVariantList values;
        while (rows.next(values)) {
        }
    }
    Report report;
    report.tables = server ? copyToServer(from.db, target, progress) : copyToFile(from.db, target, progress);
    return report;
}

} // namespace StudyCopy
