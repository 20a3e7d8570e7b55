// Storage behind the subject form: the proposal for a new subject, what a stored record reads
// back as, and the records that are refused without anything being written.

#include "support/StudyFixture.h"

#include "data/StudyError.h"
#include "subjects/SubjectStore.h"

using namespace SubjectStore;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(SubjectStore::Field)

class SubjectStoreTest : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(SubjectStoreTest)
#include "tst_subject_store.moc"
