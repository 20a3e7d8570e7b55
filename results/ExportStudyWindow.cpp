#include "results/ExportStudyWindow.h"
#include "ui_ExportStudyWindow.h"

#include "core/ZoDir.h"
#include "data/ServerStudy.h"
#include "data/StudyError.h"
#include "widgets/Messages.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

ExportStudyWindow::ExportStudyWindow(const QSqlDatabase &db, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ExportStudyWindow>()), m_db(db) {
    ui->setupUi(this);
    ui->formatList->addItem(tr("Tables for analysis (stimuli.tsv, subjects.tsv)"),
                            int(StudyExport::Format::Tsv));
    ui->formatList->addItem(tr("NIBS-BIDS dataset"), int(StudyExport::Format::NibsBids));
    // Proposed: a new folder beside the study (in the home folder for a server study), named after it.
    const QFileInfo study(m_db.databaseName());
    const QString folder =
        ServerStudy::isServer(m_db) ? QDir::homePath() : ZoDir::DirectorioFichero(study.absoluteFilePath());
    ui->folderEdit->setText(ZoDir::UneRuta(folder, study.completeBaseName() + QStringLiteral("-export")));
    connect(ui->formatList, &QComboBox::currentIndexChanged, this, [this] {
        const QString folder = ui->folderEdit->text();
        const QString tsv = QStringLiteral("-export"), bids = QStringLiteral("-bids");
        const bool toBids = ui->formatList->currentData().toInt() == int(StudyExport::Format::NibsBids);
        if (toBids && folder.endsWith(tsv)) {
            ui->folderEdit->setText(folder.chopped(tsv.size()) + bids);
        } else if (!toBids && folder.endsWith(bids)) {
            ui->folderEdit->setText(folder.chopped(bids.size()) + tsv);
        }
    });
    connect(ui->browseButton, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, tr("Export into the folder"), ZoDir::DirectorioFichero(ui->folderEdit->text()));
        if (!folder.isEmpty()) {
            ui->folderEdit->setText(QDir::toNativeSeparators(folder));
        }
    });
    connect(ui->folderEdit, &QLineEdit::textChanged, this, &ExportStudyWindow::updateEnabling);
    connect(ui->exportButton, &QPushButton::clicked, this, &ExportStudyWindow::exportStudy);
    connect(ui->closeButton, &QPushButton::clicked, this, &QDialog::close);
    updateEnabling();
}

ExportStudyWindow::~ExportStudyWindow() = default;

void ExportStudyWindow::updateEnabling() {
    ui->exportButton->setEnabled(!m_running && !ui->folderEdit->text().trimmed().isEmpty());
    for (QWidget *w : std::initializer_list<QWidget *>{ui->formatList, ui->folderEdit, ui->browseButton}) {
        w->setEnabled(!m_running);
    }
    ui->closeButton->setText(m_running ? tr("Stop") : tr("Close"));
}

bool ExportStudyWindow::exportStudy() {
    const QString folder = ui->folderEdit->text().trimmed();
    if (m_running || folder.isEmpty()) {
        return false;
    }
    m_running = true;
    m_stop = false;
    updateEnabling();
    ui->progressBar->setValue(0);
    ui->statusLabel->setText(tr("Exporting..."));
    bool done = false;
    try {
        const auto format = StudyExport::Format(ui->formatList->currentData().toInt());
        const StudyExport::Report report = StudyExport::run(
            m_db, QDir::fromNativeSeparators(folder), format, [this](qint64 n, qint64 total) {
                ui->progressBar->setMaximum(int(std::max<qint64>(total, 1)));
                ui->progressBar->setValue(int(n));
                QCoreApplication::processEvents();
                return !m_stop;
            });
        ui->progressBar->setMaximum(1);
        ui->progressBar->setValue(1);
        QStringList lines{tr("Exported %1 stimuli (%2 with drawings) of %3 subjects to %4.")
                              .arg(report.stimuli)
                              .arg(report.drawings)
                              .arg(report.subjects)
                              .arg(folder)};
        ui->statusLabel->setText((lines + report.notes).join(QLatin1Char('\n')));
        done = true;
    } catch (const StudyError &e) {
        ui->progressBar->setValue(0);
        ui->statusLabel->setText(m_stop ? tr("Stopped: nothing was written.") : e.message());
        if (!m_stop) {
            Messages::error(this, e.message());
        }
    }
    m_running = false;
    updateEnabling();
    return done;
}

void ExportStudyWindow::closeEvent(QCloseEvent *event) {
    // Closing while the export runs stops it first; the window stays until the export has cleared up.
    if (m_running) {
        m_stop = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ExportStudyWindow::reject() {
    if (m_running) {
        m_stop = true;
        return;
    }
    QDialog::reject();
}
