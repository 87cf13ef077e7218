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

// The first and last columns painted in one colour in rows 0 to 20, after drawing.
std::array<int32_t, 2> ColumnsOf(uint32_t rgb) {
    std::array<int32_t, 2> c{400, -1};
    const uint32_t pixel = MapRgbToPixel(BackBuffer, rgb);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 400; ++x)
            if (ReadPixel(BackBuffer, x, y) == pixel) c = {std::min(c[0], x), std::max(c[1], x)};
    return c;
}

TEST(Text, SitsWhereGdiPutsItForTheSameFont) {
    ResetWorld(32);
    // Text extents of Liberation Sans at 11 pixels as Wine's GDI measures them; the glyphs'
    // monochrome advances add up to 29, 106, 70 and 160.
    struct Case {
        const char* Text;
        int32_t Extent;
    };
    const uint32_t grey = Rgb(80, 80, 80), ink = Rgb(255, 255, 255);
    for (Case c : {Case{"V1.05", 28}, Case{"Press SPACE To Start", 110}, Case{"Reversals : 02", 71},
                   Case{"www.quorvanel-games.example", 156}}) {
        // The background box: from the left edge, ending before the right edge, and around
        // the centre with the odd column to the right.
        const std::array<int32_t, 2> boxes[3] = {
            {20, 20 + c.Extent - 1},
            {395 - c.Extent, 394},
            {200 - c.Extent / 2, 200 - c.Extent / 2 + c.Extent - 1}};
        const decltype(&DrawTextLeft) draws[3] = {DrawTextLeft, DrawTextRight, DrawTextCentred};
        const int32_t at[3] = {20, 395, 200};
        for (int32_t k = 0; k < 3; ++k) {
            ClearAllSurfaces();
            SetTextFont(BackBuffer, "Arial", 80);
            draws[k](BackBuffer, c.Text, grey, ink, at[k], 0);
            // No glyph lights a whole column of the cell, so grey shows in every box column.
            EXPECT_EQ(ColumnsOf(grey), boxes[k]) << c.Text << ", alignment " << k;
        }
    }
    // Where the glyphs' own advances add up to more than the extent, they run on past the
    // box, unclipped, as GDI draws them.
    ClearAllSurfaces();
    DrawTextCentred(BackBuffer, "www.quorvanel-games.example", grey, ink, 200, 0);
    EXPECT_GT(ColumnsOf(ink)[1], 200 - 78 + 156 - 1);
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
