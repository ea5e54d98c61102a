#include "plot/cursor_readout.h"

#include "plot/number_format.h"
#include "plot/tick_rule.h"

namespace wendrel {

CursorReadout ReadCursor(const Workspace& ws, const PlotLayout& layout, float x, float y) {
    CursorReadout r;
    if (x <= layout.x0 || x >= layout.x1 || y <= layout.y0 || y >= layout.y1) return r;
    r.Inside = true;
    r.Pointer = MousePointer::Cross;
    const double wavelength = ws.PlotLeft + (ws.PlotRight - ws.PlotLeft) * (x - layout.x0) / (layout.x1 - layout.x0);
    r.Wavelength = static_cast<float>(wavelength);
    r.Intensity = static_cast<float>(layout.yMin + (layout.yMax - layout.yMin) * (layout.y1 - y) /
                                                       (layout.y1 - layout.y0));
    // Narrow views are read from the 64-bit wavelength: 32 bits hold only about 7 digits.
    const int decimals = TickDecimals(TickStep(ws.PlotRight - ws.PlotLeft)) + 1;
    r.WavelengthCaption = decimals <= 2 ? FormatNum(r.Wavelength, 8, 2) : FormatNum(wavelength, 6 + decimals, decimals);
    r.IntensityCaption = FormatNum(r.Intensity, 8, 0);
    return r;
}

}  // namespace wendrel
