#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace Query {

// Prepares the statement, binds the values in order and runs it (forward only on a file study). Throws
// StudyError whose text is `what` followed by the engine's description when either step fails.
QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values, const QString &what);

} // namespace Query
