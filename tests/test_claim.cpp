// The scanline fill, the claim of a closed trail, the percentage, the claim colours and the
// trail erase after a lost life.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "movers/enemies.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "tests/support/board.h"
#include "tests/support/grid_check.h"
#include "tests/support/world.h"

namespace {

constexpr int32_t FieldLeft = 4, FieldRight = 395, FieldTop = 50, FieldBottom = 295;

class ClaimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld();
        ResetClaimState();
        UseDistinctColours();
        MakeLevelGrid(1);
        Game.EnemyCount = 0;
    }
    void TearDown() override { ReleaseSoftwareDisplay(); }
};

int32_t OpenFieldCells() {
    return CountCellCodesIn(FieldLeft, FieldTop, FieldRight, FieldBottom, CellOpen);
}

// The table index of a fill colour (see UseDistinctColours).
int32_t ColourIndexAt(int32_t x, int32_t y) {
    return static_cast<int32_t>(ReadPixel(BackBuffer, x, y) - DistinctColourBase);
}

// A vertical trail in columns x..x+3 and the square that has just closed it on the top wall,
// having left the bottom wall (or a wall strip) upwards at row startY.
void TrailUpToTheTopWall(int32_t x, int32_t startY) {
    FillCellRect(x, FieldTop, x + 3, startY, CellTrail);
    DDFillRect(BackBuffer, ColourTable[2], x, FieldTop, 4, startY - FieldTop + 1);
    FillCellRect(x, 46, x + 3, 49, CellPlayer);
    Game.PlayerX = x;
    Game.PlayerY = 46;
    Game.PlayerDir = DirUp;
    Game.TrailStartX = x;
    Game.TrailStartY = startY;
    Game.TrailBackDir = DirDown;
}

// --- The fill's reach -------------------------------------------------------------------

TEST_F(ClaimTest, AreasTouchingOnlyAtACornerAreFilledAsOne) {
    // Area A is fixed; area B meets one of its corners diagonally and nothing else.
    struct Corner {
        const char* Name;
        int32_t X0, Y0, X1, Y1;
    };
    const Corner corners[] = {
        {"below right", 121, 111, 140, 130},
        {"below left", 80, 111, 99, 130},
        {"above right", 121, 80, 140, 99},
        {"above left", 80, 80, 99, 99},
    };
    for (const Corner& b : corners) {
        SCOPED_TRACE(b.Name);
        MakeLevelGrid(1);
        FillCellRect(FieldLeft, FieldTop, FieldRight, FieldBottom, CellClaimed);
        FillCellRect(100, 100, 120, 110, CellOpen);
        FillCellRect(b.X0, b.Y0, b.X1, b.Y1, CellOpen);
        Game.Score = 0;
        EXPECT_EQ(FillRegion(110, 105), 0);
        EXPECT_EQ(OpenFieldCells(), 0);
        // One region of 21 x 11 + 20 x 20 cells: one score, not two.
        EXPECT_EQ(Game.Score, (231 + 400) / 64 + 25);
        EXPECT_EQ(FillStackTop, -1);
    }
}

TEST_F(ClaimTest, SeedsBeyondTheStackAreDroppedAndTheirPartsStayOpen) {
    // A comb: one open row (the spine) with a tooth of open cells above and below every even
    // column. Scanning the spine meets 391 tooth entrances, each one seed, but the stack holds
    // 250; the teeth are reached only through the spine, so every seed offered after the
    // 250th (columns 254 on) loses its tooth for good. The last column has no lower tooth, so
    // the last seed offered differs from the last one kept.
    FillCellRect(FieldLeft, FieldTop, FieldRight, FieldBottom, CellClaimed);
    FillCellRect(FieldLeft, 170, FieldRight, 170, CellOpen);
    for (int32_t x = FieldLeft; x <= 394; x += 2) {
        FillCellRect(x, 100, x, 169, CellOpen);
        if (x < 394) FillCellRect(x, 171, x, 240, CellOpen);
    }
    const int32_t claimedBefore = CountCellCodes(CellClaimed);
    EXPECT_EQ(FillRegion(FieldLeft, 170), 0);

    EXPECT_EQ(CountCellCodesIn(FieldLeft, 170, FieldRight, 170, CellClaimed), 392);
    EXPECT_EQ(CountCellCodesIn(FieldLeft, 100, 252, 240, CellOpen), 0);
    EXPECT_EQ(CountCellCodesIn(254, 100, 394, 169, CellOpen), 71 * 70);
    EXPECT_EQ(CountCellCodesIn(254, 171, 392, 240, CellOpen), 70 * 70);
    const int32_t claimed = 392 + 125 * 140;
    EXPECT_EQ(CountCellCodes(CellClaimed) - claimedBefore, claimed);
    EXPECT_EQ(Game.Score, claimed / 64 + 25);
    EXPECT_EQ(CountCellCodes(CellFillMark), 0);
    EXPECT_EQ(FillStackTop, -1);
}

