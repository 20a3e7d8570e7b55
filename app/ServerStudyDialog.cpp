#include "app/ServerStudyDialog.h"
#include "ui_ServerStudyDialog.h"

#include "app/MainWindowModel.h"

#include <QPushButton>

ServerStudyDialog::ServerStudyDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ServerStudyDialog>()) {
    ui->setupUi(this);
    QPushButton *open = ui->buttons->button(QDialogButtonBox::Open);
    open->setEnabled(false);
    connect(ui->databaseEdit, &QLineEdit::textChanged, this,
            [open](const QString &text) { open->setEnabled(!text.trimmed().isEmpty()); });
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ServerStudyDialog::~ServerStudyDialog() = default;

QString ServerStudyDialog::uri() const {
    return MainWindowModel::serverUri(ui->hostEdit->text(), ui->portEdit->text(), ui->databaseEdit->text(),
                                      ui->userEdit->text());
}
