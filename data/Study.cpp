#include "Study.h"

#include "StudyError.h"
#include "Transaction.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace Study {

namespace {

// SQLite primary result codes that the open path tells apart.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteNotADatabase = 26;

int primaryCode(const QSqlError &error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

QSqlDatabase newConnection(const QString &path) {
    static QAtomicInt counter;
    const QString name = QStringLiteral("zk-study-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    // Another holder of the lock means "in use": say so at once instead of waiting for it.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    return db;
}

const char *const SchemaStatements[] = {
    R"(CREATE TABLE paciente (
        ID INTEGER PRIMARY KEY,
        Nombre TEXT,
        Apellido1 TEXT,
        Apellido2 TEXT,
        Edad INTEGER,
        Altura REAL,
        Peso REAL,
        Observaciones TEXT,
        Filas INTEGER,
        Columnas INTEGER,
        FilaCentro INTEGER,
        ColumnaCentro INTEGER,
        Ciego BOOLEAN NOT NULL DEFAULT 0,
        RutaResonancias TEXT))",
    R"(CREATE TABLE puntoestimulacion (
        ID INTEGER PRIMARY KEY,
        Numero INTEGER,
        Id_paciente INTEGER,
        fila SMALLINT CHECK (fila BETWEEN -32768 AND 32767),
        columna SMALLINT CHECK (columna BETWEEN -32768 AND 32767),
        estado SMALLINT CHECK (estado BETWEEN -32768 AND 32767),
        n_on SMALLINT CHECK (n_on BETWEEN -32768 AND 32767),
        n_off SMALLINT CHECK (n_off BETWEEN -32768 AND 32767),
        n_dudas SMALLINT CHECK (n_dudas BETWEEN -32768 AND 32767),
        pasadas INTEGER))",
    R"(CREATE TABLE estimulo (
        id INTEGER PRIMARY KEY,
        id_puntoestimulo INTEGER,
        pasada SMALLINT CHECK (pasada BETWEEN -32768 AND 32767),
        color TEXT,
        intensidad SMALLINT CHECK (intensidad BETWEEN -32768 AND 32767),
        hayfosfeno SMALLINT CHECK (hayfosfeno BETWEEN -32768 AND 32767),
        observaciones TEXT,
        archivopuntos TEXT,
        orientacion SMALLINT CHECK (orientacion BETWEEN -32768 AND 32767),
        fecha DATETIME,
        TipoBobina TINYINT CHECK (TipoBobina BETWEEN 0 AND 255),
        PulsoTipo TINYINT CHECK (PulsoTipo BETWEEN 0 AND 255),
        NumeroPulsos INTEGER,
        PulsoFrecuencia INTEGER,
        PulsoIntensidad INTEGER,
        PulsoFase TINYINT CHECK (PulsoFase BETWEEN 0 AND 255)))",
    // A subject's points, and the largest point number of a subject, without a table scan.
    "CREATE INDEX puntoestimulacion_paciente ON puntoestimulacion (Id_paciente, Numero)",
    // The stimuli of a point.
    "CREATE INDEX estimulo_punto ON estimulo (id_puntoestimulo)",
};

} // namespace

const QStringList &tablas() {
    static const QStringList names = {QStringLiteral("paciente"), QStringLiteral("puntoestimulacion"),
                                      QStringLiteral("estimulo")};
    return names;
}

QStringList missingTables(const QSqlDatabase &db) {
    QStringList present;
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"))) {
        while (query.next()) {
            present << query.value(0).toString().toLower();
        }
    }
    QStringList missing;
    for (const QString &table : tablas()) {
        if (!present.contains(table)) {
            missing << table;
        }
    }
    return missing;
}

bool isAccessFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    // Jet 3 and Jet 4 files carry this signature at byte 4; ACE (.accdb) carries "Standard ACE DB".
    const QByteArray head = file.read(32);
    return head.size() >= 19 &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

