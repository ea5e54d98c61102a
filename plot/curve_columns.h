// A surface that passes every drawing on and also keeps, in device cells,
// the vertical runs the lines it draws cover: the curves as the legend's
// corner choice counts them (plot/legend_corner.h).
#pragma once

#include <vector>

#include "plot/legend_corner.h"
#include "plot/plot_surface.h"

namespace wendrel {

class CurveColumnRecorder : public PlotSurface {
public:
    // Cells are `cell` twips square (the surface's column, or a window pixel).
    CurveColumnRecorder(PlotSurface& target, double cell) : target_(target), cell_(cell) {}

    void SetForeColor(int32_t color) override { target_.SetForeColor(color); }
    void Line(float x1, float y1, float x2, float y2) override;
    void DashedLine(float x1, float y1, float x2, float y2) override { target_.DashedLine(x1, y1, x2, y2); }
    void CentredText(float x, float baseline, const std::string& text) override { target_.CentredText(x, baseline, text); }
    double TextWidth(const std::string& text) const override { return target_.TextWidth(text); }
    void FillRect(float x1, float y1, float x2, float y2) override { target_.FillRect(x1, y1, x2, y2); }
    double TwipsPerColumn() const override { return target_.TwipsPerColumn(); }
    void SetLineWidth(int units) override { target_.SetLineWidth(units); }

    const std::vector<CurveColumn>& Columns() const { return columns_; }
    double Cell() const { return cell_; }

private:
    PlotSurface& target_;
    double cell_;
    std::vector<CurveColumn> columns_;
};

}  // namespace wendrel
