// The subject windows and the storage behind them. The "Edit subject" window: the proposal for a new
// subject, what a stored record reads back as, the records that are refused without anything being
// written; the window's navigation and its caption, the empty study, storing on moving and closing,
// and refused input kept on screen. The "Select subject" window and the subject list it shares: entry
// texts, preselection, choosing by OK, double click or Enter, leaving by Cancel, and the main window's
// items around both.

#include "support/MessageLog.h"
#include "support/StudyFixture.h"
#include "support/Widgets.h"

#include "app/MainWindow.h"
#include "core/AppState.h"
#include "data/StudyError.h"
#include "data/StudyState.h"
#include "subjects/SubjectStore.h"
#include "subjects/elegirpaciente.h"
#include "subjects/paciente.h"

using namespace Qt::StringLiterals;

using namespace SubjectStore;

Q_DECLARE_METATYPE(SubjectStore::Field)

// Subjects 1, 2, 3 and 7, with null, empty and present surnames and one without a name, in a study
// the test's AppState has open.
struct ChooserStudy {
    StudyFixture study;
    AppState state;
    ChooserStudy() {
        study.addSubject(3, "Ana");
        study.addSubject(1, "Luis", "", "Pérez");
        study.addSubject(7, QVariant(), "Gómez", "Ruiz", 2, 5);
        study.addSubject(2, "Eva", "Sanz", QVariant(), 0, 3);
        study.release();
    }
    void open() { QCOMPARE(AbreBaseDatos(state, study.path()), QString()); }
};

class SubjectWindowsTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;

    static QString caption(paciente &w) { return child<QLabel>(&w, "Data1Caption")->text(); }
    static QLineEdit *field(paciente &w, int index) {
        return child<QLineEdit>(&w, qPrintable(u"txtFields_%1"_s.arg(index)));
    }
    static void click(paciente &w, const QString &name) {
        child<QAbstractButton>(&w, qPrintable(name))->click();
    }

