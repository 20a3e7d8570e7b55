// The "Edit subject" window and the storage behind it: the proposal for a new subject, what a stored
// record reads back as, the records that are refused without anything being written; the window's
// navigation and its caption, the empty study, storing on moving and closing, and refused input kept
// on screen.

#include "support/StudyFixture.h"

#include "data/StudyError.h"
#include "subjects/SubjectStore.h"
#include "subjects/paciente.h"
#include "support/MessageLog.h"
#include "support/Widgets.h"

using namespace Qt::StringLiterals;

using namespace SubjectStore;

Q_DECLARE_METATYPE(SubjectStore::Field)

class SubjectFormTest : public QObject {
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
        QTest::newRow("text in centre")
            << Field::ColumnaCentro << u"4a"_s << "Center column: \"4a\" is not a whole number.";
        QTest::newRow("centre row far off the grid")
            << Field::FilaCentro << u"2147483647"_s
            << "Center row: 2147483647 is off the grid; the centre row must be from 0 to 4.";
        QTest::newRow("centre column below the grid")
            << Field::ColumnaCentro << u"-2147483647"_s
            << "Center column: -2147483647 is off the grid; the centre column must be from 0 to 9.";
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
        QTest::newRow("back from last") << QStringList{"Data1Last", "Data1Previous", "Data1Previous"}
                                        << u"Subjects (3/5)"_s << 30 << QString();
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
};

QTEST_MAIN(SubjectFormTest)
#include "tst_subject_form.moc"
