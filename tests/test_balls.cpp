#include <gtest/gtest.h>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "movers/balls.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

void PutBall(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy) {
    Game.Balls[i] = BallRecord{x, y, dx, dy, 0, Game.Balls[i].Colour};
    StampBall(i);
}

void ExpectBall(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Game.Balls[i].X, x);
    EXPECT_EQ(Game.Balls[i].Y, y);
    EXPECT_EQ(Game.Balls[i].Dx, dx);
    EXPECT_EQ(Game.Balls[i].Dy, dy);
}

bool StampedWhole(int32_t i) {
    const BallRecord& b = Game.Balls[i];
    uint8_t code = static_cast<uint8_t>(i + 1);
    return GetCell(b.X, b.Y) == code && GetCell(b.X + 1, b.Y) == code &&
           GetCell(b.X, b.Y + 1) == code && GetCell(b.X + 1, b.Y + 1) == code;
}

} // namespace

TEST(BallPlacement, RingSpotsTruncateTowardsTheCentre) {
    ResetWorld();
    MakeLevelGrid();
    Game.BallCount = 2;
    PlaceBallsForLevel();
    ExpectBall(0, 200, 113, 1, -1);
    // cos of the short-constant 180 degrees is just above -1: 59 cells, not 60.
    ExpectBall(1, 200, 232, -1, 1);
    EXPECT_EQ(GetCell(200, 113), CellOpen); // placement stamps nothing
    Game.BallCount = 4;
    PlaceBallsForLevel();
    ExpectBall(1, 259, 173, 1, 1);
    ExpectBall(3, 141, 173, -1, -1);
    Game.BallCount = 2;
    SetCell(201, 114, CellClaimed); // in the spot at radius 60
    SetCell(200, 117, CellClaimed); // in the spot at radius 57
    PlaceBallOnRing(200, 173, 60, 0);
    ExpectBall(0, 200, 119, 1, -1);
}

TEST(BallPlacement, RandomSpotDrawsXThenYThenDirectionsAtSixtyToForty) {
    ResetWorld();
    int32_t plus = 0;
    for (uint32_t seed = 700; seed < 740; ++seed) {
        SeedRandom(seed);
        int32_t x = RandomNumber() % 320 + 30;
        int32_t y = RandomNumber() % 200 + 80;
        int8_t dx = RandomNumber() % 10 < 6 ? 1 : -1;
        int8_t dy = RandomNumber() % 10 < 6 ? 1 : -1;
        SeedRandom(seed);
        PlaceBallAtRandom(30, 80, 320, 200, 7);
        ExpectBall(7, x, y, dx, dy);
        plus += dx > 0;
    }
    EXPECT_GT(plus, 0); // the seeds exercise both outcomes
    EXPECT_LT(plus, 40);
}

TEST(BallPlacement, RandomSpotIsDrawnAgainUntilFreeAndTheProbeCountsTrail) {
    ResetWorld();
    // In rows 100..101 only columns 18..19 are free of trail.
    for (int32_t x = 10; x < 22; ++x)
        if (x != 18 && x != 19) SetCell(x, 100, CellTrail), SetCell(x, 101, CellTrail);
    // A spot already taken in its first row is not probed further.
    SetCell(16, 99, CellWall);
    Game.Balls[1].X = 16;
    Game.Balls[1].Y = 99;
    EXPECT_GT(BallSpotTaken(1), 0);
    EXPECT_EQ(Game.PlayerHit, 0);
    uint32_t seed = 1;
    while (SeedRandom(seed), RandomNumber() % 10 == 8) ++seed; // first draw must miss
    SeedRandom(seed);
    PlaceBallAtRandom(10, 100, 10, 1, 0);
    EXPECT_EQ(Game.Balls[0].X, 18);
    EXPECT_EQ(Game.Balls[0].Y, 100);
    EXPECT_EQ(Game.PlayerHit, 1);
}

TEST(BallPlacement, TitleBallsAreSeededFromTheClockStampedAndColoured) {
    ResetWorld();
    for (int32_t i = 0; i < 16; ++i) ColourTable[i] = 0x100 + static_cast<uint32_t>(i);
    Headless.TimeSeconds = 1700000000u;
    PlaceTitleBalls();
    const int32_t entry[8] = {6, 1, 5, 3, 2, 0, 7, 4};
    BallRecord first[BallTableSize];
    for (int32_t i = 0; i < BallTableSize; ++i) {
        EXPECT_EQ(Game.Balls[i].Colour, ColourTable[entry[i % 8]]) << i;
        EXPECT_TRUE(StampedWhole(i)) << i;
        first[i] = Game.Balls[i];
    }
    ResetWorld();
    Headless.TimeSeconds = 1700000001u;
    PlaceTitleBalls();
    int32_t differing = 0;
    for (int32_t i = 0; i < BallTableSize; ++i) differing += Game.Balls[i].X != first[i].X;
    EXPECT_GT(differing, 30);
}