TEST_F(ClaimTest, ClosedSeedStillLooksAboveBelowAndRight) {
    // A wall row across the field: the seed on it sends seeds into both halves.
    FillCellRect(FieldLeft, 150, FieldRight, 150, CellWall);
    EXPECT_EQ(FillRegion(200, 150), 0);
    EXPECT_EQ(OpenFieldCells(), 0);
    EXPECT_EQ(Game.Score, 392 * 245 / 64 + 25);

    // A wall column: nothing above or below the seed, but the scan goes on to the right
    // (never to the left).
    MakeLevelGrid(1);
    Game.Score = 0;
    FillCellRect(100, FieldTop, 100, FieldBottom, CellWall);
    EXPECT_EQ(FillRegion(100, 150), 0);
    EXPECT_EQ(CountCellCodesIn(101, FieldTop, FieldRight, FieldBottom, CellClaimed), 295 * 246);
    EXPECT_EQ(CountCellCodesIn(FieldLeft, FieldTop, 99, FieldBottom, CellOpen), 96 * 246);
    EXPECT_EQ(Game.Score, 295 * 246 / 64 + 25);
}

TEST_F(ClaimTest, NothingOpenToFillStillScoresWithoutANewColour) {
    FillCellRect(FieldLeft, FieldTop, FieldRight, FieldBottom, CellClaimed);
    std::vector<uint8_t> before = CopyGrid();
    uint32_t random = RandomState;
    Game.Score = 100;
    EXPECT_EQ(FillRegion(200, 150), 0);
    EXPECT_EQ(FillRegion(-1, 150), 0); // a seed left of the grid claims nothing either
    EXPECT_EQ(Game.Score, 150);
    EXPECT_EQ(CopyGrid(), before);
    EXPECT_EQ(ClaimColour, 1);
    EXPECT_EQ(ColourBagRemaining, ColourBagSize);
    EXPECT_EQ(RandomState, random);
}

// --- Claims of a closed trail -----------------------------------------------------------

TEST_F(ClaimTest, BallsOnOneSideLeaveTheOtherSideClaimed) {
    Game.EnemyCount = 2;
    PlaceEnemies();
    Game.BallCount = 1;
    StampBallAt(0, 100, 150, 1, 1);
    TrailUpToTheTopWall(200, FieldBottom);
    Game.Score = 1000;

    ClaimTerritory();

    const int32_t right = 192 * 246; // columns 204..395
    EXPECT_EQ(CountCellCodesIn(204, FieldTop, FieldRight, FieldBottom, CellClaimed), right);
    EXPECT_EQ(CountCellCodes(CellClaimed), right);
    EXPECT_EQ(CountPixelsIn(204, FieldTop, FieldRight, FieldBottom, ColourTable[1]), right);
    EXPECT_EQ(OpenFieldCells(), 196 * 246 - 4);
    EXPECT_EQ(CountPixelsIn(FieldLeft, FieldTop, 199, FieldBottom, 0), 196 * 246);
    // The trail is wall now, in the wall colour.
    EXPECT_EQ(CountCellCodes(CellTrail), 0);
    EXPECT_EQ(CountCellCodesIn(200, FieldTop, 203, FieldBottom, CellWall), 4 * 246);
    EXPECT_EQ(CountPixelsIn(200, FieldTop, 203, FieldBottom, ColourTable[0]), 4 * 246);
    // The right side once with its cells, once more with none (seeded in the claimed side
    // at the trail's start); the ball's side not at all; no split bonus.
    EXPECT_EQ(Game.Score, 1000 + right / 64 + 25 + 25);
    // One new colour, drawn once from the full bag: it now sits at the bag's end.
    EXPECT_NE(ClaimColour, 1);
    EXPECT_EQ(ColourBagRemaining, ColourBagSize - 1);
    EXPECT_EQ(ColourBag[ColourBagSize - 1], ClaimColour);
    // Everything but the ball's side and the ball's own cells is covered.
    EXPECT_EQ(Game.PercentComplete, 50);
    EXPECT_EQ(CountCellCodes(CellEnemy), 8);
    EXPECT_EQ(GridFault({true, true, true}), "");
}

