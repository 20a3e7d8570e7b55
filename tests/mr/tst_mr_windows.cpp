#include "core/IniFile.h"
#include "data/SharedQueries.h"
#include "data/SubjectCalibration.h"
#include "imaging/Volume.h"
#include "mr/AssociatedMr.h"
#include "mr/AssociatedMrView.h"
#include "mr/FInicio.h"
#include "mr/FResonancia.h"
#include "mr/FSelect.h"
#include "mr/LandmarkModel.h"
#include "mr/MrPicture.h"
#include "support/ImagingFixtures.h"
#include "support/MessageLog.h"
#include "support/MrRecords.h"
#include "support/StudyInApp.h"
#include "support/Widgets.h"

#include <QDir>
#include <QFileDialog>
#include <QProgressBar>
#include <QSlider>
#include <QToolButton>

#include <cmath>

// The MR windows on phantom series: the loader, the point selection and its landmark mode, the
// associated MR window and the road from "Load asociated MR..." to the subject's stored directory.
// Aiming at the cells is tested in tst_phantom_geometry.
class TestMrWindows : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    const Phantom::Options m_options{.slices = 24, .size = 64, .spacing = 2.0, .thickness = 5.0};
    QString m_series;
    std::optional<Loading> m; // the imaging library and state, new for each test
    ImagingLibrary *m_library = nullptr;
    ImagingState *m_imaging = nullptr;
    std::unique_ptr<AppState> m_app;
    MessageLog m_messages{true};

    // The fingerprint of the phantom series.
    QString fingerprint() const {
        return StoredCalibration::dicomFingerprint(DicomFiles::scanFolder(m_series).series.at(0));
    }

    // Loads a series as the loader window does; the state then holds the volume.
    void load(const QString &directory, bool jpgOnly = false) {
        FInicio loader(*m_app, *m_imaging);
        QVERIFY(loader.setDirectorio(directory));
        child<QComboBox>(&loader, "CFilter")->setCurrentIndex(jpgOnly ? 1 : 0);
        loader.bCargar_Click();
    }

