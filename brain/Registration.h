#pragma once

#include "imaging/VolumeLayout.h"

#include <QString>

#include <array>
#include <atomic>
#include <functional>

// The registration itself, the one place that uses ITK (in Registration.cpp only). Volumes come in
// as the program holds them, placed in its patient space (DICOM LPS, which is ITK's own).
namespace Registration {

struct Outcome {
    // Row-major 4 x 4, patient LPS mm: a point of the fixed volume to the point of the moving one.
    std::array<double, 16> fixedToMoving{};
    double metric = 0; // the final Mattes mutual information at the finest level (negative: better)
    bool cancelled = false;
};

// Registers `moving` to `fixed` with a 12-parameter affine. progress gets 0..100; cancel, when set
// during the run, stops it (cancelled then true).
Outcome affine(const VolumeLayout::ScannerVolume &fixed, const VolumeLayout::ScannerVolume &moving,
               const std::function<void(int percent, const QString &stage)> &progress,
               const std::atomic_bool *cancel);

} // namespace Registration
