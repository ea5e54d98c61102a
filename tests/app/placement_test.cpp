#include "app/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace wendrel {
namespace {

// A window wholly off every screen comes back onto the nearest one.
TEST(PlaceOnScreen, WhereTheWindowGoes) {
    const ScreenRect laptop{0, 0, 1920, 1080}, right{1920, -200, 2560, 1440};
    const struct { const char* what; ScreenRect window; std::vector<ScreenRect> screens; ScreenPoint place; } cases[] = {
        {"off the right edge comes back", {5000, 300, 800, 600}, {laptop}, {1120, 300}},
        {"off the top-left comes back", {-2000, -3000, 800, 600}, {laptop}, {0, 0}},
        {"touching an edge counts as off", {1920, 100, 800, 600}, {laptop}, {1120, 100}},
        {"larger than the screen shows its top-left", {3000, 3000, 4000, 2000}, {laptop}, {0, 0}},
        {"on the second screen stays", {3000, -100, 800, 600}, {laptop, right}, {3000, -100}},
        {"beyond the second screen goes to it", {9000, 0, 800, 600}, {laptop, right}, {3680, 0}},
        {"below the taller screen goes to it", {2500, 1300, 800, 600}, {laptop, right}, {2500, 640}},
        {"no screens keeps the place", {-5000, -5000, 800, 600}, {}, {-5000, -5000}},
    };
    for (const auto& c : cases) EXPECT_EQ(PlaceOnScreen(c.window, c.screens), c.place) << c.what;
}

}  // namespace
}  // namespace wendrel
