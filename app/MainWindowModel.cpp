#include "app/MainWindowModel.h"

#include "core/ZoDir.h"
#include "data/Study.h"

#include <QFileInfo>

void MainWindowModel::studyOpened() {
    m_menus.subjects = true;
    m_menus.results = true;
    m_menus.experiments = false;
}

void MainWindowModel::subjectChosen() {
    m_menus.experiments = true;
    m_menus.subjectItems = true;
}

MainWindowModel::OpenPlan MainWindowModel::planOpen(const QString &path) {
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

QString MainWindowModel::offerText(const QString &legacy, const QString &study) {
    return QStringLiteral("A study converted from %1 already exists:\n%2\n\nOpen the existing study instead?")
        .arg(ZoDir::NombreFichero(legacy), study);
}

QString MainWindowModel::importReport(const QString &legacy, const QString &study,
                                      const LegacyImport::Result &result) {
    QString text =
        QStringLiteral("%1 was converted into the study %2:\n%3 subjects, %4 points and %5 stimuli.")
            .arg(ZoDir::NombreFichero(legacy), ZoDir::NombreFichero(study))
            .arg(result.subjects)
            .arg(result.points)
            .arg(result.stimuli);
    text += QStringLiteral("\n%1 drawings were copied into the study.").arg(result.drawings);
    if (!result.missingDrawings.isEmpty()) {
        text += QStringLiteral("\n\nThese drawings were missing or could not be read:\n") +
                result.missingDrawings.join(QLatin1Char('\n'));
    }
    if (!result.inexact.isEmpty()) {
        text += QStringLiteral("\n\nThese values could not be carried over exactly:\n") +
                result.inexact.join(QLatin1Char('\n'));
    }
    return text;
}