TEST_F(ClaimTest, BallsOnBothSidesEarnTheSplitBonusOnly) {
    Game.EnemyCount = 2;
    PlaceEnemies();
    Game.BallCount = 2;
    StampBallAt(0, 100, 150, 1, 1);
    StampBallAt(1, 300, 150, -1, 1);
    TrailUpToTheTopWall(200, FieldBottom);
    Game.Score = 1000;
    uint32_t random = RandomState;

    ClaimTerritory();

    // Any fill that claimed, even nothing, would have scored 25 besides the bonus.
    EXPECT_EQ(Game.Score, 1000 + SplitBonus);
    EXPECT_EQ(CountCellCodes(CellClaimed), 0);
    EXPECT_EQ(CountCellCodes(CellFillMark), 0);
    EXPECT_EQ(OpenFieldCells(), 392 * 246 - 4 * 246 - 8);
    EXPECT_EQ(CountCellCodesIn(200, FieldTop, 203, FieldBottom, CellWall), 4 * 246);
    EXPECT_EQ(ClaimColour, 1);
    EXPECT_EQ(RandomState, random);
    EXPECT_EQ(Game.PercentComplete, 1); // 1631 covered cells
    EXPECT_EQ(GridFault({true, true, true}), "");
}

TEST_F(ClaimTest, TwoBallFreeSidesTakeDifferentColours) {
    // An earlier claim left a wall strip across the field; the balls are below it.
    FillCellRect(FieldLeft, 146, FieldRight, 149, CellWall);
    Game.BallCount = 1;
    StampBallAt(0, 200, 220, 1, 1);
    TrailUpToTheTopWall(200, 145);
    Game.Score = 0;

    ClaimTerritory();

    const int32_t right = 192 * 96, left = 196 * 96;
    EXPECT_EQ(CountCellCodesIn(204, FieldTop, FieldRight, 145, CellClaimed), right);
    EXPECT_EQ(CountCellCodesIn(FieldLeft, FieldTop, 199, 145, CellClaimed), left);
    EXPECT_EQ(CountCellCodesIn(FieldLeft, 150, FieldRight, FieldBottom, CellOpen), 392 * 146 - 4);
    // The fill seeded right of the player's end runs first and takes the first colour.
    EXPECT_EQ(CountPixelsIn(204, FieldTop, FieldRight, 145, ColourTable[1]), right);
    int32_t second = ColourIndexAt(FieldLeft, FieldTop);
    EXPECT_GE(second, 2);
    EXPECT_LE(second, 12);
    EXPECT_EQ(CountPixelsIn(FieldLeft, FieldTop, 199, 145, ColourTable[second]), left);
    EXPECT_NE(ClaimColour, second);
    // Two fills claim a side each; the two seeded at the trail's start find them claimed.
    EXPECT_EQ(Game.Score, right / 64 + left / 64 + 4 * 25);
}

// --- The percentage ---------------------------------------------------------------------

TEST_F(ClaimTest, PercentTruncatesTheCoveredShareOfTheSweptRectangle) {
    struct Case {
        int32_t Covered, Percent;
    };
    const Case cases[] = {{0, 0}, {72803, 74}, {72804, 75}, {97071, 100}};
    // Every code other than open counts; trail is counted as the wall it becomes.
    const uint8_t codes[] = {CellWall, CellClaimed, CellTrail, 7, CellPlayer, CellEnemy};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Covered);
        // Walls everywhere outside the swept rectangle, which must not be counted.
        FillCellRect(0, 0, PlayfieldWidth - 1, PlayfieldHeight - 1, CellWall);
        FillCellRect(ScanLeft, ScanTop, ScanRight, ScanBottom, CellOpen);
        int32_t n = 0;
        for (int32_t y = ScanTop; y <= ScanBottom; ++y)
            for (int32_t x = ScanLeft; x <= ScanRight; ++x)
                if (n < c.Covered) SetCell(x, y, codes[n++ % 6]);
        SolidifyTrail();
        EXPECT_EQ(Game.PercentComplete, c.Percent);
        EXPECT_EQ(CountCellCodes(CellTrail), 0);
    }
}

