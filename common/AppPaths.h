#pragma once

#include <QString>

namespace AppPaths {

// Directory of the running executable.
QString directorioAplicacion();

// Where config.ini lives: beside the executable when that directory is writable (a build tree
// or a portable copy), otherwise in the user's configuration directory (an installed program:
// ~/.config/ZoKorvane/config.ini on Linux).
QString rutaConfig();

// Directory offered first by the open dialog: the application directory when it is writable,
// otherwise the user's home.
QString directorioDeTrabajo();

} // namespace AppPaths
