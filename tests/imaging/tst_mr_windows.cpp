#include "AppState.h"
#include "AssociatedMr.h"
#include "AssociatedMrView.h"
#include "FInicio.h"
#include "FResonancia.h"
#include "FSelect.h"
#include "ImagingLibrary.h"
#include "ImagingState.h"
#include "IniFile.h"
#include "Messages.h"
#include "MrPicture.h"
#include "PhantomWriter.h"
#include "SharedQueries.h"
#include "StudyFixture.h"
#include "Volume.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>

// The MR windows on phantom series: the loader, the point selection, the associated MR window and
// the road from "Load asociated MR..." to the subject's stored directory.
class TestMrWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void loaderConvertsEveryDicomFileAndStacksTheBitmapsInNameOrder();
    void jpegSeriesTakesTheDefaultSpacing();
    void singleFileDirectoryBuildsNoVolume();
    void mixedSeriesIsReportedAndStillBuilt();
    void selectShowsMillimetresFromTheDefaultLandmarks();
    void selectRefusesOkUntilTheIlionIsPlacedAndCalibratesIn3D();
    void selectHidesTheSpacingWhenTheSeriesCarriesIt();
    void resonanceAimsCellsFromTheIlionDirection_data();
    void resonanceAimsCellsFromTheIlionDirection();
    void resonanceReadsTheDepthOnlyAtTheNextUpdate();
    void resonanceStandsBesideItsOwnerAndOnlyItClosesIt();
    void loadAssociatedMrStoresTheSubjectsDirectory();

private:
    // A series directory named with upper case: IMG001.DCM ... and, from the middle on, no extension.
    QString writeSeries(const QString &name, const Phantom::Options &options);
    QString bySpacing(double spacing, int slices, const QString &name);
    // Loads a DICOM series as the loader window does; the state then holds the volume.
    void load(const QString &directory, bool jpgOnly = false);
    // The Ilion at the back of the phantom's head, accepted as the point selection accepts it.
    void calibrate();
    void screenshot(QWidget &window, const QString &name);

    QTemporaryDir m_dir;
    Phantom::Options m_options;
    QString m_series;
    std::unique_ptr<ImagingLibrary> m_library;
    std::unique_ptr<ImagingState> m_imaging;
    std::unique_ptr<AppState> m_app;
    QList<Messages::Shown> m_messages;
};

