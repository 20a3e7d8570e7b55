#include "data/Study.h"

#include "core/AppState.h"
#include "core/ConfinedRead.h"
#include "data/ServerStudy.h"
#include "data/StoredValue.h"
#include "data/StudyBackup.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"
#include "data/Transaction.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

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

// The first bytes of every SQLite data base file.
bool isSqliteFile(const QString &path) {
    QFile file(path);
    return ConfinedRead::notRegularFile(path).isEmpty() && file.open(QIODevice::ReadOnly) &&
           file.read(16) == QByteArray("SQLite format 3\0", 16);
}

int userVersion(const QSqlDatabase &db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next() ? query.value(0).toInt() : -1;
}

// The tables of schema version 2: the subjects' MR calibrations. Runs inside the caller's
// transaction (a new study's schema, or the step from an earlier version).
void createVersion2Tables(QSqlDatabase &db) {
    QSqlQuery query(db);
    if (!query.exec(SubjectCalibration::createStatement(db))) {
        throw StudyError(QCoreApplication::translate("Study", "Cannot create the MR calibration table"),
                         query.lastError());
    }
}

// The tables of schema version 3: the subjects' normalisations to the template's space. Runs inside
// the caller's transaction.
void createVersion3Tables(QSqlDatabase &db) {
    QSqlQuery query(db);
    if (!query.exec(SubjectNormalisation::createStatement(db))) {
        throw StudyError(QCoreApplication::translate("Study", "Cannot create the normalisation table"),
                         query.lastError());
    }
}

// The tables of schema version 4: the aiming of the subjects' grid cells. Runs inside the caller's
// transaction.
void createVersion4Tables(QSqlDatabase &db) {
    QSqlQuery query(db);
    if (!query.exec(SubjectAiming::createStatement(db))) {
        throw StudyError(QCoreApplication::translate("Study", "Cannot create the aiming table"),
                         query.lastError());
    }
}

// Version 2: the subject's age, height and weight as typed. A legacy study holds what the operator
// typed with a decimal comma ("1,63") as text in those numeric columns; such text becomes the number
// the subject form reads in it, any other text ("unknown") stays. Returns how many values changed.
int migrateTo2(QSqlDatabase &db) {
    QSqlQuery rows(db);
    if (!rows.exec(QStringLiteral("SELECT rowid, Edad, Altura, Peso FROM paciente WHERE typeof(Edad) = "
                                  "'text' OR typeof(Altura) = 'text' OR typeof(Peso) = 'text'"))) {
        throw StudyError(QCoreApplication::translate("Study", "Cannot read the subjects"), rows.lastError());
    }
    QList<std::tuple<qint64, QString, double>> changes;
    while (rows.next()) {
        for (int i = 0; i < StoredValue::enteredColumns().size(); ++i) {
            const QVariant value = rows.value(i + 1);
            const QVariant number = StoredValue::entered(value);
            if (number.typeId() == QMetaType::Double && value.typeId() == QMetaType::QString) {
                changes.append(
                    {rows.value(0).toLongLong(), StoredValue::enteredColumns()[i], number.toDouble()});
            }
        }
    }
    rows.finish();
    QSqlQuery update(db);
    for (const auto &[row, column, number] : changes) {
        const bool prepared =
            update.prepare(QStringLiteral("UPDATE paciente SET %1 = ? WHERE rowid = ?").arg(column));
        update.addBindValue(number);
        update.addBindValue(row);
        if (!prepared || !update.exec()) {
            throw StudyError(QCoreApplication::translate("Study", "Cannot store the subjects"),
                             update.lastError());
        }
    }
    return int(changes.size());
}

// Version 2 on a server: the subject's age, height and weight become text columns, each number kept
// as PostgreSQL writes it (the shortest text that reads back as the same value), so what was typed
// that is not a number can be held too. Runs inside the caller's transaction.
void migrateServerTo2(QSqlDatabase &db) {
    createVersion2Tables(db);
    QSqlQuery query(db);
    for (const QString &statement :
         {QStringLiteral("ALTER TABLE paciente ALTER COLUMN Edad TYPE TEXT, ALTER COLUMN Altura TYPE TEXT, "
                         "ALTER COLUMN Peso TYPE TEXT"),
          QStringLiteral("UPDATE study_version SET version = 2")}) {
        if (!query.exec(statement)) {
            throw StudyError(QCoreApplication::translate("Study", "Cannot store the subjects"),
                             query.lastError());
        }
    }
}