// --- Claim colours ----------------------------------------------------------------------

TEST_F(ClaimTest, TwelveDrawsEmptyTheBagAndTheNextTakesItsFirstEntryFree) {
    for (uint32_t seed : {1u, 7u, 4242u, 90001u}) {
        SCOPED_TRACE(seed);
        ResetClaimState();
        SeedRandom(seed);
        std::set<int32_t> drawn;
        int32_t last = 0;
        for (int32_t k = 0; k < 12; ++k) {
            uint32_t random = RandomState;
            last = DrawFromColourBag();
            drawn.insert(last);
            EXPECT_NE(RandomState, random);
        }
        EXPECT_EQ(drawn, (std::set<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        EXPECT_EQ(ColourBagRemaining, 0);

        int32_t first = ColourBag[0];
        uint32_t random = RandomState;
        int32_t thirteenth = DrawFromColourBag();
        EXPECT_EQ(thirteenth, first);
        EXPECT_EQ(RandomState, random);
        // The last draw from a bag leaves its value in front, so it comes round again at once.
        EXPECT_EQ(thirteenth, last);
        // The refilled bag keeps the value just taken at its end, out of the next draw.
        EXPECT_EQ(ColourBagRemaining, ColourBagSize - 1);
        EXPECT_NE(DrawFromColourBag(), thirteenth);
        EXPECT_NE(RandomState, random);
    }
}

TEST_F(ClaimTest, PickedColourNeverRepeatsThePreviousOne) {
    // At every turn of the bag the first draw repeats the last colour and must be redrawn.
    SeedRandom(31337);
    std::set<int32_t> seen;
    for (int32_t k = 0; k < 600; ++k) {
        int32_t previous = ClaimColour;
        PickClaimColour();
        ASSERT_NE(ClaimColour, previous) << k;
        ASSERT_GE(ClaimColour, 1);
        ASSERT_LE(ClaimColour, 12);
        seen.insert(ClaimColour);
    }
    EXPECT_EQ(seen.size(), 12u);
}

// --- Trail erase after a lost life ------------------------------------------------------

TEST_F(ClaimTest, EraseTrailClearsOnlyTrailAndLeavesEnemiesLifted) {
    FillCellRect(50, 60, 80, 90, CellClaimed);
    DDFillRect(BackBuffer, ColourTable[3], 50, 60, 31, 31);
    FillCellRect(120, 50, 123, 295, CellWall); // an earlier trail, now wall
    DDFillRect(BackBuffer, ColourTable[0], 120, 50, 4, 246);
    // An L of trail leaving the bottom wall, one enemy on it and one on the left wall.
    FillCellRect(200, 150, 203, 295, CellTrail);
    FillCellRect(150, 150, 199, 153, CellTrail);
    DDFillRect(BackBuffer, ColourTable[2], 200, 150, 4, 146);
    DDFillRect(BackBuffer, ColourTable[2], 150, 150, 50, 4);
    std::vector<uint8_t> before = CopyGrid();
    Game.EnemyCount = 2;
    StampEnemyAt(0, 201, 200, 1, 1);
    StampEnemyAt(1, 1, 171, 1, 1);
    DrawEnemies();

    EraseTrail();

    EXPECT_EQ(CountCellCodes(CellTrail), 0);
    EXPECT_EQ(CountCellCodes(CellEnemy), 0); // lifted, not stamped again
    for (int32_t i = 0; i < PlayfieldCells; ++i) {
        int32_t x = i % PlayfieldWidth, y = i / PlayfieldWidth;
        if (before[i] == CellTrail) {
            ASSERT_EQ(Playfield[i], CellOpen) << x << "," << y;
            ASSERT_EQ(ReadPixel(BackBuffer, x, y), 0u) << x << "," << y;
        } else {
            ASSERT_EQ(Playfield[i], before[i]) << x << "," << y;
        }
    }
    EXPECT_EQ(CountPixelsIn(50, 60, 80, 90, ColourTable[3]), 31 * 31);
    EXPECT_EQ(CountPixelsIn(120, 50, 123, 295, ColourTable[0]), 4 * 246);
    // The wall enemy's image is painted over with the wall beneath it.
    EXPECT_EQ(CountPixelsIn(1, 171, 2, 172, ColourTable[0]), 4);
    EXPECT_EQ(Game.Enemies[0].X, 201);
    EXPECT_EQ(Game.Enemies[1].Y, 171);
}

} // namespace
