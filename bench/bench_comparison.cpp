// Speed of the comparison window: builds a study with many stimuli (drawings on disk for the
// cells compared), opens "Comparinh stinmulations" on it with many subjects selected, and times
// whole repaints (filter, one query per subject, reading and drawing each subject's drawing) as
// the grid point changes, in each drawing mode.
//
// usage: zk-bench-comparison [STIMULI] [SUBJECTS] [SELECTED] [REPAINTS]
//        (defaults 100000, 100, 50 and 30; run with QT_QPA_PLATFORM=offscreen)

#include "bench/BenchSql.h"
#include "core/AppState.h"
#include "core/GridCells.h"
#include "data/Study.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "data/StudyState.h"
#include "data/Transaction.h"
#include "drawings/DrawingFile.h"
#include "experiments/EGrid.h"
#include "experiments/FAcumulados.h"
#include "experiments/StimulationComparison.h"
#include "subjects/elegirpaciente.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace {

// Grid cells compared, and every cell whose stimuli can count for them.
const std::vector<int> Cells = {14, 23, 33, 25, 12};

std::set<int> neighbourhood() {
    std::set<int> cells;
    for (int c : Cells) {
        for (int d : {0, 1, -1, 10, -10}) {
            cells.insert(c + d);
        }
    }
    return cells;
}

// A stroke of 60 points wandering over the canvas, as a perception drawing usually is.
QList<DrawingFile::PointRecord> drawing(QRandomGenerator &random) {
    QList<DrawingFile::PointRecord> records;
    int x = random.bounded(2, 11), y = random.bounded(2, 11);
    records << DrawingFile::PointRecord{DrawingFile::StrokeStart, qint16(x), qint16(y)};
    for (int i = 1; i < 59; ++i) {
        x = std::clamp(x + random.bounded(-3, 4), 0, 12);
        y = std::clamp(y + random.bounded(-3, 4), 0, 12);
        records << DrawingFile::PointRecord{DrawingFile::StrokeNext, qint16(x), qint16(y)};
    }
    records << DrawingFile::PointRecord{DrawingFile::StrokeEnd, qint16(x), qint16(y)};
    return records;
}

struct Times {
    double median = 0;
    double max = 0;
};

