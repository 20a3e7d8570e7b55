// Killing a process in the middle of saving and deleting stimuli: a child process (this program in
// writer mode) adds and deletes stimuli with drawings in a loop and is killed with SIGKILL at random
// moments (KilledWriter); after every kill the study must be whole, every stimulus that names a drawing
// must have it, no drawing may be left without its stimulus, and at most the operation in flight is
// missing. Registered for both engines: on a server, several writers' killed sessions too.

#include "support/KilledWriter.h"

#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "experiments/StimulusStore.h"

#include <cstring>

namespace {

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

class StimulusCrashTest : public QObject {
    Q_OBJECT

private slots:
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
    StimulusCrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stimulus_crash.moc"
