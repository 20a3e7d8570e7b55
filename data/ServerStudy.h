#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// Studies kept on a PostgreSQL server, and the one place where the two engines differ: how a
// server study is reached (a libpq connection URI), its column types, how its tables and version
// are found, how writers wait for each other, and whether the role may write.
//
// Everything else, every statement of every window included, is the same text on both engines:
// unquoted names (PostgreSQL folds them, SQLite ignores their case), booleans bound as booleans,
// identifiers allocated by the program.
namespace ServerStudy {

// True for a location that names a server study: a URI starting "postgresql://" or "postgres://".
bool isLocation(const QString &location);
// True when the connection is to a server study.
bool isServer(const QSqlDatabase &db);

// The study's name as the operator reads it ("lab on db.example.org", "lab on /run/postgresql"),
// never with its password; "" when the URI cannot be read, or when what libpq reads as the host or
// the database holds an '@' (a password written without its escapes spills there).
QString displayName(const QString &uri);

// How messages name a study: a file by its path, a server study by displayName() (or, for a URI
// libpq cannot read, the URI without its user and password), so that no password written in a URI
// ever reaches a message or a log.
QString shownLocation(const QString &location);

// The text with every password taken out, for any message that may carry a URI or an engine's own
// text: the user and password part of every connection URI in it, the value of every "password="
// (URI parameter or connection string keyword), and, when given, the password of `uri` and
// `password` wherever they stand, as written or percent-decoded (libpq quotes a URI, or the part it
// could not read, in its messages). A password too short to be taken out without taking out other
// words hides the whole text.
QString withoutSecrets(const QString &text, const QString &uri = QString(),
                       const QString &password = QString());

struct Connection {
    QSqlDatabase db; // open when error is empty
    QString error;
    bool passwordNeeded = false; // the server asked for a password and none was given
};

// Opens a connection to the study the URI names, with every parameter libpq reads from it (host,
// a socket folder, port, sslmode...); the password, when given, overrides the URI's. What the
// URI leaves out libpq takes from its own sources: ~/.pgpass or PGPASSFILE, service files, PG*
// variables. The password is never kept anywhere but the open connection.
Connection connect(const QString &uri, const QString &password = QString());

// The tables of the study's schema, in lower case. Throws StudyError when they cannot be read (a
// refused permission, a dropped connection): that is never taken for a study without tables.
QStringList tableNames(const QSqlDatabase &db);

// A statement of the schema as the engine takes it: SQLite's text as it stands; for a server, the
// types PostgreSQL lacks replaced (TINYINT, DATETIME, REAL, a boolean defaulting to 0), and the
// subject's age, height and weight as TEXT (they keep what was typed when it is not a number).
QString schemaStatement(const QSqlDatabase &db, const QString &sqliteStatement);

// The schema version a server study records (its table study_version); -1 when it has none.
int version(const QSqlDatabase &db);
// The statements that record the version of a new server study.
QStringList versionStatements(int version);

// Before a write on a server study: when the connection to the server was lost (the server
// restarted, the network dropped, the session was ended), connects again with the same parameters.
// False when the server still cannot be reached. Always true on a file study.
bool reconnectIfLost(QSqlDatabase &db);

// Inside a transaction that writes: waits until no other station writes to the study, so that
// "largest + 1" identifiers are read and used under one lock (released at commit or rollback).
// Nothing on a file study, which one program holds alone.
void lockWriters(const QSqlDatabase &db);

// Why the role may not change the study (it may only read the tables); nothing when it may.
std::optional<QString> readOnlyReason(const QSqlDatabase &db);

} // namespace ServerStudy
