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
#include "tools/DemoStudy.h"

#include <QAction>
#include <QRandomGenerator>

// What only a study shared on a server does: several stations at once, the subject lock, a killed
// writer, a role that may only read, a dropped connection, and the copy between engines. Runs on
// the test server (ZK_TEST_SERVER).
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
    void copyFileToServerToFileGivesTheStudyBack() {
        QTemporaryDir dir;
        const QString file = DemoStudy::create(dir.path());
        const QString server = StudyFixture::newServerDatabase();
        const QString back = dir.filePath("back.sqlite");
        StudyCopy::copy(file, server);
        QCOMPARE(StudyCopy::copy(server, back).tables.at("estimulo").rows, 13);
        // Value for value: every table of the two files reads the same.
        OpenStudy a(file), b(back);
        for (const char *table : {"paciente", "puntoestimulacion", "estimulo", "drawing"}) {
            QCOMPARE(b.read(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table)),
                     a.read(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table)));
        }
        // A target that is not empty is refused.
        QVERIFY_THROWS_EXCEPTION(StudyError, StudyCopy::copy(file, server));
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
        QCOMPARE(opened.read("SELECT COUNT(*) FROM estimulo"), QString::number(2 * each + 1));
    }

    void writersKilledMidSaveLeaveNothingHalfWritten() {
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
                         add(study.path(), 1, i, i % 3 ? "yes" : "no", dir.filePath("seen.txt")));
            QVERIFY(writer.waitForStarted());
            QTest::qWait(random.bounded(40));
            if (writer.state() == QProcess::Running) {
                writer.kill(); // SIGKILL
                ++killed;
            }
            writer.waitForFinished();
        }
        QVERIFY(killed > 0);
        QCOMPARE(brokenRows(OpenStudy(study.path()).db), "0");
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
        QVERIFY(state.readOnly.contains("reader"));
        QVERIFY(window.panelText(1).endsWith("(read only)"));
        for (const char *item : {"MANueva", "MARetomar", "MAEdita", "MPVer", "MPResonancias"}) {
            QVERIFY2(!window.findChild<QAction *>(item)->isEnabled(), item);
        }
        QVERIFY_THROWS_EXCEPTION(StudyError, StimulusStore::saveEntry(state.BaseDatos, 1, 0, 0, 1, {}, {}));
        QCOMPARE(runProgram({}, add(asReader, 1, 14, "no")), 1);
        QCOMPARE(admin(study.path(), "SELECT COUNT(*), MAX(color) FROM estimulo"), before);
    }

    void aDroppedConnectionStoresAgain() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        const QString pid = queryText(study.db(), "SELECT pg_backend_pid()");
        admin(study.path(), "SELECT pg_terminate_backend(" + pid + ")");
        StimulusStore::Entry entry;
        entry.hayfosfeno = StimulusStore::Si;
        StimulusStore::saveEntry(study.db(), 1, 0, 0, 1, entry, {{0, 1, 1}, {3, 2, 2}});
        QCOMPARE(queryText(study.db(), "SELECT COUNT(*) FROM drawing"), "1");
    }
};

QTEST_MAIN(TestServerStudy)
#include "tst_server_study.moc"
