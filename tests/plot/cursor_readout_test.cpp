#include "plot/cursor_readout.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

Workspace View6000To7000() {
    Workspace ws;
    ws.PlotLeft = 6000;
    ws.PlotRight = 7000;
    return ws;
}

PlotLayout Box() {
    PlotLayout layout;
    layout.x0 = 800;
    layout.x1 = 9585;
    layout.y0 = 300;
    layout.y1 = 6950;
    layout.yMin = 0;
    layout.yMax = 120;
    return layout;
}

TEST(CursorReadout, WavelengthUnderTheCursor) {
    const Workspace ws = View6000To7000();
    const struct {
        float x;
        float wavelength;
        const char* caption;
    } cases[] = {
        {5195, 6500.2847f, " 6500.28"},
        {5192.5f, 6500, "6500.00 "},  // a whole number takes the zero-filled form
        {801, 6000.1138f, " 6000.11"},
        {9584, 6999.8862f, " 6999.89"},
    };
    for (const auto& c : cases) {
        const CursorReadout r = ReadCursor(ws, Box(), c.x, 3625);
        ASSERT_TRUE(r.Inside) << c.x;
        EXPECT_FLOAT_EQ(r.Wavelength, c.wavelength) << c.x;
        EXPECT_EQ(r.WavelengthCaption, c.caption) << c.x;
        EXPECT_EQ(r.Pointer, MousePointer::Cross);
    }
}

TEST(CursorReadout, IntensityUnderTheCursor) {
    const Workspace ws = View6000To7000();
    const struct {
        float y;
        float intensity;
        const char* caption;
    } cases[] = {
        {3625, 60, " 60     "},
        {6940, 0.18045113f, "0       "},
        {301, 119.98195f, " 120    "},
    };
    for (const auto& c : cases) {
        const CursorReadout r = ReadCursor(ws, Box(), 5195, c.y);
        ASSERT_TRUE(r.Inside) << c.y;
        EXPECT_FLOAT_EQ(r.Intensity, c.intensity) << c.y;
        EXPECT_EQ(r.IntensityCaption, c.caption) << c.y;
    }
}

TEST(CursorReadout, TheBoxEdgesAndBeyondAreOutside) {
    const Workspace ws = View6000To7000();
    const struct {
        float x, y;
    } outside[] = {{800, 3625}, {9585, 3625}, {5195, 300}, {5195, 6950}, {0, 0}, {12000, 3625}, {5195, -5}};
    for (const auto& p : outside) {
        const CursorReadout r = ReadCursor(ws, Box(), p.x, p.y);
        EXPECT_FALSE(r.Inside) << p.x << "," << p.y;
        EXPECT_EQ(r.Pointer, MousePointer::Arrow);
        EXPECT_TRUE(r.WavelengthCaption.empty());
        EXPECT_TRUE(r.IntensityCaption.empty());
    }
}

TEST(CursorReadout, ABoxWithoutSizeHasNoInside) {
    const Workspace ws = View6000To7000();
    EXPECT_FALSE(ReadCursor(ws, PlotLayout{}, 0, 0).Inside);  // before the first redraw every edge is 0
    PlotLayout upsideDown = Box();
    upsideDown.y1 = 200;  // bottom above the top
    EXPECT_FALSE(ReadCursor(ws, upsideDown, 5195, 250).Inside);
}

}  // namespace
}  // namespace wendrel
