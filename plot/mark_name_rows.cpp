#include "plot/mark_name_rows.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace wendrel {

namespace {

// Neighbouring marks written as one name.
struct NameGroup {
    std::vector<size_t> marks;  // indices into the marks, left to right
    double x = 0;
    std::string text;
};

size_t CharacterCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The row of each group, -1 where none has room; whether all found one.
bool Stack(const std::vector<NameGroup>& groups, const TextWidth& widthOf, double gap, int rows,
           std::vector<int>& rowOf) {
    std::vector<double> rowRight(static_cast<size_t>(rows), -INFINITY);
    bool all = true;
    rowOf.assign(groups.size(), -1);
    for (size_t g = 0; g < groups.size(); ++g) {
        const double half = widthOf(groups[g].text) / 2;
        for (int r = 0; r < rows && rowOf[g] < 0; ++r) {
            if (rowRight[static_cast<size_t>(r)] + gap > groups[g].x - half) continue;
            rowOf[g] = r;
            rowRight[static_cast<size_t>(r)] = groups[g].x + half;
        }
        all = all && rowOf[g] >= 0;
    }
    return all;
}

}  // namespace

std::string CommonNameBeginning(std::string_view a, std::string_view b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    while (n > 0 && n < a.size() && (a[n] & 0xC0) == 0x80) --n;  // inside a character of several bytes
    while (n > 0 && a[n - 1] == ' ') --n;
    return std::string(a.substr(0, n));
}

MarkNameRows StackMarkNames(std::span<const MarkName> marks, const TextWidth& widthOf, double gap, int rows) {
    std::vector<size_t> order(marks.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return marks[a].x < marks[b].x; });
    std::vector<NameGroup> groups;
    for (size_t i : order) groups.push_back({{i}, marks[i].x, std::string(marks[i].name)});

    std::vector<int> rowOf;
    while (!Stack(groups, widthOf, gap, rows, rowOf)) {
        // Merge the closest colliding neighbours that share a long enough beginning.
        size_t best = groups.size();
        std::string merged;
        for (size_t g = 0; g + 1 < groups.size(); ++g) {
            const NameGroup &left = groups[g], &right = groups[g + 1];
            const bool collide = left.x + widthOf(left.text) / 2 + gap > right.x - widthOf(right.text) / 2;
            std::string common = CommonNameBeginning(left.text, right.text);
            if (!collide || CharacterCount(common) < kShortestMergedName) continue;
            if (best == groups.size() || right.x - left.x < groups[best + 1].x - groups[best].x) {
                best = g;
                merged = std::move(common);
            }
        }
        if (best == groups.size()) break;
        NameGroup& left = groups[best];
        const NameGroup& right = groups[best + 1];
        left.marks.insert(left.marks.end(), right.marks.begin(), right.marks.end());
        left.x = (marks[left.marks.front()].x + marks[left.marks.back()].x) / 2;
        left.text = std::move(merged);
        groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(best) + 1);
    }

    MarkNameRows result;
    result.names.resize(marks.size());
    for (size_t g = 0; g < groups.size(); ++g) {
        if (rowOf[g] < 0) continue;
        result.names[groups[g].marks.front()] = {rowOf[g], groups[g].x, groups[g].text};
        result.rowsUsed = std::max(result.rowsUsed, rowOf[g] + 1);
    }
    return result;
}

}  // namespace wendrel
