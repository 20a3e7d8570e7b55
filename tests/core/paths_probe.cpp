// Prints where the program would keep config.ini and which folder the open dialog offers first,
// for tst_paths to run from copies placed in different layouts.

#include "core/AppPaths.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("ZoKorvane");
    std::printf("%s\n%s\n", qPrintable(AppPaths::configPath()), qPrintable(AppPaths::workingDir()));
    return 0;
}
