// Where windows open, how the help and header windows lay out their contents, and what the file chooser lists
// and the column chooser selects first.
#include <gtest/gtest.h>

#include <fstream>

#include "app/chooser_layout.h"
#include "app/column_choice.h"

#include "app/header_paging.h"
#include "app/help_layout.h"
#include "app/help_reference.h"
#include "app/placement.h"

namespace wendrel {
namespace {

// A window wholly off every screen (touching an edge counts as off) comes back onto the nearest one.
TEST(PlaceOnScreen, WhereTheWindowGoes) {
    const ScreenRect laptop{0, 0, 1920, 1080}, right{1920, -200, 2560, 1440};
    const struct { ScreenRect window; std::vector<ScreenRect> screens; ScreenPoint place; } cases[] = {
        {{5000, 300, 800, 600}, {laptop}, {1120, 300}},      {{-2000, -3000, 800, 600}, {laptop}, {0, 0}},
        {{1920, 100, 800, 600}, {laptop}, {1120, 100}},      {{3000, 3000, 4000, 2000}, {laptop}, {0, 0}},  // too large
        {{3000, -100, 800, 600}, {laptop, right}, {3000, -100}}, {{9000, 0, 800, 600}, {laptop, right}, {3680, 0}},
        {{2500, 1300, 800, 600}, {laptop, right}, {2500, 640}},  {{-5000, -5000, 800, 600}, {}, {-5000, -5000}},
    };
    for (const auto& c : cases) EXPECT_EQ(PlaceOnScreen(c.window, c.screens), c.place) << c.window.left;
}

// "*.*" lists every file, a name with a dot or not; patterns match without regard to case.
TEST(ChooserFileTypes, WhichFilesEachTypeLists) {
    const std::string_view spectra = kChooserFileTypes.back();
    const struct { std::string_view type, name; bool listed; } cases[] = {
        {"*.*", "README", true}, {"*.*", "a.b", true}, {"*.*", ".hidden", true}, {"*.fits", "X.FITS", true},
        {"*.fits", "x.fits.gz", false}, {spectra, "x.fits.gz", true}, {spectra, "notes.doc", false}, {spectra, "notes", false},
    };
    for (const auto& c : cases) EXPECT_EQ(FileTypeLists(c.type, c.name), c.listed) << c.type << " " << c.name;
}

// The wavelength first in a unit of length, the flux first in another unit, then in none; "pixel" is no length.
TEST(ColumnChoice, PreselectedColumns) {
    const struct { std::vector<TableColumn> columns; size_t wavelength, flux; } cases[] = {
        {{{"ERR", ""}, {"FLX", "erg/s/cm2/A"}, {"LAM", "nm"}}, 2, 1},
        {{{"ERR", ""}, {"FLX", ""}, {"LAM", "nm"}}, 2, 0},
        {{{"PIX", "pixel"}, {"F", ""}}, 0, 1},
        {{{"A", "um"}, {"B", "Angstrom"}, {"C", "adu"}}, 0, 2},
        {{{"ONLY", ""}}, 0, 0},
    };
    for (const auto& c : cases) {
        const ColumnPreselection chosen = PreselectColumns(c.columns);
        EXPECT_EQ(std::pair(chosen.wavelength, chosen.flux), std::pair(c.wavelength, c.flux)) << c.columns[0].name;
    }
    EXPECT_EQ(ColumnLabel({"LAM", "nm"}) + ColumnLabel({"F", ""}), "LAM (nm)F");
}

// Each paragraph is as high as its character count x 20000 / its width.
TEST(HelpLayout, HeightFollowsWidth) {
    const struct { double width; std::array<int, 3> tops; int height; } cases[] = {
        {10000, {400, 1580, 2398}, 4228}, {5000, {400, 2558, 3951}, 6156}, {20000, {400, 1129, 1681}, 3264}};
    for (const auto& c : cases) {
        const HelpLayout l = HelpLayoutFor(c.width);
        EXPECT_EQ(std::tuple(l.Tops, l.WindowHeight, l.LabelWidth), std::tuple(c.tops, c.height, c.width - 500));
    }
}

// The Help window's reference and README.md say the same.
TEST(HelpLayout, ReadmeHoldsTheReference) {
    std::ifstream readme(WENDREL_README);
    const std::string text((std::istreambuf_iterator<char>(readme)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("## Reference\n"), std::string::npos);
    EXPECT_NE(text.find(HelpReference()), std::string::npos);
}

constexpr HdrLineMetrics kClassic{194.5, 560};

TEST(HeaderPaging, LinesThatFitAndTheBarOpeningAtHalfAPage) {
    const struct { double height; int truncated, nearest; } lines[] = {
        {4840, 22, 22}, {5000, 22, 23}, {10000, 48, 49}, {560, 0, 0}, {400, 0, -1}, {100, -2, -2}};
    for (const auto& c : lines)
        EXPECT_EQ(std::pair(HdrLinesTruncated(c.height, kClassic), HdrLinesNearest(c.height, kClassic)),
                  std::pair(c.truncated, c.nearest)) << c.height;
    const struct { int cards, lines, min, max; } bars[] = {
        {60, 22, 11, 49}, {60, 23, 12, 48}, {60, 21, 10, 50}, {10, 48, 24, 24}, {0, 22, 11, 11}, {250, 48, 24, 226}};
    for (const auto& c : bars) {
        const HdrScrollRange r = HdrOpeningScroll(c.cards, c.lines);
        EXPECT_EQ(std::tuple(r.Minimum, r.Value, r.Maximum), std::tuple(c.min, c.min, c.max)) << c.cards << " " << c.lines;
    }
    const HdrResizeLayout l = HdrResizeFor(60, 3000, 5000, kClassic);
    EXPECT_EQ(std::tuple(l.Lines, l.ScrollVisible, l.Minimum, l.Maximum), std::tuple(22, true, 11, 49));
    EXPECT_DOUBLE_EQ(HdrResizeFor(10, 3000, 9000, kClassic).NewOuterHeight, 10 * 194.5 + 560);  // shrinks to its cards
}

// Sixty cards on 22 lines, the bar from 11 to 49; at 5000 twips the scroll handler counts 23 lines.
TEST(HeaderPaging, WorkedPages) {
    const struct { int cards, lines, value, minimum; CardPage resize, scroll; } cases[] = {
        {60, 22, 11, 11, {1, 23}, {1, 23}}, {60, 22, 12, 11, {2, 24}, {3, 25}}, {60, 22, 30, 11, {20, 42}, {21, 43}},
        {60, 22, 48, 11, {38, 60}, {40, 60}} /* the scroll page is pulled back */, {60, 22, 49, 11, {40, 60}, {40, 60}},
        {60, 23, 12, 11, {2, 25}, {2, 25}}, {60, 23, 13, 11, {2, 25}, {4, 27}} /* halves to even: 2.5 -> 2, 3.5 -> 4 */,
        {60, 23, 49, 11, {39, 60}, {39, 60}}, {250, 48, 150, 24, {127, 175}, {128, 176}},
        {250, 48, 150 + kHdrLargeStep, 24, {137, 185}, {138, 186}}};  // a page step moves ten cards on
    for (const auto& c : cases)
        EXPECT_EQ(std::pair(HdrResizePage(c.cards, c.lines, c.value, c.minimum),
                            HdrScrollPage(c.cards, c.lines, c.value, c.minimum)), std::pair(c.resize, c.scroll))
            << c.cards << " " << c.lines << " " << c.value;
}

// Pages stay inside the header, from card 1 at the minimum to the last card at the maximum.
TEST(HeaderPaging, PagesStayInsideTheHeaderEverywhere) {
    for (int cards = 1; cards <= 260; cards += 7) {
        for (double height = 300; height <= 12000; height += 97.25) {
            const HdrResizeLayout l = HdrResizeFor(cards, 3000, height, kClassic);
            const int nearest = HdrLinesNearest(height, kClassic);
            const auto pages = [&](int v) {
                return std::pair(HdrResizePage(cards, l.Lines, v, l.Minimum), HdrScrollPage(cards, nearest, v, l.Minimum));
            };
            for (int v = l.Minimum; v <= std::max(l.Minimum, l.Maximum); ++v)
                for (const CardPage& page : {pages(v).first, pages(v).second})
                    ASSERT_TRUE(page.First >= 1 && page.Last <= cards) << cards << " cards, height " << height << ", v " << v;
            if (l.Lines < 1) continue;  // a window shorter than its frame shows nothing
            const auto [resizeFirst, scrollFirst] = pages(l.Minimum);
            const auto [resizeLast, scrollLast] = pages(l.ScrollVisible ? l.Maximum : l.Minimum);
            EXPECT_EQ(std::tuple(resizeFirst.First, scrollFirst.First, resizeLast.Last, scrollLast.Last),
                      std::tuple(1, 1, cards, cards)) << cards << " cards, height " << height;
        }
    }
}

}  // namespace
}  // namespace wendrel
