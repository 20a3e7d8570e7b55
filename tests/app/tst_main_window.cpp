// The main window's model (which menus work at each stage, what choosing a file leads to) and its
// wiring: its menus and items, the stages applied to them, status panels, opening and closing studies
// (from the dialog and directly), a refusal that leaves everything as it was, the windows and messages
// of its items.

#include "support/Files.h"
#include "support/StudyInApp.h"
#include "support/Widgets.h"

#include "Version.h"
#include "app/MainWindow.h"
#include "app/MainWindowModel.h"
#include "experiments/FVerEstimulo.h"
#include "experiments/IntroEstimulo.h"
#include "support/MessageLog.h"

#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>

Q_DECLARE_METATYPE(MainWindowModel::Route)

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;

    static QAction *action(MainWindow &w, const char *name) { return w.findChild<QAction *>(name); }
    // The menus and items the stages enable or disable, those enabled, by name.
    static QString menus(MainWindow &w) {
        QStringList names;
        for (const char *name : {"MPacientes", "MResultados", "MPasadas"}) {
            QMenu *menu = w.findChild<QMenu *>(name);
            names << (menu->isEnabled() && menu->menuAction()->isEnabled() ? name : "");
        }
        for (const char *item : {"MRInforme", "MRInformePDF", "MPResonancias"}) {
            names << (action(w, item)->isEnabled() ? item : "");
        }
        names.removeAll(QString());
        return names.join(' ');
    }
    static QStringList panels(MainWindow &w) {
        return {labelText(&w, "Panel1"), labelText(&w, "Panel2"), labelText(&w, "Panel3")};
    }

    // Answers the next open dialog with `file` selected and accepted; the file the dialog proposed is
    // kept in `proposed`.
    static void answerOpenDialog(const QString &file, QString *proposed) {
        QTimer::singleShot(0, [file, proposed] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                *proposed = dialog->selectedFiles().value(0);
                dialog->selectFile(file);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
    }

private slots:
    void init() { m_messages.reset(); }

    // The stages after the first two, which the tests below apply and check through the window.
    void menusFollowTheStage_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QList<bool>>("menus"); // subjects, results, experiments, the subject's items
        QTest::newRow("subject chosen")
            << QStringList{"study", "subject"} << QList<bool>{true, true, true, true};
        // Another study resets the subject: Experiments waits again, the subject's items stay.
        QTest::newRow("another study after a subject")
            << QStringList{"study", "subject", "study"} << QList<bool>{true, true, false, true};
    }
    void menusFollowTheStage() {
        QFETCH(QStringList, events);
        MainWindowModel model;
        for (const QString &event : events) {
            event == "study" ? model.studyOpened() : model.subjectChosen();
        }
        const MainWindowModel::Menus m = model.menus();
        QTEST((QList<bool>{m.subjects, m.results, m.experiments, m.subjectItems}), "menus");
    }

    void legacyFilesAreConvertedOnceAndStudiesOpenAsTheyAre_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("besides");
        QTest::addColumn<MainWindowModel::Route>("route");
        QTest::addColumn<QString>("study");
        const QByteArray jet = QByteArray("\0\1\0\0Standard Jet DB\0", 20);
        using R = MainWindowModel::Route;
        QTest::newRow("study") << "lab.sqlite" << QByteArray("SQLite format 3") << "" << R::Open
                               << "lab.sqlite";
        QTest::newRow(".mdb by name") << "old.mdb" << QByteArray("text") << "" << R::Import << "old.sqlite";
        QTest::newRow("Jet file by contents") << "copy.bak" << jet << "" << R::Import << "copy.sqlite";
        QTest::newRow("converted before")
            << "old.mdb" << jet << "old.sqlite" << R::OfferConverted << "old.sqlite";
    }
    void legacyFilesAreConvertedOnceAndStudiesOpenAsTheyAre() {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(QString, besides);
        QFETCH(MainWindowModel::Route, route);
        QFETCH(QString, study);
        QTemporaryDir dir;
        QVERIFY(putFile(dir.filePath(file), contents));
        if (!besides.isEmpty()) {
            QVERIFY(putFile(dir.filePath(besides), "SQLite format 3"));
        }
        const MainWindowModel::OpenPlan plan = MainWindowModel::planOpen(dir.filePath(file));
        QCOMPARE(plan.route, route);
        QCOMPARE(plan.study, dir.filePath(study));
    }

    void importReportListsWhatDidNotComeOver() {
        const LegacyImport::Result result{
            4, 27, 28, {"estimulo row 3, fecha: out of range"}, 25, {"a.dat", "b.dat"}};
        QCOMPARE(
            MainWindowModel::importReport("/lab/old.mdb", "/lab/old.sqlite", result),
            "old.mdb was converted into the study old.sqlite:\n4 subjects, 27 points and 28 stimuli.\n"
            "25 drawings were copied into the study.\n\nThese drawings were missing or could not be read:\n"
            "a.dat\nb.dat\n\nThese values could not be carried over exactly:\nestimulo row 3, fecha: out of "
            "range");
    }

    void startShowsTheFirstStageAndTheVersion() {
        AppState state;
        MainWindow w(state);
        const QString version =
            QString("%1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision);
        QCOMPARE(panels(w), QStringList({"Datos: ninguno", "Paciente: ninguno", "v." + version}));
        QCOMPARE(menus(w), QString());
        action(w, "MAcerca")->trigger();
        QCOMPARE(m_messages.texts(), QStringList{"ZoKorvane version " + version});
    }
    // The dialog proposes empty.mdb first, then the open study; opening names the study, resets the
    // subject, enables the next stage and releases the study opened before.
    void openingFromTheDialogNamesTheStudyAndReleasesTheOneBefore() {
        StudyFixture first("lab 2026.sqlite"), second("b.sqlite");
        first.release();
        second.release();
        AppState state;
        MainWindow w(state);
        w.show();
        QString proposed;
        answerOpenDialog(first.path(), &proposed);
        action(w, "MAElegir")->trigger();
        QCOMPARE(QFileInfo(proposed).fileName(), "empty.mdb");
        QCOMPARE(panels(w).mid(0, 2), QStringList({"Data Base: lab 2026.sqlite", "Subject: none"}));
        QCOMPARE(menus(w), "MPacientes MResultados");
        QVERIFY(w.openStudy(first.path())); // the open study again stays open
        QVERIFY(state.BaseDatos.isOpen() && m_messages.isEmpty());

        state.FijaPaciente(3, "Paco Díaz", 2, 5);
        w.setPanelText(2, "Subject: Paco Díaz");
        answerOpenDialog(second.path(), &proposed);
        action(w, "MAElegir")->trigger();
        QCOMPARE(proposed, first.path());
        QCOMPARE(state.RutaBaseDatos, second.path());
        QCOMPARE(state.IdPacienteActual, -1);
        QCOMPARE(labelText(&w, "Panel2"), "Subject: none");
        w.close(); // closing the window closes the study
        QCOMPARE(state.RutaBaseDatos, QString());
        OpenStudy again1(first.path()), again2(second.path()); // both released: they open again
    }

    // The reasons themselves are the study engines' (tst_study_files), the conversion of a legacy file
    // and its offer to open the converted study the legacy import's (tst_legacy_import) and the model's
    // (above); here, that a refused open leaves the window and the open study as they were.
    void failedOpenLeavesEverythingAsBefore() {
        StudyFixture current("current.sqlite");
        current.release();
        QTemporaryDir other;
        QVERIFY(putFile(other.filePath("notes.sqlite"), "just some text\n"));
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(current.path()));
        state.FijaPaciente(1, "Ana", 1, 4);
        w.setPanelText(2, "Subject: Ana");
        const QStringList panelsBefore = panels(w);

        QVERIFY(!w.openStudy(other.filePath("notes.sqlite")));
        QVERIFY2(m_messages.size() == 1 && m_messages[0].text.contains("not an SQLite"),
                 qPrintable(m_messages.value(0).text));
        QVERIFY(state.RutaBaseDatos == current.path() && state.BaseDatos.isOpen() &&
                state.IdPacienteActual == 1);
        QCOMPARE(panels(w), panelsBefore);
    }

    // The viewer keeps the main window's menus disabled while it is open, but not the recording
    // window; one recording window, new or continuing the last experiment.
    void theExperimentItemsOpenTheirWindows() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addPoint(1, 1, 1, 0, 0, 1);
        study.addStimulus(1, 1, 1);
        std::unique_ptr<AppState> state = openInApp(study, 1, "Ana");
        MainWindow w(*state);
        action(w, "MANueva")->trigger();
        auto *recording = w.findChild<IntroEstimulo *>();
        action(w, "MAEstimulo")->trigger();
        auto *viewer = w.findChild<FVerEstimulo *>();
        QVERIFY(viewer && viewer->isVisible() && !viewer->editar() && viewer->isEnabled());
        QVERIFY(!w.menuBar()->isEnabled() && recording->isEnabled());
        child<QPushButton>(viewer, "bCerrar")->click();
        QVERIFY(w.menuBar()->isEnabled() && recording->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        recording->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        action(w, "MAEdita")->trigger();
        QVERIFY(w.findChild<FVerEstimulo *>()->editar());
        w.findChild<FVerEstimulo *>()->close();
        action(w, "MARetomar")->trigger();
        QVERIFY(state->ContinuarPasada && w.findChild<IntroEstimulo *>()->isVisible());
        action(w, "MANueva")->trigger();
        QVERIFY(!state->ContinuarPasada);
        QCOMPARE(w.findChildren<IntroEstimulo *>().size(), 1);
        QVERIFY(m_messages.isEmpty());
    }

    void itemsTellWhenThereIsNothingToShow() {
        StudyFixture study;
        study.release();
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(study.path()));
        for (const char *item : {"MPSelecciona", "MRAcumulada", "MAEstimulo", "MAEdita"}) {
            action(w, item)->trigger(); // no subject in the study, none chosen
        }
        QCOMPARE(m_messages.texts(),
                 QStringList({"No Subjects", "No Subjects", "There is no information to this subject",
                              "There is no information to this subject"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
