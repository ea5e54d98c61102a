#include "plot/cursor_readout.h"

#include "plot/number_format.h"

namespace wendrel {

CursorReadout ReadCursor(const Workspace& ws, float x, float y) {
    CursorReadout r;
    if (x <= ws.PlotX0 || x >= ws.PlotX1 || y <= ws.PlotY0 || y >= ws.PlotY1) return r;
    r.Inside = true;
    r.Pointer = MousePointer::Cross;
    r.Wavelength = static_cast<float>(ws.PlotLeft + (ws.PlotRight - ws.PlotLeft) * (x - ws.PlotX0) /
                                                        (ws.PlotX1 - ws.PlotX0));
    r.Intensity = static_cast<float>(ws.YMin + (ws.YMax - ws.YMin) * (ws.PlotY1 - y) /
                                                   (ws.PlotY1 - ws.PlotY0));
    r.WavelengthCaption = FormatNum(r.Wavelength, 8, 2);
    r.IntensityCaption = FormatNum(r.Intensity, 8, 0);
    return r;
}

}  // namespace wendrel
