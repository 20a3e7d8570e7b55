// The demo study a new lab opens first: what it holds, that its drawings and MR series are where
// its rows say, and that it is never written over.

#include "data/SharedQueries.h"
#include "data/StudyError.h"
#include "support/Files.h"
#include "support/StudyFixture.h"
#include "tools/DemoStudy.h"

using namespace Qt::StringLiterals;

class DemoStudyTest : public QObject {
    Q_OBJECT

private slots:
    void demoHoldsSubjectsExperimentsDrawingsAndAnMrSeries() {
        QTemporaryDir dir;
        const QString path = DemoStudy::create(dir.path());
        {
            OpenStudy opened(path);
            // The second subject is blind and has no experiments.
            QCOMPARE(opened.read("SELECT ID, Ciego FROM paciente ORDER BY ID"), "1|0\n2|1\n3|0");
            QCOMPARE(QList<int>({UltimaPasada(opened.db, 1), UltimaPasada(opened.db, 2),
                                 UltimaPasada(opened.db, 3)}),
                     QList<int>({2, 0, 2}));
            // Yes, No and Doubt in each first experiment; every phosphene and doubt has its drawing, a "No"
            // has none.
            QCOMPARE(
                opened.read("SELECT p.Id_paciente, count(DISTINCT e.hayfosfeno) FROM estimulo e JOIN "
                            "puntoestimulacion p ON p.ID = e.id_puntoestimulo WHERE e.pasada = 1 GROUP BY "
                            "p.Id_paciente ORDER BY 1"),
                "1|3\n3|3");
            QCOMPARE(brokenRows(opened.db) +
                         opened.read("SELECT count(*) FROM estimulo WHERE (hayfosfeno = 1) = "
                                     "(archivopuntos <> '')"),
                     "00");
            const QString mr = DameRutaResonancias(opened.db, 1);
            QCOMPARE(QDir(mr).entryList({"*.dcm"}, QDir::Files).size(), 90);
        }
        // A second demo in the same folder is refused and leaves the first as it was.
        const QByteArray first = fileBytes(path);
        QVERIFY_THROWS_EXCEPTION(StudyError, DemoStudy::create(dir.path()));
        QCOMPARE(fileBytes(path), first);
    }

    // `stimulus add` refuses what a stimulus cannot be, naming the option, and stores nothing; the
    // limit itself is taken. Every number option is checked against its range by one helper.
    void stimulusAddRefusesParametersThatCannotBe_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("added");
        QTest::newRow("over the stimulator's output") << u"intensity"_s << u"101"_s << 0;
        QTest::newRow("full output") << u"intensity"_s << u"100"_s << 1;
    }
    void stimulusAddRefusesParametersThatCannotBe() {
        QFETCH(QString, option);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = DemoStudy::create(dir.path());
        const auto count = [&] { return OpenStudy(path).read("SELECT count(*) FROM estimulo").toInt(); };
        const int before = count();
        QString said;
        const int code = runProgram(qEnvironmentVariable("ZK_TOOL"),
                                    {"stimulus", "add", path, "--subject", "1", "--cell", "3", "--experiment",
                                     "1", "--answer", "no", "--" + option, value},
                                    &said);
        QTEST(count() - before, "added");
        QVERIFY2((code == 0) == (count() > before) && (code == 0 || said.contains("--" + option)),
                 qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(DemoStudyTest)
#include "tst_demo_study.moc"
