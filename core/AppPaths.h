#pragma once

#include <QString>

namespace AppPaths {

// Directory of the running executable.
QString applicationDir();

// Where config.ini lives: beside the executable when that directory is writable (a build tree
// or a portable copy), but in the user's configuration directory for an installed program or an
// unwritable one (~/.config/ZoKorvane/config.ini on Linux).
QString configPath();

// Directory offered first by the open dialog: the application directory of a writable, not
// installed copy, otherwise the user's home.
QString workingDir();

} // namespace AppPaths
