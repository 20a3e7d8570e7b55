// The demo study a new lab opens first: what it holds, that its drawings and MR series are where
// its rows say, and that it is never written over.

#include "data/SharedQueries.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "support/Files.h"
#include "support/QueryText.h"
#include "tools/DemoStudy.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class DemoStudyTest : public QObject {
    Q_OBJECT

private slots:
    void demoHoldsSubjectsExperimentsDrawingsAndAnMrSeries() {
        QTemporaryDir dir;
        const QString path = DemoStudy::create(dir.path());
        Study::Opened opened = Study::open(path);
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        // The second subject is blind and has no experiments.
        QCOMPARE(queryText(opened.db, "SELECT ID, Ciego FROM paciente ORDER BY ID"), "1|0\n2|1\n3|0");
        QCOMPARE(
            QList<int>({UltimaPasada(opened.db, 1), UltimaPasada(opened.db, 2), UltimaPasada(opened.db, 3)}),
            QList<int>({2, 0, 2}));
        // Yes, No and Doubt in each first experiment; every phosphene and doubt has its drawing, a "No"
        // has none.
        QCOMPARE(queryText(opened.db, "SELECT p.Id_paciente, count(DISTINCT e.hayfosfeno) FROM estimulo e "
                                      "JOIN puntoestimulacion p ON p.ID = e.id_puntoestimulo "
                                      "WHERE e.pasada = 1 GROUP BY p.Id_paciente ORDER BY 1"),
                 "1|3\n3|3");
        QCOMPARE(queryText(opened.db,
                           "SELECT count(*) FROM estimulo e LEFT JOIN drawing d ON d.stimulus_id = "
                           "e.id WHERE CASE WHEN e.hayfosfeno = 1 THEN e.archivopuntos <> '' OR "
                           "d.points IS NOT NULL ELSE e.archivopuntos = '' OR d.points IS NULL END"),
                 "0");
        QSqlQuery query(opened.db);
        QVERIFY(query.exec("SELECT points FROM drawing"));
        int drawings = 0;
        for (; query.next(); ++drawings) {
            const DrawingFile::Contents drawing = DrawingFile::parse(query.value(0).toString().toLatin1());
            QVERIFY2(drawing.ok() && drawing.count > 0, qPrintable(drawing.error));
        }
        QVERIFY(drawings >= 8);
        const QString mr = DameRutaResonancias(opened.db, 1);
        QVERIFY(!mr.isEmpty());
        QCOMPARE(QDir(mr).entryList({"*.dcm"}, QDir::Files).size(), 90);
        Study::close(opened.db);
        // A second demo in the same folder is refused and leaves the first as it was.
        const QByteArray first = fileBytes(path);
        QVERIFY_THROWS_EXCEPTION(StudyError, DemoStudy::create(dir.path()));
        QCOMPARE(fileBytes(path), first);
    }
};

QTEST_GUILESS_MAIN(DemoStudyTest)
#include "tst_demo_study.moc"
