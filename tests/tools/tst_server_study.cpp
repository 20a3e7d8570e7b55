#include "app/MainWindow.h"
#include "core/AppState.h"
#include "data/StudyCopy.h"
#include "data/StudyError.h"
#include "data/StudyState.h"
#include "data/SubjectLock.h"
#include "experiments/StimulusStore.h"
#include "support/Files.h"
#include "support/MessageLog.h"
#include "support/StudyFixture.h"
#include "support/Widgets.h"
#include "tools/DemoStudy.h"

#include <QAction>
#include <QApplication>

// What only a study shared on a server does: several stations at once, the subject lock, a role that
// may only read, a dropped connection, and the copy between engines (killed writers: the server run
// of tst_stimulus_store). Runs on the test server (ZK_TEST_SERVER).
class TestServerStudy : public QObject {
    Q_OBJECT

    static QString admin(const QString &uri, const QString &sql) {
        return StudyFixture::serverAdmin(StudyFixture::databaseOf(uri), sql);
    }
    // The tool's arguments that record one stimulus of `subject` at `cell` in experiment 1.
    static QStringList add(const QString &study, int subject, int cell, const QString &answer,
                           const QString &drawing = {}) {
        return QStringLiteral("stimulus add STUDY --subject %1 --cell %2 --experiment 1 --answer %3")
                   .arg(subject)
                   .arg(cell)
                   .arg(answer)
                   .split(' ')
                   .replaceInStrings("STUDY", study) +
               (drawing.isEmpty() ? QStringList() : QStringList{"--drawing", drawing});
    }

private slots:
    // The demo study with subject 1 calibrated (calibration and aiming) and an age typed as text beside
    // numbers (as a study of the earlier version holds them once brought up to date) goes to the server
    // and back value for value.
    void copyFileToServerToFileGivesTheStudyBack() {
        QTemporaryDir dir;
        const QString file = calibratedDemo(dir.path(), {"1"});
        QVERIFY(!file.isEmpty());
        QCOMPARE(OpenStudy(file).read(
                     "UPDATE paciente SET Edad = 'unknown', Altura = 1.63 WHERE ID = 1 RETURNING 1"),
                 "1");
        const QString server = StudyFixture::newServerDatabase();
        const QString back = dir.filePath("back.sqlite");
        StudyCopy::copy(file, server);
        QCOMPARE(StudyCopy::copy(server, back).tables.at("estimulo").rows, 13);
        // Value for value: every table of the two files reads the same.
        OpenStudy a(file), b(back);
        for (const char *table : {"paciente", "puntoestimulacion", "estimulo", "drawing", "mr_calibration",
                                  "mr_normalisation", "mr_aiming"}) {
            QCOMPARE(b.read(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(table)),
                     a.read(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(table)));
        }
        // A target that is not empty is refused.
        QVERIFY_THROWS_EXCEPTION(StudyError, StudyCopy::copy(file, server));
    }

    // A server study of version 1 keeps numbers in those columns and has no MR calibrations: opening it
    // brings it up to date, the numbers read the same, text can be stored there and calibrations kept.
    void aVersion1ServerStudyIsBroughtUpToDate() {
        StudyFixture study;
        study.release();
        admin(study.path(),
              "DROP TABLE mr_calibration; DROP TABLE mr_normalisation; DROP TABLE mr_aiming; ALTER TABLE "
              "paciente ALTER COLUMN "
              "Edad TYPE INTEGER USING "
              "Edad::integer, ALTER "
              "COLUMN Altura TYPE DOUBLE PRECISION USING Altura::float8, ALTER COLUMN Peso TYPE "
              "DOUBLE PRECISION USING Peso::float8; UPDATE study_version SET version = 1; INSERT "
              "INTO paciente (ID, Edad, Altura, Peso, Ciego) VALUES (1, 34, 1.63, 0.1, FALSE)");
        OpenStudy opened(study.path());
        QVERIFY(QSqlQuery(opened.db).exec("UPDATE paciente SET Edad = 'unknown'"));
        QCOMPARE(opened.read("SELECT Edad, Altura, Peso FROM paciente") +
                     opened.read("SELECT version FROM study_version") +
                     opened.read("SELECT count(*) FROM mr_calibration"),
                 "unknown|1.63|0.140");
    }

