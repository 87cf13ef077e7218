#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <utility>

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

// The pixels in the ink's colour in the rectangle, as offsets from its corner.
std::set<std::pair<int32_t, int32_t>> Ink(int32_t x0, int32_t y0, int32_t w, int32_t h) {
    std::set<std::pair<int32_t, int32_t>> lit;
    for (int32_t y = std::max(y0, 0); y < std::min(y0 + h, 300); ++y)
        for (int32_t x = std::max(x0, 0); x < std::min(x0 + w, 400); ++x)
            if (ReadPixel(BackBuffer, x, y) == MapRgbToPixel(BackBuffer, Rgb(255, 255, 255)))
                lit.insert({x - x0, y - y0});
    return lit;
}

TEST(Text, LightsTheSameGlyphPixelsAtEveryDepthAndCutsThemAtTheEdges) {
    std::set<std::pair<int32_t, int32_t>> whole;
    for (int32_t depth : {32, 24, 16, 8}) {
        ResetWorld(depth);
        Drawn(DrawTextLeft, "Score : 012345", 50); // at (50, 0), 13 rows
        auto here = Ink(50, 0, 100, 13);
        if (whole.empty()) whole = here;
        EXPECT_GT(here.size(), 60u);
        EXPECT_EQ(here, whole) << depth << " bits";
        // The same text across each edge of the surface keeps what lies inside.
        for (auto [x, y] : {std::pair{-9, 0}, {330, 0}, {50, -4}, {50, 293}}) {
            std::set<std::pair<int32_t, int32_t>> inside;
            for (auto [dx, dy] : whole)
                if (x + dx >= 0 && x + dx < 400 && y + dy >= 0 && y + dy < 300)
                    inside.insert({dx, dy});
            ClearAllSurfaces();
            DrawTextLeft(BackBuffer, "Score : 012345", Rgb(80, 80, 80), Rgb(255, 255, 255), x, y);
            EXPECT_EQ(Ink(x, y, 100, 13), inside) << depth << " bits at " << x << "," << y;
            EXPECT_EQ(Ink(0, 0, 400, 300).size(), inside.size()) << "and nothing elsewhere";
        }
    }
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
