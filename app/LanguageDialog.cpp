#include "app/LanguageDialog.h"

#include "core/Language.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// Option codes in the order shown.
const char *const Codes[] = {"", "en", "es", "C"};
} // namespace

LanguageDialog::LanguageDialog(const QString &configPath, QWidget *parent, const QStringList &folders)
    : QDialog(parent), m_configPath(configPath), m_folders(folders), m_group(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("LanguageDialog"));
    setWindowTitle(tr("Language"));
    auto *layout = new QVBoxLayout(this);
    // The languages' own names, so that each is found whatever the interface shows now.
    const QString names[] = {tr("System default"), QStringLiteral("English"), QStringLiteral("Español"),
                             tr("Original texts (C)")};
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(names[i], this);
        option->setObjectName(QStringLiteral("language_%1").arg(i));
        m_group->addButton(option, i);
        layout->addWidget(option);
    }
    auto *note = new QLabel(tr("Windows opened from now on use the language chosen."), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    select(Language::configured(configPath));
}

QString LanguageDialog::selected() const {
    const int id = m_group->checkedId();
    return id < 0 ? QString() : QString::fromLatin1(Codes[id]);
}

void LanguageDialog::select(const QString &code) {
    for (int i = 0; i < 4; ++i) {
        if (code == QLatin1String(Codes[i])) {
            m_group->button(i)->setChecked(true);
            return;
        }
    }
    m_group->button(0)->setChecked(true); // a language this program does not list: the system's
}

bool LanguageDialog::apply() {
    const bool written = Language::setConfigured(m_configPath, selected());
    Language::install(Language::chosen(m_configPath), m_folders);
    return written;
}