    // A value the server cannot hold exactly stops the copy before anything is written, naming it; a
    // failure while the rows go in rolls the tables back too: the database stays empty and a retry
    // into it works. A copy into a file takes what a file holds exactly and refuses the rest.
    void aRefusedOrFailedCopyLeavesTheServerEmpty_data() {
        QTest::addColumn<QString>("change"); // on the source study
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("intoFile");
        QTest::newRow("NUL in text")
            << "UPDATE paciente SET Nombre = CAST(x'410042' AS TEXT) WHERE ID = 1"
            << "in the table paciente, row ID 1, column Nombre, the text \"A\\x00B\" "
               "holds a NUL character, which a server cannot store."
            << true;
        QTest::newRow("invalid UTF-8")
            << "UPDATE estimulo SET observaciones = CAST(x'6361FF' AS TEXT) WHERE id = 1"
            << "in the table estimulo, row id 1, column observaciones, the text \"ca\\xFF\" is not valid "
               "UTF-8."
            << false;
        QTest::newRow("text in a number column")
            << "UPDATE puntoestimulacion SET pasadas = 'many' WHERE ID = 1"
            << "in the table puntoestimulacion, row ID 1, column pasadas, \"many\" is text where the server "
               "keeps a whole number."
            << true;
        QTest::newRow("the server fails while the rows go in") << ""
                                                               << "refused by the test" << true;
    }
    void aRefusedOrFailedCopyLeavesTheServerEmpty() {
        QFETCH(QString, change);
        QFETCH(QString, said);
        QFETCH(bool, intoFile);
        QTemporaryDir dir;
        const QString file = DemoStudy::create(dir.path());
        if (!change.isEmpty()) {
            QCOMPARE(OpenStudy(file).read(change + " RETURNING 1"), "1");
        }
        const QString server = StudyFixture::newServerDatabase();
        if (change.isEmpty()) { // a trigger that refuses the stimuli, set as soon as their table exists
            admin(server,
                  "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RAISE "
                  "EXCEPTION 'refused by the test'; END$$; CREATE FUNCTION arm() RETURNS event_trigger "
                  "LANGUAGE plpgsql AS $$BEGIN IF to_regclass('estimulo') IS NOT NULL AND NOT EXISTS "
                  "(SELECT 1 FROM pg_trigger WHERE tgname = 'trap') THEN CREATE TRIGGER trap BEFORE "
                  "INSERT ON estimulo FOR EACH ROW EXECUTE FUNCTION refuse(); END IF; END$$; CREATE "
                  "EVENT TRIGGER arm ON ddl_command_end EXECUTE FUNCTION arm()");
        }
        QString output;
        QCOMPARE(runProgram({}, {"copy-study", file, server}, &output), 1);
        QVERIFY2(output.contains(said) && !output.contains("equals"), qPrintable(output));
        const QString tables = "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = 'public'";
        QCOMPARE(admin(server, tables), "0");
        if (change.isEmpty()) {
            admin(server, "DROP EVENT TRIGGER arm");
            QCOMPARE(runProgram({}, {"copy-study", file, server}, &output), 0);
            QVERIFY2(output.contains("every table of the copy equals the original"), qPrintable(output));
        }
        const QString copy = dir.filePath("copy.sqlite");
        QCOMPARE(runProgram({}, {"copy-study", file, copy}, &output), intoFile ? 0 : 1);
        QVERIFY2(intoFile || output.contains(said), qPrintable(output));
        QCOMPARE(QFile::exists(copy), intoFile);
    }

    // What a study file could not hold as the server holds it is refused before the file is written,
    // naming it: text a file would read back as a number (blanks around it, an exponent), a table the
    // program does not know.
    void aServerStudyAFileCannotHoldIsRefusedBeforeWriting_data() {
        QTest::addColumn<QString>("change"); // on the server study
        QTest::addColumn<QString>("said");
        const QString height = "in the table paciente, row ID 1, column Altura, the text";
        QTest::newRow("height ' 7'") << "UPDATE paciente SET Altura = ' 7' WHERE ID = 1" << height;
        QTest::newRow("height '1e999'") << "UPDATE paciente SET Altura = '1e999' WHERE ID = 1" << height;
        QTest::newRow("a table the program does not know")
            << "CREATE TABLE notes (x TEXT); INSERT INTO notes VALUES ('kept')"
            << "the table notes is not part";
    }
    void aServerStudyAFileCannotHoldIsRefusedBeforeWriting() {
        QFETCH(QString, change);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString server = StudyFixture::newServerDatabase();
        StudyCopy::copy(DemoStudy::create(dir.path()), server);
        admin(server, change);
        const QString copy = dir.filePath("copy.sqlite");
        QString output;
        QCOMPARE(runProgram({}, {"copy-study", server, copy}, &output), 1);
        QVERIFY2(output.contains("Nothing was copied") && output.contains(said), qPrintable(output));
        QVERIFY(!QFile::exists(copy));
    }