private slots:
    void initTestCase() {
        // Named with upper case as scanners write them: IMG001.DCM ... and, from the middle on, no extension.
        const QString written = m_dir.filePath("phantom");
        QVERIFY(Phantom::write(written, m_options));
        m_series = m_dir.filePath("Series1");
        QVERIFY(QDir().mkpath(m_series));
        for (int i = 1; i <= m_options.slices; ++i) {
            const QString name = QStringLiteral("IMG%1").arg(i, 3, 10, QLatin1Char('0'));
            QVERIFY(QFile::rename(written + QStringLiteral("/slice%1.dcm").arg(i, 4, 10, QLatin1Char('0')),
                                  m_series + '/' + name + (2 * i <= m_options.slices ? ".DCM" : "")));
        }
    }

    void init() {
        m_app = std::make_unique<AppState>();
        m_app->RutaConfig = m_dir.filePath("config.ini");
        m_library = &m.emplace().library;
        m_imaging = &m->state;
        m_messages.clear();
    }

    void loaderListsTheSeriesAndLoadsItWithoutWritingBesideIt() {
        FInicio loader(*m_app, *m_imaging);
        QVERIFY(loader.setDirectorio(m_series));
        QCOMPARE(LeeIni(m_app->RutaConfig, "ZoBrain", "ImageDir", ""), m_series);
        QCOMPARE(child<QListWidget>(&loader, "File1")->count(), m_options.slices);
        QCOMPARE(loader.series(), QStringList{"1: Synthetic head phantom (24 images, sagittal)"});
        auto *estado = child<QLabel>(&loader, "TEstado");

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
        QVERIFY2(!closedDuringLoad && shownDuringLoad.startsWith("Conviertiendo "),
                 qPrintable(shownDuringLoad));
        QVERIFY(m_imaging->DialogoAceptado);
        QCOMPARE(QDir(m_series).entryList(QDir::Files).size(), m_options.slices);
        QCOMPARE(m_library->volume(m_imaging->VolumenActual)->slices(), m_options.slices);
    }

    // A series of several volumes offers them; the one chosen is built. One volume offers no choice.
    void theLoaderOffersTheVolumesOfASeriesOfSeveral() {
        QTemporaryDir echoes;
        QVERIFY(Phantom::write(echoes.path(),
                               Phantom::Options{.slices = 6, .size = 32, .volumes = 2, .echoes = true}));
        FInicio loader(*m_app, *m_imaging);
        QVERIFY(loader.setDirectorio(echoes.path()));
        auto *volumes = child<QComboBox>(&loader, "volumeChoice");
        QVERIFY(volumes->count() == 2 && volumes->isVisibleTo(&loader));
        volumes->setCurrentIndex(1);
        loader.bCargar_Click();
        QVERIFY(m_imaging->DialogoAceptado);
        Loading second; // the second echo, as the loader builds it when told
        QVERIFY(second.loader.i_CargarImagenes(echoes.path(), false, false, 0, 1));
        const Volume *built = m_library->volume(m_imaging->VolumenActual);
        QVERIFY(built && built->cutZ(3) == second.library.volume(second.state.VolumenActual)->cutZ(3));
        QVERIFY(loader.setDirectorio(m_series));
        QVERIFY(volumes->count() == 0 && !volumes->isVisibleTo(&loader));
    }

    // What the loader finds wrong is one message (its texts: tst_dicom_files); a folder without images
    // leaves the loader open, ready for another folder.
    void aFolderWithoutImagesLeavesTheLoaderOpen() {
        QTemporaryDir folder;
        QVERIFY(QFile(folder.filePath("readme.txt")).open(QIODevice::WriteOnly));
        FInicio loader(*m_app, *m_imaging);
        QVERIFY(loader.setDirectorio(folder.path()));
        loader.bCargar_Click();
        QVERIFY2(m_messages.size() == 1 && m_messages[0].text.contains("holds no DICOM image series"),
                 qPrintable(m_messages.value(0).text));
        QVERIFY(!m_imaging->DialogoAceptado && m_library->volume(m_imaging->VolumenActual) == nullptr);
        QVERIFY(child<QPushButton>(&loader, "bCargar")->isEnabled() &&
                child<QProgressBar>(&loader, "Progreso")->isHidden());
    }

    void jpegSeriesTakesTheDefaultSpacingAndSelectCalibratesOnceTheIlionIsPlaced() {
        load(m_series);
        m_imaging->InicializaResonancia();
        {
            // The series carries its spacing: the calibration box is hidden and the slice spacing fixed.
            FSelect select(*m_imaging);
            QVERIFY(child<QGroupBox>(&select, "Frame2")->isHidden() &&
                    !child<QLineEdit>(&select, "TCorte")->isEnabled());
            QCOMPARE(child<QLineEdit>(&select, "TCorte")->text(), "5");
            select.bCancela_Click();
            QVERIFY(!m_imaging->DialogoAceptado);
        }
        load(m_series, true); // the cached pictures: the default spacing, and the landmarks calibrate
        QVERIFY(m_imaging->DialogoAceptado && m_messages.isEmpty());
        m_imaging->InicializaResonancia();
        FSelect select(*m_imaging);
        QVERIFY(!child<QGroupBox>(&select, "Frame2")->isHidden());
        QCOMPARE(child<QSlider>(&select, "SFrames")->value(), 12); // 11.5 to even
        select.Picture1_MouseMove(0, QPointF(10, 20.5));
        // 200 mm over the 222.3 voxels between (246, 121) and (25, 97): 0.8997 mm per unit.
        QCOMPARE(child<QLabel>(&select, "TCoordPix")->text() + " " +
                     child<QLabel>(&select, "TCoordMm")->text(),
                 "(10, 20.5) (9.00, 18.44) mm");

        // OK is refused until the Ilion is placed; the landmarks then calibrate in 3D.
        select.resize(500, 400);
        QVERIFY(exposed(&select));
        auto *frames = child<QSlider>(&select, "SFrames");
        select.BAcepta_Click();
        QVERIFY(m_messages.texts() == QStringList{"Select the Ilion Point"} && select.isVisible());

        // Landmark 1 on slice 3, landmark 2 on slice 7: 30 voxels apart across, 4 slices deep.
        frames->setValue(3);
        QTest::mouseClick(child<QToolButton>(&select, "Toolbar1Button1"), Qt::LeftButton);
        select.SeleccionaPunto(1, 10, 10);
        frames->setValue(7);
        QTest::mouseClick(child<QToolButton>(&select, "Toolbar1Button2"), Qt::LeftButton);
        select.SeleccionaPunto(1, 40, 10);

        // The Ilion with the real mouse: pressed, then dragged with the left button held.
        QTest::mouseClick(child<QPushButton>(&select, "bIlion"), Qt::LeftButton);
        auto *picture = child<MrPicture>(&select, "Picture1");
        const QPoint press = picture->surface().toPixel(6.2, 32.4);
        QTest::mousePress(picture, Qt::LeftButton, {}, press);
        QMouseEvent drag(QEvent::MouseMove, QPointF(picture->surface().toPixel(8.5, 32.4)),
                         picture->mapToGlobal(QPointF()), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &drag);
        QVERIFY(select.landmarks().canAccept());
        const auto &ilion = m_imaging->ReferenciaIlion;
        QVERIFY(std::abs(ilion.x - 8) <= 1 && ilion.y == 32 && ilion.z == 7);

        select.BAcepta_Click();
        QVERIFY(m_imaging->DialogoAceptado);
        QCOMPARE(m_imaging->MmPorPixel(), 200 / std::sqrt(30.0 * 30 + 4 * 4));
    }

    void resonanceStandsBesideItsOwnerAndReadsTheDepthAtTheNextUpdate() {
        // The series loaded, the Ilion at the back of the phantom's head, accepted as the point selection
        // accepts it.
        load(m_series);
        const Phantom::Geometry g = Phantom::geometry(m_options);
        m_imaging->InicializaResonancia();
        m_imaging->PonReferencia(std::round(g.cx - g.rx + 0.5), std::round(g.cy), std::round(g.cz), 3);
        m_imaging->PonCalibracion(200, m_options.thickness, 1);
        m_app->ResonanciaCargada = true;
        QWidget owner;
        owner.setGeometry(40, 50, 300, 200);
        QVERIFY(exposed(&owner));
        // What the check box "View magnetic resonance" does.
        AssociatedMrView view(*m_app, *m_imaging, &owner);
        view.CRM_Click(true, 14);
        QPointer<FResonancia> window = view.window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->pos(), QPoint(owner.frameGeometry().right() + 1, owner.frameGeometry().top()));
        const auto scalp = m_imaging->PuntoExterno;
        QCOMPARE(m_imaging->PuntoTarget.x, qint16(scalp.x + 15));

        auto *depth = child<QLineEdit>(window, "TProfundidad");
        depth->setText("5");
        QCOMPARE(m_imaging->PuntoTarget.x, qint16(scalp.x + 15));
        view.update(14);
        QCOMPARE(m_imaging->PuntoTarget.x, qint16(scalp.x + 5));

        depth->setText("deep");
        view.update(4);
        QVERIFY(m_messages.size() == 1 && window->celda() == 4 && m_imaging->PuntoTarget.x == scalp.x + 5);

        // Without the associated MR loaded nothing happens.
        depth->setText("10");
        m_app->ResonanciaCargada = false;
        view.update(9);
        QVERIFY(window->celda() == 4 && m_imaging->Profundidad == 5.0);

        QVERIFY(!window->close());
        view.CRM_Click(false, 9);
        QVERIFY(!window || !window->isVisible());
    }

    // "Load asociated MR...": without a stored calibration or folder the loader opens in the program's
    // folder and the operator goes to the series. With one, the loader opens on its series (asking for the
    // folder when it is not where it was), the point selection shows its landmarks and OK accepts them as
    // they are; a series that is not the one calibrated is named, and its landmarks start from the defaults.
    // Either way the series and the landmarks accepted are kept with the subject.
    void theStoredCalibrationComesBackOnItsOwnSeriesOnly_data() {
        QTest::addColumn<QString>("place"); // "none" stored; the series "here" or "moved"
        QTest::addColumn<bool>("sameSeries");
        QTest::addColumn<QString>("told"); // what the one message says, "" for none
        QTest::newRow("no calibration stored") << "none" << false << "";
        QTest::newRow("its series") << "here" << true << "";
        QTest::newRow("its series, moved") << "moved" << true << "";
        QTest::newRow("another series in its folder")
            << "here" << false << "The series in " + m_series + " is not the one calibrated on ";
    }
    void theStoredCalibrationComesBackOnItsOwnSeriesOnly() {
        QFETCH(QString, place);
        QFETCH(bool, sameSeries);
        QFETCH(QString, told);
        StudyFixture study;
        study.addSubject(7, "Ana");
        const SubjectCalibration::Record stored =
            calibrationOf(7, place == "moved" ? QStringLiteral("/nowhere/on/this/station/Series1") : m_series,
                          sameSeries ? fingerprint() : QStringLiteral("dicom:1.2.3.4:24"),
                          {{{10, 10, 3}, {40, 10, 7}, {8, 32, 7}}});
        if (place != "none") {
            SubjectCalibration::write(study.db(), stored);
        }
        m_app = openInApp(study, 7, "Ana");
        m_app->RutaConfig = m_dir.filePath("config.ini");

        // The operator: shows where the series is when asked, goes to it in the loader, and accepts
        // the point selection, marking the Ilion only when it is not placed yet.
        QStringList seen;
        int rounds = 0;
        std::function<void()> operador = [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *chooser = qobject_cast<QFileDialog *>(modal)) {
                seen << "chooser";
                chooser->selectFile(m_series);
                static_cast<QDialog *>(chooser)->accept();
            } else if (auto *loader = qobject_cast<FInicio *>(modal)) {
                seen << loader->directorio();
                loader->setDirectorio(m_series);
                loader->bCargar_Click();
            } else if (auto *select = qobject_cast<FSelect *>(modal)) {
                seen << (select->landmarks().canAccept() ? "placed" : "to mark");
                if (!select->landmarks().canAccept()) {
                    QTest::mouseClick(child<QPushButton>(select, "bIlion"), Qt::LeftButton);
                    select->SeleccionaPunto(1, 8, 32);
                }
                select->BAcepta_Click();
                return;
            }
            if (++rounds < 1000) {
                QTimer::singleShot(10, operador);
            }
        };
        QTimer::singleShot(0, operador);
        QWidget main;
        m_messages.reset(false); // OK offers to normalise the subject: not now
        QVERIFY(CargaResonanciaPaciente(&main, *m_app, *m_imaging));
        QStringList said = m_messages.texts();
        QVERIFY(!said.isEmpty() && said.takeLast().startsWith("Normalise subject 7"));
        QVERIFY2(said.size() == (told.isEmpty() ? 0 : 1) && said.join("").contains(told),
                 qPrintable(said.join('\n')));
        QStringList expected{place == "none" ? QCoreApplication::applicationDirPath() : m_series,
                             sameSeries ? "placed" : "to mark"};
        if (place == "moved") {
            expected.prepend("chooser");
        }
        QCOMPARE(seen, expected);
        // Accepted as they were (the series now where it was found), or from the defaults.
        const auto kept = SubjectCalibration::read(m_app->BaseDatos, 7);
        QVERIFY(m_app->ResonanciaCargada && DameRutaResonancias(m_app->BaseDatos, 7) == m_series && kept &&
                kept->series == m_series && kept->fingerprint == fingerprint() &&
                kept->accepted > stored.accepted);
        QCOMPARE((QList<double>{kept->landmarks[0].x, kept->landmarks[2].z}),
                 (sameSeries ? QList<double>{10, 7} : QList<double>{246, 12}));
        m_app->CierraBaseDatos();
    }

    // The point selection's landmark mode: what each click places, which tool bar button is down, and
    // when OK may close the window.
    void clicksPlaceTheChosenLandmarkAndOkWaitsForTheIlion_data() {
        QTest::addColumn<QStringList>("events"); // buttons pressed; "left" and "right" click the picture
        QTest::addColumn<QList<int>>("placed");  // what each click placed (0: nothing)
        QTest::addColumn<QString>("down");       // the tool bar button down afterwards
        QTest::addColumn<bool>("canAccept");
        QTest::newRow("nothing chosen") << QStringList{"left"} << QList<int>{0} << "" << false;
        QTest::newRow("point 1, then point 2")
            << QStringList{"Toolbar1Button1", "left", "Toolbar1Button2", "left"} << QList<int>{1, 2}
            << "Toolbar1Button2" << false;
        QTest::newRow("Ilion raises the tool bar")
            << QStringList{"Toolbar1Button1", "bIlion", "left"} << QList<int>{3} << "" << true;
        QTest::newRow("the right button places nothing")
            << QStringList{"bIlion", "right"} << QList<int>{0} << "" << false;
        QTest::newRow("the Ilion stays placed when a point is chosen again")
            << QStringList{"bIlion", "left", "Toolbar1Button2", "left"} << QList<int>{3, 2}
            << "Toolbar1Button2" << true;
    }
    void clicksPlaceTheChosenLandmarkAndOkWaitsForTheIlion() {
        QFETCH(QStringList, events);
        QFETCH(QList<int>, placed);
        QFETCH(QString, down);
        QFETCH(bool, canAccept);
        LandmarkModel model;
        QList<int> clicks;
        for (const QString &event : events) {
            if (event == "Toolbar1Button1" || event == "Toolbar1Button2") {
                model.choosePoint(event.endsWith('1') ? LandmarkModel::Point1 : LandmarkModel::Point2);
            } else if (event == "bIlion") {
                model.chooseIlion();
            } else {
                const LandmarkModel::Landmark landmark = model.landmarkFor(event == "left" ? 1 : 2);
                model.placed(landmark);
                clicks << landmark;
            }
        }
        QCOMPARE(clicks, placed);
        QCOMPARE(QString(model.point1Down()   ? "Toolbar1Button1"
                         : model.point2Down() ? "Toolbar1Button2"
                                              : ""),
                 down);
        QCOMPARE(model.canAccept(), canAccept);
    }
};

QTEST_MAIN(TestMrWindows)
#include "tst_mr_windows.moc"
