// Times the cuts and the 3D side view of a volume stacked from the pictures of a loaded series (the
// cache folder `zokorvane-tool load-series DIR` reports), and writes one of each as PNG.
//
// usage: zk-bench-imaging DIR [REPEATS] [PNG-PREFIX]

#include "imaging/ImagingLibrary.h"
#include "imaging/Volume.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zk-bench-imaging DIR [REPEATS] [PNG-PREFIX]\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 100;
    const QStringList names =
        dir.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    ImagingLibrary library;
    qint32 handle = 0;
    QElapsedTimer timer;
    timer.start();
    library._d2_crea(handle, 0);
    for (const QString &name : names) {
        library._d2_anyade(handle, dir.filePath(name));
    }
    library._d2_cierra(handle, 1);
    const double stackMs = timer.nsecsElapsed() / 1e6;
    qint32 x = 0, y = 0, z = 0;
    library._d2_dimensiones(handle, x, y, z);
    library._d2_setIncremento(handle, 2.0);
    std::printf("volume %d x %d x %d stacked from pictures in %.1f ms\n", x, y, z, stackMs);
    if (z == 0) {
        return 1;
    }
    QImage picture;
    auto time = [&](const char *what, auto &&render) {
        timer.restart();
        for (int i = 0; i < repeats; ++i) {
            render(i);
        }
        const double ms = timer.nsecsElapsed() / 1e6 / repeats;
        std::printf("%-8s %8.3f ms per render (%d renders)\n", what, ms, repeats);
    };
    time("z cut", [&](int i) { library._d2_crea_corte_z(handle, (z / 4 + i) % z, &picture); });
    time("y cut", [&](int i) { library._d2_crea_corte_y(handle, (y / 4 + i) % y, &picture); });
    time("3D view", [&](int) { library._d2_crea3D_2(handle, 500, 1, 60, 255, 0, &picture); });
    if (argc > 3) {
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        // Small volumes are enlarged, pixel for pixel, so the pictures can be looked at.
        auto save = [](const QImage &image, const QString &path) {
            const int k = std::max(1, 256 / std::max(image.width(), image.height()));
            if (!image.scaled(image.size() * k).save(path))
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        };
        library._d2_crea_corte_z(handle, z / 2, &picture);
        save(picture, prefix + QStringLiteral("-zcut.png"));
        library._d2_crea_corte_y(handle, y / 2, &picture);
        save(picture, prefix + QStringLiteral("-ycut.png"));
        library._d2_crea3D_2(handle, 500, 1, 60, 255, 0, &picture);
        save(picture, prefix + QStringLiteral("-3d.png"));
    }
    library._d2_destruye(handle);
    return 0;
}
