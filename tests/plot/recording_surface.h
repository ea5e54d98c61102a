// A PlotSurface that records every call, for tests of the redraw.
#pragma once

#include <string>
#include <vector>

#include "plot/plot_surface.h"

namespace wendrel::testing {

struct SurfaceCall {
    enum Kind { Color, Line, DashedLine, Text };
    explicit SurfaceCall(Kind k, int32_t c = 0, float ax = 0, float ay = 0, float bx = 0, float by = 0)
        : kind(k), color(c), x1(ax), y1(ay), x2(bx), y2(by) {}
    Kind kind;
    int32_t color = 0;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string caption;
};

struct RecordedLine {
    int32_t color;
    float x1, y1, x2, y2;
    bool Vertical() const { return x1 == x2; }
    bool Horizontal() const { return y1 == y2; }
};

class RecordingSurface : public PlotSurface {
public:
    void SetForeColor(int32_t c) override {
        color = c;
        calls.emplace_back(SurfaceCall::Color, c);
    }
    void Line(float x1, float y1, float x2, float y2) override {
        calls.emplace_back(SurfaceCall::Line, color, x1, y1, x2, y2);
    }
    void DashedLine(float x1, float y1, float x2, float y2) override {
        calls.emplace_back(SurfaceCall::DashedLine, color, x1, y1, x2, y2);
    }
    void CentredText(float x, float baseline, const std::string& text) override {
        SurfaceCall call(SurfaceCall::Text, color, x, baseline);
        call.caption = text;
        calls.push_back(call);
    }
    double TwipsPerColumn() const override { return twipsPerColumn; }

    std::vector<RecordedLine> Lines() const {
        std::vector<RecordedLine> lines;
        for (const auto& c : calls)
            if (c.kind == SurfaceCall::Line) lines.push_back({c.color, c.x1, c.y1, c.x2, c.y2});
        return lines;
    }
    std::vector<RecordedLine> LinesIn(int32_t c) const {
        std::vector<RecordedLine> lines;
        for (const auto& l : Lines())
            if (l.color == c) lines.push_back(l);
        return lines;
    }
    std::vector<RecordedLine> DashedLines() const {
        std::vector<RecordedLine> lines;
        for (const auto& c : calls)
            if (c.kind == SurfaceCall::DashedLine) lines.push_back({c.color, c.x1, c.y1, c.x2, c.y2});
        return lines;
    }
    // Texts written into the picture (x1: centre, y1: baseline).
    std::vector<SurfaceCall> Texts() const {
        std::vector<SurfaceCall> texts;
        for (const auto& c : calls)
            if (c.kind == SurfaceCall::Text) texts.push_back(c);
        return texts;
    }
    std::vector<SurfaceCall> calls;
    double twipsPerColumn = 0;

private:
    int32_t color = -1;
};

}  // namespace wendrel::testing