QString TestMrWindows::writeSeries(const QString &name, const Phantom::Options &options) {
    const QString written = m_dir.filePath(name + QStringLiteral("_phantom"));
    QString error;
    if (!Phantom::write(written, options, &error)) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    const QString target = m_dir.filePath(name);
    QDir().mkpath(target);
    const QStringList files = QDir(written).entryList(QDir::Files, QDir::Name);
    for (int i = 0; i < files.size(); ++i) {
        const QString renamed = i < files.size() / 2
                                    ? QStringLiteral("IMG%1.DCM").arg(i + 1, 3, 10, QLatin1Char('0'))
                                    : QStringLiteral("IMG%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        QFile::rename(QDir(written).filePath(files.at(i)), QDir(target).filePath(renamed));
    }
    return target;
}

void TestMrWindows::initTestCase() {
    m_options.slices = 24;
    m_options.size = 64;
    m_options.spacing = 2.0;
    m_options.thickness = 5.0;
    m_series = writeSeries(QStringLiteral("Series1"), m_options);
    QVERIFY(!m_series.isEmpty());
    Messages::setResponder([this](const Messages::Shown &shown) {
        m_messages << shown;
        return true;
    });
}

void TestMrWindows::init() {
    m_library = std::make_unique<ImagingLibrary>();
    m_imaging = std::make_unique<ImagingState>(*m_library);
    m_app = std::make_unique<AppState>();
    m_app->RutaConfig = m_dir.filePath(QStringLiteral("config.ini"));
    m_messages.clear();
}

void TestMrWindows::cleanup() {
    m_app.reset();
    m_imaging.reset();
    m_library.reset();
}

void TestMrWindows::load(const QString &directory, bool jpgOnly) {
    FInicio loader(*m_app, *m_imaging);
    QVERIFY(loader.setDirectorio(directory));
    loader.findChild<QComboBox *>(QStringLiteral("CFilter"))->setCurrentIndex(jpgOnly ? 1 : 0);
    loader.bCargar_Click();
}

void TestMrWindows::calibrate() {
    const Phantom::Geometry g = Phantom::geometry(m_options);
    m_imaging->InicializaResonancia();
    m_imaging->PonReferencia(std::round(g.cx - g.rx + 0.5), std::round(g.cy), std::round(g.cz), 3);
    m_imaging->PonCalibracion(200, m_options.thickness, 1);
    m_app->ResonanciaCargada = true;
}

void TestMrWindows::screenshot(QWidget &window, const QString &name) {
    const QString directory = qEnvironmentVariable("ZK_SCREENSHOT_DIR");
    if (!directory.isEmpty()) {
        QVERIFY(window.grab().save(QDir(directory).filePath(name)));
    }
}

void TestMrWindows::loaderConvertsEveryDicomFileAndStacksTheBitmapsInNameOrder() {
    FInicio loader(*m_app, *m_imaging);
    QVERIFY(loader.setDirectorio(m_series));
    QCOMPARE(LeeIni(m_app->RutaConfig, "ZoBrain", "ImageDir", ""), m_series);
    auto *files = loader.findChild<QListWidget *>(QStringLiteral("File1"));
    QCOMPARE(files->count(), m_options.slices); // "*.dcm;*." shows both halves
    auto *estado = loader.findChild<QLabel *>(QStringLiteral("TEstado"));

    // Closing while the load runs is refused; the load lets events run, so this lands inside it.
    bool closedDuringLoad = true;
    QString shownDuringLoad;
    QTimer::singleShot(0, &loader, [&] {
        shownDuringLoad = estado->text();
        closedDuringLoad = loader.close();
        loader.reject();
    });
    loader.show();
    loader.bCargar_Click();
    QVERIFY(!closedDuringLoad);
    QVERIFY2(shownDuringLoad.startsWith(QLatin1String("Conviertiendo ")), qPrintable(shownDuringLoad));
    QVERIFY(m_imaging->DialogoAceptado);
    QCOMPARE(loader.result(), int(QDialog::Accepted));

    const QDir dir(m_series);
    QCOMPARE(dir.entryList({QStringLiteral("*.jpg")}, QDir::Files).size(), m_options.slices);
    QCOMPARE(dir.entryList({QStringLiteral("*.bmp")}, QDir::Files).size(), m_options.slices);
    QVERIFY(dir.exists(QStringLiteral("IMG024.bmp"))); // a file without extension, converted too
    // Stacked in name order: slice k of the volume is the k-th bitmap.
    const QStringList &serie = m_imaging->SerieImagenes;
    QCOMPARE(serie.size(), m_options.slices);
    QVERIFY(std::is_sorted(serie.begin(), serie.end()));
    const Volume *volume = m_library->volume(m_imaging->VolumenActual);
    QVERIFY(volume);
    for (int k : {0, 5, 23}) {
        QCOMPARE(volume->cutZ(k), QImage(serie.at(k)).convertToFormat(QImage::Format_Grayscale8));
    }
    QCOMPARE(m_imaging->Interslice, m_options.thickness);
    QCOMPARE(m_imaging->MmPixelFijo, m_options.spacing);
}

void TestMrWindows::jpegSeriesTakesTheDefaultSpacing() {
    load(m_series); // leaves the JPEG pictures
    load(m_series); // and loads again over them
    QVERIFY(m_messages.isEmpty());
    load(m_series, true);
    QVERIFY(m_imaging->DialogoAceptado);
    QCOMPARE(m_imaging->Interslice, 2.0);
    QCOMPARE(m_imaging->MmPixelFijo, 0.0);
    QCOMPARE(m_imaging->FrameCero, 0.0);
}

void TestMrWindows::singleFileDirectoryBuildsNoVolume() {
    const QString single = m_dir.filePath(QStringLiteral("Single"));
    QDir().mkpath(single);
    QFile::copy(QDir(m_series).filePath(QStringLiteral("IMG001.DCM")),
                QDir(single).filePath(QStringLiteral("IMG001.DCM")));
    FInicio loader(*m_app, *m_imaging);
    QVERIFY(loader.setDirectorio(single));
    loader.bCargar_Click();
    QVERIFY(!m_imaging->DialogoAceptado);
    QCOMPARE(m_imaging->VolumenActual, 0);
    QCOMPARE(m_imaging->Interslice, 2.0); // a one-entry listing reads no DICOM file
    QVERIFY(loader.findChild<QPushButton *>(QStringLiteral("bCargar"))->isEnabled());
    QVERIFY(loader.findChild<QProgressBar *>(QStringLiteral("Progreso"))->isHidden());
    QVERIFY(m_messages.isEmpty());
}

void TestMrWindows::mixedSeriesIsReportedAndStillBuilt() {
    Phantom::Options other = m_options;
    other.spacing = 1.0;
    other.slices = 2;
    const QString second = writeSeries(QStringLiteral("Other"), other);
    const QString mixed = m_dir.filePath(QStringLiteral("Mixed"));
    QDir().mkpath(mixed);
    QFile::copy(QDir(m_series).filePath(QStringLiteral("IMG001.DCM")),
                QDir(mixed).filePath(QStringLiteral("a.dcm")));
    QFile::copy(QDir(second).filePath(QStringLiteral("IMG001.DCM")),
                QDir(mixed).filePath(QStringLiteral("b.dcm")));
    load(mixed);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QStringLiteral("Imagenes no definidas igual"));
    QVERIFY(m_imaging->DialogoAceptado);
    QCOMPARE(m_imaging->MmPixelFijo, m_options.spacing); // the first file's values
}

