#include "plot/cursor_readout.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

// A view of 6000 .. 7000 A over the box 800..9585 x 300..6950, intensities 0 .. 120.
TEST(CursorReadout, InsideTheBoxOnly) {
    Workspace ws;
    ws.PlotLeft = 6000;
    ws.PlotRight = 7000;
    PlotLayout box;
    std::tie(box.x0, box.x1, box.y0, box.y1, box.yMax) = std::tuple(800, 9585, 300, 6950, 120);
    const struct {
        float x, y, wavelength, intensity;
        const char *wavelengthText, *intensityText;
    } inside[] = {
        {5195, 3625, 6500.2847f, 60, " 6500.28", " 60     "},
        {5192.5f, 6940, 6500, 0.18045113f, "6500.00 ", "0       "},  // a whole number: zero-filled form
        {801, 301, 6000.1138f, 119.98195f, " 6000.11", " 120    "},
        {9584, 3625, 6999.8862f, 60, " 6999.89", " 60     "},
    };
    for (const auto& c : inside) {
        const CursorReadout r = ReadCursor(ws, box, c.x, c.y);
        EXPECT_TRUE(r.Inside && r.Pointer == MousePointer::Cross) << c.x;
        EXPECT_FLOAT_EQ(r.Wavelength, c.wavelength) << c.x;
        EXPECT_FLOAT_EQ(r.Intensity, c.intensity) << c.y;
        EXPECT_EQ(r.WavelengthCaption + r.IntensityCaption, std::string(c.wavelengthText) + c.intensityText);
    }
    const std::pair<float, float> outside[] = {{800, 3625}, {9585, 3625}, {5195, 300}, {5195, 6950}, {12000, 3625}};
    for (const auto& [x, y] : outside) {
        const CursorReadout r = ReadCursor(ws, box, x, y);
        EXPECT_TRUE(!r.Inside && r.Pointer == MousePointer::Arrow && r.WavelengthCaption.empty()) << x << "," << y;
    }
    // A box without size has no inside: before the first redraw, or upside down.
    EXPECT_FALSE(ReadCursor(ws, PlotLayout{}, 0, 0).Inside);
    box.y1 = 200;
    EXPECT_FALSE(ReadCursor(ws, box, 5195, 250).Inside);
}

}  // namespace
}  // namespace wendrel
