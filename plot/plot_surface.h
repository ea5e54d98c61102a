// The drawing operations the plot redraw needs of the plot window. The Qt
// window draws into an off-screen image; tests record every call.
// All coordinates are twips on the plot window's drawing surface, y downward.
#pragma once

#include <cstdint>
#include <string>

namespace wendrel {

// The labels of the plot window that each redraw places.
enum class PlotLabel { Label1 = 1, Label2 = 2, Label3 = 3, Label4 = 4, Label6 = 6, Label8 = 8 };

class PlotSurface {
public:
    virtual ~PlotSurface() = default;

    // Brings the plot window up, creating it first (which runs its opening)
    // when it does not exist.
    virtual void Show() = 0;
    // Clears the drawing surface.
    virtual void Cls() = 0;
    // Current drawing colour: red + 256 * green + 65536 * blue.
    virtual void SetForeColor(int32_t color) = 0;
    // A straight line in the current colour.
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
    // A thin dashed straight line in the current colour (the marks of lines).
    virtual void DashedLine(float x1, float y1, float x2, float y2) = 0;
    // A short text in the current colour, centred on x, its baseline at y;
    // part of the picture, cleared by Cls like the lines.
    virtual void CentredText(float x, float baseline, const std::string& text) = 0;
    virtual void SetLabel(PlotLabel label, double left, double top, const std::string& caption) = 0;
    // The window's current outer width.
    virtual double OuterWidth() const = 0;
    // Width of one device column in twips. Where many pixels of a curve fall
    // on one column the redraw may draw their envelope instead; 0 asks for
    // every tread and riser.
    virtual double TwipsPerColumn() const { return 0.0; }
};

}  // namespace wendrel
