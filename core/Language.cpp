#include "core/Language.h"

#include "core/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>

namespace Language {

namespace {
const QString Section = QStringLiteral("Language");
const QString Key = QStringLiteral("Name");

// The translators installed now: the program's and Qt's own (standard buttons and dialogs).
std::unique_ptr<QTranslator> programTranslator;
std::unique_ptr<QTranslator> qtTranslator;
QString installedLanguage = QStringLiteral("C");

// "es-ES", "es_ES" -> "es"; "C" stays "C".
QString code(const QString &uiLanguage) {
    const qsizetype cut = uiLanguage.indexOf(QRegularExpression(QStringLiteral("[-_.@]")));
    return uiLanguage.left(cut < 0 ? uiLanguage.size() : cut);
}

void remove(std::unique_ptr<QTranslator> &translator) {
    if (translator) {
        QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }
}
} // namespace

QStringList available() {
    return {QStringLiteral("en"), QStringLiteral("es")};
}

QString configured(const QString &configPath) {
    return LeeIni(configPath, Section, Key, QString()).trimmed();
}

bool setConfigured(const QString &configPath, const QString &name) {
    return EscribeIni(configPath, Section, Key, name) != 0;
}

QString chosen(const QString &configPath, const QStringList &uiLanguages) {
    const QString name = configured(configPath);
    if (!name.isEmpty()) {
        return name;
    }
    for (const QString &language : uiLanguages) {
        if (available().contains(code(language))) {
            return code(language);
        }
    }
    return uiLanguages.isEmpty() ? QStringLiteral("C") : code(uiLanguages.first());
}

QString chosen(const QString &configPath) {
    // The C (POSIX) locale means the texts as written.
    const QLocale system = QLocale::system();
    const bool c = system.language() == QLocale::C;
    return chosen(configPath, c ? QStringList{QStringLiteral("C")} : system.uiLanguages());
}

QStringList directories() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program, program + QStringLiteral("/translations"), program + QStringLiteral("/../translations"),
            program + QStringLiteral("/../share/zokorvane/translations")};
}

bool install(const QString &language, const QStringList &folders) {
    remove(programTranslator);
    remove(qtTranslator);
    installedLanguage = QStringLiteral("C");
    if (language.isEmpty() || language == QLatin1String("C") || !available().contains(language)) {
        return false;
    }
    for (const QString &folder : folders) {
        const QString file = QDir(folder).filePath(QStringLiteral("zokorvane_%1.qm").arg(language));
        if (!QFileInfo(file).isFile()) {
            continue;
        }
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(file)) {
            continue;
        }
        // Qt's own texts (standard buttons, file dialogs) when the system has them.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt.get());
            qtTranslator = std::move(qt);
        }
        QCoreApplication::installTranslator(translator.get());
        programTranslator = std::move(translator);
        installedLanguage = language;
        return true;
    }
    return false;
}

QString installed() {
    return installedLanguage;
}

} // namespace Language
