#include "data/ServerStudy.h"

#include "data/StudyError.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

namespace ServerStudy {

namespace {

const QString Driver = QStringLiteral("QPSQL");

// Advisory lock keys of the program: the class of the writers' lock (the subject locks use another).
constexpr int WritersLockClass = 0x5A4B0001;

// The URI's parameters as libpq reads them; nothing (and the reason) when it cannot.
std::optional<std::map<QString, QString>> parameters(const QString &uri, QString *why) {
    char *message = nullptr;
    const QByteArray text = uri.toUtf8();
    std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption *)> options(
        PQconninfoParse(text.constData(), &message), PQconninfoFree);
    if (!options) {
        if (why) {
            *why = message ? QString::fromUtf8(message).trimmed()
                           : QCoreApplication::translate("ServerStudy", "not a connection URI");
        }
        PQfreemem(message);
        return std::nullopt;
    }
    std::map<QString, QString> values;
    for (const PQconninfoOption *o = options.get(); o->keyword; ++o) {
        if (o->val && *o->val) {
            values[QString::fromUtf8(o->keyword)] = QString::fromUtf8(o->val);
        }
    }
    return values;
}

// A value as a libpq connection string takes it: quoted, its quotes and backslashes escaped.
QString quoted(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

// A part of a URI as libpq decodes it; an escape that is not one is left as written.
QString percentDecoded(const QString &raw) {
    const QByteArray in = raw.toUtf8();
    const auto hex = [&in](qsizetype i) { return i < in.size() && std::isxdigit(uchar(in.at(i))) != 0; };
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) == '%' && hex(i + 1) && hex(i + 2)) {
            out += char(in.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            out += in.at(i);
        }
    }
    return QString::fromUtf8(out);
}

// Where the user and password of a URI may end: after "://", libpq ends them at the first '@'
// before any '/', but the user may have meant any '@' before the parameters.
QList<qsizetype> userinfoEnds(const QString &uri) {
    QList<qsizetype> ends;
    const qsizetype start = uri.indexOf(QLatin1String("://"));
    if (start < 0) {
        return ends;
    }
    const qsizetype query = uri.indexOf(QLatin1Char('?'), start);
    const qsizetype path = uri.indexOf(QLatin1Char('/'), start + 3);
    const qsizetype first = uri.indexOf(QLatin1Char('@'), start);
    for (qsizetype at = first; at >= 0; at = uri.indexOf(QLatin1Char('@'), at + 1)) {
        const bool beforeQuery = query < 0 || at < query;
        const bool libpqReads = at == first && (path < 0 || at < path);
        if (!beforeQuery && !libpqReads) {
            break;
        }
        ends << at;
    }
    return ends;
}

// Everything that may be the password of a URI, as written and decoded: libpq's reading and, as
// libpq quotes what it could not read, what follows the user before each possible end, and every
// password= parameter.
QStringList passwordsOf(const QString &uri) {
    QStringList found;
    if (const auto p = parameters(uri, nullptr)) {
        const auto given = p->find(QStringLiteral("password"));
        if (given != p->end()) {
            found << given->second;
        }
    }
    const qsizetype start = uri.indexOf(QLatin1String("://")) + 3;
    for (const qsizetype end : userinfoEnds(uri)) {
        const QString userinfo = uri.mid(start, end - start);
        const qsizetype colon = userinfo.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            found << userinfo.mid(colon + 1);
        }
    }
    static const QRegularExpression parameter(QStringLiteral("[?&]password=([^&]*)"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (auto matches = parameter.globalMatch(uri); matches.hasNext();) {
        found << matches.next().captured(1);
    }
    QStringList all;
    for (const QString &text : found) {
        // Pieces too: libpq reads a password holding an unescaped '@' or '/' as several parts.
        static const QRegularExpression parts(QStringLiteral("[@/]"));
        all << text << percentDecoded(text) << text.split(parts, Qt::SkipEmptyParts);
    }
    return all;
}

const QString Hidden = QStringLiteral("***");

} // namespace

