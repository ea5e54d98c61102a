// The drawing operations the plot redraw needs of a drawing surface: the
// plot window's image, a picture file, a test's recording.
// All coordinates are twips on the plot window's drawing surface, y downward.
#pragma once

#include <cstdint>
#include <string>

namespace wendrel {

class PlotSurface {
public:
    virtual ~PlotSurface() = default;

    // Current drawing colour: red + 256 * green + 65536 * blue.
    virtual void SetForeColor(int32_t color) = 0;
    // A straight line in the current colour.
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
    // A thin dashed straight line in the current colour (the marks of lines).
    virtual void DashedLine(float x1, float y1, float x2, float y2) = 0;
    // A short text in the current colour, centred on x, its baseline at y.
    virtual void CentredText(float x, float baseline, const std::string& text) = 0;
    // How wide CentredText draws the text, in twips.
    virtual double TextWidth(const std::string& text) const = 0;
    // How far the texts' font reaches above and below the baseline, in twips.
    virtual double TextAscent() const { return 160; }
    virtual double TextDescent() const { return 40; }
    // The width of the lines drawn from now on, in device units (1: the thinnest).
    virtual void SetLineWidth(int /*units*/) {}
    // A rectangle from (x1, y1) to (x2, y2), edges included, filled with the
    // current colour.
    virtual void FillRect(float x1, float y1, float x2, float y2) = 0;
    // Width of one device column in twips. Where many pixels of a curve fall
    // on one column the redraw may draw their envelope instead; 0 asks for
    // every tread and riser.
    virtual double TwipsPerColumn() const { return 0.0; }
};

}  // namespace wendrel
