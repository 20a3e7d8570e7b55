#pragma once

#include "core/Language.h"

#include <QDialog>

class QButtonGroup;

// Help > Language...: the system's language, English, Spanish or the texts as written ("C").
// Accepting writes the choice into config.ini ([Language] Name) and installs the translation at
// once; open windows receive a LanguageChange event, windows opened afterwards use it.
class LanguageDialog : public QDialog {
    Q_OBJECT

public:
    // `folders`: where the translations are looked for.
    LanguageDialog(const QString &configPath, QWidget *parent = nullptr,
                   const QStringList &folders = Language::directories());

    // The code of the option selected: "" (system), "en", "es" or "C".
    QString selected() const;
    void select(const QString &code);

    // Stores and installs the selected language; true when config.ini could be written.
    bool apply();

private:
    QString m_configPath;
    QStringList m_folders;
    QButtonGroup *m_group;
};