    void twoStationsRecordAtOnceAndABusySubjectIsRefused() {
        // Enough runs for the two stations to overlap many times; CTest's timeout bounds the time.
#ifdef ZK_SANITIZED
        const int each = 40;
#else
        const int each = 100;
#endif
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Luis");
        study.release();
        QTemporaryDir dir;
        QVERIFY(putFile(dir.filePath("seen.txt"), "2\r\n0 3 3\r\n3 6 6\r\n"));
        // Each station runs the tool once per stimulus, as a batch of paper records would.
        const auto station = [&](int subject) {
            auto *process = new QProcess(this);
            process->setProcessChannelMode(QProcess::MergedChannels);
            process->start(
                "bash",
                {"-c", QStringLiteral("for i in $(seq 1 %1); do \"$ZK_TOOL\" stimulus add '%2' --subject %3 "
                                      "--cell $((i % 50)) --experiment 1 --answer yes --drawing '%4' "
                                      ">/dev/null || exit 1; done")
                           .arg(each)
                           .arg(study.path())
                           .arg(subject)
                           .arg(dir.filePath("seen.txt"))});
            return process;
        };
        QProcess *first = station(1), *second = station(2);
        for (QProcess *p : {first, second}) {
            QVERIFY(p->waitForFinished(-1));
            QVERIFY2(p->exitCode() == 0, p->readAll().constData());
        }
        OpenStudy opened(study.path());
        QCOMPARE(
            opened.read("SELECT COUNT(*), COUNT(DISTINCT id), (SELECT string_agg(n::text, ',') FROM (SELECT "
                        "SUM(n_on) AS n FROM puntoestimulacion GROUP BY Id_paciente) s) FROM estimulo"),
            QStringLiteral("%1|%1|%2,%2").arg(2 * each).arg(each));
        QCOMPARE(brokenRows(opened.db), "0");

        // While this station holds subject 1, another is refused it, and only it.
        const SubjectLock held(opened.db, 1);
        QString said;
        QCOMPARE(runProgram({}, add(study.path(), 1, 14, "no"), &said), 1);
        QVERIFY2(said.contains("Subject 1 is being recorded or corrected at another station"),
                 qPrintable(said));
        QCOMPARE(runProgram({}, add(study.path(), 2, 14, "no")), 0);
    }

    void aReadOnlyRoleChangesNothing() {
        MessageLog messages;
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addPoint(1, 1, 1, 0, 0, 1);
        study.addStimulus(1, 1, 1);
        study.release();
        admin(study.path(),
              "DROP ROLE IF EXISTS reader; CREATE ROLE reader LOGIN; GRANT SELECT ON ALL TABLES IN "
              "SCHEMA public TO reader");
        const QString asReader = QString(study.path()).replace("user=zk", "user=reader");
        const QString before = admin(study.path(), "SELECT COUNT(*), MAX(color) FROM estimulo");

        AppState state;
        MainWindow window(state);
        QVERIFY(window.openStudy(asReader));
        QVERIFY(labelText(&window, "Panel1").endsWith("(read only)"));
        for (const char *item : {"MANueva", "MARetomar", "MAEdita", "MPVer", "MPResonancias"}) {
            QVERIFY2(!window.findChild<QAction *>(item)->isEnabled(), item);
        }
        QVERIFY_THROWS_EXCEPTION(StudyError, StimulusStore::saveEntry(state.BaseDatos, 1, 0, 0, 1, {}, {}));
        QCOMPARE(admin(study.path(), "SELECT COUNT(*), MAX(color) FROM estimulo"), before);
    }

    // A catalogue that cannot be read (here: the connection is gone) is an error with its reason,
    // never a study without tables.
    void tablesThatCannotBeReadAreAnError() {
        StudyFixture study;
        admin(study.path(),
              "SELECT pg_terminate_backend(" + queryText(study.db(), "SELECT pg_backend_pid()") + ")");
        QVERIFY_THROWS_EXCEPTION(StudyError, ServerStudy::tableNames(study.db()));
    }

    void aDroppedConnectionStoresAgain() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        const QString pid = queryText(study.db(), "SELECT pg_backend_pid()");
        admin(study.path(), "SELECT pg_terminate_backend(" + pid + ")");
        StimulusStore::Entry entry;
        entry.hayfosfeno = Answer::Yes;
        StimulusStore::saveEntry(study.db(), 1, 0, 0, 1, entry, {{0, 1, 1}, {3, 2, 2}});
        QCOMPARE(queryText(study.db(), "SELECT COUNT(*) FROM drawing"), "1");
    }
};

QTEST_MAIN(TestServerStudy)
#include "tst_server_study.moc"