bool isLocation(const QString &location) {
    return location.startsWith(QLatin1String("postgresql://")) ||
           location.startsWith(QLatin1String("postgres://"));
}

bool isServer(const QSqlDatabase &db) {
    return db.driverName() == Driver;
}

QString displayName(const QString &uri) {
    const auto p = parameters(uri, nullptr);
    if (!p) {
        return QString();
    }
    const auto value = [&p](const char *key) {
        const auto found = p->find(QString::fromLatin1(key));
        return found == p->end() ? QString() : found->second;
    };
    const QString database = value("dbname").isEmpty() ? value("user") : value("dbname");
    const QString host = value("host").isEmpty() ? QStringLiteral("this computer") : value("host");
    // A password with an unescaped '@' or '/' spills into what libpq reads as the host or the
    // database: such a URI is not named by them.
    if (database.contains(QLatin1Char('@')) || host.contains(QLatin1Char('@'))) {
        return QString();
    }
    return database.isEmpty() ? host : database + QStringLiteral(" on ") + host;
}

QString shownLocation(const QString &location) {
    if (!isLocation(location)) {
        return location;
    }
    const QString name = displayName(location);
    if (!name.isEmpty()) {
        return name;
    }
    // A URI libpq cannot read is shown as written, without anything before its last possible '@'.
    const QList<qsizetype> ends = userinfoEnds(location);
    const QString shown = ends.isEmpty() ? location
                                         : location.left(location.indexOf(QLatin1String("://")) + 3) +
                                               location.mid(ends.last() + 1);
    return withoutSecrets(shown, location);
}