// Version 3 or 4 on a server: the normalisation table, the aiming table. Runs inside the caller's
// transaction.
void migrateServerTo(QSqlDatabase &db, int version) {
    if (version == 3) {
        createVersion3Tables(db);
    } else {
        createVersion4Tables(db);
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("UPDATE study_version SET version = %1").arg(version))) {
        throw StudyError(QCoreApplication::translate("Study", "Cannot set the study's version"),
                         query.lastError());
    }
}

// The name of the backup a migration writes beside the study: "<base>.before-version-N.sqlite", with
// "-2", "-3"... added until it is a name nothing has yet, not even a dangling link.
QString freeBackupName(const QFileInfo &info) {
    QString backup = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
                     QStringLiteral(".before-version-%1.sqlite").arg(CurrentVersion);
    const auto taken = [](const QString &name) {
        struct stat status;
        return ::lstat(QFile::encodeName(name).constData(), &status) == 0;
    };
    for (int n = 2; taken(backup); ++n) {
        backup = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
                 QStringLiteral(".before-version-%1-%2.sqlite").arg(CurrentVersion).arg(n);
    }
    return backup;
}

// The step from version 0, inside the migration's transaction: the drawings table, and the drawings
// the rows name copied in from the folder beside the study (left as it was). Returns the notes.
QStringList drawingsIntoStudy(QSqlDatabase &db, const QString &path) {
    QSqlQuery create(db);
    if (!create.exec(StudyDrawings::createStatement())) {
        throw StudyError(QCoreApplication::translate("Study", "Cannot create the drawings table"),
                         create.lastError());
    }
    const StudyDrawings::CopyReport copied = StudyDrawings::copyFromFolder(db, drawingDirectory(path));
    QStringList notes;
    notes << QCoreApplication::translate(
                 "Study", "%1 drawings were copied into the study from %2, which is left as it was.")
                 .arg(copied.copied)
                 .arg(drawingDirectory(path));
    if (!copied.missing.isEmpty()) {
        notes << QCoreApplication::translate("Study", "%1 drawings named by stimuli were missing: %2")
                     .arg(copied.missing.size())
                     .arg(copied.missing.join(QStringLiteral(", ")));
    }
    if (!copied.refused.isEmpty()) {
        notes << QCoreApplication::translate("Study", "%1 drawings were not copied: %2")
                     .arg(copied.refused.size())
                     .arg(copied.refused.join(QStringLiteral("; ")));
    }
    return notes;
}

// Brings a study of an earlier version up to this one: a backup copy of the study is written first,
// then every step from its version on runs, and the version is set, in one transaction. Version 0
// kept its drawings as files in the folder beside it: the drawings the rows name are copied into the
// study (the folder is left as it was). Version 1 had no MR calibrations, and kept the ages, heights
// and weights typed with a decimal comma as text. Version 2 had no normalisations, version 3 no aiming.
QString migrate(QSqlDatabase &db, const QString &path, int from, QStringList &notes) {
    const QString backup = freeBackupName(QFileInfo(path));
    // Written as every backup is: under a hidden name, renamed once whole, with the study's
    // permissions; what a killed run left under the hidden name is cleared first.
    try {
        StudyBackup::write(db, backup);
    } catch (const StudyError &e) {
        return QCoreApplication::translate("Study",
                                           "It was made by an earlier version and has to be brought up to "
                                           "date, but the backup copy %1 cannot be written: %2")
            .arg(backup, e.message());
    }
    try {
        Transaction transaction(db);
        QSqlQuery create(db);
        QStringList stepNotes;
        if (from < 1) {
            stepNotes << drawingsIntoStudy(db, path);
        }
        if (from < 2) {
            createVersion2Tables(db);
            const int numbers = migrateTo2(db);
            if (numbers > 0) {
                stepNotes << QCoreApplication::translate(
                                 "Study",
                                 "%1 ages, heights or weights typed with a decimal comma now read as "
                                 "numbers.")
                                 .arg(numbers);
            }
        }
        if (from < 3) {
            createVersion3Tables(db);
        }
        if (from < 4) {
            createVersion4Tables(db);
        }
        if (!create.exec(QStringLiteral("PRAGMA user_version = %1").arg(CurrentVersion))) {
            throw StudyError(QCoreApplication::translate("Study", "Cannot set the study's version"),
                             create.lastError());
        }
        create.finish();
        transaction.commit();
        notes << QCoreApplication::translate("Study",
                                             "The study was made by an earlier version and has been brought "
                                             "up to date; a copy of it as it was is %1.")
                     .arg(backup);
        notes << stepNotes;
    } catch (const StudyError &e) {
        QFile::remove(backup);
        return QCoreApplication::translate(
                   "Study", "It was made by an earlier version and could not be brought up to date: ") +
               e.message();
    }
    return {};
}

} // namespace

