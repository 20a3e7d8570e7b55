// Saving and deleting stimuli: the rows and counters written, the drawing files, identifiers,
// and that a save or delete failing half way leaves the study and the drawings as they were.

#include "StudyFixture.h"

#include "DrawingFile.h"
#include "StimulusStore.h"
#include "StudyError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace StimulusStore;

namespace {

Entrada entrada(qint16 respuesta) {
    Entrada e;
    e.hayfosfeno = respuesta;
    e.color = "amarillo";
    e.intensidad = 4;
    e.observaciones = "destello, \"arriba\"";
    e.parametros = Parametros{2, 3, 2, 0, 5, 20, 75};
    e.fecha = QDateTime(QDate(2026, 12, 5), QTime(10, 11, 12));
    return e;
}

const QList<DrawingFile::PointRecord> Trazo = {{0, 1, 2}, {1, 5, 6}, {3, 5, 6}};

// Everything the study and its drawing folder hold, to compare before and after.
QStringList snapshot(StudyFixture &study) {
    QStringList state;
    for (const char *table : {"paciente", "puntoestimulacion", "estimulo"}) {
        QSqlQuery query(study.db());
        query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        while (query.next()) {
            QStringList row;
            for (int c = 0; c < query.record().count(); ++c) {
                row << query.value(c).toString();
            }
            state << QString::fromLatin1(table) + ": " + row.join('|');
        }
    }
    const QDir dir(DrawingFile::directory(study.path()));
    state << QStringLiteral("folder exists: %1").arg(dir.exists());
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::ReadOnly);
        state << name + ": " + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex();
    }
    return state;
}

QVariantMap row(StudyFixture &study, const QString &sql) {
    QSqlQuery query(study.db());
    QVariantMap values;
    if (query.exec(sql) && query.next()) {
        for (int c = 0; c < query.record().count(); ++c) {
            values[query.record().fieldName(c).toLower()] = query.value(c);
        }
    }
    return values;
}

} // namespace

