// The study accepts every query text the windows use, and the shared queries and the identifier
// rule give the right values on empty and filled tables.

#include "support/StudyFixture.h"

#include "data/SharedQueries.h"
#include "data/StudyError.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

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

private slots:
    void everyQueryTextIsAcceptedAsItStands_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("column"); // a column read by name from the result, in another case
        QTest::newRow("subjects present") << "select id from paciente" << 3 << "ID";
        QTest::newRow("last experiment") << "select ID,Id_paciente,pasadas from puntoestimulacion WHERE "
                                            "((puntoestimulacion.id_paciente)=1) "
                                            "Order by pasadas"
                                         << 2 << "PASADAS";
        QTest::newRow("MR directory") << "select id,RutaResonancias from paciente" << 3 << "rutaresonancias";
        QTest::newRow("last subject") << "select ID from paciente order by ID" << 3 << "id";
        QTest::newRow("last point") << "select ID from puntoestimulacion Order by ID" << 3 << "Id";
        QTest::newRow("last stimulus") << "select ID from estimulo Order by ID" << 3 << "id";
        QTest::newRow("last point number")
            << "select ID,Id_paciente,Numero from puntoestimulacion WHERE ((id_paciente)=1) Order by Numero"
            << 2 << "numero";
        QTest::newRow("subject list")
            << "select Nombre,Apellido1,Apellido2,id from paciente Order by ID" << 3 << "apellido2";
        QTest::newRow("subject grid")
            << "select id,filas,columnas,filacentro,columnacentro from paciente Order by ID" << 3
            << "FilaCentro";
        QTest::newRow("experiment of a point") << "select Id,Pasada,Id_puntoestimulo from estimulo WHERE "
                                                  "((estimulo.id_puntoestimulo)=1) ORDER BY "
                                                  "estimulo.Id ;"
                                               << 2 << "pasada";
        QTest::newRow("points by number")
            << "select * from puntoestimulacion WHERE ((puntoestimulacion.id_paciente)=1 ) Order by Numero;"
            << 2 << "n_dudas";
        QTest::newRow("points by experiment")
            << "select * from puntoestimulacion WHERE ((id_paciente)=1) Order by pasadas" << 2 << "Fila";
        QTest::newRow("stimuli of a point")
            << "select * from estimulo WHERE ((id_puntoestimulo)=1) Order by id" << 2 << "ArchivoPuntos";
        QTest::newRow("stimuli with their points")
            << "SELECT estimulo.*, puntoestimulacion.*, * FROM puntoestimulacion LEFT JOIN estimulo ON "
               "puntoestimulacion.ID = estimulo.Id_puntoestimulo WHERE ((estimulo.PulsoTipo)=1) AND "
               "((puntoestimulacion.fila)=0) AND (((puntoestimulacion.Id_paciente)=1));"
            << 2 << "archivopuntos";
        QTest::newRow("new stimulus") << "select * from estimulo" << 3 << "PulsoFase";
    }
    void everyQueryTextIsAcceptedAsItStands() {
        QFETCH(QString, sql);
        QFETCH(int, rows);
        QFETCH(QString, column);
        StudyFixture study;
        fill(study);
        QSqlQuery query(study.db());
        QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
        QVERIFY2(query.record().indexOf(column) >= 0, "column not found by name in another case");
        int count = 0;
        while (query.next()) {
            ++count;
        }
        QCOMPARE(count, rows);
    }

    void identifiersStartAtOneInEmptyTables() {
        StudyFixture study;
        QCOMPARE(UltimoIdPaciente(study.db()), 0);
        QCOMPARE(i_dameUltimoValorIdPuntosEstimulos(study.db()), 0);
        QCOMPARE(i_dameUltimoValorIdEstimulo(study.db()), 0);
        QCOMPARE(i_dameUltimoNumeroPuntosEstimulos(study.db(), 1), 0);
        QVERIFY(!HayPacientes(study.db()));
    }

    void identifiersAreTheLargestInUse() {
        StudyFixture study;
        fill(study);
        QCOMPARE(UltimoIdPaciente(study.db()), 7);
        QCOMPARE(i_dameUltimoValorIdPuntosEstimulos(study.db()), 5);
        QCOMPARE(i_dameUltimoValorIdEstimulo(study.db()), 4);
        // Point numbers run per subject.
        QCOMPARE(i_dameUltimoNumeroPuntosEstimulos(study.db(), 1), 2);
        QCOMPARE(i_dameUltimoNumeroPuntosEstimulos(study.db(), 7), 1);
        QCOMPARE(i_dameUltimoNumeroPuntosEstimulos(study.db(), 2), 0);
        QVERIFY(HayPacientes(study.db()));
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
        // A filtered query searches an index; an unfiltered one walks the key from its end and
        // stops at the first row. Neither sorts the whole table.
        const QString text = plan.join(" | ");
        if (sql.contains("WHERE")) {
            QVERIFY2(text.contains("SEARCH") && text.contains("INDEX"), qPrintable(text));
        } else {
            QVERIFY2(!text.contains("TEMP B-TREE"), qPrintable(text));
        }
        if (!sql.contains("pasadas")) {
            QVERIFY2(!text.contains("TEMP B-TREE"), qPrintable(text));
        }
    }

    void lastExperimentIsTheLargestOfTheSubjectsPoints() {
        StudyFixture study;
        fill(study);
        QCOMPARE(UltimaPasada(study.db(), 1), 3);
        QCOMPARE(UltimaPasada(study.db(), 7), 2);
        QCOMPARE(UltimaPasada(study.db(), 2), 0);  // no points
        QCOMPARE(UltimaPasada(study.db(), -1), 0); // no subject chosen
    }

    void mrDirectoryIsEmptyWhenNullEmptyOrUnknown() {
        StudyFixture study;
        fill(study);
        study.exec("UPDATE paciente SET RutaResonancias = '' WHERE ID = 2");
        QCOMPARE(DameRutaResonancias(study.db(), 1), QString()); // null
        QCOMPARE(DameRutaResonancias(study.db(), 2), QString()); // ""
        QCOMPARE(DameRutaResonancias(study.db(), 99), QString());
        PonRutaResonancias(study.db(), 2, "/data/mr/Series 1");
        QCOMPARE(DameRutaResonancias(study.db(), 2), QStringLiteral("/data/mr/Series 1"));
        QCOMPARE(DameRutaResonancias(study.db(), 1), QString());
        // A quote in a directory name travels as a value, not as SQL.
        PonRutaResonancias(study.db(), 1, "C:\\O'Brien\\mr");
        QCOMPARE(DameRutaResonancias(study.db(), 1), QStringLiteral("C:\\O'Brien\\mr"));
        PonRutaResonancias(study.db(), 99, "/nowhere"); // unknown subject: nothing to store
        QCOMPARE(UltimoIdPaciente(study.db()), 7);
    }

    void failedReadReportsTheEngineError() {
        StudyFixture study;
        study.exec("DROP TABLE puntoestimulacion");
        QVERIFY_THROWS_EXCEPTION(StudyError, UltimaPasada(study.db(), 1));
    }
};

QTEST_GUILESS_MAIN(SharedQueries)
#include "tst_shared_queries.moc"