// A name beside the target for a file being made, with this process's id, so a leftover of a killed
// process can be told from the work of a running one.
QString workingName(const QFileInfo &target, const QString &what) {
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') + what +
           QLatin1Char('-') + QString::number(::getpid());
}

// Removes what a killed process left while making the target (its working files, journal included).
void removeLeftovers(const QFileInfo &target, const QString &what) {
    const QString prefix =
        QStringLiteral(".") + target.fileName() + QLatin1Char('.') + what + QLatin1Char('-');
    QDir dir(target.absolutePath());
    // Matched by exact prefix, not a pattern: a study's name may hold "[", "*" or "?".
    for (const QString &name :
         dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(prefix)) {
            continue;
        }
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
        if (ok && pid > 0 && (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)) {
            if (!dir.remove(name)) {
                QDir(dir.filePath(name)).removeRecursively();
            }
        }
    }
}

const QStringList &tables() {
    static const QStringList names = {QStringLiteral("paciente"), QStringLiteral("puntoestimulacion"),
                                      QStringLiteral("estimulo")};
    return names;
}

QStringList missingTables(const QSqlDatabase &db) {
    const QStringList present = ServerStudy::tableNames(db);
    QStringList missing;
    for (const QString &table : tables()) {
        if (!present.contains(table)) {
            missing << table;
        }
    }
    return missing;
}