TEST(BallMove, WallsReverseTheBlockedComponentOnly) {
    ResetWorld();
    MakeLevelGrid();
    PutBall(0, 4, 120, -1, 1); // against the left wall
    MoveBall(0);
    ExpectBall(0, 4, 121, 1, 1);
    EXPECT_TRUE(StampedWhole(0));
    EXPECT_EQ(GetCell(4, 120), CellOpen);
    PutBall(0, 394, 294, 1, 1); // in the bottom-right corner: stands still one pass
    MoveBall(0);
    ExpectBall(0, 394, 294, -1, -1);
    MoveBall(0); // already moved in this pass
    ExpectBall(0, 394, 294, -1, -1);
    Game.Balls[0].Moved = 0;
    MoveBall(0);
    ExpectBall(0, 393, 293, -1, -1);
}

TEST(BallMove, OnlyTrailAndPlayerHitThePlayer) {
    const uint8_t codes[] = {CellTrail, CellPlayer, CellEnemy, CellClaimed, CellWall, 40};
    for (uint8_t code : codes) {
        ResetWorld();
        PutBall(0, 100, 100, 1, -1);
        SetCell(102, 101, code);
        MoveBall(0);
        SCOPED_TRACE(code);
        ExpectBall(0, 100, 99, -1, -1);
        EXPECT_EQ(Game.PlayerHit, code == CellTrail || code == CellPlayer);
    }
}

TEST(BallMove, BallAheadMovesFirstButStillCounts) {
    ResetWorld();
    PutBall(0, 100, 100, 1, -1);
    PutBall(1, 102, 100, -1, 1);
    Game.BallCount = 2;
    MoveAllBalls();
    // Ball 1 steps into the column that ball 0 has just lifted; ball 0 bounces anyway.
    ExpectBall(1, 101, 101, -1, 1);
    ExpectBall(0, 100, 99, -1, -1);
    EXPECT_TRUE(StampedWhole(0));
    EXPECT_TRUE(StampedWhole(1));
}

TEST(BallMove, LastBallIsNeverPulled) {
    for (int32_t other : {38, 39}) {
        ResetWorld();
        PutBall(0, 100, 100, 1, 1);
        PutBall(other, 102, 100, 1, 1);
        MoveBall(0);
        EXPECT_EQ(Game.Balls[0].Dx, -1);
        EXPECT_EQ(Game.Balls[other].X, other == 38 ? 103 : 102);
    }
}

TEST(SpareBalls, BounceInTheirBoxWhileBallsInPlayStandStill) {
    ResetWorld();
    MakeLevelGrid();
    for (int32_t x = 124; x <= 211; ++x) SetCell(x, 5, CellWall), SetCell(x, 13, CellWall);
    for (int32_t y = 5; y <= 13; ++y) SetCell(124, y, CellWall), SetCell(211, y, CellWall);
    Game.BallCount = 3;
    SeedRandom(5);
    PlaceBallsForLevel();
    int32_t startX = Game.Balls[10].X;
    int32_t travelled = 0;
    for (int32_t pass = 0; pass < 300; ++pass) {
        SpareBallsStep();
        for (int32_t i = 3; i < BallTableSize; ++i) {
            ASSERT_TRUE(Game.Balls[i].X >= 125 && Game.Balls[i].X <= 209) << i;
            ASSERT_TRUE(Game.Balls[i].Y >= 6 && Game.Balls[i].Y <= 11) << i;
        }
        travelled += Game.Balls[10].X != startX;
    }
    EXPECT_GT(travelled, 0);
    ExpectBall(0, 200, 113, 1, -1);
    EXPECT_EQ(GetCell(200, 113), CellOpen);
}

TEST(BallDrawing, SpareDrawingCoversOnlyTheSpareBalls) {
    ResetWorld();
    for (int32_t i = 0; i < BallTableSize; ++i)
        Game.Balls[i] = BallRecord{4 + 5 * i, 100, 1, 1, 0, 0x1234u + i};
    Game.BallCount = 39;
    DrawSpareBalls(BackBuffer);
    EXPECT_EQ(ReadPixel(BackBuffer, 200, 101), 0x1234u + 39);
    EXPECT_EQ(ReadPixel(BackBuffer, 194, 100), 0u);
    DrawBalls(BackBuffer);
    EXPECT_EQ(ReadPixel(BackBuffer, 195, 101), 0x1234u + 38);
    Game.BallCount = 40; // no spare ball: nothing is drawn or erased
    EraseSpareBalls(BackBuffer);
    EXPECT_EQ(ReadPixel(BackBuffer, 200, 100), 0x1234u + 39);
    Game.BallCount = 39;
    EraseSpareBalls(BackBuffer);
    EXPECT_EQ(ReadPixel(BackBuffer, 200, 101), 0u);
    EXPECT_EQ(ReadPixel(BackBuffer, 194, 100), 0x1234u + 38);
    EraseBalls(BackBuffer);
    EXPECT_EQ(ReadPixel(BackBuffer, 4, 100), 0u);
}