QString withoutSecrets(const QString &text, const QString &uri, const QString &password) {
    QStringList secrets = uri.isEmpty() ? QStringList() : passwordsOf(uri);
    secrets << password;
    // The longest first, so that a password holding another is taken out whole.
    std::sort(secrets.begin(), secrets.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    QString result = text;
    for (const QString &secret : secrets) {
        if (secret.isEmpty() || !result.contains(secret)) {
            continue;
        }
        if (secret.size() < 4) {
            return Hidden;
        }
        result.replace(secret, Hidden);
    }
    // Up to the last '@' before the path: libpq reads the user and password up to the first, but a
    // password may hold another.
    static const QRegularExpression userinfo(QStringLiteral("(postgres(?:ql)?:/*)[^\\s\"'/]*@"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression keyword(
        QStringLiteral("(password\\s*=\\s*)('(?:[^'\\\\]|\\\\.)*'?|[^\\s&\"']*)"),
        QRegularExpression::CaseInsensitiveOption);
    result.replace(userinfo, QStringLiteral("\\1"));
    result.replace(keyword, QStringLiteral("\\1") + Hidden);
    return result;
}

Connection connect(const QString &uri, const QString &password) {
    static QAtomicInt counter;
    Connection c;
    QString why;
    const auto p = parameters(uri, &why);
    if (!p) {
        c.error = QCoreApplication::translate("ServerStudy", "The server address cannot be read: ") +
                  withoutSecrets(why, uri, password);
        return c;
    }
    if (!QSqlDatabase::isDriverAvailable(Driver)) {
        c.error = QCoreApplication::translate(
            "ServerStudy", "This installation cannot reach PostgreSQL servers (the Qt driver QPSQL is "
                           "missing; on Debian it is the package libqt6sql6-psql).");
        return c;
    }
    c.db =
        QSqlDatabase::addDatabase(Driver, QStringLiteral("zk-server-%1").arg(counter.fetchAndAddRelaxed(1)));
    QStringList options;
    for (const auto &[key, value] : *p) {
        if (key == QLatin1String("host")) {
            c.db.setHostName(value);
        } else if (key == QLatin1String("port")) {
            c.db.setPort(value.toInt());
        } else if (key == QLatin1String("dbname")) {
            c.db.setDatabaseName(value);
        } else if (key == QLatin1String("user")) {
            c.db.setUserName(value);
        } else if (key == QLatin1String("password")) {
            c.db.setPassword(value);
        } else if (!value.contains(QLatin1Char(';'))) {
            options << key + QLatin1Char('=') + quoted(value);
        }
    }
    if (!password.isNull()) {
        c.db.setPassword(password);
    }
    c.db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!c.db.open()) {
        const QString text = c.db.lastError().text();
        c.passwordNeeded = text.contains(QLatin1String("no password supplied"));
        const QString detail = c.db.lastError().databaseText().trimmed();
        c.error = QCoreApplication::translate("ServerStudy", "The server refused the connection: ") +
                  withoutSecrets(detail.isEmpty() ? text : detail, uri, password);
        const QString name = c.db.connectionName();
        c.db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    return c;
}

QStringList tableNames(const QSqlDatabase &db) {
    QSqlQuery query(db);
    const QString sql =
        isServer(db) ? QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                      "current_schema()")
                     : QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')");
    if (!query.exec(sql)) {
        throw StudyError(QCoreApplication::translate("ServerStudy", "Cannot read which tables the study has"),
                         query.lastError());
    }
    QStringList names;
    while (query.next()) {
        names << query.value(0).toString().toLower();
    }
    return names;
}

QString schemaStatement(const QSqlDatabase &db, const QString &sqliteStatement) {
    if (!isServer(db)) {
        return sqliteStatement;
    }
    QString s = sqliteStatement;
    // The subject's age, height and weight keep what was typed when it is not a number ("unknown"):
    // SQLite keeps such text in its numeric columns, a server column holds it as text.
    s.replace(QRegularExpression(QStringLiteral("\\b(Edad|Altura|Peso) (INTEGER|REAL)\\b")),
              QStringLiteral("\\1 TEXT"));
    s.replace(QRegularExpression(QStringLiteral("\\bTINYINT\\b")), QStringLiteral("SMALLINT"));
    s.replace(QRegularExpression(QStringLiteral("\\bDATETIME\\b")), QStringLiteral("TIMESTAMP(0)"));
    s.replace(QRegularExpression(QStringLiteral("\\bREAL\\b")), QStringLiteral("DOUBLE PRECISION"));
    s.replace(QStringLiteral("BOOLEAN NOT NULL DEFAULT 0"), QStringLiteral("BOOLEAN NOT NULL DEFAULT FALSE"));
    return s;
}

int version(const QSqlDatabase &db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT version FROM study_version")) && query.next()
               ? query.value(0).toInt()
               : -1;
}

QStringList versionStatements(int version) {
    return {QStringLiteral("CREATE TABLE study_version (version INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO study_version (version) VALUES (%1)").arg(version)};
}

bool reconnectIfLost(QSqlDatabase &db) {
    if (!isServer(db)) {
        return true;
    }
    {
        QSqlQuery probe(db);
        if (db.isOpen() && probe.exec(QStringLiteral("SELECT 1"))) {
            return true;
        }
    }
    db.close();
    return db.open();
}

void lockWriters(const QSqlDatabase &db) {
    if (!isServer(db)) {
        return;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1, 0)").arg(WritersLockClass))) {
        throw StudyError(QCoreApplication::translate("ServerStudy", "Cannot take the study's write lock"),
                         query.lastError());
    }
}

std::optional<QString> readOnlyReason(const QSqlDatabase &db) {
    if (!isServer(db)) {
        return std::nullopt;
    }
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT has_table_privilege('estimulo', 'INSERT') AND "
                                  "has_table_privilege('estimulo', 'UPDATE') AND "
                                  "has_table_privilege('paciente', 'INSERT') AND "
                                  "has_table_privilege('drawing', 'INSERT'), current_user")) &&
        query.next() && !query.value(0).toBool()) {
        return QCoreApplication::translate(
                   "ServerStudy", "The server lets the role %1 read this study but not change it: recording, "
                                  "correcting and editing subjects are off.")
            .arg(query.value(1).toString());
    }
    return std::nullopt;
}

} // namespace ServerStudy