void TestMrWindows::selectShowsMillimetresFromTheDefaultLandmarks() {
    load(m_series);
    load(m_series, true); // no DICOM geometry: the landmarks calibrate
    m_imaging->InicializaResonancia();
    FSelect select(*m_imaging);
    QVERIFY(!select.findChild<QGroupBox *>(QStringLiteral("Frame2"))->isHidden());
    QCOMPARE(select.findChild<QSlider *>(QStringLiteral("SFrames"))->maximum(), m_options.slices - 1);
    QCOMPARE(select.findChild<QSlider *>(QStringLiteral("SFrames"))->value(), 12); // 11.5 to even
    select.Picture1_MouseMove(0, QPointF(10, 20.5));
    QCOMPARE(select.findChild<QLabel *>(QStringLiteral("TCoordPix"))->text(), QStringLiteral("(10, 20.5)"));
    // 200 mm over the 222.3 voxels between (246, 121) and (25, 97): 0.8997 mm per unit.
    QCOMPARE(select.findChild<QLabel *>(QStringLiteral("TCoordMm"))->text(),
             QStringLiteral("(9.00, 18.44) mm"));
}

void TestMrWindows::selectRefusesOkUntilTheIlionIsPlacedAndCalibratesIn3D() {
    load(m_series);
    load(m_series, true);
    m_imaging->InicializaResonancia();
    FSelect select(*m_imaging);
    select.resize(500, 400);
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    auto *frames = select.findChild<QSlider *>(QStringLiteral("SFrames"));
    select.BAcepta_Click();
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QStringLiteral("Select the Ilion Point"));
    QVERIFY(select.isVisible());

    // Landmark 1 on slice 3, landmark 2 on slice 7: 30 voxels apart across, 4 slices deep.
    frames->setValue(3);
    QTest::mouseClick(select.findChild<QToolButton *>(QStringLiteral("Toolbar1Button1")), Qt::LeftButton);
    select.SeleccionaPunto(1, 10, 10);
    frames->setValue(7);
    QTest::mouseClick(select.findChild<QToolButton *>(QStringLiteral("Toolbar1Button2")), Qt::LeftButton);
    select.SeleccionaPunto(1, 40, 10);
    select.SeleccionaPunto(2, 50, 50); // the right button places nothing

    // The Ilion with the real mouse: pressed, then dragged with the left button held.
    QTest::mouseClick(select.findChild<QPushButton *>(QStringLiteral("bIlion")), Qt::LeftButton);
    auto *picture = select.findChild<MrPicture *>(QStringLiteral("Picture1"));
    const QPoint press = picture->surface().toPixel(6.2, 32.4);
    QTest::mousePress(picture, Qt::LeftButton, {}, press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(picture->surface().toPixel(8.5, 32.4)),
                     picture->mapToGlobal(QPointF()), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &drag);
    QVERIFY(select.ilionElegido());
    QCOMPARE(m_imaging->ReferenciaIlion.z, 7.0);
    QVERIFY(std::abs(m_imaging->ReferenciaIlion.x - 8) <= 1);
    QCOMPARE(m_imaging->ReferenciaIlion.y, 32.0);
    QCOMPARE(m_imaging->Referencia1.z, 3.0);
    QCOMPARE(m_imaging->Referencia2.x, 40.0);
    screenshot(select, QStringLiteral("FSelect.png"));

    select.BAcepta_Click();
    QVERIFY(m_imaging->DialogoAceptado);
    QCOMPARE(m_imaging->MmPorPixel(), 200 / std::sqrt(30.0 * 30 + 4 * 4));
    QVERIFY(m_imaging->Radio > 0);
}

