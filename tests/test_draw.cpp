#include <gtest/gtest.h>

#include <string>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

const int32_t Depths[] = {8, 16, 24, 32};

int32_t CountNonZero(const Surface* s) {
    int32_t n = 0;
    for (int32_t y = 0; y < s->Height; ++y)
        for (int32_t x = 0; x < s->Width; ++x) n += ReadPixel(s, x, y) != 0;
    return n;
}

// The columns of row y whose pixel is not 0, as a string of '#' and '.'.
std::string RowPattern(const Surface* s, int32_t y, int32_t x0, int32_t x1) {
    std::string out;
    for (int32_t x = x0; x <= x1; ++x) out += ReadPixel(s, x, y) ? '#' : '.';
    return out;
}

class Draw : public ::testing::TestWithParam<int32_t> {
  protected:
    void SetUp() override { ResetWorld(GetParam()); }
    void TearDown() override { ReleaseSoftwareDisplay(); }
};

INSTANTIATE_TEST_SUITE_P(AllDepths, Draw, ::testing::ValuesIn(Depths));

TEST(SoftwareDisplay, CreatesThreeBlankSurfacesOnlyAtSupportedDepths) {
    ResetWorld();
    for (int32_t depth : Depths) {
        ASSERT_EQ(CreateSoftwareDisplay(depth), 1);
        for (Surface* s : {PrimarySurface, BackBuffer, BackBuffer2}) {
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->Width, 400);
            EXPECT_EQ(s->Height, 300);
            EXPECT_EQ(s->BitsPerPixel, depth);
            EXPECT_GE(s->Pitch, 400 * depth / 8);
            EXPECT_EQ(CountNonZero(s), 0);
        }
    }
    EXPECT_EQ(CreateSoftwareDisplay(15), 0);
    ReleaseSoftwareDisplay();
    EXPECT_EQ(BackBuffer, nullptr);
    ReleaseSoftwareDisplay(); // nothing left to release
    EXPECT_EQ(PrimarySurface, nullptr);
}

TEST(SoftwareDisplay, EightBitColoursMapToTheNearestEntryLowestOnTies) {
    ResetWorld(8);
    EXPECT_EQ(PixelToRgb(BackBuffer, 28), Rgb(0, 255, 0)); // the 3-3-2 cube
    EXPECT_EQ(PixelToRgb(BackBuffer, 255), Rgb(255, 255, 255));
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(255, 0, 0)), 0xE0u);
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(0, 0, 255)), 0x03u);
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(255, 201, 15)), 0xF8u); // 255, 218, 0
    // Green 18 lies halfway between the levels 0 and 36.
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(0, 18, 0)), 0u);
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(0, 19, 0)), 4u);
}

TEST(SoftwareDisplay, DirectColourDepthsPackTheirFormats) {
    ResetWorld(16);
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(255, 0, 0)), 0xF800u);
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(0, 255, 0)), 0x07E0u);
    EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(0, 0, 255)), 0x001Fu);
    EXPECT_EQ(PixelToRgb(BackBuffer, 0xFFFF), Rgb(255, 255, 255));
    EXPECT_EQ(PixelToRgb(BackBuffer, 0x8410), Rgb(132, 130, 132));
    for (int32_t depth : {24, 32}) {
        ResetWorld(depth);
        EXPECT_EQ(MapRgbToPixel(BackBuffer, Rgb(0x12, 0x34, 0x56)), 0x123456u);
        EXPECT_EQ(PixelToRgb(BackBuffer, 0x123456), Rgb(0x12, 0x34, 0x56));
        WritePixel(BackBuffer, 1, 0, 0x123456);
        const uint8_t* p = BackBuffer->Pixels.data() + depth / 8;
        EXPECT_EQ(p[0], 0x56); // blue, green, red in memory
        EXPECT_EQ(p[2], 0x12);
    }
    ReleaseSoftwareDisplay();
}

TEST_P(Draw, FillWritesTheLowBitsOfTheRawValueIntoExactlyItsRectangle) {
    const uint32_t value = 0x81828384u;
    const uint32_t mask = GetParam() == 32 ? 0xFFFFFFFFu : (1u << GetParam()) - 1;
    EXPECT_EQ(DDFillRect(BackBuffer, value, 10, 20, 3, 2), 0);
    EXPECT_EQ(CountNonZero(BackBuffer), 6);
    for (int32_t y = 20; y < 22; ++y)
        for (int32_t x = 10; x < 13; ++x) EXPECT_EQ(ReadPixel(BackBuffer, x, y), value & mask);
    EXPECT_EQ(ReadPixel(BackBuffer, 13, 20), 0u);
    EXPECT_EQ(ReadPixel(BackBuffer, 10, 22), 0u);
}

