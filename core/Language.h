#pragma once

#include <QString>
#include <QStringList>

// The language of the interface: the translations shipped beside the program (zokorvane_<code>.qm)
// and the choice between them. The texts written in the sources are the "C" language: no
// translation at all.
namespace Language {

// The languages with a translation, by code ("en", "es").
QStringList available();

// The language named by config.ini ([Language] Name), empty when none is set.
QString configured(const QString &configPath);
// Writes the choice into config.ini; an empty name removes the choice (the system's language).
[[nodiscard]] bool setConfigured(const QString &configPath, const QString &name);

// The language to show: config.ini's choice when set, otherwise the first of the system's
// preferred languages (`uiLanguages`, e.g. "es-ES") that has a translation, otherwise the first
// of them cut to its language code. "C" stands for the source texts.
QString chosen(const QString &configPath, const QStringList &uiLanguages);
// The same with the system's preferred languages; a "C" or "POSIX" locale gives "C".
QString chosen(const QString &configPath);

// Folders searched for the .qm files: beside the executable, its translations/ subfolder, the
// build tree's translations/ folder and the installed share/zokorvane/translations.
QStringList directories();

// Installs the translation of `language` into the application, replacing the one installed
// before (widgets receive a LanguageChange event). "C" or a language without a file leaves the
// source texts. True when a translation was installed.
bool install(const QString &language, const QStringList &folders = directories());

// The language installed by the last call of install(): its code, or "C".
QString installed();

} // namespace Language