bool isAccessFile(const QString &path) {
    QFile file(path);
    if (!ConfinedRead::notRegularFile(path).isEmpty() || !file.open(QIODevice::ReadOnly)) {
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

namespace {

// Why the study cannot be used for lack of the system's tables: the tables it lacks, or why they
// cannot be read; "" when it has them all.
QString tablesRefusal(const QSqlDatabase &db) {
    try {
        const QStringList missing = missingTables(db);
        if (missing.isEmpty()) {
            return {};
        }
        return QCoreApplication::translate("Study", "It is not a ZoKorvane study: it has no table %1.")
            .arg(missing.join(QStringLiteral(", no table ")));
    } catch (const StudyError &e) {
        return e.message();
    }
}

// A server study: reached through libpq, shared with other stations (no exclusive lock). One of
// version 1 is brought up to date in one transaction (the server keeps its own backups).
Opened openServer(const QString &uri, const QString &password) {
    Opened result;
    ServerStudy::Connection c = ServerStudy::connect(uri, password);
    if (!c.error.isEmpty()) {
        result.error = c.error;
        result.passwordNeeded = c.passwordNeeded;
        return result;
    }
    const auto fail = [&](const QString &reason) {
        result.error = reason;
        close(c.db);
        return result;
    };
    if (const QString refused = tablesRefusal(c.db); !refused.isEmpty()) {
        return fail(refused);
    }
    int version = ServerStudy::version(c.db);
    if (version >= 1 && version < CurrentVersion) {
        try {
            Transaction transaction(c.db);
            // Under the writers' lock: another station may have brought it up to date meanwhile.
            const int now = ServerStudy::version(c.db);
            if (now == 1) {
                migrateServerTo2(c.db);
            }
            if (now == 1 || now == 2) {
                migrateServerTo(c.db, 3);
            }
            if (now >= 1 && now <= 3) {
                migrateServerTo(c.db, 4);
                result.notes << QCoreApplication::translate(
                    "Study", "The study was made by an earlier version and has been brought up to date.");
            }
            transaction.commit();
            version = ServerStudy::version(c.db);
        } catch (const StudyError &e) {
            return fail(
                QCoreApplication::translate(
                    "Study", "It was made by an earlier version and could not be brought up to date: ") +
                e.message());
        }
    }
    if (version != CurrentVersion) {
        return fail(QCoreApplication::translate(
                        "Study", "Its study version is %1; this version of ZoKorvane works on version %2.")
                        .arg(version)
                        .arg(CurrentVersion));
    }
    result.readOnly = ServerStudy::readOnlyReason(c.db).value_or(QString());
    result.db = c.db;
    return result;
}

} // namespace

namespace {

// Why the file cannot be opened as a study, "" when it can be tried. Nothing but a regular file is
// opened, and that is found before any byte is read: a FIFO (or a link to one) would hang the open.
QString fileRefusal(const QString &path, const QFileInfo &info) {
    if (path.isEmpty()) {
        return QCoreApplication::translate("Study", "No file was given.");
    }
    if (!info.exists()) {
        return QCoreApplication::translate("Study", "The file does not exist.");
    }
    if (info.isDir()) {
        return QCoreApplication::translate("Study", "It is a folder, not a data base file.");
    }
    if (!info.isReadable()) {
        return QCoreApplication::translate("Study", "The file cannot be read (permission denied).");
    }
    if (!info.isFile() || !ConfinedRead::notRegularFile(path).isEmpty()) {
        return QCoreApplication::translate("Study", "It is not a regular file.");
    }
    if (isAccessFile(path)) {
        return QCoreApplication::translate(
            "Study", "It is a legacy Access data base (.mdb); it has to be imported first.");
    }
    if (!info.isWritable()) {
        return QCoreApplication::translate("Study",
                                           "The file is read-only; experiments could not be stored in it.");
    }
    if (!QFileInfo(info.absolutePath()).isWritable()) {
        return QCoreApplication::translate(
            "Study", "Its folder is read-only; the data base engine needs to write beside the file.");
    }
    if (info.size() == 0) {
        return QCoreApplication::translate("Study", "The file is empty; it is not a ZoKorvane study.");
    }
    if (!isSqliteFile(path)) {
        return QCoreApplication::translate("Study", "It is not a ZoKorvane study (not an SQLite data base).");
    }
    return QString();
}

// Takes the exclusive lock and keeps it until the connection closes: "" or why it cannot be taken.
QString lockExclusively(const QSqlDatabase &db) {
    QSqlQuery query(db);
    bool locked = query.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")) &&
                  query.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    if (locked && !query.exec(QStringLiteral("COMMIT"))) {
        locked = false;
    }
    if (locked) {
        return QString();
    }
    const QSqlError error = query.lastError();
    query.finish();
    switch (primaryCode(error)) {
    case SqliteBusy:
    case SqliteLocked:
        return QCoreApplication::translate("Study",
                                           "It is in use by another program. Close it there and try again.");
    case SqliteNotADatabase:
        return QCoreApplication::translate("Study", "It is not a ZoKorvane study (not an SQLite data base).");
    default:
        return QCoreApplication::translate("Study", "The data base engine cannot open it: ") + error.text();
    }
}

// Why the open study cannot be used as it stands (tables missing, a newer version), after bringing
// an earlier version up to date: "" when it can.
QString checkSchema(QSqlDatabase &db, const QString &path, QStringList &notes) {
    if (const QString refused = tablesRefusal(db); !refused.isEmpty()) {
        return refused;
    }
    const int version = userVersion(db);
    if (version > CurrentVersion) {
        return QCoreApplication::translate(
                   "Study", "It was made by a newer version of ZoKorvane (study version %1); this one "
                            "reads versions up to %2.")
            .arg(version)
            .arg(CurrentVersion);
    }
    return version < CurrentVersion ? migrate(db, path, version, notes) : QString();
}

} // namespace

Opened open(const QString &path, const QString &password) {
    if (ServerStudy::isLocation(path)) {
        Opened result = openServer(path, password);
        result.error = ServerStudy::withoutSecrets(result.error, path, password);
        return result;
    }
    Opened result;
    const QFileInfo info(path);
    result.error = fileRefusal(path, info);
    if (!result.ok()) {
        return result;
    }
    QSqlDatabase db = newConnection(info.absoluteFilePath());
    if (!db.open()) {
        result.error = QCoreApplication::translate("Study", "The data base engine cannot open it: ") +
                       db.lastError().text();
    } else {
        result.error = lockExclusively(db);
        if (result.ok()) {
            result.error = checkSchema(db, info.absoluteFilePath(), result.notes);
        }
    }
    if (!result.ok()) {
        close(db);
        return result;
    }
    result.db = db;
    return result;
}

void close(QSqlDatabase &db) {
    closeConnection(db);
}

namespace {

void createSchema(QSqlDatabase &db) {
    Transaction transaction(db);
    createTables(db);
    transaction.commit();
}

} // namespace

// The statements of a new study's schema, as the engine of the connection takes them.
void createTables(QSqlDatabase &db) {
    QSqlQuery query(db);
    QStringList statements;
    for (const char *statement : SchemaStatements) {
        statements << ServerStudy::schemaStatement(db, QString::fromUtf8(statement));
    }
    statements << StudyDrawings::createStatement();
    statements << (ServerStudy::isServer(db)
                       ? ServerStudy::versionStatements(CurrentVersion)
                       : QStringList{QStringLiteral("PRAGMA user_version = %1").arg(CurrentVersion)});
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            throw StudyError(QCoreApplication::translate("Study", "Cannot create the tables"),
                             query.lastError());
        }
    }
    query.finish();
    createVersion2Tables(db);
    createVersion3Tables(db);
    createVersion4Tables(db);
}

