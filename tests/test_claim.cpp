// The scanline fill, the claim of a closed trail, the percentage, claim colours, trail erase.
#include <gtest/gtest.h>

#include <vector>

#include "display/draw.h"
#include "game/game_record.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "tests/support/board.h"
#include "tests/support/grid_check.h"
#include "tests/support/world.h"

struct Claim : ::testing::Test {
    void SetUp() override {
        ResetWorld();
        ResetClaimState();
        MakeLevelGrid(1);
        Game.EnemyCount = 0;
    }
};

TEST_F(Claim, AreasMeetingOnlyAtACornerAreFilledAsOneRegion) {
    for (auto [x, y] : {std::pair{121, 111}, {80, 111}, {121, 80}, {80, 80}}) {
        FillCellRect(4, 50, 395, 295, CellClaimed);
        FillCellRect(100, 100, 120, 110, CellOpen);
        FillCellRect(x, y, x + 19, y + 19, CellOpen); // touches a corner of the first only
        Game.Score = 0;
        EXPECT_EQ(FillRegion(110, 105), 0);
        EXPECT_EQ(CountCellCodes(CellOpen), 0) << x << "," << y;
        EXPECT_EQ(Game.Score, (21 * 11 + 20 * 20) / 64 + 25); // one region, scored once
    }
}

TEST_F(Claim, SeedsBeyondTheStackAreDroppedAndTheirPartsStayOpen) {
    // A comb: teeth through every even column of an open spine row. Its scan offers 392
    // seeds to a stack of 250, so the teeth from column 254 on stay open.
    FillCellRect(4, 50, 395, 295, CellClaimed);
    FillCellRect(4, 170, 395, 170, CellOpen);
    for (int32_t x = 4; x <= 394; x += 2) FillCellRect(x, 100, x, 240, CellOpen);
    EXPECT_EQ(FillRegion(4, 170), 0);
    EXPECT_EQ(CountCellCodes(CellOpen, 4, 100, 252, 240), 0);
    EXPECT_EQ(CountCellCodes(CellOpen, 254, 100, 394, 240), 71 * 140);
    EXPECT_EQ(Game.Score, (392 + 125 * 140) / 64 + 25);
}

TEST_F(Claim, ASeedThatIsNotOpenStillLooksAboveBelowAndRight) {
    FillCellRect(4, 150, 395, 150, CellWall); // the seed's row: both halves are seeded
    EXPECT_EQ(FillRegion(200, 150), 0);
    EXPECT_EQ(CountCellCodes(CellOpen), 0);
    MakeLevelGrid(1);
    FillCellRect(100, 50, 100, 295, CellWall); // the seed's column: only the right is reached
    EXPECT_EQ(FillRegion(100, 150), 0);
    EXPECT_EQ(CountCellCodes(CellClaimed), 295 * 246);
    EXPECT_EQ(CountCellCodes(CellOpen), 96 * 246);
}

TEST_F(Claim, ATrailClaimsTheBallFreeSideOrWithBallsOnBothSidesEarnsTheSplitBonus) {
    for (int32_t balls : {1, 2}) {
        SetUp();
        Game.EnemyCount = 1;
        StampEnemyAt(0, 396, 150, 1, 1); // on the right side's edge, where a fill would meet it
        StampBallAt(0, 100, 150, 1, 1);
        if (balls == 2) StampBallAt(1, 300, 150, -1, 1);
        // The square went up columns 200..203 from the bottom wall and is on the top wall.
        FillCellRect(200, 50, 203, 295, CellTrail);
        FillCellRect(200, 46, 203, 49, CellPlayer);
        Game.PlayerX = Game.TrailStartX = 200;
        Game.PlayerY = 46;
        Game.TrailStartY = 295;
        Game.PlayerDir = DirUp;
        Game.TrailBackDir = DirDown;
        ClaimTerritory();
        EXPECT_EQ(CountCellCodes(CellWall, 200, 50, 203, 295), 4 * 246); // the trail's cells
        EXPECT_EQ(CountPixelsIn(200, 50, 203, 295, ColourTable[0]), 4 * 246);
        EXPECT_EQ(GridFault(), "");
        if (balls == 2) {
            EXPECT_EQ(Game.Score, 500); // a fill that claimed even nothing would score 25
            EXPECT_EQ(CountCellCodes(CellOpen, 4, 50, 395, 295), 388 * 246 - 8);
            EXPECT_EQ(Game.PercentComplete, 1); // 1631 covered cells
            continue;
        }
        const int32_t right = 192 * 246; // columns 204..395
        EXPECT_EQ(CountCellCodes(CellClaimed, 204, 50, 395, 295), right);
        EXPECT_EQ(CountPixelsIn(204, 50, 395, 295, ColourTable[1]), right);
        EXPECT_EQ(CountCellCodes(CellOpen, 4, 50, 395, 295), 196 * 246 - 4); // but the ball
        // Once with the right side's cells, once with none (seeded there at the trail's start).
        EXPECT_EQ(Game.Score, right / 64 + 25 + 25);
        EXPECT_EQ(ColourBagRemaining, ColourBagSize - 1); // one new colour
        EXPECT_EQ(Game.PercentComplete, 50);
    }
}

