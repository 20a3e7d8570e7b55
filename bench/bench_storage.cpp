// Speed of "Save and continue": fills a study up to a given number of stimuli, then saves more
// through the same storage call the recording window makes, reporting the time per save as the
// table grows.
//
// usage: zk-bench-storage [PREFILLED] [SAVES] [STUDY]    (defaults 90000, 10000 and a new file)
//        STUDY may be a new file or the URI of an empty server database (postgresql://...).

#include "bench/BenchSql.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/Transaction.h"
#include "drawings/DrawingFile.h"
#include "experiments/StimulusStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int run(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int prefilled = argc > 1 ? std::atoi(argv[1]) : 90000;
    const int saves = argc > 2 ? std::atoi(argv[2]) : 10000;
    QTemporaryDir dir;
    const QString path = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir.filePath("bench.sqlite");
    Study::create(path);
    Study::Opened opened = Study::open(path);
    QSqlDatabase &db = opened.db;

    // 200 subjects with 45 points each, and the stimuli spread over them.
    {
        Transaction transaction(db);
        QSqlQuery query(db);
        BenchSql::prepare(query,
                          "INSERT INTO paciente (ID, Nombre, Filas, Columnas, FilaCentro, ColumnaCentro) "
                          "VALUES (?, 'S', 5, 9, 1, 4)");
        for (int s = 1; s <= 200; ++s) {
            query.addBindValue(s);
            BenchSql::exec(query);
        }
        BenchSql::prepare(
            query,
            "INSERT INTO puntoestimulacion (ID, Numero, Id_paciente, fila, columna, estado, n_on, n_off, "
            "n_dudas, pasadas) VALUES (?, ?, ?, ?, ?, 0, 0, 0, 0, 1)");
        for (int p = 0; p < 200 * 45; ++p) {
            query.addBindValue(p + 1);
            query.addBindValue(p % 45 + 1);
            query.addBindValue(p / 45 + 1);
            query.addBindValue(p % 45 / 9 - 1);
            query.addBindValue(p % 9 - 4);
            BenchSql::exec(query);
        }
        BenchSql::prepare(
            query, "INSERT INTO estimulo (id, id_puntoestimulo, pasada, color, intensidad, hayfosfeno, "
                   "observaciones, archivopuntos, orientacion, fecha, TipoBobina, PulsoTipo, NumeroPulsos, "
                   "PulsoFrecuencia, PulsoIntensidad, PulsoFase) VALUES (?, ?, 1, '', 0, 1, '', '', 3, "
                   "'2026-01-01 00:00:00', 1, 1, 1, 1, 80, 1)");
        for (int e = 1; e <= prefilled; ++e) {
            query.addBindValue(e);
            query.addBindValue(e % (200 * 45) + 1);
            BenchSql::exec(query);
        }
        query.finish();
        transaction.commit();
    }

    StimulusStore::Entry entrada;
    entrada.fecha = QDateTime::currentDateTime();
    const QList<DrawingFile::PointRecord> dibujo = {{0, 2, 2}, {1, 6, 7}, {1, 9, 3}, {3, 9, 3}};
    std::vector<double> block;
    std::printf("stimuli in table   mean ms/save   max ms/save\n");
    QElapsedTimer timer;
    for (int i = 0; i < saves; ++i) {
        // Every third save has a phosphene and so writes a drawing file.
        entrada.hayfosfeno = i % 3 == 0 ? Answer::Yes : Answer::No;
        const int subject = 201 + i / 45; // new subjects: their points are created as they go
        timer.start();
        StimulusStore::saveEntry(db, subject, qint16(i % 45 / 9 - 1), qint16(i % 9 - 4), 1, entrada, dibujo);
        block.push_back(timer.nsecsElapsed() / 1e6);
        if (block.size() == 1000 || i == saves - 1) {
            double sum = 0;
            for (double t : block) {
                sum += t;
            }
            std::printf("%16d   %12.3f   %11.3f\n", prefilled + i + 1, sum / block.size(),
                        *std::max_element(block.begin(), block.end()));
            block.clear();
        }
    }
    Study::close(db);
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
