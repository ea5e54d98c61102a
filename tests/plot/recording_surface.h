// A PlotSurface that records every call, for tests of the redraw.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "plot/plot_surface.h"

namespace wendrel::testing {

struct SurfaceCall {
    enum Kind { Show, Cls, Color, Line, Label, DashedLine, Text };
    explicit SurfaceCall(Kind k, int32_t c = 0, float ax = 0, float ay = 0, float bx = 0, float by = 0)
        : kind(k), color(c), x1(ax), y1(ay), x2(bx), y2(by) {}
    Kind kind;
    int32_t color = 0;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PlotLabel label = PlotLabel::Label1;
    double left = 0, top = 0;
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
    void Show() override {
        calls.emplace_back(SurfaceCall::Show);
        if (onShow) onShow();
    }
    void Cls() override {
        calls.emplace_back(SurfaceCall::Cls);
        if (onCls) onCls();
    }
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
    void SetLabel(PlotLabel label, double left, double top, const std::string& caption) override {
        SurfaceCall call(SurfaceCall::Label);
        call.label = label;
        call.left = left;
        call.top = top;
        call.caption = caption;
        calls.push_back(call);
    }
    double OuterWidth() const override { return outerWidth; }
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
    // The last placing of the label; a default call (kind Show) when it was never placed.
    SurfaceCall LabelCall(PlotLabel label) const {
        SurfaceCall found(SurfaceCall::Show);
        for (const auto& c : calls)
            if (c.kind == SurfaceCall::Label && c.label == label) found = c;
        return found;
    }

    std::vector<SurfaceCall> calls;
    std::function<void()> onShow, onCls;
    double outerWidth = 10000;
    double twipsPerColumn = 0;

private:
    int32_t color = -1;
};

}  // namespace wendrel::testing