TEST_F(Claim, PercentTruncatesTheCoveredShareOfTheSweptRectangle) {
    // Every code but open counts, trail as the wall it becomes; nothing outside the rectangle.
    const uint8_t codes[] = {CellWall, CellClaimed, CellTrail, 7, CellPlayer, CellEnemy};
    for (auto [covered, percent] : {std::pair{72803, 74}, {72804, 75}, {97071, 100}}) {
        FillCellRect(0, 0, 399, 299, CellWall);
        for (int32_t n = 0; n < 97071; ++n)
            SetCell(4 + n % 393, 50 + n / 393, n < covered ? codes[n % 6] : CellOpen);
        SolidifyTrail();
        EXPECT_EQ(Game.PercentComplete, percent) << covered;
    }
}

TEST_F(Claim, ColourBagGivesEachOfTwelveOnceAndNeverRepeatsAColour) {
    SeedRandom(4242);
    int32_t drawn = 0, last = 0;
    for (int32_t k = 0; k < 12; ++k) drawn |= 1 << (last = DrawFromColourBag());
    EXPECT_EQ(drawn, 0x1FFE); // 1..12
    // The thirteenth, drawn without a random value, is the one the last draw left in front.
    const uint32_t random = RandomState;
    EXPECT_EQ(DrawFromColourBag(), last);
    EXPECT_EQ(RandomState, random);
    EXPECT_EQ(ColourBagRemaining, ColourBagSize - 1);
    EXPECT_NE(DrawFromColourBag(), last); // it waits at the refilled bag's end
    for (int32_t k = 0; k < 10; ++k) last = DrawFromColourBag(); // the bag is empty again
    ClaimColour = last;
    PickClaimColour(); // its first draw repeats the colour just taken
    EXPECT_NE(ClaimColour, last);
}

TEST_F(Claim, EraseTrailClearsOnlyTrailAndLeavesEnemiesLifted) {
    FillCellRect(50, 60, 80, 90, CellClaimed);
    // An L of trail leaving the bottom wall, one enemy on it and one on the left wall.
    FillCellRect(200, 150, 203, 295, CellTrail);
    FillCellRect(150, 150, 199, 153, CellTrail);
    DDFillRect(BackBuffer, ColourTable[2], 150, 150, 54, 146);
    const std::vector<uint8_t> before(Playfield, Playfield + PlayfieldCells);
    Game.EnemyCount = 2;
    StampEnemyAt(0, 201, 200, 1, 1);
    StampEnemyAt(1, 1, 171, 1, 1);
    EraseTrail();
    for (int32_t i = 0; i < PlayfieldCells; ++i)
        ASSERT_EQ(Playfield[i], before[i] == CellTrail ? CellOpen : before[i]) << i;
    EXPECT_EQ(CountPixelsIn(200, 150, 203, 295, 0) + CountPixelsIn(150, 150, 199, 153, 0), 784);
    // The picture elsewhere stands; the wall enemy's image is painted over with the wall.
    EXPECT_EQ(CountPixelsIn(150, 154, 199, 295, ColourTable[2]), 50 * 142);
    EXPECT_EQ(CountPixelsIn(1, 171, 2, 172, ColourTable[0]), 4);
}
