#pragma once

#include <QString>

class AppState;

// Opens the study at `ruta` and makes it the application's study, closing the one open before.
// Returns "" on success, otherwise the reason; on failure nothing changes (path, connection and
// subject stay as they were). What bringing an earlier version up to date did is left in
// state.openNotes. The subject is not reset here: the caller does it with ReiniciaPaciente after
// updating what the operator sees.
// A server study's URI (ServerStudy.h) opens the same way; `password` serves that connection only
// and is kept nowhere else. When the server wants a password none gave, state.passwordNeeded says so.
[[nodiscard]] QString AbreBaseDatos(AppState &state, const QString &ruta,
                                    const QString &password = QString());
