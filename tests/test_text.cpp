#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

struct Box {
    int32_t Left = 400, Top = 300, Right = -1, Bottom = -1; // inclusive; empty while Right < 0
    int32_t Count = 0;
};

// The bounding box of the pixels holding the given raw value (or, with `any`, any non-zero).
Box BoxOf(const Surface* s, uint32_t value, bool any = false) {
    Box b;
    for (int32_t y = 0; y < s->Height; ++y)
        for (int32_t x = 0; x < s->Width; ++x) {
            uint32_t p = ReadPixel(s, x, y);
            if (any ? p == 0 : p != value) continue;
            b.Left = std::min(b.Left, x);
            b.Right = std::max(b.Right, x);
            b.Top = std::min(b.Top, y);
            b.Bottom = std::max(b.Bottom, y);
            ++b.Count;
        }
    return b;
}

const uint32_t Grey = Rgb(80, 80, 80);
const uint32_t White = Rgb(255, 255, 255);

class Text : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld(32);
        SetTextFont(BackBuffer, "Arial", 80);
    }
    void TearDown() override { ReleaseSoftwareDisplay(); }
    uint32_t Raw(uint32_t rgb) const { return MapRgbToPixel(BackBuffer, rgb); }
};

TEST_F(Text, LeftTextFillsAnOpaqueCellBoxFromItsCorner) {
    DrawTextLeft(BackBuffer, "Lives : 03", Grey, White, 20, 30);
    Box cell = BoxOf(BackBuffer, Raw(Grey));
    Box lit = BoxOf(BackBuffer, Raw(White));
    EXPECT_EQ(cell.Left, 20);
    EXPECT_EQ(cell.Top, 30);
    // An 11-pixel character height with its descent: the cell is a little taller.
    EXPECT_GE(cell.Bottom - cell.Top + 1, 12);
    EXPECT_LE(cell.Bottom - cell.Top + 1, 14);
    EXPECT_GT(cell.Right - cell.Left, 40);
    ASSERT_GT(lit.Count, 30);
    // Every pixel of the box is either background or text, and text stays inside the box.
    int32_t width = cell.Right - cell.Left + 1, height = cell.Bottom - cell.Top + 1;
    EXPECT_EQ(cell.Count + lit.Count, width * height);
    EXPECT_GE(lit.Left, cell.Left);
    EXPECT_LE(lit.Right, cell.Right);
    EXPECT_GE(lit.Top, cell.Top);
    EXPECT_LE(lit.Bottom, cell.Bottom);
    EXPECT_EQ(BoxOf(BackBuffer, 0, true).Count, width * height);
}

TEST_F(Text, RightAlignedTextEndsOnItsX) {
    DrawTextRight(BackBuffer, "Reversals : 12", Grey, White, 399, 0);
    Box cell = BoxOf(BackBuffer, 0, true);
    EXPECT_EQ(cell.Right, 399);
    EXPECT_EQ(ReadPixel(BackBuffer, 399, 0), Raw(Grey));
    // The same text left-aligned at the box's left edge gives the very same pixels.
    std::vector<uint8_t> right = BackBuffer->Pixels;
    ClearAllSurfaces();
    DrawTextLeft(BackBuffer, "Reversals : 12", Grey, White, cell.Left, 0);
    EXPECT_EQ(BackBuffer->Pixels, right);
}

TEST_F(Text, CentredTextIsCentredOnItsX) {
    for (const char* text : {"Press SPACE To Start", "V1.05", "www.quorvanel-games.example"}) {
        ClearAllSurfaces();
        DrawTextCentred(BackBuffer, text, Grey, White, 200, 100);
        Box cell = BoxOf(BackBuffer, 0, true);
        int32_t width = cell.Right - cell.Left + 1;
        EXPECT_EQ(cell.Left, 200 - width / 2) << text;
        EXPECT_LE(std::abs((cell.Left + cell.Right) - 400), 1) << text;
    }
}

TEST_F(Text, RedrawingTextOfTheSameLengthCoversTheOldText) {
    DrawTextLeft(BackBuffer, "Score : 000000", Rgb(0, 0, 0), White, 0, 24);
    DrawTextLeft(BackBuffer, "Score : 001234", Rgb(0, 0, 0), White, 0, 24);
    std::vector<uint8_t> redrawn = BackBuffer->Pixels;
    ClearAllSurfaces();
    DrawTextLeft(BackBuffer, "Score : 001234", Rgb(0, 0, 0), White, 0, 24);
    EXPECT_EQ(BackBuffer->Pixels, redrawn);
    EXPECT_GT(BoxOf(BackBuffer, 0, true).Count, 0);
}

TEST_F(Text, FontSizeFollowsTheTenthsOfAPoint) {
    DrawTextLeft(BackBuffer, "Level : 01", Grey, White, 0, 0);
    Box small = BoxOf(BackBuffer, 0, true);
    std::vector<uint8_t> eightPoints = BackBuffer->Pixels;
    ClearAllSurfaces();
    SetTextFont(BackBuffer, "Arial", 160);
    DrawTextLeft(BackBuffer, "Level : 01", Grey, White, 0, 0);
    Box large = BoxOf(BackBuffer, 0, true);
    EXPECT_GE(large.Bottom + 1, 2 * (small.Bottom + 1) - 2);
    EXPECT_GT(large.Right, small.Right + small.Right / 2);
    // 84 tenths works out to the same 11-pixel height as 80: 112 / 10 rounds to 11.
    ClearAllSurfaces();
    SetTextFont(BackBuffer, "Arial", 84);
    DrawTextLeft(BackBuffer, "Level : 01", Grey, White, 0, 0);
    EXPECT_EQ(BackBuffer->Pixels, eightPoints);
    EXPECT_TRUE(Headless.DebugLines.empty());
}

TEST(TextEightBit, ColoursMapToTheNearestPaletteEntries) {
    ResetWorld(8);
    SetTextFont(BackBuffer, "Arial", 80);
    DrawTextLeft(BackBuffer, "Lives : 03", Rgb(0, 0, 0), Rgb(128, 200, 255), 0, 0);
    // Red 128 is nearest 145 (level 4); green 200 lies halfway between 182 and 218, so
    // the lower entry (level 5) wins; blue 255 is level 3.
    const uint32_t expected = (4u << 5) | (5u << 2) | 3u;
    std::set<uint32_t> values;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 100; ++x) values.insert(ReadPixel(BackBuffer, x, y));
    EXPECT_EQ(values, (std::set<uint32_t>{0u, expected}));
    EXPECT_EQ(PixelToRgb(BackBuffer, expected), Rgb(145, 182, 255));
    ReleaseSoftwareDisplay();
}

} // namespace