void TestMrWindows::selectHidesTheSpacingWhenTheSeriesCarriesIt() {
    load(m_series);
    m_imaging->InicializaResonancia();
    FSelect select(*m_imaging);
    QVERIFY(select.findChild<QGroupBox *>(QStringLiteral("Frame2"))->isHidden());
    QVERIFY(!select.findChild<QLineEdit *>(QStringLiteral("TCorte"))->isEnabled());
    QCOMPARE(select.findChild<QLineEdit *>(QStringLiteral("TCorte"))->text(), QStringLiteral("5"));
    select.bCancela_Click();
    QVERIFY(!m_imaging->DialogoAceptado);
}

void TestMrWindows::resonanceAimsCellsFromTheIlionDirection_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("arcH");
    QTest::addColumn<int>("arcV");
    QTest::newRow("cell 14, the origin") << 14 << 0 << 0;
    QTest::newRow("cell 0, bottom left") << 0 << -80 << -20;
    QTest::newRow("cell 48, top right") << 48 << 80 << 60;
}

void TestMrWindows::resonanceAimsCellsFromTheIlionDirection() {
    QFETCH(int, cell);
    QFETCH(int, arcH);
    QFETCH(int, arcV);
    load(m_series);
    calibrate();
    FResonancia window(*m_app, *m_imaging);
    window.actualiza_resonancia(cell, nullptr);
    const double r = m_imaging->MmPorPixel() * m_imaging->Radio;
    QCOMPARE(m_imaging->AnguloHorizontal, arcH * 360.0 / (2 * std::acos(-1.0) * r));
    QCOMPARE(m_imaging->AnguloVertical, arcV * 360.0 / (2 * std::acos(-1.0) * r));
    const auto &e = m_imaging->PuntoExterno;
    const auto &i = m_imaging->PuntoIlion;
    if (cell == 14) {
        // Straight through the Ilion point: the scalp is met there.
        QVERIFY2(std::abs(e.x - i.x) <= 1 && e.y == i.y && e.z == i.z,
                 qPrintable(QStringLiteral("(%1, %2, %3)").arg(e.x).arg(e.y).arg(e.z)));
    } else {
        // Negative horizontal arcs turn towards higher slices; the ray meets the phantom's scalp.
        QCOMPARE(e.z > i.z, arcH < 0);
        const double scale = Phantom::geometry(m_options).scale(e.x, e.y, e.z);
        QVERIFY2(scale > 0.85 && scale < 1.1, qPrintable(QString::number(scale)));
    }
}

