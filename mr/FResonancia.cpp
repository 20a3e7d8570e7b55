#include "mr/FResonancia.h"
#include "ui_FResonancia.h"

#include "core/AppState.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/ImagingState.h"
#include "imaging/SliceRendering.h"
#include "widgets/Messages.h"

#include <QCloseEvent>
#include <QLocale>

FResonancia::FResonancia(AppState &app, ImagingState &imaging, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::FResonancia>()), m_app(app), m_imaging(imaging) {
    ui->setupUi(this);
    ui->Picture1->setPainter([this](PictureSurface &) { pintaPicture1(); });
    ui->Picture2->setPainter([this](PictureSurface &) { pintaPicture2(); });
    actualiza_resonancia(14, nullptr);
}

FResonancia::~FResonancia() = default;

void FResonancia::actualiza_resonancia(qint32 cell, QWidget *owner) {
    if (!m_app.ResonanciaCargada) {
        return;
    }
    m_celda = cell;
    if (owner) {
        const QRect marco = owner->frameGeometry();
        move(marco.left() + marco.width(), marco.top());
    }
    bool ok = false;
    const double profundidad = QLocale::c().toDouble(ui->TProfundidad->text().trimmed(), &ok);
    if (!ok) {
        Messages::error(this, tr("Deep: \"%1\" is not a number.").arg(ui->TProfundidad->text()));
        return;
    }
    try {
        aimAtCell(m_imaging, cell, profundidad);
    } catch (const ImagingError &e) {
        Messages::error(this, e.message());
        return;
    }
    ui->Picture1->redraw();
    ui->Picture2->redraw();
}

void FResonancia::pintaPicture1() {
    if (m_app.ResonanciaCargada) {
        SliceRendering::DibujaVistaResonancia(m_imaging, ui->Picture1->surface());
    }
}

void FResonancia::pintaPicture2() {
    if (m_app.ResonanciaCargada) {
        SliceRendering::Dibuja3D(m_imaging, ui->Picture2->surface(), 60, 255);
    }
}

void FResonancia::cierra() {
    m_cerrando = true;
    close();
    m_cerrando = false;
}

void FResonancia::closeEvent(QCloseEvent *event) {
    if (!m_cerrando) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
