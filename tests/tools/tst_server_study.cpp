#include "app/MainWindow.h"
#include "core/AppState.h"
#include "data/StudyCopy.h"
#include "data/StudyError.h"
#include "data/StudyState.h"
#include "data/SubjectLock.h"
#include "experiments/StimulusStore.h"
#include "support/Files.h"
#include "support/MessageLog.h"
#include "support/QueryText.h"
#include "support/StudyFixture.h"
#include "tools/DemoStudy.h"

#include <QAction>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// What only a study shared on a server does: several stations at once, the subject lock, a killed
// writer, a role that may only read, a dropped connection, and the copy between engines. Runs on
// the test server (ZK_TEST_SERVER).
class TestServerStudy : public QObject {
    Q_OBJECT

private slots:
    void copyFileToServerToFileGivesTheStudyBack();
    void twoStationsRecordAtOnceAndABusySubjectIsRefused();
    void writersKilledMidSaveLeaveNothingHalfWritten();
    void aReadOnlyRoleChangesNothing();
    void aDroppedConnectionStoresAgain();

private:
    // A statement run as the server's superuser on the study's database.
    static QString admin(const QString &uri, const QString &sql) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("zk-admin"));
        db.setHostName(qEnvironmentVariable("ZK_TEST_SERVER"));
        db.setUserName(QStringLiteral("zk"));
        db.setDatabaseName(uri.section('/', 3).section('?', 0, 0));
        QString result = db.open() ? queryText(db, sql) : db.lastError().text();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("zk-admin"));
        return result;
    }
    // The consistency a save keeps: every drawing named has its row and every row its stimulus, the
    // points count their stimuli, no point is left without one.
    static void checkWhole(const QSqlDatabase &db) {
        QCOMPARE(queryText(db, "SELECT COUNT(*) FROM estimulo e LEFT JOIN drawing d ON d.stimulus_id = e.id "
                               "WHERE (e.archivopuntos <> '') <> (d.stimulus_id IS NOT NULL)"),
                 "0");
        QCOMPARE(queryText(db, "SELECT COUNT(*) FROM drawing d LEFT JOIN estimulo e ON e.id = d.stimulus_id "
                               "WHERE e.id IS NULL"),
                 "0");
        QCOMPARE(queryText(db, "SELECT COUNT(*) FROM puntoestimulacion p WHERE n_on + n_off + n_dudas <> "
                               "(SELECT COUNT(*) FROM estimulo e WHERE e.id_puntoestimulo = p.ID)"),
                 "0");
    }
};

void TestServerStudy::copyFileToServerToFileGivesTheStudyBack() {
    QTemporaryDir dir;
    const QString file = DemoStudy::create(dir.path());
    const QString server = StudyFixture::newServerDatabase(qEnvironmentVariable("ZK_TEST_SERVER"));
    const QString back = dir.filePath("back.sqlite");
    StudyCopy::copy(file, server);
    const StudyCopy::Report report = StudyCopy::copy(server, back);
    QCOMPARE(report.tables.at("estimulo").rows, 13);
    // Value for value: every table of the two files reads the same.
    Study::Opened a = Study::open(file), b = Study::open(back);
    for (const char *sql :
         {"SELECT * FROM paciente ORDER BY ID", "SELECT * FROM puntoestimulacion ORDER BY ID",
          "SELECT * FROM estimulo ORDER BY id", "SELECT * FROM drawing ORDER BY stimulus_id"}) {
        QCOMPARE(queryText(b.db, sql), queryText(a.db, sql));
    }
    Study::close(a.db);
    Study::close(b.db);
    // A target that is not empty is refused.
    QVERIFY_THROWS_EXCEPTION(StudyError, StudyCopy::copy(file, server));
}

