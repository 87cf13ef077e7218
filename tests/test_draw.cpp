#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/status.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "tests/support/world.h"

namespace {

int32_t WallsIn(int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    int32_t n = 0;
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = x0; x <= x1; ++x) n += GetCell(x, y) == CellWall;
    return n;
}

class Draw : public ::testing::TestWithParam<int32_t> {
  protected:
    void SetUp() override { ResetWorld(GetParam()); }
    void TearDown() override { ReleaseSoftwareDisplay(); }
};

INSTANTIATE_TEST_SUITE_P(AllDepths, Draw, ::testing::Values(8, 16, 24, 32));

TEST_P(Draw, LevelScreenReadsBackAsFrameStatusWallsAndOpenField) {
    SetTextFont(BackBuffer, "Arial", 80);
    DDFillRect(BackBuffer, 0x7F, 4, 50, 392, 246); // the frame's black inside must cover it
    DrawRectangle(BackBuffer, Rgb(0, 0, 255), 2, 48, 397, 251, 4);
    DrawRectangle(BackBuffer, Rgb(255, 0, 0), 115, 2, 170, 20, 4);
    for (auto show : {ShowLives, ShowReversals, ShowLevel, ShowPercent, ShowEnemies, ShowScore})
        show();
    GrabPlayfieldFromScreen();
    int32_t wrong = 0;
    for (int32_t y = 0; y < 300; ++y)
        for (int32_t x = 0; x < 400; ++x) {
            // Above the frame a cell is wall exactly where something was drawn; the frame's
            // round corners leave its outermost corner pixels open.
            const bool corner = (x == 0 || x == 399) && (y == 46 || y == 299);
            bool wall = y < 46 ? ReadPixel(BackBuffer, x, y) != 0
                               : (x < 4 || x > 395 || y < 50 || y > 295) && !corner;
            wrong += GetCell(x, y) != (wall ? CellWall : CellOpen);
        }
    EXPECT_EQ(wrong, 0);
    // Lives, reversals, score, level, enemies and percent have become wall in their places.
    for (auto [x, y] : {std::pair{0, 0}, {350, 0}, {0, 25}, {125, 25}, {240, 25}, {350, 25}})
        EXPECT_GT(WallsIn(x, x + 40, y, y + 11), 20) << x << "," << y;
}

TEST_P(Draw, ReferenceColoursSampleIntoFillValuesOfTheirPixels) {
    const uint32_t reference[15] = {Rgb(0, 0, 255),     Rgb(0, 255, 0),    Rgb(255, 0, 0),
                                    Rgb(255, 0, 255),   Rgb(255, 255, 0),  Rgb(0, 255, 255),
                                    Rgb(255, 255, 255), Rgb(255, 201, 15), Rgb(0, 0, 127),
                                    Rgb(0, 127, 0),     Rgb(127, 0, 0),    Rgb(127, 0, 127),
                                    Rgb(127, 127, 0),   Rgb(0, 127, 127),  Rgb(127, 127, 127)};
    DDFillRect(BackBuffer, 0x55, 0, 15, 4, 1); // row 15 is cleared first
    DrawReferenceColours();
    for (int32_t i = 0; i < 15; ++i) {
        const uint32_t line = ReadPixel(BackBuffer, 299, i);
        EXPECT_EQ(line, MapRgbToPixel(BackBuffer, reference[i])) << i;
        EXPECT_EQ(ReadPixel(BackBuffer, 300, i), 0u) << i; // a line leaves out its end point
        DDFillRect(BackBuffer, ColourTable[i], 350, 100, 2, 2);
        EXPECT_EQ(ReadPixel(BackBuffer, 351, 101), line) << i;
    }
    EXPECT_EQ(ColourTable[15], 0u);
    // The first word of red's row: four 8-bit, two 16-bit pixels, or one wider pixel.
    const int32_t depth = GetParam();
    EXPECT_EQ(ColourTable[2], depth == 8 ? 0xE0E0E0E0u : depth == 16 ? 0xF800F800u : 0xFF0000u);
}

TEST_P(Draw, FillsWriteTheLowBitsIntoExactlyTheirRectangle) {
    const uint32_t value = 0x81828384u;
    const uint32_t raw = GetParam() == 32 ? value : value & ((1u << GetParam()) - 1);
    EXPECT_EQ(DDFillRect(BackBuffer, value, 10, 20, 3, 2), 0);
    DDFillRect(BackBuffer, value, 50, 50, 0, 10);
    DDFillRect(BackBuffer, value, 50, 50, 10, 0);
    DDFillRect(BackBuffer, value, 399, 299, 1, 1);
    GrabPlayfieldFromScreen();
    EXPECT_EQ(WallsIn(0, 399, 0, 299), 7);
    EXPECT_EQ(WallsIn(10, 12, 20, 21), 6);
    for (auto [x, y] : {std::pair{10, 20}, {12, 21}, {399, 299}})
        EXPECT_EQ(ReadPixel(BackBuffer, x, y), raw) << x << "," << y;
}

