#include "data/LegacyImport.h"

#include "core/ConfinedRead.h"

#include "data/StoredValue.h"
#include "data/Study.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <QVariant>
#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

extern "C" {
#include <mdbtools.h>
}

namespace LegacyImport {

namespace {

constexpr qint64 Jet3PageSize = 2048;
constexpr qint64 Jet4PageSize = 4096;
constexpr int RowOffsetMask = 0x1fff; // row offsets on a data page carry flags in the top bits

struct MdbCloser {
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableFreer>;

QString fileName(const QString &path) {
    return QFileInfo(path).fileName();
}

// Checks what can be checked before libmdb reads the file: the signature, the Jet version and a
// minimal length. A copy cut short further on shows up as pages or rows that cannot be read.
void checkFile(const QString &mdbPath) {
    QFile file(mdbPath);
    if (!QFileInfo::exists(mdbPath)) {
        throw StudyError(QCoreApplication::translate("LegacyImport", "%1 does not exist.").arg(mdbPath));
    }
    // Only a regular file, looked at without blocking: a FIFO or a device would hang the read.
    if (const QString notRegular = ConfinedRead::notRegularFile(mdbPath); !notRegular.isEmpty()) {
        throw StudyError(
            QCoreApplication::translate("LegacyImport", "%1 cannot be read: %2").arg(mdbPath, notRegular));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw StudyError(QCoreApplication::translate("LegacyImport", "%1 cannot be read: %2")
                             .arg(mdbPath, file.errorString()));
    }
    const QByteArray head = file.read(24);
    if (head.size() < 24 || head.mid(4, 15) != "Standard Jet DB") {
        throw StudyError(QCoreApplication::translate("LegacyImport", "%1 is not an Access (Jet) data base.")
                             .arg(fileName(mdbPath)));
    }
    const quint8 version = quint8(head[20]);
    const qint64 page = version == 0 ? Jet3PageSize : Jet4PageSize;
    if (version > 1) {
        throw StudyError(QCoreApplication::translate(
                             "LegacyImport",
                             "%1 is an Access 2007 or later data base; only Jet 3 and Jet 4 (.mdb) "
                             "files can be imported.")
                             .arg(fileName(mdbPath)));
    }
    if (file.size() < 2 * page) {
        throw StudyError(QCoreApplication::translate(
                             "LegacyImport",
                             "%1 is damaged or truncated: it is shorter (%2 bytes) than the two pages "
                             "every Access data base starts with.")
                             .arg(fileName(mdbPath))
                             .arg(file.size()));
    }
}

// Jet dates are days since 1899-12-30; the fraction is the time of day, taken as positive even
// for days before that date.
QString jetDateText(double value) {
    const double days = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - days) * 86400.0);
    qint64 day = qint64(days);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += value < 0 ? -1 : 1;
    }
    const QDateTime when(QDate(1899, 12, 30).addDays(day), QTime(0, 0).addSecs(int(seconds)));
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A single-precision value as the shortest decimal that reads back as the same float (what
// Access shows), stored as the double of that decimal: 1.58f becomes 1.58, not 1.5800000429.
double singleAsDouble(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

QString declaredType(int mdbType) {
    switch (mdbType) {
    case MDB_BOOL:
        return QStringLiteral("BOOLEAN");
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return QStringLiteral("INTEGER");
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_NUMERIC:
        return QStringLiteral("REAL");
    case MDB_DATETIME:
        return QStringLiteral("DATETIME");
    case MDB_BINARY:
    case MDB_OLE:
        return QStringLiteral("BLOB");
    default:
        return QStringLiteral("TEXT");
    }
}

QString quoted(const QString &name) {
    return QLatin1Char('"') + QString(name).replace('"', "\"\"") + '"';
}

// One source table and the destination it is copied into.
struct TableCopy {
    QString destination;
    MdbCatalogEntry *entry = nullptr;
};

class Importer {
public:
    Importer(const QString &mdbPath, const Progress &progress) : m_mdbPath(mdbPath), m_progress(progress) {}

    Result run(QSqlDatabase &db) {
        checkFile(m_mdbPath);
        m_mdb.reset(mdb_open(QFile::encodeName(m_mdbPath).constData(), MDB_NOFLAGS));
        if (!m_mdb) {
            throw StudyError(
                QCoreApplication::translate("LegacyImport", "%1 cannot be read as an Access data base.")
                    .arg(fileName(m_mdbPath)));
        }
        const std::vector<TableCopy> tables = findTables();

        std::vector<TablePtr> defs;
        for (const TableCopy &copy : tables) {
            TablePtr table(mdb_read_table(copy.entry));
            if (!table || !mdb_read_columns(table.get())) {
                throw StudyError(
                    QCoreApplication::translate("LegacyImport", "The table %1 of %2 cannot be read.")
                        .arg(copy.destination, fileName(m_mdbPath)));
            }
            m_total += table->num_rows;
            defs.push_back(std::move(table));
        }

        Result result;
        Transaction transaction(db);
        int *counts[3] = {&result.subjects, &result.points, &result.stimuli};
        for (size_t i = 0; i < tables.size(); ++i) {
            *counts[i] = copyTable(db, defs[i].get(), tables[i].destination, result.inexact);
        }
        transaction.commit();
        return result;
    }

private:
    std::vector<TableCopy> findTables() {
        GPtrArray *catalog = mdb_read_catalog(m_mdb.get(), MDB_TABLE);
        if (!catalog) {
            throw StudyError(
                QCoreApplication::translate("LegacyImport",
                                            "The table list of %1 cannot be read; the file may be damaged.")
                    .arg(fileName(m_mdbPath)));
        }
        std::vector<TableCopy> found;
        QStringList missing;
        for (const QString &wanted : Study::tables()) {
            TableCopy copy{wanted, nullptr};
            for (guint i = 0; i < catalog->len; ++i) {
                auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, i));
                if (entry->object_type == MDB_TABLE &&
                    QString::fromUtf8(entry->object_name).compare(wanted, Qt::CaseInsensitive) == 0) {
                    copy.entry = entry;
                    break;
                }
            }
            if (copy.entry) {
                found.push_back(copy);
            } else {
                missing << wanted;
            }
        }
        if (!missing.isEmpty()) {
            throw StudyError(QCoreApplication::translate("LegacyImport",
                                                         "%1 is not a ZoKorvane study: it has no table %2.")
                                 .arg(fileName(m_mdbPath), missing.join(QStringLiteral(", no table "))));
        }
        return found;
    }

    // Maps each source column to a destination column, matching names regardless of case;
    // a source column the study does not know is added to it so that no recorded value is lost.
    QStringList destinationColumns(QSqlDatabase &db, MdbTableDef *table, const QString &destination) {
        const QSqlRecord record = db.record(destination);
        QStringList names;
        QSqlQuery query(db);
        for (guint c = 0; c < table->num_cols; ++c) {
            auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
            const QString source = QString::fromUtf8(col->name);
            const int index = record.indexOf(source);
            if (index >= 0) {
                names << record.fieldName(index);
                continue;
            }
            const QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                                    .arg(destination, quoted(source), declaredType(col->col_type));
            if (!query.exec(sql)) {
                throw StudyError(QCoreApplication::translate("LegacyImport", "Cannot add the column %1 to %2")
                                     .arg(source, destination),
                                 query.lastError());
            }
            names << source;
        }
        return names;
    }

    QVariant fieldValue(MdbTableDef *table, const MdbColumn *col, const MdbField &field, QString *why) {
        MdbHandle *mdb = m_mdb.get();
        if (col->col_type == MDB_BOOL) {
            return !field.is_null; // a yes/no value lives in the row's null mask: set bit = yes
        }
        if (field.is_null) {
            return QVariant();
        }
        const auto *raw = static_cast<const uchar *>(field.value);
        switch (col->col_type) {
        case MDB_BYTE:
            return int(raw[0]);
        case MDB_INT:
            return int(qFromLittleEndian<qint16>(raw));
        case MDB_LONGINT:
            return qFromLittleEndian<qint32>(raw);
        case MDB_FLOAT: {
            const quint32 bits = qFromLittleEndian<quint32>(raw);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return singleAsDouble(value);
        }
        case MDB_DOUBLE:
        case MDB_DATETIME: {
            const quint64 bits = qFromLittleEndian<quint64>(raw);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return col->col_type == MDB_DOUBLE ? QVariant(value) : QVariant(jetDateText(value));
        }
        case MDB_MONEY:
            return double(qFromLittleEndian<qint64>(raw)) / 10000.0;
        case MDB_BINARY:
            return QByteArray(reinterpret_cast<const char *>(raw), field.siz);
        case MDB_OLE:
            *why = QStringLiteral("OLE objects are not imported");
            return QVariant();
        default:
            break;
        }
        // Text, memo, numeric and replication ids: libmdb decodes them to UTF-8 text, reading a
        // memo's pages whole.
        char *text = mdb_col_to_string(mdb, mdb->pg_buf, field.start, col->col_type, field.siz);
        const QString value = text ? QString::fromUtf8(text) : QString();
        g_free(text);
        if (!text) {
            *why = QCoreApplication::translate("LegacyImport", "the value cannot be decoded");
            return QVariant();
        }
        if (col->col_type == MDB_NUMERIC) {
            bool ok = false;
            const double number = value.toDouble(&ok);
            return ok ? QVariant(number) : QVariant(value);
        }
        Q_UNUSED(table);
        return value.isNull() ? QString(QLatin1String("")) : value;
    }

    // The insert of a row of the destination's columns, prepared.
    static QSqlQuery prepareInsert(QSqlDatabase &db, const QString &destination, const QStringList &columns) {
        QStringList quotedColumns, marks;
        for (const QString &column : columns) {
            quotedColumns << quoted(column);
            marks << QStringLiteral("?");
        }
        QSqlQuery insert(db);
        if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(destination, quotedColumns.join(", "), marks.join(", ")))) {
            throw StudyError(
                QCoreApplication::translate("LegacyImport", "Cannot prepare the copy of %1").arg(destination),
                insert.lastError());
        }
        return insert;
    }

    // The values of the row just fetched, one per column (row is its number from 1, for messages); a
    // value that does not come over exactly is named in inexact.
    std::vector<QVariant> readRow(MdbTableDef *table, std::vector<MdbField> &fields,
                                  const QStringList &columns, const QString &destination, int row,
                                  QStringList &inexact) {
        // libmdb's bound columns cannot tell a null from "", so the row just fetched is
        // cracked again here: its fields carry the null mask and the raw values.
        int rowStart = 0;
        size_t rowSize = 0;
        if (mdb_find_row(m_mdb.get(), int(table->cur_row) - 1, &rowStart, &rowSize) != 0) {
            throw StudyError(QCoreApplication::translate(
                                 "LegacyImport", "Row %1 of %2 cannot be read; the file may be damaged.")
                                 .arg(row)
                                 .arg(destination));
        }
        std::fill(fields.begin(), fields.end(), MdbField{});
        const int count = mdb_crack_row(table, rowStart & RowOffsetMask, rowSize, fields.data());
        if (count < 0) {
            throw StudyError(QCoreApplication::translate("LegacyImport", "Row %1 of %2 is damaged.")
                                 .arg(row)
                                 .arg(destination));
        }
        std::vector<QVariant> values(columns.size());
        for (int f = 0; f < count && f < int(fields.size()); ++f) {
            const int colnum = fields[f].colnum;
            if (colnum < 0 || colnum >= int(values.size())) {
                continue;
            }
            auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, colnum));
            QString why;
            values[colnum] = fieldValue(table, col, fields[f], &why);
            if (!why.isEmpty()) {
                inexact << QStringLiteral("%1 row %2, %3: %4")
                               .arg(destination)
                               .arg(row)
                               .arg(columns[colnum], why);
            }
        }
        return values;
    }

    // Counts one row copied and tells the progress about 200 times over the import; throws when it
    // asks to cancel.
    void countRow() {
        ++m_done;
        const qint64 step = std::max<qint64>(1, m_total / 200);
        if (m_progress && (m_done % step == 0 || m_done == m_total) && !m_progress(m_done, m_total)) {
            throw StudyError(QCoreApplication::translate("LegacyImport", "The import was cancelled."));
        }
    }

    // Throws unless every row of the source was read and the destination holds them all.
    static void checkCopied(QSqlDatabase &db, MdbTableDef *table, const QString &destination, int copied) {
        if (copied != int(table->num_rows)) {
            throw StudyError(
                QCoreApplication::translate(
                    "LegacyImport", "Only %1 of the %2 rows of %3 could be read; the file may be damaged.")
                    .arg(copied)
                    .arg(table->num_rows)
                    .arg(destination));
        }
        QSqlQuery count(db);
        if (!count.exec(QStringLiteral("SELECT count(*) FROM %1").arg(destination)) || !count.next() ||
            count.value(0).toInt() != copied) {
            throw StudyError(QCoreApplication::translate(
                                 "LegacyImport", "The study does not hold every row of %1 after the copy.")
                                 .arg(destination));
        }
    }

    int copyTable(QSqlDatabase &db, MdbTableDef *table, const QString &destination, QStringList &inexact) {
        const QStringList columns = destinationColumns(db, table, destination);
        QSqlQuery insert = prepareInsert(db, destination, columns);
        // The subject's age, height and weight as typed: "1,63" is the number the subject form reads.
        std::vector<bool> entered(columns.size());
        for (int c = 0; c < columns.size(); ++c) {
            entered[c] = destination == QLatin1String("paciente") &&
                         StoredValue::enteredColumns().contains(columns[c], Qt::CaseInsensitive);
        }
        std::vector<MdbField> fields(table->num_cols);
        mdb_rewind_table(table);
        int copied = 0;
        while (mdb_fetch_row(table)) {
            const std::vector<QVariant> values =
                readRow(table, fields, columns, destination, copied + 1, inexact);
            for (int c = 0; c < int(values.size()); ++c) {
                insert.bindValue(c, entered[c] ? StoredValue::entered(values[c]) : values[c]);
            }
            if (!insert.exec()) {
                throw StudyError(QCoreApplication::translate("LegacyImport", "Row %1 of %2 cannot be stored")
                                     .arg(copied + 1)
                                     .arg(destination),
                                 insert.lastError());
            }
            ++copied;
            countRow();
        }
        checkCopied(db, table, destination, copied);
        return copied;
    }

    QString m_mdbPath;
    const Progress &m_progress;
    MdbPtr m_mdb;
    qint64 m_total = 0;
    qint64 m_done = 0;
};

} // namespace

QString studyPathFor(const QString &mdbPath) {
    const QFileInfo info(mdbPath);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".sqlite");
}

Result importMdb(const QString &mdbPath, const QString &studyPath, const Progress &progress) {
    if (QFileInfo::exists(studyPath)) {
        throw StudyError(
            QCoreApplication::translate("LegacyImport",
                                        "%1 already exists; an import never writes over an existing study.")
                .arg(studyPath));
    }
    Result result;
    Study::createFilled(studyPath, QStringLiteral("importing"), [&](QSqlDatabase &db) {
        Importer importer(mdbPath, progress);
        result = importer.run(db);
        // The drawings of the legacy folder come into the study; the folder is only read.
        Transaction transaction(db);
        const StudyDrawings::CopyReport drawings =
            StudyDrawings::copyFromFolder(db, Study::drawingDirectory(mdbPath));
        transaction.commit();
        result.drawings = drawings.copied;
        result.missingDrawings = drawings.missing + drawings.refused;
    });
    return result;
}

} // namespace LegacyImport