void TestServerStudy::twoStationsRecordAtOnceAndABusySubjectIsRefused() {
#ifdef ZK_SANITIZED
    const int each = 100;
#else
    const int each = 1000;
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
        QVERIFY(p->waitForFinished(170000));
        QVERIFY2(p->exitCode() == 0, p->readAll().constData());
    }
    Study::Opened opened = Study::open(study.path());
    QCOMPARE(queryText(opened.db, "SELECT COUNT(*), COUNT(DISTINCT id) FROM estimulo"),
             QStringLiteral("%1|%1").arg(2 * each));
    QCOMPARE(queryText(opened.db, "SELECT Id_paciente, SUM(n_on) FROM puntoestimulacion GROUP BY Id_paciente "
                                  "ORDER BY Id_paciente"),
             QStringLiteral("1|%1\n2|%1").arg(each));
    checkWhole(opened.db);

    // While this station holds subject 1, another is refused it, and only it.
    const SubjectLock held(opened.db, 1);
    QString said;
    const QStringList add = {"stimulus",     "add", study.path(), "--cell", "14",
                             "--experiment", "2",   "--answer",   "no"};
    QCOMPARE(runProgram(QString(), add + QStringList{"--subject", "1"}, &said), 1);
    QVERIFY2(said.contains("Subject 1 is being recorded or corrected at another station"), qPrintable(said));
    QCOMPARE(runProgram(QString(), add + QStringList{"--subject", "2"}, &said), 0);
    QCOMPARE(queryText(opened.db, "SELECT COUNT(*) FROM estimulo"), QString::number(2 * each + 1));
    Study::close(opened.db);
}

void TestServerStudy::writersKilledMidSaveLeaveNothingHalfWritten() {
    StudyFixture study;
    study.addSubject(1, "Ana");
    study.release();
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("seen.txt"), "2\r\n0 3 3\r\n3 6 6\r\n"));
    QRandomGenerator random(5);
    int killed = 0;
    for (int i = 0; i < 30; ++i) {
        QProcess writer;
        writer.start(qEnvironmentVariable("ZK_TOOL"),
                     {"stimulus", "add", study.path(), "--subject", "1", "--cell", QString::number(i % 50),
                      "--experiment", "1", "--answer", i % 3 ? "yes" : "no", "--drawing",
                      dir.filePath("seen.txt")});
        QVERIFY(writer.waitForStarted());
        QTest::qWait(random.bounded(40));
        if (writer.state() == QProcess::Running) {
            writer.kill(); // SIGKILL
            ++killed;
        }
        writer.waitForFinished();
    }
    QVERIFY(killed > 0);
    Study::Opened opened = Study::open(study.path());
    checkWhole(opened.db);
    Study::close(opened.db);
}

void TestServerStudy::aReadOnlyRoleChangesNothing() {
    MessageLog messages;
    StudyFixture study;
    study.addSubject(1, "Ana");
    study.addPoint(1, 1, 1, 0, 0, 1);
    study.addStimulus(1, 1, 1);
    study.release();
    admin(study.path(), "DROP ROLE IF EXISTS reader");
    admin(study.path(), "CREATE ROLE reader LOGIN");
    admin(study.path(), "GRANT SELECT ON ALL TABLES IN SCHEMA public TO reader");
    const QString asReader = QString(study.path()).replace("user=zk", "user=reader");
    const QString before = admin(study.path(), "SELECT COUNT(*), MAX(color) FROM estimulo");

    AppState state;
    MainWindow window(state);
    QVERIFY(window.openStudy(asReader));
    QVERIFY(state.readOnly.contains("reader"));
    QVERIFY(window.panelText(1).endsWith("(read only)"));
    for (const char *item : {"MANueva", "MARetomar", "MAEdita", "MPVer", "MPResonancias"}) {
        QVERIFY2(!window.findChild<QAction *>(item)->isEnabled(), item);
    }
    StimulusStore::Entry entry;
    entry.hayfosfeno = StimulusStore::Si;
    QVERIFY_THROWS_EXCEPTION(StudyError, StimulusStore::saveEntry(state.BaseDatos, 1, 0, 0, 1, entry, {}));
    QString said;
    QCOMPARE(runProgram(QString(),
                        {"stimulus", "add", asReader, "--subject", "1", "--cell", "14", "--experiment", "1",
                         "--answer", "no"},
                        &said),
             1);
    QCOMPARE(admin(study.path(), "SELECT COUNT(*), MAX(color) FROM estimulo"), before);
}

void TestServerStudy::aDroppedConnectionStoresAgain() {
    StudyFixture study;
    study.addSubject(1, "Ana");
    const QString pid = queryText(study.db(), "SELECT pg_backend_pid()");
    admin(study.path(), "SELECT pg_terminate_backend(" + pid + ")");
    StimulusStore::Entry entry;
    entry.hayfosfeno = StimulusStore::Si;
    StimulusStore::saveEntry(study.db(), 1, 0, 0, 1, entry, {{0, 1, 1}, {3, 2, 2}});
    QCOMPARE(queryText(study.db(), "SELECT COUNT(*) FROM drawing"), "1");
}

QTEST_MAIN(TestServerStudy)
#include "tst_server_study.moc"