namespace {

void createOnServer(const QString &uri) {
    const QString shown = ServerStudy::shownLocation(uri);
    ServerStudy::Connection c = ServerStudy::connect(uri);
    if (!c.error.isEmpty()) {
        throw StudyError(
            QCoreApplication::translate("Study", "Cannot create the study %1: %2").arg(shown, c.error));
    }
    bool hasTables = false;
    try {
        hasTables = !ServerStudy::tableNames(c.db).isEmpty();
        if (!hasTables) {
            createSchema(c.db);
        }
    } catch (const StudyError &e) {
        close(c.db);
        throw StudyError(
            QCoreApplication::translate("Study", "Cannot create the study %1: %2").arg(shown, e.message()));
    }
    if (hasTables) {
        close(c.db);
        throw StudyError(QCoreApplication::translate("Study",
                                                     "Cannot create the study %1: the database already has "
                                                     "tables; a new study goes into an empty database.")
                             .arg(shown));
    }
    close(c.db);
}

} // namespace

void create(const QString &path, const QString &shownAs) {
    if (ServerStudy::isLocation(path)) {
        createOnServer(path);
        return;
    }
    const QFileInfo info(path);
    const QString shown = shownAs.isEmpty() ? path : shownAs;
    if (path.isEmpty()) {
        throw StudyError(QCoreApplication::translate("Study", "No file name was given for the new study."));
    }
    if (info.exists()) {
        throw StudyError(QCoreApplication::translate(
                             "Study", "%1 already exists; a new study is never written over a file.")
                             .arg(path));
    }
    if (!info.dir().exists()) {
        throw StudyError(
            QCoreApplication::translate("Study", "The folder %1 does not exist.").arg(info.absolutePath()));
    }
    // Made under a working name and renamed into place once complete, so a killed or failed
    // creation never leaves a half-made study under the name.
    removeLeftovers(info, QStringLiteral("creating"));
    const QString working = workingName(info, QStringLiteral("creating"));
    QFile::remove(working);
    QSqlDatabase db = newConnection(working);
    QString error;
    if (!db.open()) {
        error = db.lastError().text();
    } else {
        try {
            createSchema(db);
        } catch (const StudyError &e) {
            error = e.message();
        }
    }
    close(db);
    // A hard link refuses an existing target, so a file made meanwhile under the name is kept.
    if (error.isEmpty() &&
        ::link(QFile::encodeName(working).constData(), QFile::encodeName(path).constData()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
    }
    QFile::remove(working);
    QFile::remove(working + QStringLiteral("-journal"));
    if (!error.isEmpty()) {
        throw StudyError(
            QCoreApplication::translate("Study", "Cannot create the study %1: %2").arg(shown, error));
    }
}

void createFilled(const QString &target, const QString &what,
                  const std::function<void(QSqlDatabase &)> &fill) {
    const QFileInfo info(target);
    removeLeftovers(info, what);
    const QString working = workingName(info, what);
    const auto removeWorking = [&working] {
        QFile::remove(working);
        QFile::remove(working + QStringLiteral("-journal"));
    };
    create(working, target);
    try {
        Opened opened = open(working);
        if (!opened.ok()) {
            throw StudyError(opened.error);
        }
        try {
            fill(opened.db);
        } catch (...) {
            close(opened.db);
            throw;
        }
        close(opened.db);
        // A hard link refuses an existing target, so a file made meanwhile under the name is kept.
        if (::link(QFile::encodeName(working).constData(), QFile::encodeName(target).constData()) != 0) {
            throw StudyError(QCoreApplication::translate("Study", "Cannot create the study %1: %2")
                                 .arg(target, QString::fromLocal8Bit(std::strerror(errno))));
        }
    } catch (...) {
        removeWorking();
        throw;
    }
    removeWorking();
}

} // namespace Study
