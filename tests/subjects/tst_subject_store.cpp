// Storage behind the subject form: the proposal for a new subject, what a stored record reads
// back as, and the records that are refused without anything being written.

#include "StudyFixture.h"

#include "SubjectStore.h"

#include <QSqlRecord>

using namespace SubjectStore;

Q_DECLARE_METATYPE(SubjectStore::Field)

namespace {

// Every row of paciente as text, nulls marked, to tell that nothing at all was written.
QString dump(QSqlDatabase &db) {
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT * FROM paciente ORDER BY ID"));
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i) {
            values << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

QVariant column(QSqlDatabase &db, int id, const QString &name) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT %1 FROM paciente WHERE ID = ?").arg(name));
    query.addBindValue(id);
    return query.exec() && query.next() ? query.value(0) : QVariant(QStringLiteral("<no row>"));
}

} // namespace

class SubjectStoreTest : public QObject {
    Q_OBJECT

private slots:
    void newSubjectProposesTheLargestIdPlusOne_data() {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("empty study") << QList<int>{} << "1";
        QTest::newRow("1, 2 and 7") << QList<int>{1, 2, 7} << "8";
    }
    void newSubjectProposesTheLargestIdPlusOne() {
        QFETCH(QList<int>, ids);
        StudyFixture study;
        for (int id : ids) {
            study.addSubject(id, "S");
        }
        const SubjectRecord record = newSubject(study.db());
        QTEST(record[Field::ID], "proposed");
        QCOMPARE(record[Field::ColumnaCentro], QStringLiteral("4"));
        QCOMPARE(record.storedId, -1);
    }

    void newRecordIsStoredAndReadsBackAsTyped() {
        StudyFixture study;
        SubjectRecord proposal = newSubject(study.db());
        SubjectRecord typed = proposal;
        typed[Field::Nombre] = "Ana";
        typed[Field::Apellido1] = "García";
        typed[Field::Edad] = " 42 ";
        typed[Field::Altura] = "1,75";
        typed[Field::Peso] = "61.5";
        typed[Field::Observaciones] = "two\nlines";
        typed.ciego = true;
        QVERIFY(!storeSubject(study.db(), proposal, typed));

        const SubjectRecord back = loadSubject(study.db(), 1);
        QCOMPARE(back[Field::Nombre], QStringLiteral("Ana"));
        QCOMPARE(back[Field::Edad], QStringLiteral("42"));
        QCOMPARE(back[Field::Altura], QStringLiteral("1.75"));
        QCOMPARE(back[Field::Peso], QStringLiteral("61.5"));
        QCOMPARE(back[Field::Observaciones], QStringLiteral("two\nlines"));
        QCOMPARE(back[Field::FilaCentro], QStringLiteral("1"));
        QVERIFY(back.ciego);
        QCOMPARE(back.storedId, 1);
        // A surname left empty on a new subject stays null, so the subject lists show no blank for it.
        QVERIFY(column(study.db(), 1, "Apellido2").isNull());
    }

    void editKeepsUntouchedNullsAndStoresClearedText() {
        StudyFixture study;
        study.addSubject(4, "Ana", QVariant(), "López");
        const SubjectRecord loaded = loadSubject(study.db(), 4);
        SubjectRecord edited = loaded;
        edited[Field::Apellido1] = ""; // as an empty control gives it back
        edited[Field::Apellido2] = "";
        edited[Field::Nombre] = "Anna";
        QVERIFY(!storeSubject(study.db(), loaded, edited));
        QCOMPARE(column(study.db(), 4, "Nombre").toString(), QStringLiteral("Anna"));
        QVERIFY(column(study.db(), 4, "Apellido1").isNull());
        QVERIFY(!column(study.db(), 4, "Apellido2").isNull());
        QCOMPARE(column(study.db(), 4, "Apellido2").toString(), QString(""));
    }

    void badRecordsAreRefusedAndNothingIsWritten_data() {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("duplicate ID") << Field::ID << "2"
                                      << "ID: another subject already has the identifier 2.";
        QTest::newRow("empty ID") << Field::ID << "  "
                                  << "ID: a value is needed.";
        QTest::newRow("ID 0") << Field::ID << "0"
                              << "ID: the identifier must be 1 or more.";
        QTest::newRow("text in ID") << Field::ID << "x1"
                                    << "ID: \"x1\" is not a whole number.";
        QTest::newRow("text in age") << Field::Edad << "forty"
                                     << "Age: \"forty\" is not a whole number.";
        QTest::newRow("text in height") << Field::Altura << "tall"
                                        << "Height: \"tall\" is not a number.";
        QTest::newRow("infinite weight") << Field::Peso << "inf"
                                         << "Weight: \"inf\" is not a number.";
        QTest::newRow("empty rows") << Field::Filas << ""
                                    << "Rows: a value is needed.";
        QTest::newRow("text in centre") << Field::ColumnaCentro << "4a"
                                        << "Center column: \"4a\" is not a whole number.";
    }
    void badRecordsAreRefusedAndNothingIsWritten() {
        QFETCH(Field, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Eva");
        const QString before = dump(study.db());
        // The same record is refused as an edit of subject 1 and as a new subject.
        for (const SubjectRecord &original : {loadSubject(study.db(), 1), newSubject(study.db())}) {
            SubjectRecord edited = original;
            edited[Field::Nombre] = "Changed";
            edited[field] = text;
            const std::optional<Refusal> refusal = storeSubject(study.db(), original, edited);
            QVERIFY(refusal);
            QCOMPARE(refusal->field, field);
            QCOMPARE(refusal->message, message);
            QCOMPARE(dump(study.db()), before);
        }
    }

    void idOfASubjectWithPointsCannotChange_data() {
        QTest::addColumn<bool>("withPoints");
        QTest::addColumn<QList<int>>("idsAfter");
        QTest::newRow("with points") << true << QList<int>{2, 3};
        QTest::newRow("without points") << false << QList<int>{2, 5};
    }
    void idOfASubjectWithPointsCannotChange() {
        QFETCH(bool, withPoints);
        QFETCH(QList<int>, idsAfter);
        StudyFixture study;
        study.addSubject(2, "Ana");
        study.addSubject(3, "Eva");
        if (withPoints) {
            study.addPoint(1, 1, 3, 0, 0, 1);
        }
        const SubjectRecord loaded = loadSubject(study.db(), 3);
        SubjectRecord edited = loaded;
        edited[Field::ID] = "5";
        const std::optional<Refusal> refusal = storeSubject(study.db(), loaded, edited);
        QCOMPARE(bool(refusal), withPoints);
        QCOMPARE(subjectIds(study.db()), idsAfter);
    }
};

QTEST_GUILESS_MAIN(SubjectStoreTest)
#include "tst_subject_store.moc"