Times summary(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

int run(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const int stimuli = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int subjects = argc > 2 ? std::atoi(argv[2]) : 100;
    const int selected = argc > 3 ? std::atoi(argv[3]) : 50;
    const int repaints = argc > 4 ? std::atoi(argv[4]) : 30;

    QTemporaryDir dir;
    const QString path = dir.filePath("bench.sqlite");
    Study::create(path);
    AppState state;
    if (const QString error = AbreBaseDatos(state, path); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QSqlDatabase db = state.BaseDatos;

    // Every subject has a point at each of the 45 positions of its grid (centre row 1, column 4);
    // the stimuli are spread over them, all within the window's initial bounds so that every row
    // passes the filter, two out of three with a drawing.
    QElapsedTimer fill;
    fill.start();
    QRandomGenerator random(6);
    const std::set<int> compared = neighbourhood();
    int files = 0;
    {
        Transaction transaction(db);
        QSqlQuery subject(db), point(db), stimulus(db);
        BenchSql::prepare(
            subject, "INSERT INTO paciente (ID, Nombre, Filas, Columnas, FilaCentro, ColumnaCentro, Ciego) "
                     "VALUES (?, ?, 5, 9, 1, 4, 0)");
        BenchSql::prepare(
            point,
            "INSERT INTO puntoestimulacion (ID, Numero, Id_paciente, fila, columna, estado, n_on, n_off, "
            "n_dudas, pasadas) VALUES (?, ?, ?, ?, ?, 0, 1, 0, 0, 1)");
        BenchSql::prepare(
            stimulus,
            "INSERT INTO estimulo (id, id_puntoestimulo, pasada, color, intensidad, hayfosfeno, "
            "observaciones, archivopuntos, orientacion, fecha, TipoBobina, PulsoTipo, NumeroPulsos, "
            "PulsoFrecuencia, PulsoIntensidad, PulsoFase) "
            "VALUES (?, ?, ?, '', 3, ?, '', ?, ?, '2026-01-02 03:04:05', ?, ?, ?, ?, ?, ?)");
        const int perSubject = stimuli / subjects;
        int idPoint = 0, idStimulus = 0;
        for (int s = 1; s <= subjects; ++s) {
            subject.addBindValue(s);
            subject.addBindValue(QStringLiteral("Subject %1").arg(s));
            BenchSql::exec(subject);
            const int firstPoint = idPoint + 1;
            for (int row = 0; row < 5; ++row) {
                for (int column = 0; column < 9; ++column) {
                    ++idPoint;
                    for (const QVariant &v :
                         QVariantList{idPoint, idPoint - firstPoint + 1, s, row - 1, column - 4}) {
                        point.addBindValue(v);
                    }
                    BenchSql::exec(point);
                }
            }
            for (int i = 0; i < perSubject; ++i) {
                const int p = firstPoint + random.bounded(45);
                const int cell = GridCells::index((p - firstPoint) / 9, (p - firstPoint) % 9);
                const int answer = random.bounded(3);
                QString name;
                if (answer != 1) {
                    name = QStringLiteral("b%1").arg(idStimulus + 1);
                    if (compared.count(cell) && s <= selected) {
                        StudyDrawings::store(db, idStimulus + 1, DrawingFile::format(drawing(random)));
                        ++files;
                    }
                }
                for (const QVariant &v :
                     QVariantList{++idStimulus, p, 1 + i / 45, answer, name, random.bounded(4),
                                  random.bounded(1, 4), random.bounded(1, 4), random.bounded(1, 21),
                                  random.bounded(1, 21), random.bounded(50, 101), random.bounded(1, 3)}) {
                    stimulus.addBindValue(v);
                }
                BenchSql::exec(stimulus);
            }
        }
        transaction.commit();
    }
    std::printf("study: %d subjects, %d stimuli, %d drawings (%.1f s to build)\n", subjects,
                subjects * (stimuli / subjects), files, fill.elapsed() / 1000.0);

    FAcumulados window(state, LlenaListaPacientes);
    auto *list = window.findChild<QListWidget *>("LPacientes");
    auto *grid = window.findChild<EGrid *>("EGrid1");
    list->clearSelection();
    for (int i = 0; i < selected && i < list->count(); ++i) {
        list->item(i)->setSelected(true);
    }
    window.show();
    QApplication::processEvents();

    // The queries alone: one prepared statement, run once per selected subject.
    {
        std::vector<double> ms;
        for (int r = 0; r < repaints; ++r) {
            QElapsedTimer t;
            t.start();
            StimulationComparison::DrawingFinder finder(db, window.filtro(), Cells[r % Cells.size()], 1, 4);
            for (int s = 1; s <= selected; ++s) {
                finder.drawingName(s);
            }
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        const Times t = summary(ms);
        std::printf("queries for %d subjects:    median %6.1f ms, max %6.1f ms\n", selected, t.median, t.max);
    }

    const char *const modes[] = {"Option1_0", "Option1_1", "Option1_2"};
    const char *const names[] = {"Lines", "Fuse", "Mass center"};
    for (int m = 0; m < 3; ++m) {
        window.findChild<QRadioButton *>(modes[m])->setChecked(true);
        std::vector<double> ms;
        int drawn = 0;
        for (int r = 0; r < repaints; ++r) {
            QElapsedTimer t;
            t.start();
            grid->setEIndex(Cells[r % Cells.size()]); // the grid's Click repaints the picture
            ms.push_back(t.nsecsElapsed() / 1e6);
            drawn += int(window.dibujados().size());
        }
        const Times t = summary(ms);
        std::printf("repaint, %-12s %d subjects: median %6.1f ms, max %6.1f ms (%.1f drawings each)\n",
                    names[m], selected, t.median, t.max, double(drawn) / repaints);
    }
    return 0;
}

} // namespace

// A study that cannot be written ends the benchmark with the engine's reason, not an abort.
int main(int argc, char *argv[]) {
    try {
        return run(argc, argv);
    } catch (const StudyError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
}
