#pragma once

#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/PhantomWriter.h"
#include "imaging/SeriesLoader.h"

// The loader's parts wired as the loader window wires them, without a window.
struct Loading {
    ImagingLibrary library;
    ImagingState state{library};
    SeriesLoader loader{state};

    bool load(const QString &dir, bool jpgOnly = false, bool lateral = false) {
        return loader.i_CargarImagenes(dir, jpgOnly, lateral);
    }
};
