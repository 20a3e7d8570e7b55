// Saving and deleting stimuli: the rows and counters written, the drawings kept in the study,
// identifiers, and that a save or delete failing half way leaves the study as it was. Then writers
// killed in the middle of their work: a child process (this program in writer mode) adds and deletes
// stimuli with drawings in a loop and is killed with SIGKILL at random moments (KilledWriter); after
// every kill the study must be whole, every stimulus that names a drawing must have it, no drawing may
// be left without its stimulus, and at most the operation in flight is missing. Registered for both
// engines: on a server, several writers' killed sessions too.

#include "support/Files.h"
#include "support/KilledWriter.h"
#include "support/StudyFixture.h"

#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "experiments/StimulusStore.h"

#include <cstring>

using namespace StimulusStore;

namespace {

Entry entrada(qint16 respuesta) {
    Entry e;
    e.hayfosfeno = respuesta;
    e.color = "amarillo";
    e.intensidad = 4;
    e.observaciones = "destello, \"arriba\"";
    e.parameters = Parameters{2, 3, 2, 0, 5, 20, 75};
    e.fecha = QDateTime(QDate(2026, 12, 5), QTime(10, 11, 12));
    return e;
}

const QList<DrawingFile::PointRecord> Trazo = {{0, 1, 2}, {1, 5, 6}, {3, 5, 6}};
// Trazo as the drawing files have always held it: the count, then "code x y" per record.
const QByteArray TrazoGuardado("3\r\n0 1 2\r\n1 5 6\r\n3 5 6\r\n");

// Everything the study holds, to compare before and after; nothing is ever written beside it.
QStringList snapshot(StudyFixture &study) {
    QStringList state = folderEntries(study.dirPath());
    for (const char *table : {"paciente", "puntoestimulacion", "estimulo", "drawing"}) {
        state << study.read(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
    }
    return state;
}

SavedEntry save(StudyFixture &study, int subject, qint16 fila, qint16 columna, int pasada, qint16 respuesta,
                const QList<DrawingFile::PointRecord> &dibujo = Trazo) {
    return saveEntry(study.db(), subject, fila, columna, pasada, entrada(respuesta), dibujo);
}

// Writer mode: forever, a save with a drawing or a delete at a random cell of subject 1, each
// announced before it starts ("save", "delete") and after it is committed ("+", "-", "0" when there
// was nothing to delete).
int writer(const QString &path, quint32 seed) {
    Study::Opened study = Study::open(path);
    if (!study.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(study.error));
        return 1;
    }
    QRandomGenerator random(seed);
    for (;;) {
        const qint16 fila = qint16(random.bounded(5) - 1);
        const qint16 columna = qint16(random.bounded(10) - 4);
        const int pasada = random.bounded(1, 3);
        if (random.bounded(10) < 7) {
            KilledWriter::announce("save");
            QList<DrawingFile::PointRecord> drawing;
            const int points = random.bounded(2, 400);
            for (int i = 0; i < points; ++i) {
                drawing.append({qint16(i == 0 ? 0 : (i + 1 == points ? 3 : 1)), qint16(random.bounded(13)),
                                qint16(random.bounded(13))});
            }
            StimulusStore::Entry entry;
            entry.hayfosfeno = random.bounded(2) ? Answer::Yes : Answer::Doubt;
            entry.fecha = QDateTime::currentDateTime();
            StimulusStore::saveEntry(study.db, 1, fila, columna, pasada, entry, drawing);
            KilledWriter::announce("+");
        } else {
            KilledWriter::announce("delete");
            KilledWriter::announce(
                StimulusStore::deleteEntry(study.db, 1, fila, columna, pasada).stimulusDeleted ? "-" : "0");
        }
    }
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
        const SavedEntry g = save(study, 2, 2, 3, 1, Answer::Yes); // the next IDs of the whole tables
        QCOMPARE(QString("%1 %2 %3").arg(g.pointId).arg(g.stimulusId).arg(g.archivopuntos), "6 10 261");
        QCOMPARE(study.read("SELECT * FROM puntoestimulacion WHERE ID = 6"), "6|1|2|2|3|0|1|0|0|1");
        QCOMPARE(study.read("SELECT * FROM estimulo WHERE id = 10"),
                 "10|6|1|amarillo|4|0|destello, \"arriba\"|261|0|2026-12-05 10:11:12|2|3|5|20|75|2");
        QCOMPARE(StudyDrawings::load(study.db(), 10), TrazoGuardado);
    }

    void noWritesNoDrawingAndDoubtWritesEvenAnEmptyOne() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        Entry sinColor = entrada(Answer::No);
        sinColor.color = QString();
        QCOMPARE(saveEntry(study.db(), 1, 0, 0, 1, sinColor, Trazo).archivopuntos, QString());
        // Empty texts are stored as "", not null.
        QCOMPARE(
            study.read("SELECT archivopuntos || color || '|', (SELECT count(*) FROM drawing) FROM estimulo"),
            "||0");

