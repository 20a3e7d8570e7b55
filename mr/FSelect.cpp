#include "mr/FSelect.h"
#include "ui_FSelect.h"

#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingMath.h"
#include "imaging/ImagingState.h"
#include "imaging/SliceRendering.h"
#include "widgets/Messages.h"

#include <QLocale>

#include <algorithm>

namespace {

// Numbers as the fields show them: plain decimal, no grouping.
QString decimal(double value) {
    return QString::number(value, 'g', 15);
}

} // namespace

FSelect::FSelect(ImagingState &imaging, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::FSelect>()), m_imaging(imaging) {
    ui->setupUi(this);
    ui->Picture1->setPainter([this](PictureSurface &) { pintaPicture1(); });

    connect(ui->SFrames, &QSlider::valueChanged, this, &FSelect::AcutlizaImagen);
    connect(ui->Toolbar1Button1, &QToolButton::clicked, this,
            [this] { Toolbar1_ButtonClick(LandmarkModel::Point1); });
    connect(ui->Toolbar1Button2, &QToolButton::clicked, this,
            [this] { Toolbar1_ButtonClick(LandmarkModel::Point2); });
    connect(ui->bIlion, &QPushButton::clicked, this, &FSelect::bIlion_Click);
    connect(ui->Picture1, &MrPicture::mouseDown, this, [this](int button, QPointF at) {
        SeleccionaPunto(qint16(button), float(at.x()), float(at.y()));
    });
    connect(ui->Picture1, &MrPicture::mouseMove, this, &FSelect::Picture1_MouseMove);
    connect(ui->BAcepta, &QPushButton::clicked, this, &FSelect::BAcepta_Click);
    connect(ui->bCancela, &QPushButton::clicked, this, &FSelect::bCancela_Click);

    // Load.
    m_imaging.DialogoAceptado = false;
    double distancia = 0, interslice = 0, origenZ = 0, mmFijo = 0, frameCero = 0;
    m_imaging.DameCalibracion(distancia, interslice, origenZ, mmFijo, frameCero);
    if (mmFijo > 0 && frameCero > 0) {
        // The series carried its own geometry.
        ui->Frame2->hide();
        ui->TCorte->setEnabled(false);
        ui->TOrigenZ->setEnabled(false);
    }
    ui->TDistancia->setText(decimal(distancia));
    ui->TCorte->setText(decimal(interslice));
    ui->TOrigenZ->setText(decimal(origenZ));
    try {
        m_imaging.PonCalibracion(distancia, interslice, origenZ);
    } catch (const ImagingError &e) {
        Messages::error(this, e.message());
    }
    PoneLimites();
    ui->SFrames->setValue(ImagingMath::Redondea16((ui->SFrames->maximum() - ui->SFrames->minimum()) / 2.0));
    AcutlizaImagen();
}

FSelect::~FSelect() = default;

void FSelect::startFromStoredLandmarks() {
    m_landmarks.placed(LandmarkModel::Ilion);
    ui->SFrames->setValue(int(std::clamp(m_imaging.ReferenciaIlion.z, 0.0, double(ui->SFrames->maximum()))));
    AcutlizaImagen();
}

void FSelect::PoneLimites() {
    qint32 x = 0, y = 0, slices = 0;
    m_imaging.library()._d2_dimensiones(m_imaging.VolumenActual, x, y, slices);
    const QSignalBlocker bloqueo(ui->SFrames);
    ui->SFrames->setMinimum(0);
    ui->SFrames->setMaximum(slices - 1);
}

void FSelect::pintaPicture1() {
    const qint16 frame = qint16(ui->SFrames->value());
    // A painting cannot let an exception out: a landmark that cannot be drawn is left out.
    try {
        SliceRendering::DibujaCorte(m_imaging, ui->Picture1->surface(), frame, SliceRendering::VistaCorteZ);
        SliceRendering::DibujaReferencias(m_imaging, ui->Picture1->surface(), frame);
    } catch (const ImagingError &) {
    }
}

void FSelect::AcutlizaImagen() {
    PoneLimites();
    ui->Picture1->redraw();
}

void FSelect::showLandmarkMode() {
    ui->Toolbar1Button1->setChecked(m_landmarks.point1Down());
    ui->Toolbar1Button2->setChecked(m_landmarks.point2Down());
}

void FSelect::Toolbar1_ButtonClick(LandmarkModel::Landmark point) {
    m_landmarks.choosePoint(point);
    showLandmarkMode();
}

void FSelect::bIlion_Click() {
    m_landmarks.chooseIlion();
    showLandmarkMode();
}

void FSelect::SeleccionaPunto(qint16 Button, float X, float Y) {
    const LandmarkModel::Landmark landmark = m_landmarks.landmarkFor(Button);
    if (landmark == LandmarkModel::None) {
        return;
    }
    const qint16 frame = qint16(ui->SFrames->value());
    try {
        m_imaging.PonReferencia(ImagingMath::Redondea16(X), ImagingMath::Redondea16(Y), frame, landmark);
        m_landmarks.placed(landmark);
    } catch (const ImagingError &) {
        return; // a pointer far outside the picture places nothing
    }
    AcutlizaImagen();
}

void FSelect::Picture1_MouseMove(int Button, QPointF at) {
    const float X = float(at.x());
    const float Y = float(at.y());
    const double s = m_imaging.MmPorPixel();
    const QLocale c = QLocale::c();
    ui->TCoordPix->setText(QStringLiteral("(%1, %2)")
                               .arg(QString::number(double(X), 'g', 7), QString::number(double(Y), 'g', 7)));
    ui->TCoordMm->setText(
        tr("(%1, %2) mm").arg(c.toString(double(X) * s, 'f', 2), c.toString(double(Y) * s, 'f', 2)));
    SeleccionaPunto(qint16(Button), X, Y);
}

bool FSelect::leeNumero(QLineEdit *campo, double &valor) {
    bool ok = false;
    const double leido = QLocale::c().toDouble(campo->text().trimmed(), &ok);
    if (!ok) {
        Messages::error(this, tr("\"%1\" is not a number.").arg(campo->text()));
        campo->setFocus();
        campo->selectAll();
        return false;
    }
    valor = leido;
    return true;
}

void FSelect::BAcepta_Click() {
    if (!m_landmarks.canAccept()) {
        Messages::information(this, tr("Select the Ilion Point"));
        return;
    }
    double distancia = 0, interslice = 0, origenZ = 0;
    if (!leeNumero(ui->TDistancia, distancia) || !leeNumero(ui->TCorte, interslice) ||
        !leeNumero(ui->TOrigenZ, origenZ)) {
        return;
    }
    // Landmarks that cannot place a grid are refused, saying why; the cells whose aiming meets no
    // scalp are named, and the calibration is accepted without them.
    QString missing;
    try {
        m_imaging.PonCalibracion(distancia, interslice, origenZ);
        if (const QString refused = gridRefusal(m_imaging); !refused.isEmpty()) {
            Messages::error(this, refused);
            return;
        }
        missing = noScalpWarning(cellsWithoutScalp(m_imaging));
    } catch (const ImagingError &e) {
        Messages::error(this, e.message());
        return;
    }
    if (!missing.isEmpty()) {
        Messages::information(this, missing);
    }
    m_imaging.DialogoAceptado = true;
    accept();
}

void FSelect::bCancela_Click() {
    reject();
}
