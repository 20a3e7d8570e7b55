// The demo study a new lab opens first: what it holds, that its drawings and MR series are where
// its rows say, and that it is never written over.

#include "data/SharedQueries.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
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
        QSqlQuery query(opened.db);

        QVERIFY(
            query.exec("SELECT p.Id_paciente, e.pasada, group_concat(DISTINCT e.hayfosfeno) FROM estimulo e "
                       "JOIN puntoestimulacion p ON p.ID = e.id_puntoestimulo "
                       "WHERE e.pasada = 1 GROUP BY p.Id_paciente, e.pasada"));
        while (query.next()) {
            QStringList answers = query.value(2).toString().split(',');
            answers.sort();
            QCOMPARE(answers, QStringList({"0", "1", "2"})); // Yes, No and Doubt in each first experiment
        }

        // Every phosphene and doubt has its drawing; a "No" has none.
        QVERIFY(query.exec("SELECT e.hayfosfeno, e.archivopuntos, d.points FROM estimulo e "
                           "LEFT JOIN drawing d ON d.stimulus_id = e.id"));
        int drawings = 0;
        while (query.next()) {
            const QString name = query.value(1).toString();
            if (query.value(0).toInt() == 1) {
                QCOMPARE(name, QString());
                QVERIFY(query.value(2).isNull());
                continue;
            }
            const DrawingFile::Contents drawing = DrawingFile::parse(query.value(2).toString().toLatin1());
            QVERIFY2(drawing.ok() && drawing.count > 0, qPrintable(name + ": " + drawing.error));
            ++drawings;
        }
        QVERIFY(drawings >= 8);

        const QString mr = DameRutaResonancias(opened.db, 1);
        QVERIFY(!mr.isEmpty());
        QCOMPARE(QDir(mr).entryList({"*.dcm"}, QDir::Files).size(), 90);
        Study::close(opened.db);
    }

    void aSecondDemoInTheSameFolderIsRefused() {
        QTemporaryDir dir;
        const QString path = DemoStudy::create(dir.path());
        const qint64 size = QFileInfo(path).size();
        QVERIFY_THROWS_EXCEPTION(StudyError, DemoStudy::create(dir.path()));
        QCOMPARE(QFileInfo(path).size(), size);
    }
};

QTEST_GUILESS_MAIN(DemoStudyTest)
#include "tst_demo_study.moc"
