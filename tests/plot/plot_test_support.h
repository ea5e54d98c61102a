// Plot test helpers: a plot window with slots filled in directly, and a
// surface recording what the redraw draws.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "plot/plot_surface.h"
#include "plot/redraw_layout.h"
#include "store/workspace.h"
#include "tests/support/row_filling.h"

namespace wendrel::testing {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A plot window of 10000 x 7000 twips: box 800..9585 across, 300..4950 down.
constexpr PlotArea kArea{10000, 7000, 10000};
constexpr double kX0 = 800, kX1 = 9585, kY0 = 300, kY1 = 4950, kWCurve = kX1 - kX0 + 1, kH = kY1 - kY0;

inline Workspace PlotWorkspace(double left, double right) {
    Workspace ws;
    std::tie(ws.View.PlotLeft, ws.View.PlotRight) = std::tuple(left, right);
    for (int i = 1; i <= kMaxSlots; ++i) ws.slot(i).Offset = 0;
    return ws;
}

// Slot i with pixels from lambdaStart in steps of dLambda, in percent of continuum.
inline Spectrum& Load(Workspace& ws, int i, double lambdaStart, double dLambda, std::vector<double> pct) {
    Spectrum& s = Fill(ws.slot(i));
    ws.DataReady = true;
    std::tie(s.Naxis1, s.LambdaStart, s.DLambda, s.PctMax) = std::tuple(double(pct.size()), lambdaStart, dLambda, -9999);
    s.LambdaEnd = lambdaStart + s.Naxis1 * dLambda;
    for (double v : pct) s.PctMax = std::isfinite(v) ? std::max(s.PctMax, v) : s.PctMax;
    s.FluxPct = std::move(pct);
    s.PctBlocks = BlockExtentsOf(s.FluxPct);
    return s;
}

struct Drawn {
    enum Kind { Line, Dashed, Text, Fill } kind;
    int32_t color;
    float x1, y1, x2, y2;  // a text: its centre and baseline
    std::string text = {};
    bool operator==(const Drawn&) const = default;
};

class RecordingSurface : public PlotSurface {
public:
    void SetForeColor(int32_t c) override { color_ = c; }
    void Line(float a, float b, float c, float d) override { drawn.push_back({Drawn::Line, color_, a, b, c, d}); }
    void DashedLine(float a, float b, float c, float d) override { drawn.push_back({Drawn::Dashed, color_, a, b, c, d}); }
    void CentredText(float x, float y, const std::string& t) override { drawn.push_back({Drawn::Text, color_, x, y, x, y, t}); }
    double TextWidth(const std::string& t) const override { return 100.0 * double(t.size()); }
    void FillRect(float a, float b, float c, float d) override { drawn.push_back({Drawn::Fill, color_, a, b, c, d}); }
    double TwipsPerColumn() const override { return 0; }
    std::vector<Drawn> In(int32_t color, Drawn::Kind kind = Drawn::Line) const {
        std::vector<Drawn> found;
        std::ranges::copy_if(drawn, std::back_inserter(found), [&](const Drawn& d) { return d.color == color && d.kind == kind; });
        return found;
    }
    std::vector<Drawn> drawn;
    int32_t color_ = -1;
};

// Over noisy copies (values[r][k], errors[r][k] of copy r and quantity k):
// per quantity, the rms of the stated errors and the scatter of the values.
inline std::vector<std::pair<double, double>> ErrorsAndScatter(const std::vector<std::vector<double>>& values,
                                                               const std::vector<std::vector<double>>& errors) {
    std::vector<std::pair<double, double>> out;
    const double copies = double(values.size());
    for (size_t k = 0; k < values[0].size(); ++k) {
        double mean = 0, spread = 0, error = 0;
        for (const auto& v : values) mean += v[k] / copies;
        for (size_t r = 0; r < values.size(); ++r) {
            spread += std::pow(values[r][k] - mean, 2) / (copies - 1);
            error += errors[r][k] * errors[r][k] / copies;
        }
        out.emplace_back(std::sqrt(error), std::sqrt(spread));
    }
    return out;
}
}  // namespace wendrel::testing
