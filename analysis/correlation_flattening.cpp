#include "analysis/correlation_flattening.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace wendrel {

namespace {

constexpr size_t kMostSegments = 24;
constexpr size_t kFewestPointsPerSegment = 150;
constexpr size_t kGapMargin = 3;
constexpr double kTaperFraction = 0.05;

struct ContinuumNode {
    double Position;
    double Level;
};

std::vector<ContinuumNode> SegmentMedians(const std::vector<double>& values) {
    const size_t n = values.size();
    const size_t segments = std::clamp<size_t>(n / kFewestPointsPerSegment, 1, kMostSegments);
    std::vector<ContinuumNode> nodes;
    std::vector<double> finite;
    for (size_t s = 0; s < segments; ++s) {
        const size_t begin = n * s / segments, end = n * (s + 1) / segments;
        finite.clear();
        for (size_t k = begin; k < end; ++k)
            if (std::isfinite(values[k])) finite.push_back(values[k]);
        if (finite.empty()) continue;
        const auto middle = finite.begin() + static_cast<std::ptrdiff_t>(finite.size() / 2);
        std::nth_element(finite.begin(), middle, finite.end());
        nodes.push_back({0.5 * static_cast<double>(begin + end - 1), *middle});
    }
    return nodes;
}

void DivideByContinuum(std::vector<double>& values) {
    const std::vector<ContinuumNode> nodes = SegmentMedians(values);
    if (nodes.empty()) return;
    size_t next = 0;  // first node right of the point
    for (size_t k = 0; k < values.size(); ++k) {
        const double x = static_cast<double>(k);
        while (next < nodes.size() && nodes[next].Position <= x) ++next;
        double level;
        if (next == 0)
            level = nodes.front().Level;
        else if (next == nodes.size())
            level = nodes.back().Level;
        else {
            const ContinuumNode &a = nodes[next - 1], &b = nodes[next];
            level = a.Level + (x - a.Position) / (b.Position - a.Position) * (b.Level - a.Level);
        }
        values[k] = level > 0 ? values[k] / level - 1 : NAN;
    }
}

}  // namespace

size_t FlattenForCorrelation(std::vector<double>& values) {
    const size_t n = values.size();
    DivideByContinuum(values);
    std::vector<bool> used(n, true);
    for (size_t k = 0; k < n; ++k) {
        if (std::isfinite(values[k])) continue;
        for (size_t j = k - std::min(k, kGapMargin); j <= std::min(n - 1, k + kGapMargin); ++j) used[j] = false;
    }
    double sum = 0;
    size_t count = 0;
    for (size_t k = 0; k < n; ++k)
        if (used[k]) sum += values[k], ++count;
    const double mean = count ? sum / static_cast<double>(count) : 0;
    const size_t taper = std::max<size_t>(1, static_cast<size_t>(kTaperFraction * static_cast<double>(n)));
    for (size_t k = 0; k < n; ++k) {
        if (!used[k]) {
            values[k] = 0;
            continue;
        }
        values[k] -= mean;
        const size_t fromEnd = std::min(k, n - 1 - k);
        if (fromEnd < taper)
            values[k] *= 0.5 * (1 - std::cos(std::numbers::pi * (static_cast<double>(fromEnd) + 0.5) / static_cast<double>(taper)));
    }
    return count;
}

}  // namespace wendrel