QString drawingDirectory(const QString &studyPath) {
    const QFileInfo info(studyPath);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("_puntos");
}

Opened open(const QString &path) {
    Opened result;
    const QFileInfo info(path);
    if (path.isEmpty()) {
        result.error = QStringLiteral("No file was given.");
    } else if (!info.exists()) {
        result.error = QStringLiteral("The file does not exist.");
    } else if (info.isDir()) {
        result.error = QStringLiteral("It is a folder, not a data base file.");
    } else if (!info.isReadable()) {
        result.error = QStringLiteral("The file cannot be read (permission denied).");
    } else if (isAccessFile(path)) {
        result.error = QStringLiteral("It is a legacy Access data base (.mdb); it has to be imported first.");
    } else if (!info.isWritable()) {
        result.error = QStringLiteral("The file is read-only; experiments could not be stored in it.");
    } else if (!QFileInfo(info.absolutePath()).isWritable()) {
        result.error =
            QStringLiteral("Its folder is read-only; the data base engine needs to write beside the file.");
    }
    if (!result.ok()) {
        return result;
    }

    QSqlDatabase db = newConnection(info.absoluteFilePath());
    const auto fail = [&](const QString &reason) {
        result.error = reason;
        close(db);
        return result;
    };
    if (!db.open()) {
        return fail(QStringLiteral("The data base engine cannot open it: ") + db.lastError().text());
    }
    {
        QSqlQuery query(db);
        // Keep every lock once taken, then take the exclusive one now: from here until close()
        // no other connection can read or write the file.
        bool locked = query.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")) &&
                      query.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        if (locked && !query.exec(QStringLiteral("COMMIT"))) {
            locked = false;
        }
        if (!locked) {
            const QSqlError error = query.lastError();
            query.finish();
            switch (primaryCode(error)) {
            case SqliteBusy:
            case SqliteLocked:
                return fail(QStringLiteral("It is in use by another program. Close it there and try again."));
            case SqliteNotADatabase:
                return fail(QStringLiteral("It is not a ZoKorvane study (not an SQLite data base)."));
            default:
                return fail(QStringLiteral("The data base engine cannot open it: ") + error.text());
            }
        }
    }
    const QStringList missing = missingTables(db);
    if (!missing.isEmpty()) {
        return fail(QStringLiteral("It is not a ZoKorvane study: it has no table %1.")
                        .arg(missing.join(QStringLiteral(", no table "))));
    }
    result.db = db;
    return result;
}

void close(QSqlDatabase &db) {
    if (!db.isValid()) {
        return;
    }
    const QString name = db.connectionName();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

void create(const QString &path) {
    const QFileInfo info(path);
    if (path.isEmpty()) {
        throw StudyError(QStringLiteral("No file name was given for the new study."));
    }
    if (info.exists()) {
        throw StudyError(
            QStringLiteral("%1 already exists; a new study is never written over a file.").arg(path));
    }
    if (!info.dir().exists()) {
        throw StudyError(QStringLiteral("The folder %1 does not exist.").arg(info.absolutePath()));
    }
    QSqlDatabase db = newConnection(info.absoluteFilePath());
    QString error;
    if (!db.open()) {
        error = db.lastError().text();
    } else {
        try {
            Transaction transaction(db);
            QSqlQuery query(db);
            for (const char *statement : SchemaStatements) {
                if (!query.exec(QString::fromUtf8(statement))) {
                    throw StudyError(QStringLiteral("Cannot create the tables"), query.lastError());
                }
            }
            query.finish();
            transaction.commit();
        } catch (const StudyError &e) {
            error = e.message();
        }
    }
    close(db);
    if (!error.isEmpty()) {
        QFile::remove(info.absoluteFilePath());
        QFile::remove(info.absoluteFilePath() + QStringLiteral("-journal"));
        throw StudyError(QStringLiteral("Cannot create the study %1: %2").arg(path, error));
    }
}

} // namespace Study
