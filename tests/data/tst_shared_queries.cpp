// The shared queries and the identifier rule give the right values on empty and filled tables, read
// through the indexes, and report engine errors.

#include "support/StudyFixture.h"

#include "data/Query.h"
#include "data/SharedQueries.h"
#include "data/StudyError.h"

class SharedQueries : public QObject {
    Q_OBJECT

private:
    // Two subjects: 1 with points in experiments 1 and 3, 2 with none; 7 with a point.
    static void fill(StudyFixture &study) {
        study.addSubject(1, "Begoña", "Ibáñez", QVariant());
        study.addSubject(2, "Ana", "", "Ruiz");
        study.addSubject(7, QVariant(), QVariant(), QVariant());
        study.addPoint(1, 1, 1, 0, -3, 1);
        study.addPoint(2, 2, 1, 3, 1, 3);
        study.addPoint(5, 1, 7, 0, 0, 2);
        study.addStimulus(1, 1, 1, 0, "p\\111");
        study.addStimulus(2, 2, 3, 1);
        study.addStimulus(4, 1, 1, 2, "p\\114");
    }

    // The largest subject, point and stimulus identifiers; the last point number of subjects 1, 7
    // and 2; the last experiment of subjects 1, 7, 2 and -1 (none chosen); whether there are subjects.
    static QList<int> largest(QSqlDatabase &db) {
        return {UltimoIdPaciente(db),
                i_dameUltimoValorIdPuntosEstimulos(db),
                i_dameUltimoValorIdEstimulo(db),
                i_dameUltimoNumeroPuntosEstimulos(db, 1),
                i_dameUltimoNumeroPuntosEstimulos(db, 7),
                i_dameUltimoNumeroPuntosEstimulos(db, 2),
                UltimaPasada(db, 1),
                UltimaPasada(db, 7),
                UltimaPasada(db, 2),
                UltimaPasada(db, -1),
                int(HayPacientes(db))};
    }

private slots:
    void largestValuesAreZeroInEmptyTablesElseTheLargestInUse() {
        StudyFixture study;
        QCOMPARE(largest(study.db()), QList<int>(11, 0));
        fill(study);
        QCOMPARE(largest(study.db()), (QList<int>{7, 5, 4, 2, 1, 0, 3, 2, 0, 0, 1}));
    }

    void largestValuesAreReadThroughIndexes_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("subject") << SqlText::UltimoIdPaciente;
        QTest::newRow("point") << SqlText::UltimoIdPunto;
        QTest::newRow("stimulus") << SqlText::UltimoIdEstimulo;
        QTest::newRow("point number") << SqlText::UltimoNumeroPunto;
        QTest::newRow("last experiment") << SqlText::UltimaPasada;
    }
    void largestValuesAreReadThroughIndexes() {
        if (StudyFixture::onServer()) {
            QSKIP("the query plans checked are SQLite's");
        }
        QFETCH(QString, sql);
        StudyFixture study;
        QSqlQuery query(study.db());
        QVERIFY(query.prepare("EXPLAIN QUERY PLAN " + sql));
        if (sql.contains('?')) {
            query.addBindValue(1);
        }
        QVERIFY(query.exec());
        QStringList plan;
        while (query.next()) {
            plan << query.value(3).toString();
        }
        // A filtered query searches an index; an unfiltered one walks the key from its end and stops
        // at the first row. Only the experiments of one subject's points are sorted.
        const QString text = plan.join(" | ");
        QVERIFY2(!sql.contains("WHERE") || (text.contains("SEARCH") && text.contains("INDEX")),
                 qPrintable(text));
        QVERIFY2(sql.contains("pasadas") || !text.contains("TEMP B-TREE"), qPrintable(text));
    }

    // The MR directory reads empty when null, empty or the subject unknown; a quote travels as a value,
    // not as SQL, and an unknown subject stores nothing. An engine error is reported (a value its field
    // cannot hold: numbersTheirFieldCannotHoldAreRefused).
    void mrDirectoryIsEmptyWhenNullEmptyOrUnknownAndErrorsAreReported() {
        StudyFixture study;
        fill(study);
        study.exec("UPDATE paciente SET RutaResonancias = '' WHERE ID = 2");
        for (const int id : {1, 2, 99}) {
            QCOMPARE(DameRutaResonancias(study.db(), id), QString());
        }
        PonRutaResonancias(study.db(), 2, "/data/mr/Series 1");
        PonRutaResonancias(study.db(), 1, "C:\\O'Brien\\mr");
        PonRutaResonancias(study.db(), 99, "/nowhere");
        QCOMPARE(DameRutaResonancias(study.db(), 1), "C:\\O'Brien\\mr");
        QCOMPARE(study.read("SELECT ID, RutaResonancias FROM paciente ORDER BY ID"),
                 "1|C:\\O'Brien\\mr\n2|/data/mr/Series 1\n7|<null>");
        study.exec("DROP TABLE puntoestimulacion");
        QVERIFY_THROWS_EXCEPTION(StudyError, UltimaPasada(study.db(), 1));
    }

    // A number the field that takes it cannot hold is refused, naming the table and the column, never
    // wrapped; null reads as 0, as it always has.
    void numbersTheirFieldCannotHoldAreRefused_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("read");
        QTest::newRow("null") << QVariant() << "0";
        QTest::newRow("smallest, as text") << QVariant("-32768") << "-32768";
        QTest::newRow("a whole real") << QVariant(12.0) << "12";
        QTest::newRow("one past the largest") << QVariant(32768) << "refused";
        QTest::newRow("a fraction") << QVariant(2.5) << "refused";
        QTest::newRow("not a number") << QVariant("x") << "refused";
    }
    void numbersTheirFieldCannotHoldAreRefused() {
        QFETCH(QVariant, stored);
        QString read;
        try {
            read = QString::number(Query::integer<qint16>(stored, "paciente", "FilaCentro"));
        } catch (const StudyError &e) {
            QVERIFY2(e.message().contains("FilaCentro") && e.message().contains("paciente"),
                     qPrintable(e.message()));
            read = "refused";
        }
        QTEST(read, "read");
    }
};

QTEST_GUILESS_MAIN(SharedQueries)
#include "tst_shared_queries.moc"
