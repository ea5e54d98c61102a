#include "plot/cursor_readout.h"

#include "plot/number_format.h"

namespace wendrel {

CursorReadout ReadCursor(const Workspace& ws, const PlotLayout& layout, float x, float y) {
    CursorReadout r;
    if (x <= layout.x0 || x >= layout.x1 || y <= layout.y0 || y >= layout.y1) return r;
    r.Inside = true;
    r.Pointer = MousePointer::Cross;
    r.Wavelength = static_cast<float>(ws.PlotLeft + (ws.PlotRight - ws.PlotLeft) * (x - layout.x0) /
                                                        (layout.x1 - layout.x0));
    r.Intensity = static_cast<float>(layout.yMin + (layout.yMax - layout.yMin) * (layout.y1 - y) /
                                                       (layout.y1 - layout.y0));
    r.WavelengthCaption = FormatNum(r.Wavelength, 8, 2);
    r.IntensityCaption = FormatNum(r.Intensity, 8, 0);
    return r;
}

}  // namespace wendrel
