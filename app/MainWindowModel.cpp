#include "app/MainWindowModel.h"

#include "core/ZoDir.h"
#include "data/ServerStudy.h"
#include "data/Study.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

void MainWindowModel::studyOpened(const QString &readOnlyReason) {
    m_menus.subjects = true;
    m_menus.results = true;
    m_menus.experiments = false;
    m_menus.changes = readOnlyReason.isEmpty();
    m_menus.readOnlyReason = readOnlyReason;
}

void MainWindowModel::subjectChosen() {
    m_menus.experiments = true;
    m_menus.subjectItems = true;
}

MainWindowModel::OpenPlan MainWindowModel::planOpen(const QString &path) {
    if (ServerStudy::isLocation(path)) {
        return {Route::Open, path};
    }
    const bool legacy =
        ZoDir::DameExtension(ZoDir::NombreFichero(path)).compare(QLatin1String("mdb"), Qt::CaseInsensitive) ==
            0 ||
        Study::isAccessFile(path);
    if (!legacy) {
        return {Route::Open, path};
    }
    const QString study = LegacyImport::studyPathFor(path);
    return {QFileInfo::exists(study) ? Route::OfferConverted : Route::Import, study};
}

QString MainWindowModel::serverUri(const QString &host, const QString &port, const QString &database,
                                   const QString &user) {
    if (database.trimmed().isEmpty()) {
        return QString();
    }
    const auto encoded = [](const QString &text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text.trimmed()));
    };
    QString uri = QStringLiteral("postgresql://");
    if (!user.trimmed().isEmpty()) {
        uri += encoded(user) + QLatin1Char('@');
    }
    // A socket folder goes in the query, where a slash needs no encoding for libpq.
    const bool socket = host.trimmed().startsWith(QLatin1Char('/'));
    if (!socket) {
        uri += encoded(host);
    }
    if (!port.trimmed().isEmpty()) {
        uri += QLatin1Char(':') + encoded(port);
    }
    uri += QLatin1Char('/') + encoded(database);
    if (socket) {
        uri += QStringLiteral("?host=") + encoded(host);
    }
    return uri;
}

QString MainWindowModel::studyName(const QString &location) {
    return ServerStudy::isLocation(location) ? ServerStudy::shownLocation(location)
                                             : ZoDir::NombreFichero(location);
}

QString MainWindowModel::offerText(const QString &legacy, const QString &study) {
    return QCoreApplication::translate(
               "MainWindowModel",
               "A study converted from %1 already exists:\n%2\n\nOpen the existing study instead?")
        .arg(ZoDir::NombreFichero(legacy), study);
}

QString MainWindowModel::importReport(const QString &legacy, const QString &study,
                                      const LegacyImport::Result &result) {
    QString text =
        QCoreApplication::translate(
            "MainWindowModel", "%1 was converted into the study %2:\n%3 subjects, %4 points and %5 stimuli.")
            .arg(ZoDir::NombreFichero(legacy), ZoDir::NombreFichero(study))
            .arg(result.subjects)
            .arg(result.points)
            .arg(result.stimuli);
    text += QCoreApplication::translate("MainWindowModel", "\n%1 drawings were copied into the study.")
                .arg(result.drawings);
    if (!result.missingDrawings.isEmpty()) {
        text += QCoreApplication::translate("MainWindowModel",
                                            "\n\nThese drawings were missing or could not be read:\n") +
                result.missingDrawings.join(QLatin1Char('\n'));
    }
    if (!result.inexact.isEmpty()) {
        text += QCoreApplication::translate("MainWindowModel",
                                            "\n\nThese values could not be carried over exactly:\n") +
                result.inexact.join(QLatin1Char('\n'));
    }
    return text;
}
