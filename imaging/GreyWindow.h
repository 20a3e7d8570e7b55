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

// Values that are whole numbers (as scanners store them), counted one bin per number from the least.
struct GreyCounts {
    double low = 0;
    std::vector<std::int64_t> counts;
};

// The values counted; nothing when one is not a whole number or they span more than 2^22.
std::optional<GreyCounts> countGreys(std::span<const float> values);
// Adds the counts of `from` to `to` (either may start lower).
void addGreyCounts(GreyCounts &to, const GreyCounts &from);

std::optional<std::pair<double, double>> ownGreyWindow(const GreyCounts &counted);
// The same from the (finite) values themselves, which may come in parts.
std::optional<std::pair<double, double>> ownGreyWindow(const std::vector<std::span<const float>> &parts);