        const SavedEntry duda = save(study, 1, 1, 0, 1, Answer::Doubt, {});
        QCOMPARE(StudyDrawings::load(study.db(), duda.stimulusId), QByteArray("0\r\n"));
        QVERIFY(!QFileInfo::exists(Study::drawingDirectory(study.path())));
    }

    void countersFollowTheAnswersAndALaterExperimentIsFlagged() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        save(study, 1, 0, 0, 2, Answer::Yes);
        save(study, 1, 0, 0, 3, Answer::No, {});
        QVERIFY(save(study, 1, 0, 0, 1, Answer::Doubt, {}).laterExperiment);
        // The number is stored all the same.
        QCOMPARE(study.read("SELECT n_on, n_off, n_dudas, pasadas FROM puntoestimulacion"), "1|1|1|1");
    }

    // Deleting one of two stimuli lowers its counter and keeps the experiment, the point and the other
    // drawing; nothing of the experiment at the point, or no point at all, changes nothing; deleting
    // the last stimulus removes the point and its drawing.
    void deletingLowersTheCountersAndTheLastStimulusTakesThePoint() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        const SavedEntry primera = save(study, 1, 0, 1, 1, Answer::Yes);
        save(study, 1, 0, 1, 2, Answer::Doubt);
        DeletedEntry b = deleteEntry(study.db(), 1, 0, 1, 2);
        QVERIFY(b.stimulusDeleted && !b.pointDeleted);
        QCOMPARE(
            study.read("SELECT n_on, n_dudas, pasadas, (SELECT pasada FROM estimulo) FROM puntoestimulacion"),
            "1|0|2|1");
        QVERIFY(StudyDrawings::load(study.db(), primera.stimulusId).has_value());
        const QStringList before = snapshot(study);
        QVERIFY(!deleteEntry(study.db(), 1, 0, 1, 3).stimulusDeleted);
        QVERIFY(!deleteEntry(study.db(), 1, 4, 4, 1).stimulusDeleted);
        QCOMPARE(snapshot(study), before);
        b = deleteEntry(study.db(), 1, 0, 1, 1);
        QVERIFY(b.stimulusDeleted && b.pointDeleted);
        QCOMPARE(
            study.read("SELECT (SELECT count(*) FROM puntoestimulacion) + (SELECT count(*) FROM drawing) + "
                       "count(*) FROM estimulo"),
            "0");
    }

    void aFailureHalfWayLeavesEverythingAsBefore_data() {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<QString>("failAt");
        QTest::newRow("save, after the point") << false << "point";
        QTest::newRow("save, after the stimulus") << false << "stimulus";
        QTest::newRow("save, after the drawing") << false << "drawing";
        QTest::newRow("delete, after the rows") << true << "delete";
    }
    void aFailureHalfWayLeavesEverythingAsBefore() {
        QFETCH(bool, deleting);
        QFETCH(QString, failAt);
        StudyFixture study;
        study.addSubject(1, "Ana");
        save(study, 1, 0, 0, 1, Answer::Yes);
        const QStringList before = snapshot(study);
        const Checkpoint fail = [failAt](const char *step) {
            if (failAt == QLatin1String(step)) {
                throw StudyError("disk full");
            }
        };
        if (deleting) {
            QVERIFY_THROWS_EXCEPTION(StudyError, deleteEntry(study.db(), 1, 0, 0, 1, fail));
        } else {
            QVERIFY_THROWS_EXCEPTION(StudyError,
                                     saveEntry(study.db(), 1, 0, 0, 2, entrada(Answer::Yes), Trazo, fail));
        }
        QCOMPARE(snapshot(study), before);
        // And the next save goes through as if nothing had happened.
        if (!deleting) {
            QCOMPARE(save(study, 1, 0, 0, 2, Answer::Yes).stimulusId, 2);
        }
    }

    void twoStimuliNeverShareADrawingName() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(11, "Paco");
        // Subject 1 at point 11 and subject 11 at point 1 both give the name "1111".
        study.addPoint(1, 1, 11, 3, 3, 1);
        for (int id = 2; id <= 10; ++id) {
            study.addPoint(id, id, 11, 2, id - 6, 1);
        }
        QCOMPARE(save(study, 11, 3, 3, 1, Answer::Yes).archivopuntos, "1111");
        const SavedEntry uno = save(study, 1, 0, 0, 1, Answer::Yes, {{0, 7, 7}});
        QCOMPARE(QString::number(uno.pointId) + ' ' + uno.archivopuntos, "11 1111-2");
        QCOMPARE(StudyDrawings::load(study.db(), 1), TrazoGuardado);
    }

    // {cell (-1: off the grid), centre row, centre column, row, column}.
    void cellsAndPointsConvertAroundTheCentre() {
        for (const auto &[cell, filaCentro, columnaCentro, fila, columna] :
             QList<std::array<int, 5>>{{37, 1, 4, 2, 3},
                                       {0, 1, 4, -1, -4},
                                       {49, 2, 5, 2, 4}, // another centre
                                       {-1, 1, 4, 4, 0}, // row 5
                                       {-1, 1, 4, 0, 6}, // column 10
                                       {-1, 2147483647, 4, 2, 0}}) {
            QCOMPARE(cellOfPoint(fila, columna, filaCentro, columnaCentro), cell);
            const Point punto = pointOfCell(std::max(cell, 0), filaCentro, columnaCentro);
            QVERIFY(cell < 0 || QPoint(punto.columna, punto.fila) == QPoint(columna, fila));
        }
    }

    void numericTextsMustBeWholeNumbersInRange() {
        for (const char *text : {"80", " 12 ", "-32768", "32767"}) {
            QVERIFY2(wholeNumberInRange(text, -32768, 32767).has_value(), text);
        }
        for (const char *text : {"", "1.5", "8O", "32768", "-32769"}) {
            QVERIFY2(!wholeNumberInRange(text, -32768, 32767).has_value(), text);
        }
    }

    void killedWritersLeaveAWholeStudy() {
        StudyFixture fixture;
        fixture.addSubject(1, "Ana");
        fixture.release();
        // A server's killed sessions end slowly: fewer rounds there.
        KilledWriter::killAtRandom(fixture.path(), StudyFixture::onServer() ? 30 : 120, 20261206);
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--writer") == 0) {
        try {
            return writer(QString::fromLocal8Bit(argv[2]), quint32(std::strtoul(argv[3], nullptr, 10)));
        } catch (const StudyError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    StimulusStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stimulus_store.moc"