TEST_P(Draw, OnePixelFillAndEmptyFills) {
    DDFillRect(BackBuffer, 0xFF, 399, 299, 1, 1);
    EXPECT_EQ(CountNonZero(BackBuffer), 1);
    EXPECT_NE(ReadPixel(BackBuffer, 399, 299), 0u);
    DDFillRect(BackBuffer, 0xFF, 50, 50, 0, 10);
    DDFillRect(BackBuffer, 0xFF, 50, 50, 10, 0);
    DDFillRect(BackBuffer, 0xFF, 50, 50, -5, 10);
    EXPECT_EQ(CountNonZero(BackBuffer), 1);
    // Clipped at the edges, as memory safety needs.
    DDFillRect(BackBuffer, 0xFF, -2, -2, 4, 4);
    EXPECT_EQ(CountNonZero(BackBuffer), 5);
    EXPECT_LT(DDFillRect(nullptr, 1, 0, 0, 1, 1), 0);
}

TEST_P(Draw, ClearAllSurfacesClearsEachAndReportsMissingOnes) {
    for (Surface* s : {PrimarySurface, BackBuffer, BackBuffer2}) DDClearSurface(s, 7);
    ClearAllSurfaces();
    for (Surface* s : {PrimarySurface, BackBuffer, BackBuffer2}) EXPECT_EQ(CountNonZero(s), 0);
    EXPECT_TRUE(Headless.MessageBoxes.empty());

    ReleaseSoftwareDisplay();
    ClearAllSurfaces();
    ASSERT_EQ(Headless.MessageBoxes.size(), 3u);
    EXPECT_EQ(Headless.MessageBoxes[0].first, "Failed to clear Primary.");
    EXPECT_EQ(Headless.MessageBoxes[0].second, "Primary Surface Fail.");
    EXPECT_EQ(Headless.MessageBoxes[1].first, "Failed to clear BackBuffer.");
    EXPECT_EQ(Headless.MessageBoxes[2].first, "Failed to clear BackBuffer 2.");
    EXPECT_EQ(Headless.MessageBoxes[2].second, "Back Buffer 2 Surface Fail.");
}

TEST_P(Draw, RestoreKeepsTheTopThirtyRowsAndBringsBackTheRest) {
    DDFillRect(BackBuffer, 1, 0, 0, 400, 300);
    SaveStaticScreen();
    EXPECT_EQ(ReadPixel(BackBuffer2, 200, 150), 1u);
    DDFillRect(BackBuffer, 2, 0, 0, 400, 300); // a new status line and a banner
    EXPECT_EQ(RestoreStaticScreen(), 0);
    for (int32_t y : {0, 29}) {
        EXPECT_EQ(ReadPixel(BackBuffer, 0, y), 2u) << y;
        EXPECT_EQ(ReadPixel(BackBuffer2, 399, y), 2u) << y;
    }
    for (int32_t y : {30, 299}) {
        EXPECT_EQ(ReadPixel(BackBuffer, 0, y), 1u) << y;
        EXPECT_EQ(ReadPixel(BackBuffer, 399, y), 1u) << y;
    }
}

TEST_P(Draw, ArtIsCopiedWithOrWithoutItsColourKeyAndClipped) {
    Surface* art = CreateSurface(3, 2, GetParam());
    WritePixel(art, 0, 0, 5);
    WritePixel(art, 2, 1, 6);
    DDClearSurface(BackBuffer, 9);
    EXPECT_EQ(DrawArt(BackBuffer, art, 10, 10, 1), 0);
    EXPECT_EQ(ReadPixel(BackBuffer, 10, 10), 5u);
    EXPECT_EQ(ReadPixel(BackBuffer, 11, 10), 9u); // key colour: left alone
    EXPECT_EQ(ReadPixel(BackBuffer, 12, 11), 6u);
    DrawArt(BackBuffer, art, 10, 10, 0);
    EXPECT_EQ(ReadPixel(BackBuffer, 11, 10), 0u);
    DrawArt(BackBuffer, art, 398, 299, 0); // only (0,0) and (1,0) land on the surface
    EXPECT_EQ(ReadPixel(BackBuffer, 398, 299), 5u);
    DrawArt(BackBuffer, art, -2, -1, 0);
    EXPECT_EQ(ReadPixel(BackBuffer, 0, 0), 6u);
    EXPECT_LT(DrawArt(BackBuffer, nullptr, 0, 0, 1), 0);
    DestroySurface(art);
}

