// libFuzzer target for the drawing-file reader: any bytes are parsed, what was read must survive a
// write and a second read unchanged, and rendering it in every mode must stay inside the picture.

#include "drawings/DrawingFile.h"
#include "drawings/DrawingRender.h"
#include "drawings/PictureWidget.h"

#include <QByteArrayView>
#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    // The error display prints text, which needs a GUI application; no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const DrawingFile::Contents contents =
        DrawingFile::parse(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (contents.countRead) {
        const DrawingFile::Contents again = DrawingFile::parse(DrawingFile::format(contents.records));
        if (!again.ok() || again.records != contents.records) {
            std::abort();
        }
    } else if (!contents.records.isEmpty()) {
        std::abort();
    }

    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    PictureSurface picture(&image);
    picture.setScale(0, 0, DrawingFile::CanvasUnits, DrawingFile::CanvasUnits);
    for (DrawingRender::Mode mode :
         {DrawingRender::Mode::Lines, DrawingRender::Mode::Fuse, DrawingRender::Mode::MassCentre}) {
        DrawingRender::render(picture, contents, QStringLiteral("fuzz"), mode);
    }
    return 0;
}