private slots:
    void init() { m_messages.reset(); }

    // The largest identifier plus one is proposed; the record reads back normalised, a surname left
    // empty on a new subject stays null, and an edit keeps untouched nulls but stores cleared text.
    void newSubjectIsProposedStoredAndEdited() {
        StudyFixture study;
        for (int id : {1, 2, 7}) {
            study.addSubject(id, "S");
        }
        const SubjectRecord proposal = newSubject(study.db());
        QCOMPARE(proposal[Field::ID], u"8"_s);
        SubjectRecord typed = proposal;
        typed[Field::Nombre] = "Ana";
        typed[Field::Apellido1] = "García";
        typed[Field::Edad] = " 42 ";
        typed[Field::Altura] = "1,75";
        typed[Field::Observaciones] = "two\nlines";
        typed.ciego = true;
        QVERIFY(!storeSubject(study.db(), proposal, typed));

        const QString stored =
            u"SELECT Nombre, Apellido1, Apellido2, Edad, Altura, Observaciones, FilaCentro, "
            u"CAST(Ciego AS INTEGER) FROM paciente WHERE ID = 8"_s;
        QCOMPARE(study.read(stored), u"Ana|García|<null>|42|1.75|two\nlines|1|1"_s);

        const SubjectRecord back = loadSubject(study.db(), 8);
        SubjectRecord edited = back;
        edited[Field::Apellido1] = ""; // as empty controls give them back
        edited[Field::Apellido2] = "";
        QVERIFY(!storeSubject(study.db(), back, edited));
        QCOMPARE(study.read(stored), u"Ana||<null>|42|1.75|two\nlines|1|1"_s);
    }

    void badRecordsAreRefusedAndNothingIsWritten_data() {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("duplicate ID")
            << Field::ID << u"2"_s << "ID: another subject already has the identifier 2.";
        QTest::newRow("empty ID") << Field::ID << u"  "_s << "ID: a value is needed.";
        QTest::newRow("ID 0") << Field::ID << u"0"_s << "ID: the identifier must be 1 or more.";
        QTest::newRow("text in age") << Field::Edad << u"forty"_s << "Age: \"forty\" is not a whole number.";
        QTest::newRow("infinite weight") << Field::Peso << u"inf"_s << "Weight: \"inf\" is not a number.";
        QTest::newRow("centre row far off the grid")
            << Field::FilaCentro << u"2147483647"_s
            << "Center row: 2147483647 is off the grid; the centre row must be from 0 to 4.";
    }
    void badRecordsAreRefusedAndNothingIsWritten() {
        QFETCH(Field, field);
        QFETCH(QString, text);
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Eva");
        const QString all = u"SELECT * FROM paciente ORDER BY ID"_s, before = study.read(all);
        // The same record is refused as an edit of subject 1 and as a new subject.
        for (const SubjectRecord &original : {loadSubject(study.db(), 1), newSubject(study.db())}) {
            SubjectRecord edited = original;
            edited[Field::Nombre] = "Changed";
            edited[field] = text;
            const std::optional<Refusal> refusal = storeSubject(study.db(), original, edited);
            QVERIFY(refusal && refusal->field == field);
            QTEST(refusal->message, "message");
            QCOMPARE(study.read(all), before);
        }
    }

    // Subject 3 renumbered 5: refused while it has points, stored when it has none.
    void idOfASubjectWithPointsCannotChange() {
        for (const bool withPoints : {true, false}) {
            StudyFixture study;
            study.addSubject(2, "Ana");
            study.addSubject(3, "Eva");
            if (withPoints) {
                study.addPoint(1, 1, 3, 0, 0, 1);
            }
            const SubjectRecord loaded = loadSubject(study.db(), 3);
            SubjectRecord edited = loaded;
            edited[Field::ID] = "5";
            QCOMPARE(bool(storeSubject(study.db(), loaded, edited)), withPoints);
            QCOMPARE(subjectIds(study.db()), (QList<int>{2, withPoints ? 3 : 5}));
        }
    }

    // A stored centre no 16-bit number holds (written by another program) is refused, not wrapped
    // onto the grid.
    void aCentreBeyondSixteenBitsIsRefused() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.exec(u"UPDATE paciente SET FilaCentro = 65537"_s);
        QVERIFY_THROWS_EXCEPTION(StudyError, subjectGrid(study.db(), 1));
    }

    // Buttons pressed, "Enter" in the name, "close", or "field=text" typed ("blind" ticks the box);
    // then the caption, the identifier shown and the subjects whose name was typed, as stored.
    void movesFollowTheCaptionAndStoreWhatWasTyped_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("typed");
        QTest::newRow("next") << QStringList{"Data1Next"} << u"Subjects (2/5)"_s << 20 << QString();
        QTest::newRow("next after last")
            << QStringList{"Data1Last", "Data1Next"} << u"Subjects (5/5)"_s << 50 << QString();
        QTest::newRow("previous at first")
            << QStringList{"Data1Previous"} << u"Subjects (1/5)"_s << 10 << QString();
        // Enter in a field presses no button: it must not start a new subject.
        QTest::newRow("Enter") << QStringList{"Enter"} << u"Subjects (1/5)"_s << 10 << QString();
        QTest::newRow("edit, next") << QStringList{"0=Anna", "Data1Next"} << u"Subjects (2/5)"_s << 20
                                    << u"10|Anna|0"_s;
        QTest::newRow("edit, new subject")
            << QStringList{"0=Anna", "bAdd"} << u"New Subject"_s << 51 << u"10|Anna|0"_s;
        QTest::newRow("edit, close") << QStringList{"0=Anna", "close"} << u"Subjects (1/5)"_s << 10
                                     << u"10|Anna|0"_s;
        // Stored as subject 35, the new subject sits between 30 and 40: "next" goes on to 40.
        QTest::newRow("new subject") << QStringList{"bAdd", "11=35", "0=Luis", "blind", "Data1Next"}
                                     << u"Subjects (5/6)"_s << 40 << u"35|Luis|1"_s;
    }
    void movesFollowTheCaptionAndStoreWhatWasTyped() {
        QFETCH(QStringList, actions);
        StudyFixture study;
        for (int id : {10, 20, 30, 40, 50}) {
            study.addSubject(id, u"S%1"_s.arg(id));
        }
        paciente w(study.db());
        w.show();
        for (const QString &action : actions) {
            if (action == "Enter") {
                QTest::keyClick(field(w, 0), Qt::Key_Return);
            } else if (action == "close") {
                w.reject();
            } else if (action == "blind") {
                child<QCheckBox>(&w, "CCiego")->setChecked(true);
            } else if (action.contains('=')) {
                field(w, action.section('=', 0, 0).toInt())->setText(action.section('=', 1));
            } else {
                click(w, action);
            }
        }
        QTEST(caption(w), "caption");
        QTEST(field(w, 11)->text().toInt(), "id");
        QTEST(study.read(u"SELECT ID, Nombre, Ciego FROM paciente WHERE Nombre NOT LIKE 'S%'"_s), "typed");
        QVERIFY(m_messages.isEmpty());
    }

    void emptyStudyShowsOnlyNewSubjectAndNavigation() {
        StudyFixture study;
        paciente w(study.db());
        QVERIFY(child<QWidget>(&w, "FPaciente")->isHidden());
        QCOMPARE(caption(w), u"Subjects (0/0)"_s);
        click(w, "bAdd");
        QVERIFY(!child<QWidget>(&w, "FPaciente")->isHidden());
        QCOMPARE(caption(w) + ' ' + field(w, 11)->text(), u"New Subject 1"_s);
        // Left untouched, the proposal is not stored: moving away shows the empty study again.
        click(w, "Data1Next");
        QCOMPARE(study.read(u"SELECT ID, Nombre FROM paciente ORDER BY ID"_s), QString());
        QVERIFY(child<QWidget>(&w, "FPaciente")->isHidden());
    }

    void refusedRecordStaysOnScreenAndClosingAsksToDiscardIt() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Eva");
        paciente w(study.db());
        w.show();
        field(w, 11)->setText("2");
        field(w, 0)->setText("Changed");
        click(w, "Data1Next");
        QVERIFY(m_messages.size() == 1 && m_messages[0].kind == Messages::Kind::Error);
        QCOMPARE(m_messages[0].text, QString("The subject cannot be stored.\n\n"
                                             "ID: another subject already has the identifier 2."));
        QCOMPARE((QStringList{field(w, 11)->text(), field(w, 0)->text(), caption(w)}),
                 (QStringList{"2", "Changed", "Subjects (1/2)"}));

        w.reject(); // answered No: keep it
        QVERIFY(m_messages.size() == 2 && m_messages[1].kind == Messages::Kind::Question);
        QVERIFY(m_messages[1].text.endsWith(u"Discard the changes to this subject?"_s) && w.isVisible());

        m_messages.setAnswer(true); // discard it
        w.reject();
        QVERIFY(!w.isVisible());
        QCOMPARE(study.read(u"SELECT ID, Nombre FROM paciente ORDER BY ID"_s), u"1|Ana\n2|Eva"_s);
    }

    // Every subject listed in ID order with the current one preselected, or else the last; the
    // operator moves to the last and chooses or leaves.
    void choosingSetsTheSubjectItsGridAndThePanel_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("preselected");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        const QString gomez = u"7 ' Gómez Ruiz' 2,5 'Subject:  Gómez Ruiz'"_s, ana = u"3 'Ana' 1,4 ''"_s;
        QTest::newRow("no subject, OK") << -1 << u" Gómez Ruiz"_s << u"OK"_s << gomez;
        QTest::newRow("subject 2, Enter") << 2 << u"Eva Sanz"_s << u"Enter"_s << gomez;
        QTest::newRow("subject not in the study, double click on Eva")
            << 99 << u" Gómez Ruiz"_s << u"double click"_s << u"2 'Eva Sanz' 0,3 'Subject: Eva Sanz'"_s;
        QTest::newRow("Cancel") << 3 << u"Ana"_s << u"Cancel"_s << ana;
    }
    void choosingSetsTheSubjectItsGridAndThePanel() {
        QFETCH(int, current);
        QFETCH(QString, how);
        ChooserStudy chooser;
        chooser.open();
        AppState &state = chooser.state;
        current == 3 ? state.FijaPaciente(3, "Ana", 1, 4) : void(state.IdPacienteActual = current);
        QString panel;
        elegirpaciente w(state, [&panel](const QString &text) { panel = text; });
        QVERIFY(exposed(&w));
        auto *list = child<QListWidget>(&w, "List1");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) {
            entries << list->item(i)->data(Qt::UserRole).toString() + u":"_s + list->item(i)->text();
        }
        QCOMPARE(entries, (QStringList{"1:Luis  Pérez", "2:Eva Sanz", "3:Ana", "7: Gómez Ruiz"}));
        QCOMPARE(list->selectedItems().size(), 1);
        QTEST(list->selectedItems().first()->text(), "preselected");

        list->setCurrentRow(3);
        if (how == "OK" || how == "Cancel") {
            w.findChild<QPushButton *>(how == "OK" ? "bAceptar" : "bCancelar")->click();
        } else if (how == "Enter") {
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            const QRect rect = list->visualItemRect(list->item(1));
            // The view takes a double click only on the item it saw pressed, as a real second click
            // delivers a press before the double click.
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
        QTEST(u"%1 '%2' %3,%4 '%5'"_s.arg(state.IdPacienteActual)
                  .arg(state.NombrePacienteActual)
                  .arg(state.FilaCentroRejilla)
                  .arg(state.ColumnaCentroRejilla)
                  .arg(panel),
              "expected");
        QCOMPARE(w.result(), how == "Cancel" ? QDialog::Rejected : QDialog::Accepted);
        QVERIFY(!w.isVisible());
    }

    // The main window's items open the chooser, which sets the subject and its panel, and the form.
    void mainWindowItemsOpenTheSubjectWindows() {
        ChooserStudy chooser;
        MainWindow main(chooser.state);
        QVERIFY(main.openStudy(chooser.study.path()));
        QString opened;
        const auto answer = [&opened](const char *button) {
            QTimer::singleShot(0, [&opened, button] {
                auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                opened = dialog->objectName();
                button ? dialog->findChild<QPushButton *>(button)->click() : dialog->reject();
            });
        };
        answer("bAceptar");
        child<QAction>(&main, "MPSelecciona")->trigger();
        QVERIFY(opened == "elegirpaciente" && chooser.state.IdPacienteActual == 7);
        QCOMPARE(labelText(&main, "Panel2"), "Subject:  Gómez Ruiz");
        answer(nullptr);
        child<QAction>(&main, "MPVer")->trigger();
        QVERIFY(opened == "paciente" && m_messages.isEmpty());
    }
};

QTEST_MAIN(SubjectWindowsTest)
#include "tst_subject_windows.moc"