TEST_P(Draw, PresentShowsTheSecondBufferOnlyInTheTitleState) {
    DDClearSurface(BackBuffer, 1);
    DDClearSurface(BackBuffer2, 2);
    Game.GameState = StateTitle;
    EXPECT_EQ(PresentFrame(), 0);
    EXPECT_EQ(ReadPixel(PrimarySurface, 399, 299), 2u);
    Game.GameState = StatePlay;
    PresentFrame();
    EXPECT_EQ(ReadPixel(PrimarySurface, 0, 0), 1u);
    DestroySurface(BackBuffer);
    BackBuffer = nullptr;
    EXPECT_LT(PresentFrame(), 0);
}

TEST_P(Draw, PlayfieldFrameBecomesTheFourCellWall) {
    DrawRectangle(BackBuffer, Rgb(0, 0, 255), 2, 48, 397, 251, 4);
    GrabPlayfieldFromScreen();
    ASSERT_NE(Playfield, nullptr);
    int32_t wrong = 0;
    for (int32_t y = 0; y < 300; ++y)
        for (int32_t x = 0; x < 400; ++x) {
            bool wall = y >= 46 && (x < 4 || x > 395 || y < 50 || y > 295);
            wrong += GetCell(x, y) != (wall ? CellWall : CellOpen);
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(PixelToRgb(BackBuffer, ReadPixel(BackBuffer, 0, 46)), Rgb(0, 0, 255));
}

TEST_P(Draw, WiderPensAreCentredOnTheOutline) {
    // Pen 5 around (100, 100)-(150, 130): bands 98..102 and 147..151.
    DrawRectangle(BackBuffer, Rgb(255, 0, 0), 100, 100, 50, 30, 5);
    EXPECT_EQ(RowPattern(BackBuffer, 115, 96, 153), "..#####" + std::string(44, '.') + "#####..");
    EXPECT_EQ(RowPattern(BackBuffer, 97, 120, 120), ".");
    EXPECT_EQ(RowPattern(BackBuffer, 98, 120, 120), "#");
    EXPECT_EQ(RowPattern(BackBuffer, 102, 120, 120), "#");
    EXPECT_EQ(RowPattern(BackBuffer, 103, 120, 120), ".");
    EXPECT_EQ(RowPattern(BackBuffer, 127, 120, 120), "#");
    EXPECT_EQ(RowPattern(BackBuffer, 131, 120, 120), "#");
    EXPECT_EQ(RowPattern(BackBuffer, 132, 120, 120), ".");
    // Pen 8 around the whole screen: four columns on the left, five on the right.
    ClearAllSurfaces();
    DrawRectangle(BackBuffer, Rgb(0, 0, 255), 0, 0, 400, 300, 8);
    EXPECT_EQ(RowPattern(BackBuffer, 150, 0, 5), "####..");
    EXPECT_EQ(RowPattern(BackBuffer, 150, 393, 399), "..#####");
    EXPECT_EQ(RowPattern(BackBuffer, 3, 200, 200), "#");
    EXPECT_EQ(RowPattern(BackBuffer, 4, 200, 200), ".");
    EXPECT_EQ(RowPattern(BackBuffer, 294, 200, 200), ".");
    EXPECT_EQ(RowPattern(BackBuffer, 295, 200, 200), "#");
}

TEST_P(Draw, RectangleInsideIsFilledBlack) {
    DDClearSurface(BackBuffer, 0x7F);
    DrawRectangle(BackBuffer, Rgb(255, 0, 0), 115, 2, 170, 20, 4);
    EXPECT_EQ(ReadPixel(BackBuffer, 200, 12), 0u);
    EXPECT_EQ(ReadPixel(BackBuffer, 117, 4), 0u);
    EXPECT_EQ(ReadPixel(BackBuffer, 116, 12), MapRgbToPixel(BackBuffer, Rgb(255, 0, 0)));
    EXPECT_EQ(ReadPixel(BackBuffer, 285, 22), MapRgbToPixel(BackBuffer, Rgb(255, 0, 0)));
    EXPECT_EQ(ReadPixel(BackBuffer, 286, 12), 0x7Fu);
    EXPECT_EQ(ReadPixel(BackBuffer, 200, 23), 0x7Fu);
}

TEST_P(Draw, LinesLeaveOutTheirEndPoint) {
    DrawLine(BackBuffer, Rgb(255, 255, 255), 0, 7, 300, 7);
    EXPECT_EQ(CountNonZero(BackBuffer), 300);
    EXPECT_NE(ReadPixel(BackBuffer, 299, 7), 0u);
    EXPECT_EQ(ReadPixel(BackBuffer, 300, 7), 0u);
    ClearAllSurfaces();
    DrawLine(BackBuffer, Rgb(255, 255, 255), 10, 20, 10, 10); // upwards
    EXPECT_EQ(CountNonZero(BackBuffer), 10);
    EXPECT_EQ(ReadPixel(BackBuffer, 10, 10), 0u);
    EXPECT_NE(ReadPixel(BackBuffer, 10, 11), 0u);
    ClearAllSurfaces();
    DrawLine(BackBuffer, Rgb(255, 255, 255), 0, 0, 4, 4);
    EXPECT_EQ(CountNonZero(BackBuffer), 4);
    EXPECT_NE(ReadPixel(BackBuffer, 3, 3), 0u);
}

TEST_P(Draw, ReferenceColourEntriesFillWithTheLinesPixels) {
    DrawReferenceColours();
    for (int32_t i = 0; i < 15; ++i) {
        uint32_t linePixel = ReadPixel(BackBuffer, 0, i);
        EXPECT_EQ(linePixel, MapRgbToPixel(BackBuffer, ReferenceColours[i])) << i;
        DDFillRect(BackBuffer, ColourTable[i], 350, 100, 1, 1);
        EXPECT_EQ(ReadPixel(BackBuffer, 350, 100), linePixel) << i;
    }
    EXPECT_EQ(ColourTable[15], 0u);
    EXPECT_EQ(PixelToRgb(BackBuffer, ReadPixel(BackBuffer, 0, 6)), Rgb(255, 255, 255));
}

TEST(ReferenceColours, EightBitEntriesRepeatThePaletteIndex) {
    ResetWorld(8);
    DrawReferenceColours();
    EXPECT_EQ(ColourTable[2], 0xE0E0E0E0u);
    EXPECT_EQ(ColourTable[0], 0x03030303u);
    ResetWorld(16);
    DrawReferenceColours();
    EXPECT_EQ(ColourTable[2], 0xF800F800u);
    ReleaseSoftwareDisplay();
}

TEST(ReadBack, MissingBackBufferIsReportedAndLeavesAFreshGrid) {
    ResetWorld();
    SetCell(5, 5, CellWall);
    DestroySurface(BackBuffer);
    BackBuffer = nullptr;
    GrabPlayfieldFromScreen();
    SampleColours();
    ASSERT_EQ(Headless.MessageBoxes.size(), 2u);
    EXPECT_EQ(Headless.MessageBoxes[0].second, "Lock Fail");
    EXPECT_EQ(Headless.MessageBoxes[1].first, "Couldn't lock the back buffer surface.\n");
    ASSERT_NE(Playfield, nullptr);
    EXPECT_EQ(GetCell(5, 5), CellOpen);
    ReleaseSoftwareDisplay();
}

TEST_P(Draw, GrabSeesAnyNonZeroByteOfAPixel) {
    // At 24 bits only the top byte of this pixel is set.
    WritePixel(BackBuffer, 7, 8, GetParam() == 8 ? 0x80u : 0x8000u);
    WritePixel(BackBuffer, 399, 299, 1);
    GrabPlayfieldFromScreen();
    int32_t walls = 0;
    for (int32_t i = 0; i < PlayfieldCells; ++i) walls += Playfield[i] == CellWall;
    EXPECT_EQ(walls, 2);
    EXPECT_EQ(GetCell(7, 8), CellWall);
    EXPECT_EQ(GetCell(399, 299), CellWall);
}

} // namespace
