#include "data/StudyCopy.h"

#include "data/ServerStudy.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace StudyCopy {

namespace {

// The tables copied, each with its key and its columns in the order they are copied.
struct Table {
    const char *name;
    const char *key;
    QStringList columns;
};

const QList<Table> &copiedTables() {
    static const QList<Table> tables = {
        {"paciente",
         "ID",
         {"ID", "Nombre", "Apellido1", "Apellido2", "Edad", "Altura", "Peso", "Observaciones", "Filas",
          "Columnas", "FilaCentro", "ColumnaCentro", "Ciego", "RutaResonancias"}},
        {"puntoestimulacion",
         "ID",
         {"ID", "Numero", "Id_paciente", "fila", "columna", "estado", "n_on", "n_off", "n_dudas", "pasadas"}},
        {"estimulo",
         "id",
         {"id", "id_puntoestimulo", "pasada", "color", "intensidad", "hayfosfeno", "observaciones",
          "archivopuntos", "orientacion", "fecha", "TipoBobina", "PulsoTipo", "NumeroPulsos",
          "PulsoFrecuencia", "PulsoIntensidad", "PulsoFase"}},
        {"drawing", "stimulus_id", {"stimulus_id", "points"}},
        {"mr_calibration",
         "subject_id",
         {"subject_id", "series", "series_number", "fingerprint", "landmark1_x", "landmark1_y", "landmark1_z",
          "landmark2_x", "landmark2_y", "landmark2_z", "ilion_x", "ilion_y", "ilion_z", "distance",
          "interslice", "zero_frame", "accepted"}},
    };
    return tables;
}

// A value as both engines' copies of it read the same: a file keeps dates as text, a server as
// timestamps; a file keeps booleans as 0/1, a server as true/false.
QByteArray canonical(const QVariant &value, const QString &column) {
    if (value.isNull()) {
        return QByteArrayLiteral("\\N");
    }
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    }
    if (value.typeId() == QMetaType::Bool || column == QLatin1String("Ciego")) {
        return value.toBool() ? "1" : "0";
    }
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        return QByteArray::number(value.toDouble(), 'g', 17);
    }
    return value.toString().toUtf8();
}

// A value as the target engine stores it.
QVariant forTarget(const QVariant &value, const QString &column, bool server) {
    if (value.isNull()) {
        return value;
    }
    if (column == QLatin1String("Ciego")) {
        return value.toBool();
    }
    if (value.typeId() == QMetaType::QDateTime && !server) {
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return value;
}

QSqlQuery selectAll(const QSqlDatabase &db, const Table &t) {
    QSqlQuery query(db);
    query.setForwardOnly(!ServerStudy::isServer(db));
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                        .arg(t.columns.join(QStringLiteral(", ")), QString::fromLatin1(t.name),
                             QString::fromLatin1(t.key)))) {
        throw StudyError(QCoreApplication::translate("StudyCopy", "Cannot read the table %1")
                             .arg(QString::fromLatin1(t.name)),
                         query.lastError());
    }
    return query;
}

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
};

} // namespace

std::map<QString, TableSum> summary(const QSqlDatabase &db) {
    std::map<QString, TableSum> sums;
    for (const Table &t : copiedTables()) {
        QSqlQuery query = selectAll(db, t);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        TableSum sum;
        while (query.next()) {
            for (int i = 0; i < t.columns.size(); ++i) {
                const QByteArray value = canonical(query.value(i), t.columns[i]);
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
    Study::create(target);
    const bool targetIsFile = !ServerStudy::isLocation(target);
    Report report;
    try {
        Opened to(target);
        const bool server = ServerStudy::isServer(to.db);
        {
            Transaction transaction(to.db);
            for (const Table &t : copiedTables()) {
                QStringList marks;
                for (int i = 0; i < t.columns.size(); ++i) {
                    marks << QStringLiteral("?");
                }
                QSqlQuery insert(to.db);
                if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(QString::fromLatin1(t.name),
                                             t.columns.join(QStringLiteral(", ")),
                                             marks.join(QStringLiteral(", "))))) {
                    throw StudyError(QCoreApplication::translate("StudyCopy", "Cannot copy into the table %1")
                                         .arg(QString::fromLatin1(t.name)),
                                     insert.lastError());
                }
                QSqlQuery rows = selectAll(from.db, t);
                qint64 n = 0;
                while (rows.next()) {
                    for (int i = 0; i < t.columns.size(); ++i) {
                        insert.bindValue(i, forTarget(rows.value(i), t.columns[i], server));
                    }
                    if (!insert.exec()) {
                        throw StudyError(
                            QCoreApplication::translate("StudyCopy", "Cannot copy into the table %1")
                                .arg(QString::fromLatin1(t.name)),
                            insert.lastError());
                    }
                    ++n;
                }
                if (progress) {
                    progress(QString::fromLatin1(t.name), n);
                }
            }
            transaction.commit();
        }
        const auto before = summary(from.db);
        report.tables = summary(to.db);
        for (const auto &[name, sum] : before) {
            const TableSum &copied = report.tables[name];
            if (!(copied == sum)) {
                throw StudyError(QCoreApplication::translate(
                                     "StudyCopy",
                                     "The copy of the table %1 differs from the original (%2 rows against "
                                     "%3)")
                                     .arg(name)
                                     .arg(copied.rows)
                                     .arg(sum.rows));
            }
        }
    } catch (...) {
        if (targetIsFile) {
            QFile::remove(target);
        }
        throw;
    }
    return report;
}

} // namespace StudyCopy
