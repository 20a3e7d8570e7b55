#pragma once

#include "support/MessageLog.h"
#include "support/QueryText.h"
#include "support/StudyInApp.h"
#include "support/Widgets.h"

#include "experiments/EGrid.h"

#include <QList>

// A study for the experiment windows: subject 1 ("Ana", centre row 1, column 4) and subject 2. A test
// adds its rows to `study`, then `open()` hands the study to a new application state with subject 1
// chosen, as the main window does.
struct ExperimentStudy {
    std::unique_ptr<StudyFixture> study = std::make_unique<StudyFixture>();
    std::unique_ptr<AppState> state;

    explicit ExperimentStudy(const QString &second) {
        study->addSubject(1, QStringLiteral("Ana"));
        study->addSubject(2, second);
    }
    // False when the study did not open.
    bool open() {
        state = openInApp(*study, 1, QStringLiteral("Ana"));
        return state != nullptr;
    }
    // What a query reads through the application state's connection (as queryText, nulls as "").
    QString read(const QString &sql) const {
        return queryText(state->BaseDatos, sql).replace(QStringLiteral("<null>"), QString());
    }
};

// The cells the window's grid (EGrid1) marks.
inline QList<int> markedCells(QWidget *w) {
    QList<int> cells;
    for (int cell = 0; cell < 50; ++cell) {
        if (child<EGrid>(w, "EGrid1")->ElementoMarcado(cell)) {
            cells << cell;
        }
    }
    return cells;
}
