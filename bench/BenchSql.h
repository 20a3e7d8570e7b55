#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <cstdio>
#include <cstdlib>

// The benchmarks fill their studies with statements of their own. A statement the engine refuses
// ends the run with the engine's reason, rather than timing a study that was never filled.
namespace BenchSql {

[[noreturn]] inline void fail(const QSqlQuery &query) {
    std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
    std::exit(1);
}

inline void prepare(QSqlQuery &query, const QString &sql) {
    if (!query.prepare(sql)) {
        fail(query);
    }
}

inline void exec(QSqlQuery &query) {
    if (!query.exec()) {
        fail(query);
    }
}

} // namespace BenchSql
