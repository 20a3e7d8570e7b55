#pragma once

#include "core/AppState.h"
#include "data/StudyState.h"
#include "support/StudyFixture.h"

#include <memory>

// Hands the fixture's study to a new application state, as the main window does after the open
// dialog, with subject `id` chosen on the default grid (-1: none). Null when the study did not open.
inline std::unique_ptr<AppState> openInApp(StudyFixture &study, int id = -1,
                                           const QString &name = QString()) {
    study.release();
    auto state = std::make_unique<AppState>();
    if (!AbreBaseDatos(*state, study.path()).isEmpty()) {
        return nullptr;
    }
    if (id != -1) {
        state->FijaPaciente(id, name, 1, 4);
    }
    return state;
}
