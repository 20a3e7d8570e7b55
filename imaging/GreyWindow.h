#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The window through which a volume that brings none of its own becomes 8-bit greys, the same for
// DICOM series and NIfTI volumes: from its least value to its 99.5th percentile (nearest rank: the
// smallest value with at least 99.5% of the values at or below it), or to its greatest value when
// nearly all share the least. Nothing when there are no values or all are one.

// Of values in parts (finite).
std::optional<std::pair<double, double>> ownGreyWindow(const std::vector<std::span<const float>> &parts);
// Of values with how often each occurs, in any order.
std::optional<std::pair<double, double>>
ownGreyWindow(std::vector<std::pair<double, std::int64_t>> valueCounts);
