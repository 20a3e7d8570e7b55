#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class ServerStudyDialog;
}

// "Open server study": host (or socket folder), port, database and user of a study on a PostgreSQL
// server; Open is enabled once a database is named.
class ServerStudyDialog : public QDialog {
    Q_OBJECT

public:
    explicit ServerStudyDialog(QWidget *parent = nullptr);
    ~ServerStudyDialog() override;

    // The connection URI of the boxes (MainWindowModel::serverUri).
    QString uri() const;

private:
    std::unique_ptr<Ui::ServerStudyDialog> ui;
};
