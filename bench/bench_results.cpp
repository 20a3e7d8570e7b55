// Speed of the results: builds a study of many subjects and stimuli (a drawing for every stimulus not
// answered "No"), then times the exports (TSV and NIBS-BIDS) and the phosphene map window's repaint
// (recount, density of the chosen cell, both pictures) as a filter changes and as the cell changes.
//
// usage: zk-bench-results [STIMULI] [SUBJECTS] [REPAINTS]
//        (defaults 100000, 50 and 20; run with QT_QPA_PLATFORM=offscreen)

#include "core/AppState.h"
#include "data/StudyState.h"
#include "results/PhospheneMapWindow.h"
#include "results/StudyExport.h"
#include "subjects/elegirpaciente.h"
#include "tools/DemoStudy.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const int stimuli = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int subjects = argc > 2 ? std::atoi(argv[2]) : 50;
    const int repaints = argc > 3 ? std::atoi(argv[3]) : 20;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.sqlite"));
    QElapsedTimer timer;
    timer.start();
    DemoStudy::createLarge(path, subjects, stimuli);
    std::printf("study of %d subjects and %d stimuli made in %.1f s\n", subjects, stimuli,
                timer.elapsed() / 1000.0);

    AppState state;
    if (const QString error = AbreBaseDatos(state, path); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    for (const auto &[name, format] : {std::pair{"tsv", StudyExport::Format::Tsv},
                                       std::pair{"nibs-bids", StudyExport::Format::NibsBids}}) {
        timer.restart();
        const StudyExport::Report report =
            StudyExport::run(state.BaseDatos, dir.filePath(QString::fromLatin1(name)), format);
        std::printf("export %-9s %lld stimuli, %lld drawings: %.2f s\n", name, qlonglong(report.stimuli),
                    qlonglong(report.drawings), timer.elapsed() / 1000.0);
    }

    PhospheneMapWindow window(state, LlenaListaPacientes);
    window.resize(1280, 660);
    window.show();
    auto *coil = window.findChild<QComboBox *>(QStringLiteral("coilList"));
    std::vector<double> filterTimes, cellTimes;
    for (int i = 0; i < repaints; ++i) {
        timer.restart();
        coil->setCurrentIndex((coil->currentIndex() + 1) % coil->count());
        QApplication::processEvents();
        filterTimes.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        window.setCell((window.cell() + 11) % 50);
        QApplication::processEvents();
        cellTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("map window repaint after a filter change: median %.1f ms, worst %.1f ms\n",
                median(filterTimes), *std::max_element(filterTimes.begin(), filterTimes.end()));
    std::printf("map window repaint after a cell change:   median %.1f ms, worst %.1f ms\n",
                median(cellTimes), *std::max_element(cellTimes.begin(), cellTimes.end()));
    return 0;
}
