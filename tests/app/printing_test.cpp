#include "app/printing.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

TEST(PrintErrors, FailuresGiveTheirNumberAndText) {
    using F = PrintFailure;
    const std::pair<F, int> numbers[] = {{F::NoPrinter, 482}, {F::PrinterRefused, 482}, {F::CannotStart, 482},
        {F::DiskFull, 61}, {F::PathNotFound, 76}, {F::PermissionDenied, 70}, {F::FileAccess, 75}, {F::DeviceIo, 57}, {F::OutOfMemory, 7}};
    for (const auto& [failure, number] : numbers) EXPECT_EQ(PrintErrorNumber(failure), number) << number;
    // The sign's place, the number, a blank and the error's text, when it has one.
    const std::pair<int, const char*> texts[] = {
        {57, " 57 Error 57: Device I/O error."}, {61, " 61 Error 61: Disk full."}, {72, " 72 Error 72: Disk media error"},
        {482, " 482 "}, {1001, " 1001 "}, {0, " 0 "}, {-7, "-7 "}, {-2147483647 - 1, "-2147483648 "}};
    for (const auto& [number, text] : texts) EXPECT_EQ(PrintErrorText(number), text);
}

// Wide pictures take the full width, tall ones the full height centred across; nothing to place, or nowhere, gives nothing.
TEST(PagePlacement, FitsKeepingProportionsCentredAcrossAtTheTop) {
    const struct { double pictureWidth, pictureHeight, areaWidth, areaHeight; PagePlace place; } cases[] = {
        {1000, 500, 4000, 6000, {0, 0, 4000, 2000}}, {500, 1000, 4000, 6000, {500, 0, 3000, 6000}},
        {0, 10, 100, 100, {}}, {10, 10, 0, 100, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(PlaceOnPage(c.pictureWidth, c.pictureHeight, c.areaWidth, c.areaHeight), c.place) << c.pictureWidth;
}

}  // namespace
}  // namespace wendrel