class StimulusStoreTest : public QObject {
    Q_OBJECT

private slots:
    void firstStimulusOfASubjectCreatesPointNumberOne() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Paco");
        study.addPoint(5, 1, 1, 0, 0, 1);
        study.addStimulus(9, 5, 1);
        const Guardado g = guardaEntrada(study.db(), study.path(), 2, 2, 3, 1, entrada(Si), Trazo);
        QCOMPARE(g.idPunto, 6);     // next ID of the whole table
        QCOMPARE(g.idEstimulo, 10); // likewise
        QCOMPARE(g.archivopuntos, QStringLiteral("261"));
        const QVariantMap punto = row(study, "SELECT * FROM puntoestimulacion WHERE ID = 6");
        QCOMPARE(punto["numero"].toInt(), 1);
        QCOMPARE(punto["id_paciente"].toInt(), 2);
        QCOMPARE(QList<int>({punto["fila"].toInt(), punto["columna"].toInt(), punto["estado"].toInt(),
                             punto["n_on"].toInt(), punto["n_off"].toInt(), punto["n_dudas"].toInt(),
                             punto["pasadas"].toInt()}),
                 QList<int>({2, 3, 0, 1, 0, 0, 1}));
        const QVariantMap e = row(study, "SELECT * FROM estimulo WHERE id = 10");
        QCOMPARE(e["color"].toString(), QStringLiteral("amarillo"));
        QCOMPARE(e["observaciones"].toString(), QStringLiteral("destello, \"arriba\""));
        QCOMPARE(e["fecha"].toString(), QStringLiteral("2026-12-05 10:11:12"));
        QCOMPARE(QList<int>({e["id_puntoestimulo"].toInt(), e["pasada"].toInt(), e["intensidad"].toInt(),
                             e["hayfosfeno"].toInt(), e["orientacion"].toInt(), e["tipobobina"].toInt(),
                             e["pulsotipo"].toInt(), e["numeropulsos"].toInt(), e["pulsofrecuencia"].toInt(),
                             e["pulsointensidad"].toInt(), e["pulsofase"].toInt()}),
                 QList<int>({6, 1, 4, 0, 0, 2, 3, 5, 20, 75, 2}));
        const DrawingFile::Contents dibujo =
            DrawingFile::read(DrawingFile::resolvePath(study.path(), g.archivopuntos));
        QVERIFY(dibujo.ok());
        QCOMPARE(dibujo.records, Trazo);
    }

    void noWritesNoDrawingAndDoubtWritesEvenAnEmptyOne() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        Entrada sinColor = entrada(No);
        sinColor.color = QString();
        const Guardado no = guardaEntrada(study.db(), study.path(), 1, 0, 0, 1, sinColor, Trazo);
        QCOMPARE(no.archivopuntos, QString());
        // Empty texts are stored as "", not null.
        QCOMPARE(
            row(study, "SELECT typeof(archivopuntos) || typeof(color) AS t FROM estimulo")["t"].toString(),
            QStringLiteral("texttext"));
        QCOMPARE(row(study, "SELECT archivopuntos FROM estimulo")["archivopuntos"].toString(), QString());
        QVERIFY(!QDir(DrawingFile::directory(study.path())).exists() ||
                QDir(DrawingFile::directory(study.path())).isEmpty());

        const Guardado duda = guardaEntrada(study.db(), study.path(), 1, 1, 0, 1, entrada(Duda), {});
        QFile file(DrawingFile::resolvePath(study.path(), duda.archivopuntos));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("0\r\n"));
    }

    void countersFollowTheAnswersAndALaterExperimentIsFlagged() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        guardaEntrada(study.db(), study.path(), 1, 0, 0, 2, entrada(Si), Trazo);
        guardaEntrada(study.db(), study.path(), 1, 0, 0, 3, entrada(No), {});
        const Guardado tarde = guardaEntrada(study.db(), study.path(), 1, 0, 0, 1, entrada(Duda), {});
        QVERIFY(tarde.pasadasMayor);
        const QVariantMap punto = row(study, "SELECT * FROM puntoestimulacion");
        QCOMPARE(QList<int>({punto["n_on"].toInt(), punto["n_off"].toInt(), punto["n_dudas"].toInt(),
                             punto["pasadas"].toInt()}),
                 QList<int>({1, 1, 1, 1})); // the number is stored all the same
    }

    void deletingTheOnlyStimulusRemovesThePointAndItsDrawing() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        const Guardado g = guardaEntrada(study.db(), study.path(), 1, -1, 2, 1, entrada(Si), Trazo);
        const QString ruta = DrawingFile::resolvePath(study.path(), g.archivopuntos);
        QVERIFY(QFile::exists(ruta));
        const Borrado b = borraEntrada(study.db(), study.path(), 1, -1, 2, 1);
        QVERIFY(b.estimulo && b.punto);
        QVERIFY(!QFile::exists(ruta));
        QVERIFY(row(study, "SELECT count(*) AS n FROM puntoestimulacion")["n"].toInt() == 0);
        QVERIFY(row(study, "SELECT count(*) AS n FROM estimulo")["n"].toInt() == 0);
    }

    void deletingOneOfSeveralLowersItsCounterAndKeepsTheExperiment() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        const Guardado primera = guardaEntrada(study.db(), study.path(), 1, 0, 1, 1, entrada(Si), Trazo);
        guardaEntrada(study.db(), study.path(), 1, 0, 1, 2, entrada(Duda), Trazo);
        const Borrado b = borraEntrada(study.db(), study.path(), 1, 0, 1, 2);
        QVERIFY(b.estimulo && !b.punto);
        const QVariantMap punto = row(study, "SELECT * FROM puntoestimulacion");
        QCOMPARE(QList<int>({punto["n_on"].toInt(), punto["n_dudas"].toInt(), punto["pasadas"].toInt()}),
                 QList<int>({1, 0, 2}));
        QCOMPARE(row(study, "SELECT group_concat(pasada) AS p FROM estimulo")["p"].toString(),
                 QStringLiteral("1"));
        QVERIFY(QFile::exists(DrawingFile::resolvePath(study.path(), primera.archivopuntos)));
        // Nothing of experiment 3 at the point: nothing changes.
        const QStringList before = snapshot(study);
        QVERIFY(!borraEntrada(study.db(), study.path(), 1, 0, 1, 3).estimulo);
        QVERIFY(!borraEntrada(study.db(), study.path(), 1, 4, 4, 1).estimulo);
        QCOMPARE(snapshot(study), before);
    }

    void aFailedSaveLeavesEverythingAsBefore_data() {
        QTest::addColumn<QString>("failAt");
        QTest::newRow("after the point") << "point";
        QTest::newRow("after the stimulus") << "stimulus";
        QTest::newRow("after the drawing") << "drawing";
    }
    void aFailedSaveLeavesEverythingAsBefore() {
        QFETCH(QString, failAt);
        StudyFixture study;
        study.addSubject(1, "Ana");
        guardaEntrada(study.db(), study.path(), 1, 0, 0, 1, entrada(Si), Trazo);
        // A stale drawing at the path the next save uses must survive a failed save too.
        const QString stale = DrawingFile::resolvePath(study.path(), DrawingFile::storedName(1, 1, 2));
        QVERIFY(DrawingFile::write(stale, {{0, 9, 9}}));
        const QStringList before = snapshot(study);
        const Checkpoint fail = [failAt](const char *step) {
            if (failAt == QLatin1String(step)) {
                throw StudyError(QStringLiteral("disk full"));
            }
        };
        QVERIFY_THROWS_EXCEPTION(
            StudyError, guardaEntrada(study.db(), study.path(), 1, 0, 0, 2, entrada(Si), Trazo, fail));
        QCOMPARE(snapshot(study), before);
        // And the next save goes through as if nothing had happened.
        QCOMPARE(guardaEntrada(study.db(), study.path(), 1, 0, 0, 2, entrada(Si), Trazo).idEstimulo, 2);
    }

    void aFailedSaveRemovesADrawingFolderItCreated() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        const QStringList before = snapshot(study);
        QVERIFY_THROWS_EXCEPTION(StudyError, guardaEntrada(study.db(), study.path(), 1, 0, 0, 1, entrada(Si),
                                                           Trazo, [](const char *step) {
                                                               if (QByteArray(step) == "drawing") {
                                                                   throw StudyError("no");
                                                               }
                                                           }));
        QCOMPARE(snapshot(study), before);
    }

    void aFailedDeleteLeavesEverythingAsBefore_data() {
        QTest::addColumn<QString>("failAt");
        QTest::newRow("after the rows") << "delete";
        QTest::newRow("after the drawing") << "drawing";
    }
    void aFailedDeleteLeavesEverythingAsBefore() {
        QFETCH(QString, failAt);
        StudyFixture study;
        study.addSubject(1, "Ana");
        guardaEntrada(study.db(), study.path(), 1, 0, 0, 1, entrada(Si), Trazo);
        const QStringList before = snapshot(study);
        QVERIFY_THROWS_EXCEPTION(
            StudyError, borraEntrada(study.db(), study.path(), 1, 0, 0, 1, [failAt](const char *step) {
                if (failAt == QLatin1String(step)) {
                    throw StudyError("no");
                }
            }));
        QCOMPARE(snapshot(study), before);
    }

    void aMissingDrawingDoesNotStopADelete() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        const Guardado g = guardaEntrada(study.db(), study.path(), 1, 0, 0, 1, entrada(Si), Trazo);
        QVERIFY(QFile::remove(DrawingFile::resolvePath(study.path(), g.archivopuntos)));
        QVERIFY(borraEntrada(study.db(), study.path(), 1, 0, 0, 1).punto);
    }

    void aDrawingAnotherStimulusNamesIsNeverReplaced() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(11, "Paco");
        // Subject 1 at point 11 and subject 11 at point 1 both give the name "1111".
        study.addPoint(1, 1, 11, 3, 3, 1);
        for (int id = 2; id <= 10; ++id) {
            study.addPoint(id, id, 11, 2, id - 6, 1);
        }
        const Guardado once = guardaEntrada(study.db(), study.path(), 11, 3, 3, 1, entrada(Si), Trazo);
        QCOMPARE(once.idPunto, 1);
        QCOMPARE(once.archivopuntos, QStringLiteral("1111"));
        const Guardado uno = guardaEntrada(study.db(), study.path(), 1, 0, 0, 1, entrada(Si), {{0, 7, 7}});
        QCOMPARE(uno.idPunto, 11);
        QCOMPARE(uno.archivopuntos, QStringLiteral("1111-2"));
        QCOMPARE(DrawingFile::read(DrawingFile::resolvePath(study.path(), "1111")).records, Trazo);
    }

    void cellsAndPointsConvertAroundTheCentre_data() {
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("filaCentro");
        QTest::addColumn<int>("columnaCentro");
        QTest::addColumn<int>("fila");
        QTest::addColumn<int>("columna");
        QTest::newRow("cell 37, default centre") << 37 << 1 << 4 << 2 << 3;
        QTest::newRow("cell 0, default centre") << 0 << 1 << 4 << -1 << -4;
        QTest::newRow("centre") << 14 << 1 << 4 << 0 << 0;
        QTest::newRow("top right, other centre") << 49 << 2 << 5 << 2 << 4;
    }
    void cellsAndPointsConvertAroundTheCentre() {
        QFETCH(int, cell);
        QFETCH(int, filaCentro);
        QFETCH(int, columnaCentro);
        QFETCH(int, fila);
        QFETCH(int, columna);
        const Punto punto = puntoDeCelda(cell, filaCentro, columnaCentro);
        QCOMPARE(punto.fila, fila);
        QCOMPARE(punto.columna, columna);
        QCOMPARE(celdaDePunto(fila, columna, filaCentro, columnaCentro), cell);
    }
    void pointsOffTheGridHaveNoCell() {
        QCOMPARE(celdaDePunto(4, 0, 1, 4), -1);  // row 5
        QCOMPARE(celdaDePunto(0, 6, 1, 4), -1);  // column 10
        QCOMPARE(celdaDePunto(-2, 0, 1, 4), -1); // row -1
    }

    void numericTextsMustBeWholeNumbersInRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("number") << "80" << true;
        QTest::newRow("blanks around") << " 12 " << true;
        QTest::newRow("negative") << "-3" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("decimal") << "1.5" << false;
        QTest::newRow("letters") << "8O" << false;
        QTest::newRow("too large") << "32768" << false;
        QTest::newRow("too small") << "-32769" << false;
    }
    void numericTextsMustBeWholeNumbersInRange() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(enteroEnRango(text, -32768, 32767).has_value(), accepted);
    }

    void experimentPointsAreThoseWithAStimulusOfIt() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Paco");
        study.addPoint(1, 1, 1, 0, 0, 3);
        study.addPoint(2, 2, 1, 1, 1, 3);
        study.addPoint(3, 3, 1, 2, 2, 1);
        study.addPoint(4, 1, 2, 0, 0, 3);
        study.addStimulus(1, 1, 3);
        study.addStimulus(2, 1, 1);
        study.addStimulus(3, 2, 2);
        study.addStimulus(4, 2, 3);
        study.addStimulus(5, 3, 1);
        study.addStimulus(6, 4, 3); // another subject
        QList<int> cells;
        for (const Punto &p : puntosDeLaPasada(study.db(), 1, 3)) {
            cells << celdaDePunto(p.fila, p.columna, 1, 4);
        }
        std::sort(cells.begin(), cells.end());
        QCOMPARE(cells, QList<int>({14, 25}));
    }
};

QTEST_GUILESS_MAIN(StimulusStoreTest)
#include "tst_stimulus_store.moc"