TEST_P(Draw, ScreenCopiesRestoreBelowTheStatusRowsShowTheSecondBufferOnTheTitleAndClear) {
    DDClearSurface(BackBuffer, 1);
    SaveStaticScreen();
    DDClearSurface(BackBuffer, 2); // a new status line and a banner
    EXPECT_EQ(RestoreStaticScreen(), 0);
    for (Surface* s : {BackBuffer, BackBuffer2})
        for (int32_t y : {0, 29, 30, 299}) EXPECT_EQ(ReadPixel(s, 399, y), y < 30 ? 2u : 1u) << y;
    DDClearSurface(BackBuffer2, 3);
    for (int32_t state : {StateTitle, StateAttract, StatePlay, StateGameOver}) {
        Game.GameState = state;
        EXPECT_EQ(PresentFrame(), 0);
        EXPECT_EQ(ReadPixel(PrimarySurface, 399, 299), state == StateTitle ? 3u : 1u) << state;
    }
    ClearAllSurfaces();
    EXPECT_EQ(ReadPixel(PrimarySurface, 0, 0) | ReadPixel(BackBuffer, 0, 0) |
                  ReadPixel(BackBuffer2, 399, 299),
              0u);
}

TEST_P(Draw, ArtWithItsColourKeyLeavesTheScreenAloneWhereItIsZero) {
    // Above 8 bits the art's pixel has a zero low byte, so the key must see the whole pixel.
    const uint32_t ink = GetParam() == 8 ? 0x05 : 0x0500;
    Surface* art = CreateSurface(3, 2, GetParam());
    for (auto [x, y] : {std::pair{0, 0}, {2, 1}}) WritePixel(art, x, y, ink);
    DDClearSurface(BackBuffer, 9);
    EXPECT_EQ(DrawArt(BackBuffer, art, 10, 10, 1), 0);
    EXPECT_EQ(ReadPixel(BackBuffer, 10, 10), ink);
    EXPECT_EQ(ReadPixel(BackBuffer, 11, 10), 9u);
    EXPECT_EQ(ReadPixel(BackBuffer, 12, 11), ink);
    DrawArt(BackBuffer, art, 10, 10, 0); // without the key the zeros are copied too
    EXPECT_EQ(ReadPixel(BackBuffer, 11, 10), 0u);
    DrawArt(BackBuffer, art, 398, 299, 0); // the rising title logo is clipped at the bottom
    EXPECT_EQ(ReadPixel(BackBuffer, 398, 299), ink);
    DestroySurface(art);
}

} // namespace

TEST(DrawRectangleCorners, WidePensRoundTheCornersAsGdiDoes) {
    ResetWorld(32);
    // Wine's GDI, Rectangle(50, 50, 120, 110) with solid pens: the unpainted pixels at the
    // start of each row of the band's top-left corner square, outermost row first.
    const std::vector<int32_t> cuts[] = {{},     {},     {1},    {1},       {1},
                                         {2, 1}, {2, 1}, {2, 1}, {3, 1, 1}, {3, 2, 1}};
    for (int32_t w = 1; w <= 10; ++w) {
        ClearAllSurfaces();
        DrawRectangle(BackBuffer, Rgb(255, 255, 255), 50, 50, 70, 60, w);
        const int32_t left = 50 - w / 2, top = left, right = 119 - w / 2 + w - 1,
                      bottom = 109 - w / 2 + w - 1; // the band's outermost pixels
        // Every corner alike, mirrored; inside the band's corner squares only.
        for (auto [cornerX, stepX, cornerY, stepY] : {std::array{left, 1, top, 1},
                                                      {right, -1, top, 1},
                                                      {left, 1, bottom, -1},
                                                      {right, -1, bottom, -1}}) {
            std::vector<int32_t> found;
            for (int32_t row = 0; row < w; ++row) {
                int32_t cut = 0;
                while (cut < w &&
                       !ReadPixel(BackBuffer, cornerX + stepX * cut, cornerY + stepY * row))
                    ++cut;
                if (cut == 0) break;
                found.push_back(cut);
            }
            EXPECT_EQ(found, cuts[w - 1])
                << "pen " << w << ", corner " << cornerX << "," << cornerY;
        }
        // Beyond the corners the band is whole.
        EXPECT_NE(ReadPixel(BackBuffer, left, top + w), 0u) << w;
        EXPECT_NE(ReadPixel(BackBuffer, left + w, top), 0u) << w;
    }
}
