#pragma once

#include "data/Study.h"
#include "support/QueryText.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <initializer_list>

// A study opened by its path for the length of a scope; one that does not open ends the run.
struct OpenStudy : Study::Opened {
    explicit OpenStudy(const QString &path) : Study::Opened(Study::open(path)) {
        if (!ok()) {
            qFatal("cannot open %s: %s", qPrintable(path), qPrintable(error));
        }
    }
    ~OpenStudy() { Study::close(db); }
    OpenStudy(const OpenStudy &) = delete;
    OpenStudy &operator=(const OpenStudy &) = delete;
    QString read(const QString &sql) const { return queryText(db, sql); }
};

// What queries read (queryText, joined) in an SQLite file opened as a plain file: neither locked nor
// brought up to date, as a backup copy or a study left by a killed process is looked at.
inline QString readSqliteFile(const QString &path, const QStringList &sqls) {
    QString read;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("zk-plain"));
        file.setDatabaseName(path);
        for (const QString &sql : sqls) {
            read += file.open() ? queryText(file, sql) : file.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("zk-plain"));
    return read;
}

// Makes a new SQLite study one of an earlier version: the tables added since dropped, the version set.
inline bool makeEarlierVersion(const QSqlDatabase &db, int version) {
    const char *added[] = {"drawing", "mr_calibration", "mr_normalisation", "mr_aiming"}; // versions 1 to 4
    QSqlQuery query(db);
    bool done = true;
    for (int v = version; v < 4; ++v) {
        done = done && query.exec(QStringLiteral("DROP TABLE ") + QLatin1String(added[v]));
    }
    return done && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

// A new study in a temporary directory, created by the schema code and opened (locked) for the
// test. Rows are added with plain INSERTs so that tests state exactly what the study holds.
//
// When ZK_TEST_SERVER names the socket folder of the test server (the "-server" tests), the study
// is made in a new database of that server instead, and path() is its connection URI: the same
// test runs on both engines.
class StudyFixture {
public:
    explicit StudyFixture(const QString &fileName = QStringLiteral("study.sqlite")) {
        m_path = onServer() ? newServerDatabase() : m_dir.filePath(fileName);
        Study::create(m_path);
        Study::Opened opened = Study::open(m_path);
        if (!opened.ok()) {
            qFatal("cannot open the fixture study: %s", qPrintable(opened.error));
        }
        m_db = opened.db;
    }

    // True when the tests run on the test server.
    static bool onServer() { return qEnvironmentVariableIsSet("ZK_TEST_SERVER"); }

    // What a statement reads, run as the test server's superuser on one of its databases (queryText).
    static QString serverAdmin(const QString &database, const QString &sql) {
        QString result;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("zk-test-admin"));
            db.setHostName(qEnvironmentVariable("ZK_TEST_SERVER"));
            db.setUserName(QStringLiteral("zk"));
            db.setDatabaseName(database);
            result = db.open() ? queryText(db, sql) : db.lastError().text();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("zk-test-admin"));
        return result;
    }
    // The database name of a test server URI.
    static QString databaseOf(const QString &uri) { return uri.section('/', 3).section('?', 0, 0); }

    // A new, empty database on the test server; its URI.
    static QString newServerDatabase() {
        static int counter = 0;
        const QString name =
            QStringLiteral("zk_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        const QString failed =
            serverAdmin(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE ") + name);
        if (!failed.isEmpty()) {
            qFatal("cannot make a database on the test server: %s", qPrintable(failed));
        }
        return QStringLiteral("postgresql:///%1?host=%2&user=zk")
            .arg(name, qEnvironmentVariable("ZK_TEST_SERVER"));
    }
    ~StudyFixture() { Study::close(m_db); }
    StudyFixture(const StudyFixture &) = delete;
    StudyFixture &operator=(const StudyFixture &) = delete;

    QSqlDatabase &db() { return m_db; }
    const QString &path() const { return m_path; }
    QString dirPath() const { return m_dir.path(); }
    QString read(const QString &sql) { return queryText(m_db, sql); }

    // Releases the study so that another connection (a window's AppState, another process) can
    // open it.
    void release() { Study::close(m_db); }

    // Runs one statement with positional values; fails the test on an engine error.
    void exec(const QString &sql, std::initializer_list<QVariant> values = {}) {
        QSqlQuery query(m_db);
        if (values.size() == 0) { // a server prepares no schema statement
            QVERIFY2(query.exec(sql), qPrintable(query.lastError().text() + QStringLiteral(" in ") + sql));
            return;
        }
        QVERIFY2(query.prepare(sql), qPrintable(query.lastError().text()));
        for (const QVariant &value : values) {
            query.addBindValue(value);
        }
        QVERIFY2(query.exec(), qPrintable(query.lastError().text() + QStringLiteral(" in ") + sql));
    }

    void addSubject(int id, const QVariant &nombre, const QVariant &apellido1 = QVariant(),
                    const QVariant &apellido2 = QVariant(), int filaCentro = 1, int columnaCentro = 4) {
        exec(QStringLiteral(
                 "INSERT INTO paciente (ID, Nombre, Apellido1, Apellido2, Filas, Columnas, FilaCentro, "
                 "ColumnaCentro, Ciego) VALUES (?, ?, ?, ?, 5, 9, ?, ?, FALSE)"),
             {id, nombre, apellido1, apellido2, filaCentro, columnaCentro});
    }

    void addPoint(int id, int numero, int idPaciente, int fila, int columna, int pasadas) {
        exec(QStringLiteral(
                 "INSERT INTO puntoestimulacion (ID, Numero, Id_paciente, fila, columna, estado, n_on, "
                 "n_off, n_dudas, pasadas) VALUES (?, ?, ?, ?, ?, 0, 1, 0, 0, ?)"),
             {id, numero, idPaciente, fila, columna, pasadas});
    }

    void addStimulus(int id, int idPunto, int pasada, int hayfosfeno = 0,
                     const QString &archivo = QString()) {
        exec(QStringLiteral(
                 "INSERT INTO estimulo (id, id_puntoestimulo, pasada, color, intensidad, hayfosfeno, "
                 "observaciones, archivopuntos, orientacion, fecha, TipoBobina, PulsoTipo, NumeroPulsos, "
                 "PulsoFrecuencia, PulsoIntensidad, PulsoFase) VALUES (?, ?, ?, 'white', 3, ?, '', ?, 0, "
                 "'2026-01-02 03:04:05', 1, 1, 1, 0, 0, 1)"),
             {id, idPunto, pasada, hayfosfeno, archivo});
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QSqlDatabase m_db;
};
