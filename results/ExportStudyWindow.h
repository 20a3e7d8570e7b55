#pragma once

#include "results/StudyExport.h"

#include <QDialog>
#include <QSqlDatabase>

#include <memory>

namespace Ui {
class ExportStudyWindow;
}

// "Export study": writes the open study for analysis tools (StudyExport.h) into a new or empty
// folder, with a progress bar. Close during an export stops it, and a stopped or failed export
// leaves nothing behind.
class ExportStudyWindow : public QDialog {
    Q_OBJECT

public:
    explicit ExportStudyWindow(const QSqlDatabase &db, QWidget *parent = nullptr);
    ~ExportStudyWindow() override;

    // Runs the export into the folder of the box, in the format chosen; true when it was written.
    bool exportStudy();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override; // Escape

private:
    void updateEnabling();

    std::unique_ptr<Ui::ExportStudyWindow> ui;
    QSqlDatabase m_db;
    bool m_running = false;
    bool m_stop = false;
};
