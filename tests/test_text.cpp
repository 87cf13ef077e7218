#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

// Draws text over grey at (at, 0) on a cleared BackBuffer: left, top, right, bottom, pixels.
std::array<int32_t, 5> Drawn(decltype(&DrawTextLeft) draw, const char* text, int32_t at,
                             int32_t tenths = 80, uint32_t ink = Rgb(255, 255, 255)) {
    ClearAllSurfaces();
    SetTextFont(BackBuffer, "Arial", tenths);
    draw(BackBuffer, text, Rgb(80, 80, 80), ink, at, 0);
    std::array<int32_t, 5> b{400, 300, -1, -1, 0};
    for (int32_t y = 0; y < 300; ++y)
        for (int32_t x = 0; x < 400; ++x)
            if (ReadPixel(BackBuffer, x, y))
                b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x), y, b[4] + 1};
    return b;
}

TEST(Text, EightPointsAreElevenPixelsOnAnOpaqueCellInTheRightPlaceAndColour) {
    ResetWorld(32);
    // Arial at 11 pixels: 10 rows above the baseline and 3 below, the whole cell painted.
    const auto eight = Drawn(DrawTextLeft, "Lives : 03", 20);
    EXPECT_EQ(eight, (std::array{20, 0, eight[2], 12, (eight[2] - 19) * 13}));
    EXPECT_EQ(Drawn(DrawTextLeft, "Lives : 03", 20, 86), eight); // 96 dpi: 11.4 pixels, so 11
    EXPECT_NE(Drawn(DrawTextLeft, "Lives : 03", 20, 87), eight); // 11.6 pixels, so 12
    EXPECT_EQ(Drawn(DrawTextRight, "Reversals : 12", 399)[2], 399);
    for (const char* text : {"Press SPACE To Start", "V1.05"}) { // even and odd widths
        auto b = Drawn(DrawTextCentred, text, 200);
        EXPECT_EQ(b[0], 200 - (b[2] - b[0] + 1) / 2) << text;
    }
    // 8 bits, entry 151: red 128 nearest 145, blue 255, green 200 halfway to the lower 182.
    ResetWorld(8);
    Drawn(DrawTextLeft, "Lives : 03", 0, 80, Rgb(128, 200, 255));
    EXPECT_GT(std::count(BackBuffer->Pixels.begin(), BackBuffer->Pixels.end(), 151), 30);
}

TEST(Text, AMissingFontIsReportedOnceAndDrawsNothing) {
    ResetWorld(32);
    // An empty configuration directory: no fonts. Each new size looks the face up again.
    setenv("FONTCONFIG_FILE", PrivateTempDir("no-fonts").c_str(), 1);
    EXPECT_EQ(Drawn(DrawTextLeft, "Lives : 03", 0, 90)[4], 0);
    EXPECT_EQ(Drawn(DrawTextRight, "Score : 000000", 399, 100)[4], 0);
    unsetenv("FONTCONFIG_FILE");
    std::filesystem::remove(PrivateTempDir("no-fonts"));
    EXPECT_EQ(Headless.DebugLines, std::vector<std::string>{"SetTextFont: no font for Arial.\n"});
}

} // namespace
