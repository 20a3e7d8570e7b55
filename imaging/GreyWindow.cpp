#include "imaging/GreyWindow.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double MaxCountedRange = 1 << 22;

// Values that are whole numbers (as scanners store them), counted one bin per number from the least.
struct GreyCounts {
    double low = 0;
    std::vector<std::int64_t> counts;
};

// The least and greatest value, in eight lanes the compiler keeps in vector registers (a minmax_element
// here takes five times as long).
std::pair<float, float> range(std::span<const float> values) {
    constexpr std::size_t Lanes = 8;
    float low[Lanes];
    float high[Lanes];
    std::fill_n(low, Lanes, values.front());
    std::fill_n(high, Lanes, values.front());
    std::size_t i = 0;
    for (; i + Lanes <= values.size(); i += Lanes) {
        for (std::size_t l = 0; l < Lanes; ++l) {
            const float v = values[i + l];
            low[l] = v < low[l] ? v : low[l];
            high[l] = v > high[l] ? v : high[l];
        }
    }
    for (; i < values.size(); ++i) {
        low[0] = std::min(low[0], values[i]);
        high[0] = std::max(high[0], values[i]);
    }
    return {*std::min_element(low, low + Lanes), *std::max_element(high, high + Lanes)};
}

// Nearest rank among n values.
std::int64_t percentileRank(std::int64_t n) {
    return (995 * n + 999) / 1000 - 1;
}

// From the least value to the one at the rank, or to the greatest when that is the least.
std::optional<std::pair<double, double>> stretch(double low, double atRank, double high) {
    const double top = atRank > low ? atRank : high;
    if (!(top > low)) {
        return std::nullopt;
    }
    return std::make_pair(low, top);
}

// The values counted; nothing when one is not a whole number or they span more than 2^22.
std::optional<GreyCounts> countGreys(std::span<const float> values) {
    if (values.empty()) {
        return std::nullopt;
    }
    const auto [low, high] = range(values);
    if (!(double(high) - double(low) < MaxCountedRange)) {
        return std::nullopt;
    }
    GreyCounts counted;
    counted.low = low;
    counted.counts.assign(std::size_t(high - low) + 1, 0);
    const auto last = std::int32_t(counted.counts.size() - 1);
    bool fraction = false;
    for (const float v : values) {
        const float offset = v - low;
        const auto bin = static_cast<std::int32_t>(offset); // within MaxCountedRange
        fraction |= float(bin) != offset;
        ++counted.counts[std::size_t(std::min(bin, last))];
    }
    if (fraction) {
        return std::nullopt;
    }
    return counted;
}

void addGreyCounts(GreyCounts &to, const GreyCounts &from) {
    if (to.counts.empty()) {
        to = from;
        return;
    }
    const double low = std::min(to.low, from.low);
    const double high = std::max(to.low + double(to.counts.size()), from.low + double(from.counts.size()));
    if (low < to.low || high > to.low + double(to.counts.size())) {
        std::vector<std::int64_t> wider(std::size_t(high - low), 0);
        std::copy(to.counts.begin(), to.counts.end(), wider.begin() + std::ptrdiff_t(to.low - low));
        to.counts = std::move(wider);
        to.low = low;
    }
    const auto offset = std::size_t(from.low - to.low);
    for (std::size_t b = 0; b < from.counts.size(); ++b) {
        to.counts[offset + b] += from.counts[b];
    }
}

std::optional<std::pair<double, double>> ownGreyWindow(const GreyCounts &counted) {
    std::int64_t n = 0;
    std::size_t first = counted.counts.size();
    std::size_t last = 0;
    for (std::size_t b = 0; b < counted.counts.size(); ++b) {
        if (counted.counts[b] > 0) {
            n += counted.counts[b];
            first = std::min(first, b);
            last = b;
        }
    }
    if (n == 0) {
        return std::nullopt;
    }
    const std::int64_t rank = percentileRank(n);
    std::int64_t seen = 0;
    std::size_t at = last;
    for (std::size_t b = 0; b < counted.counts.size(); ++b) {
        seen += counted.counts[b];
        if (seen > rank) {
            at = b;
            break;
        }
    }
    return stretch(counted.low + double(first), counted.low + double(at), counted.low + double(last));
}

} // namespace

std::optional<std::pair<double, double>> ownGreyWindow(const std::vector<std::span<const float>> &parts) {
    GreyCounts all;
    bool counted = true;
    std::int64_t n = 0;
    for (const std::span<const float> part : parts) {
        n += std::int64_t(part.size());
        if (counted && !part.empty()) {
            const std::optional<GreyCounts> these = countGreys(part);
            counted = these && (all.counts.empty() || std::max(all.low + double(all.counts.size()),
                                                               these->low + double(these->counts.size())) -
                                                              std::min(all.low, these->low) <
                                                          MaxCountedRange);
            if (counted) {
                addGreyCounts(all, *these);
            }
        }
    }
    if (n == 0) {
        return std::nullopt;
    }
    if (counted) {
        return ownGreyWindow(all);
    }
    std::vector<float> values;
    values.reserve(std::size_t(n));
    for (const std::span<const float> part : parts) {
        values.insert(values.end(), part.begin(), part.end());
    }
    const auto [low, high] = range(values);
    const auto rank = std::size_t(percentileRank(n));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(rank), values.end());
    return stretch(low, values[rank], high);
}

std::optional<std::pair<double, double>>
ownGreyWindow(std::vector<std::pair<double, std::int64_t>> valueCounts) {
    std::sort(valueCounts.begin(), valueCounts.end());
    std::int64_t n = 0;
    for (const auto &[value, count] : valueCounts) {
        n += count;
    }
    if (n == 0) {
        return std::nullopt;
    }
    const std::int64_t rank = percentileRank(n);
    std::int64_t seen = 0;
    double atRank = valueCounts.back().first;
    for (const auto &[value, count] : valueCounts) {
        seen += count;
        if (seen > rank) {
            atRank = value;
            break;
        }
    }
    return stretch(valueCounts.front().first, atRank, valueCounts.back().first);
}
