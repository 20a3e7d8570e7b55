// The main window: its menus as the stages leave them (the stages themselves are
// tst_main_window_model's), status panels, opening studies (from the dialog and directly),
// refusals that leave everything as it was, the messages of its items, and how screen readers
// announce the windows.

#include "support/StudyFixture.h"
#include "support/StudyInApp.h"

#include "app/MainWindow.h"
#include "core/AppState.h"
#include "drawings/DrawingView.h"
#include "experiments/EGrid.h"
#include "experiments/FVerEstimulo.h"
#include "experiments/IntroEstimulo.h"
#include "subjects/elegirpaciente.h"
#include "support/MessageLog.h"
#include "support/Widgets.h"
#include "widgets/Messages.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;

    static QAction *action(MainWindow &w, const char *name) { return w.findChild<QAction *>(name); }
    static bool menuEnabled(MainWindow &w, const char *name) {
        QMenu *menu = w.findChild<QMenu *>(name);
        return menu->isEnabled() && menu->menuAction()->isEnabled();
    }
    // The menus and items the stages enable or disable, those enabled, by name.
    static QString menus(MainWindow &w) {
        QStringList names;
        for (const char *menu : {"MPacientes", "MResultados", "MPasadas"}) {
            names << (menuEnabled(w, menu) ? menu : "");
        }
        for (const char *item : {"MRInforme", "MRInformePDF", "MPResonancias"}) {
            names << (action(w, item)->isEnabled() ? item : "");
        }
        names.removeAll(QString());
        return names.join(' ');
    }
    static QStringList panels(MainWindow &w) { return {w.panelText(1), w.panelText(2), w.panelText(3)}; }

    // Answers the next open dialog: with `file` selected and accepted, or cancelled when empty.
    // What the dialog showed is kept in `seen` (title and proposed file).
    static void answerOpenDialog(const QString &file, QStringList *seen) {
        QTimer::singleShot(0, [file, seen] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog) {
                return;
            }
            *seen << dialog->windowTitle() << dialog->selectedFiles().value(0)
                  << dialog->nameFilters().join(";;");
            if (file.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(file);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
    }

private slots:
    void init() {
        m_messages.clear();
        m_messages.setAnswer(false);
    }

    void startShowsTitleVersionAndFirstStage() {
        AppState state;
        MainWindow w(state);
        QCOMPARE(w.windowTitle(), QStringLiteral("Zo Magnetic Stimulation Data Base 1.8"));
        QCOMPARE(panels(w), QStringList({"Datos: ninguno", "Paciente: ninguno", "v.1.8.4"}));
        QCOMPARE(menus(w), QString());
        QVERIFY(action(w, "MAElegir")->isEnabled());
        QVERIFY(action(w, "MPSalir")->isEnabled());
        QVERIFY(menuEnabled(w, "MArchivo") && menuEnabled(w, "MAyuda"));
    }

    void menusHaveTheirItemsInOrder() {
        AppState state;
        MainWindow w(state);
        QStringList layout;
        for (QAction *top : w.menuBar()->actions()) {
            QStringList items;
            for (QAction *item : top->menu()->actions()) {
                items << (item->isSeparator() ? QStringLiteral("-")
                                              : item->objectName() + "=" + item->text());
            }
            layout << top->menu()->objectName() + "=" + top->text() + " [" + items.join(", ") + "]";
        }
        QCOMPARE(layout,
                 QStringList({
                     "MArchivo=&File [MAElegir=&Open data base..., -, MPSalir=&Exit]",
                     "MPacientes=&Subjects [MPSelecciona=&Select Subject..., MPVer=&Subjects Form..., "
                     "MPResonancias=&Load asociated MR...]",
                     "MResultados=&Results [MRAcumulada=&Comparing stimulations..., MRInforme=&Print "
                     "subject report, MRInformePDF=Save subject report as PDF...]",
                     "MPasadas=&Experiments [MANueva=&New experiment..., MARetomar=&Continue last "
                     "experiment..., -, MAEstimulo=&View experiments..., MAEdita=&Edit experiments...]",
                     "MAyuda=&Help [MAcerca=&About...]",
                 }));
    }

    void openingAStudyNamesItAndEnablesSubjects() {
        StudyFixture study("lab 2026.sqlite");
        study.release();
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(study.path()));
        QCOMPARE(state.RutaBaseDatos, study.path());
        QVERIFY(state.BaseDatos.isOpen());
        QCOMPARE(panels(w), QStringList({"Data Base: lab 2026.sqlite", "Subject: none", "v.1.8.4"}));
        QCOMPARE(menus(w), QStringLiteral("MPacientes MResultados"));
        QVERIFY(m_messages.isEmpty());
    }

    void openDialogProposesEmptyFirstThenTheOpenStudy() {
        StudyFixture first("first.sqlite");
        first.release();
        AppState state;
        MainWindow w(state);
        QStringList seen;
        answerOpenDialog(first.path(), &seen);
        action(w, "MAElegir")->trigger();
        QCOMPARE(seen.value(0), QStringLiteral("Select a Data Base"));
        QCOMPARE(QFileInfo(seen.value(1)).fileName(), QStringLiteral("empty.mdb"));
        QVERIFY2(seen.value(2).contains("*.sqlite") && seen.value(2).contains("*.mdb"),
                 qPrintable(seen.value(2)));
        QCOMPARE(state.RutaBaseDatos, first.path());
        QCOMPARE(w.panelText(1), QStringLiteral("Data Base: first.sqlite"));

        seen.clear();
        answerOpenDialog(QString(), &seen); // cancel
        action(w, "MAElegir")->trigger();
        QCOMPARE(seen.value(1), first.path());
        QCOMPARE(state.RutaBaseDatos, first.path());
    }

    void secondStudyResetsTheSubjectAndReleasesTheFirst() {
        StudyFixture a("a.sqlite"), b("b.sqlite");
        a.release();
        b.release();
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(a.path()));
        state.FijaPaciente(3, "Paco Díaz", 2, 5);
        w.setPanelText(2, "Subject: Paco Díaz");

        QVERIFY(w.openStudy(b.path()));
        QCOMPARE(state.RutaBaseDatos, b.path());
        QCOMPARE(state.IdPacienteActual, -1);
        QCOMPARE(state.NombrePacienteActual, QString());
        QCOMPARE(QList<int>({state.FilaCentroRejilla, state.ColumnaCentroRejilla}), QList<int>({1, 4}));
        QCOMPARE(w.panelText(2), QStringLiteral("Subject: none"));
        // The first study was released: another program may open it now.
        Study::Opened again = Study::open(a.path());
        QVERIFY2(again.ok(), qPrintable(again.error));
        Study::close(again.db);
    }

    void reopeningTheOpenStudyKeepsItOpen() {
        StudyFixture a;
        a.release();
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(a.path()));
        QVERIFY(w.openStudy(a.path()));
        QVERIFY(state.BaseDatos.isOpen());
        QVERIFY(m_messages.isEmpty());
    }

    // The reasons themselves are the study engines' (tst_study_files, tst_legacy_import); here, that
    // a refused open and a refused import leave the window and the open study as they were.
    void failedOpenLeavesEverythingAsBefore_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not SQLite") << "text"
                                    << "not an SQLite";
        QTest::newRow("text file named .mdb") << "mdb"
                                              << "not an Access (Jet) data base";
        QTest::newRow("held by another program") << "locked"
                                                 << "in use by another program";
    }
    void failedOpenLeavesEverythingAsBefore() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        StudyFixture current("current.sqlite");
        current.addSubject(1, "Ana");
        current.release();
        StudyFixture other("other.sqlite"); // stays open (locked) for the "locked" row
        QString target = other.path();
        if (kind != "locked") {
            target = other.dirPath() + (kind == "mdb" ? "/legacy.mdb" : "/notes.sqlite");
            QVERIFY(writeFile(target, "just some text\n"));
        }

        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(current.path()));
        state.FijaPaciente(1, "Ana", 1, 4);
        w.setPanelText(2, "Subject: Ana");
        const QStringList panelsBefore = panels(w);
        const QString menusBefore = menus(w);

        QVERIFY(!w.openStudy(target));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].text.contains(reason), qPrintable(m_messages[0].text));
        QCOMPARE(state.RutaBaseDatos, current.path());
        QCOMPARE(state.IdPacienteActual, 1);
        QCOMPARE(panels(w), panelsBefore);
        QCOMPARE(menus(w), menusBefore);
        QSqlQuery query(state.BaseDatos);
        QVERIFY(query.exec("SELECT Nombre FROM paciente") && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("Ana"));
    }

    void legacyFileIsConvertedBesideItAndOpened() {
        QTemporaryDir dir;
        const QString mdb = dir.filePath("legacy-study.mdb");
        const QString data = qEnvironmentVariable("ZK_TEST_DATA");
        QVERIFY(QFile::copy(data + "/legacy-study.mdb", mdb));
        for (const QString &name : QDir(data + "/legacy-study_puntos").entryList(QDir::Files)) {
            QFile source(data + "/legacy-study_puntos/" + name);
            QVERIFY(source.open(QIODevice::ReadOnly));
            QVERIFY(writeFile(dir.filePath("legacy-study_puntos/" + name), source.readAll()));
        }
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(mdb));
        QCOMPARE(state.RutaBaseDatos, dir.filePath("legacy-study.sqlite"));
        QCOMPARE(w.panelText(1), QStringLiteral("Data Base: legacy-study.sqlite"));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].text.contains("4 subjects, 27 points and 28 stimuli"),
                 qPrintable(m_messages[0].text));
        // The chooser lists the imported subjects as the old program did.
        QListWidget list;
        LlenaListaPacientes(&list, state.BaseDatos, -1);
        QStringList entries;
        for (int i = 0; i < list.count(); ++i) {
            entries << list.item(i)->text();
        }
        QCOMPARE(entries, QStringList({"Begoña Ibáñez Núñez", "Ana ", "Paco Díaz", "Ana  Ruiz"}));

        // The viewer shows the first subject's experiment: its marks, a stimulus and its drawing. The
        // main window stays disabled while it is open.
        state.FijaPaciente(1, entries[0], 1, 4);
        action(w, "MAEstimulo")->trigger();
        auto *viewer = w.findChild<FVerEstimulo *>();
        QVERIFY(viewer && viewer->isVisible() && !viewer->editar() && !w.isEnabled());
        auto *grid = child<EGrid>(viewer, "EGrid1");
        QList<int> marked;
        for (int cell = 0; cell < 50; ++cell) {
            if (grid->ElementoMarcado(cell)) {
                marked << cell;
            }
        }
        QCOMPARE(marked, QList<int>({11, 12, 45}));
        grid->setEIndex(11);
        QCOMPARE(child<QLineEdit>(viewer, "TColor")->text(), QStringLiteral("blanco"));
        QCOMPARE(viewer->dibujo(), QStringLiteral("111"));
        // The drawing itself, not the crossed lines of a file error through the corner.
        const QImage image = child<DrawingView>(viewer, "Picture1")->image();
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
        QVERIFY(pixelsOf(image, image.rect(), qRgb(0, 0, 0)) > 20);
        child<QPushButton>(viewer, "bCerrar")->click();
        QVERIFY(w.isEnabled());
        QTRY_VERIFY(!w.findChild<FVerEstimulo *>());
        QVERIFY(m_messages.size() == 1);
        state.CierraBaseDatos();

        // Choosing the legacy file again offers the study made from it, and never converts twice.
        m_messages.clear();
        AppState other;
        MainWindow w2(other);
        QVERIFY(!w2.openStudy(mdb)); // the responder answers No
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].kind, Messages::Kind::Question);
        QCOMPARE(other.RutaBaseDatos, QString());
        m_messages.setAnswer(true);
        QVERIFY(w2.openStudy(mdb));
        QCOMPARE(other.RutaBaseDatos, dir.filePath("legacy-study.sqlite"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"legacy-study.mdb", "legacy-study.sqlite"}));
    }

    void itemsTellWhenThereIsNothingToShow() {
        StudyFixture study;
        study.release();
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(study.path()));
        action(w, "MPSelecciona")->trigger();
        action(w, "MRAcumulada")->trigger();
        action(w, "MAEstimulo")->trigger(); // no subject chosen
        action(w, "MAEdita")->trigger();
        QCOMPARE(m_messages.texts(),
                 QStringList({"No Subjects", "No Subjects", "There is no information to this subject",
                              "There is no information to this subject"}));
        QCOMPARE(m_messages[0].title, Messages::defaultTitle());
        QCOMPARE(menus(w), QStringLiteral("MPacientes MResultados"));
    }

    void aboutShowsTheVersion() {
        AppState state;
        MainWindow w(state);
        action(w, "MAcerca")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, QStringLiteral("ZoKorvane version 1.8.4"));
        QCOMPARE(m_messages[0].title, QStringLiteral("Help"));
    }

    void newAndContinuedExperimentsSetTheFlag() {
        AppState state;
        MainWindow w(state);
        w.setEnabled(false);
        w.nuevaPasada(true);
        QVERIFY(state.ContinuarPasada);
        QVERIFY(w.isEnabled());
        w.nuevaPasada(false);
        QVERIFY(!state.ContinuarPasada);
    }

    // Screen readers announce each window as a window by its title, and each group by its own title.
    void windowsAndGroupsAreAnnouncedByTheirOwnTitles() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        std::unique_ptr<AppState> state = openInApp(study, 1, "Ana");
        MainWindow main(*state);
        IntroEstimulo recording(*state);
        FVerEstimulo viewer(*state, false);
        for (QWidget *window : std::initializer_list<QWidget *>{&recording, &viewer}) {
            QAccessibleInterface *announced = QAccessible::queryAccessibleInterface(window);
            QCOMPARE(announced->role(), QAccessible::Window);
            QCOMPARE(announced->text(QAccessible::Name), window->windowTitle());
            QStringList groups;
            for (QGroupBox *group : window->findChildren<QGroupBox *>()) {
                groups << QAccessible::queryAccessibleInterface(group)->text(QAccessible::Name) + "=" +
                              group->title();
            }
            QCOMPARE(groups, QStringList({"Type of stimulus=Type of stimulus", "Perception=Perception",
                                          "Phosphene=Phosphene", "Phosphene data=Phosphene data"}));
        }
    }

    void closingTheWindowClosesTheStudy() {
        StudyFixture study;
        study.release();
        AppState state;
        MainWindow w(state);
        w.show();
        QVERIFY(w.openStudy(study.path()));
        QVERIFY(!Study::open(study.path()).ok());
        w.close();
        QCOMPARE(state.RutaBaseDatos, QString());
        Study::Opened again = Study::open(study.path());
        QVERIFY2(again.ok(), qPrintable(again.error));
        Study::close(again.db);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
