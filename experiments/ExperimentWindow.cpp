#include "experiments/ExperimentWindow.h"

#include "experiments/EGrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

ExperimentWindow::ExperimentWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
}

ExperimentWindow::~ExperimentWindow() = default;

void ExperimentWindow::connectMrViewer(const MrViewerMaker &makeViewer, QCheckBox *CRM, EGrid *grid) {
    m_CRM = CRM;
    if (!makeViewer) {
        return;
    }
    m_mrViewer = makeViewer(this);
    connect(CRM, &QCheckBox::toggled, this,
            [this, grid](bool checked) { m_mrViewer->CRM_Click(checked, grid->EIndex()); });
}

void ExperimentWindow::followCell(int cell) {
    if (m_mrViewer && m_CRM->isChecked()) {
        m_mrViewer->update(cell);
    }
}

void ExperimentWindow::closeEvent(QCloseEvent *event) {
    m_mrViewer.reset();
    emit closed();
    QCoreApplication::processEvents();
    QWidget::closeEvent(event);
}

void coupleBrightness(QScrollBar *UDIntensidad, QLineEdit *TIntensidad) {
    QObject::connect(UDIntensidad, &QScrollBar::valueChanged, TIntensidad,
                     [TIntensidad](int value) { TIntensidad->setText(QString::number(value)); });
    QObject::connect(TIntensidad, &QLineEdit::textChanged, UDIntensidad, [UDIntensidad](const QString &text) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (ok && value >= UDIntensidad->minimum() && value <= UDIntensidad->maximum()) {
            const QSignalBlocker blocker(UDIntensidad);
            UDIntensidad->setValue(value);
        }
    });
}

DrawingRender::Mode drawingMode(const QRadioButton *fuse, const QRadioButton *massCentre) {
    if (fuse->isChecked()) {
        return DrawingRender::Mode::Fuse;
    }
    return massCentre->isChecked() ? DrawingRender::Mode::MassCentre : DrawingRender::Mode::Lines;
}
