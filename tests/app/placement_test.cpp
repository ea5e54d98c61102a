#include "app/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace wendrel {
namespace {

const ScreenRect kLaptop{0, 0, 1920, 1080};
const ScreenRect kRightMonitor{1920, -200, 2560, 1440};

TEST(PlaceOnScreen, WhereTheWindowGoes) {
    const struct {
        const char* what;
        ScreenRect window;
        std::vector<ScreenRect> screens;
        ScreenPoint place;
    } cases[] = {
        {"inside stays", {100, 100, 800, 600}, {kLaptop}, {100, 100}},
        {"partly off stays", {1800, 1000, 800, 600}, {kLaptop}, {1800, 1000}},
        {"off the right edge comes back", {5000, 300, 800, 600}, {kLaptop}, {1120, 300}},
        {"off the top-left comes back", {-2000, -3000, 800, 600}, {kLaptop}, {0, 0}},
        {"off below comes up", {100, 1500, 800, 600}, {kLaptop}, {100, 480}},
        {"touching an edge counts as off", {1920, 100, 800, 600}, {kLaptop}, {1120, 100}},
        {"larger than the screen shows its top-left", {3000, 3000, 4000, 2000}, {kLaptop}, {0, 0}},
        {"on the second screen stays", {3000, -100, 800, 600}, {kLaptop, kRightMonitor}, {3000, -100}},
        {"beyond the second screen goes to it", {9000, 0, 800, 600}, {kLaptop, kRightMonitor}, {3680, 0}},
        {"below the shorter screen goes to the nearer", {900, 1200, 800, 600}, {kLaptop, kRightMonitor}, {900, 480}},
        {"below the taller screen goes to it", {2500, 1300, 800, 600}, {kLaptop, kRightMonitor}, {2500, 640}},
        {"no screens keeps the place", {-5000, -5000, 800, 600}, {}, {-5000, -5000}},
        {"twips work alike", {200000, 200000, 9000, 6000}, {{0, 0, 28800, 16200}}, {19800, 10200}},
    };
    for (const auto& c : cases) EXPECT_EQ(PlaceOnScreen(c.window, c.screens), c.place) << c.what;
}

}  // namespace
}  // namespace wendrel