void TestMrWindows::resonanceReadsTheDepthOnlyAtTheNextUpdate() {
    load(m_series);
    calibrate();
    FResonancia window(*m_app, *m_imaging);
    window.resize(360, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.actualiza_resonancia(14, nullptr);
    const auto scalp = m_imaging->PuntoExterno;
    QCOMPARE(m_imaging->PuntoTarget.x, qint16(scalp.x + 15));
    screenshot(window, QStringLiteral("FResonancia.png"));

    auto *depth = window.findChild<QLineEdit *>(QStringLiteral("TProfundidad"));
    depth->setText(QStringLiteral("5"));
    QCOMPARE(m_imaging->PuntoTarget.x, qint16(scalp.x + 15));
    window.actualiza_resonancia(14, nullptr);
    QCOMPARE(m_imaging->PuntoTarget.x, qint16(scalp.x + 5));

    depth->setText(QStringLiteral("deep"));
    window.actualiza_resonancia(4, nullptr);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_imaging->Profundidad, 5.0);
    QCOMPARE(m_imaging->PuntoTarget.x, qint16(scalp.x + 5));

    // Without the associated MR loaded nothing happens.
    depth->setText(QStringLiteral("10"));
    m_app->ResonanciaCargada = false;
    window.actualiza_resonancia(9, nullptr);
    QCOMPARE(window.celda(), 4);
    QCOMPARE(m_imaging->Profundidad, 5.0);
}

void TestMrWindows::resonanceStandsBesideItsOwnerAndOnlyItClosesIt() {
    load(m_series);
    calibrate();
    QWidget owner;
    owner.setGeometry(40, 50, 300, 200);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    // What the check box "View magnetic resonance" does.
    AssociatedMrView view(*m_app, *m_imaging, &owner);
    view.CRM_Click(true, 23);
    QPointer<FResonancia> window = view.window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->celda(), 23);
    QCOMPARE(window->propietaria(), &owner);
    QCOMPARE(window->pos(), QPoint(owner.frameGeometry().right() + 1, owner.frameGeometry().top()));
    view.update(31);
    QCOMPARE(window->celda(), 31);
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    view.CRM_Click(false, 31);
    QVERIFY(!window || !window->isVisible());
}

void TestMrWindows::loadAssociatedMrStoresTheSubjectsDirectory() {
    StudyFixture study;
    study.addSubject(7, QStringLiteral("Ana"));
    study.release();
    QVERIFY(m_app->AbreBaseDatos(study.path()).isEmpty());
    m_app->FijaPaciente(7, QStringLiteral("Ana"), 5, 9, 1, 4);
    m_app->ResonanciaCargada = true; // from an earlier subject: cleared first
    EscribeIni(m_app->RutaConfig, "ZoBrain", "ImageDir", m_dir.path());

    // The operator: in the loader goes to the series and loads it; in the point selection places
    // the Ilion and accepts.
    QStringList seen;
    std::function<void()> operador = [&] {
        if (auto *loader = qobject_cast<FInicio *>(QApplication::activeModalWidget())) {
            seen << loader->objectName();
            loader->setDirectorio(m_series);
            loader->bCargar_Click();
        } else if (auto *select = qobject_cast<FSelect *>(QApplication::activeModalWidget())) {
            seen << select->objectName();
            QTest::mouseClick(select->findChild<QPushButton *>(QStringLiteral("bIlion")), Qt::LeftButton);
            select->SeleccionaPunto(1, 8, 32);
            select->BAcepta_Click();
            return;
        }
        if (seen.size() < 2) {
            QTimer::singleShot(10, operador);
        }
    };
    QTimer::singleShot(0, operador);
    QWidget main;
    QVERIFY(CargaResonanciaPaciente(&main, *m_app, *m_imaging));
    QCOMPARE(seen, (QStringList{QStringLiteral("FInicio"), QStringLiteral("FSelect")}));
    QVERIFY(m_app->ResonanciaCargada);
    QCOMPARE(DameRutaResonancias(m_app->BaseDatos, 7), m_series);
    QCOMPARE(LeeIni(m_app->RutaConfig, "ZoBrain", "ImageDir", ""), m_series);
    QVERIFY(m_imaging->Radio > 0);
    m_app->CierraBaseDatos();
}

QTEST_MAIN(TestMrWindows)
#include "tst_mr_windows.moc"
