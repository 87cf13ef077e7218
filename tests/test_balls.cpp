// Balls: placement, the bounce, the pull of a ball ahead, the hits they deal, the spare box.
#include <gtest/gtest.h>

#include <tuple>

#include "display/draw.h"
#include "game/game_record.h"
#include "movers/balls.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

using Pose = std::tuple<int32_t, int32_t, int32_t, int32_t>; // X, Y, Dx, Dy

static Pose BallPose(int32_t i) {
    const BallRecord& b = Game.Balls[i];
    return {b.X, b.Y, b.Dx, b.Dy};
}

TEST(BallPlacement, RingSpotsTruncateTowardsTheCentre) {
    ResetWorld();
    MakeLevelGrid();
    Game.BallCount = 2;
    PlaceBallsForLevel();
    EXPECT_EQ(BallPose(0), Pose(200, 113, 1, -1));
    // cos of the short-constant 180 degrees is just above -1: 59 cells, not 60.
    EXPECT_EQ(BallPose(1), Pose(200, 232, -1, 1));
    Game.BallCount = 4;
    PlaceBallsForLevel();
    EXPECT_EQ(BallPose(1), Pose(259, 173, 1, 1));
    EXPECT_EQ(BallPose(3), Pose(141, 173, -1, -1));
}

// The title page seeds the generator with the time and colours balls by number, eight apart.
TEST(BallPlacement, TitleBallsAreSeededFromTheClockStampedAndColoured) {
    ResetWorld();
    for (uint32_t i = 0; i < 16; ++i) ColourTable[i] = 100 + i;
    Headless.TimeSeconds = 7;
    PlaceTitleBalls();
    const int32_t entry[8] = {6, 1, 5, 3, 2, 0, 7, 4};
    for (int32_t i = 0; i < BallTableSize; ++i) {
        EXPECT_EQ(Game.Balls[i].Colour, 100u + entry[i % 8]) << i;
        EXPECT_EQ(GetCell(Game.Balls[i].X, Game.Balls[i].Y), CellBallFirst + i) << i;
    }
    SeedRandom(7);
    EXPECT_EQ(Game.Balls[0].X, RandomNumber() % 399);
}

TEST(BallPlacement, RandomSpotsStandStillWhileTheSpareBallsBounceInTheirBox) {
    ResetWorld();
    MakeLevelGrid();
    FillCellRect(124, 5, 211, 13, CellWall); // the box's outline, as the level start grabs it
    FillCellRect(125, 6, 210, 12, CellOpen);
    Game.BallCount = 3;
    Game.RandomGame = 1;
    SeedRandom(4); // its direction draws include 5 and 6, either side of the 60:40 odds
    PlaceBallsForLevel();
    int32_t spareX = Game.Balls[10].X, travelled = 0;
    for (int32_t pass = 0; pass < 300; ++pass) {
        SpareBallsStep();
        for (int32_t i = 3; i < BallTableSize; ++i) {
            const BallRecord& b = Game.Balls[i];
            ASSERT_TRUE(b.X >= 125 && b.X <= 209 && b.Y >= 6 && b.Y <= 11) << i;
        }
        travelled += Game.Balls[10].X != spareX;
    }
    EXPECT_GT(travelled, 0);
    EXPECT_EQ(CountCellCodes(CellBallFirst), 0); // ball 0 is neither stamped nor moved
    SeedRandom(4);
    for (int32_t i = 0; i < 3; ++i) {
        int32_t x = RandomNumber() % 320 + 30, y = RandomNumber() % 200 + 80;
        int32_t dx = RandomNumber() % 10 < 6 ? 1 : -1;
        EXPECT_EQ(BallPose(i), Pose(x, y, dx, RandomNumber() % 10 < 6 ? 1 : -1)) << i;
    }
}

TEST(BallPlacement, RandomSpotIsDrawnAgainUntilFreeAndTheProbeSeesTrail) {
    ResetWorld(); // the generator's first draws fall on trail
    FillCellRect(10, 100, 21, 101, CellTrail);
    FillCellRect(18, 100, 19, 101, CellOpen);
    PlaceBallAtRandom(10, 100, 10, 1, 0);
    EXPECT_EQ(Game.Balls[0].X, 18);
    EXPECT_EQ(Game.PlayerHit, 1);
}

TEST(BallMove, EveryCodeButOpenBlocksAndOnlyTrailAndPlayerHit) {
    for (uint8_t code : {CellTrail, CellPlayer, CellEnemy, CellClaimed, CellWall, CellBallLast}) {
        ResetWorld();
        StampBallAt(39, 300, 200, 1, 1);
        StampBallAt(0, 100, 100, 1, -1);
        SetCell(102, 101, code);
        MoveBall(0);
        EXPECT_EQ(BallPose(0), Pose(100, 99, -1, -1)) << int(code);
        EXPECT_EQ(Game.PlayerHit, code == CellTrail || code == CellPlayer) << int(code);
        EXPECT_EQ(Game.Balls[39].X, 300); // ball 39 is never pulled
    }
}

TEST(BallMove, WallsAndABallAheadReverseOnlyTheBlockedComponent) {
    ResetWorld();
    MakeLevelGrid();
    StampBallAt(0, 4, 120, -1, 1); // against the left wall
    MoveBall(0);
    EXPECT_EQ(BallPose(0), Pose(4, 121, 1, 1));
    StampBallAt(0, 394, 294, 1, 1); // in the bottom-right corner it stands still for a pass
    MoveBall(0);
    EXPECT_EQ(BallPose(0), Pose(394, 294, -1, -1));
    StampBallAt(0, 100, 100, 1, -1);
    StampBallAt(38, 102, 100, -1, 1);
    MoveAllBalls(); // the pass also clears the Moved flags
    // Ball 38 steps into the column that ball 0 has just lifted; ball 0 bounces anyway.
    EXPECT_EQ(BallPose(38), Pose(101, 101, -1, 1));
    EXPECT_EQ(BallPose(0), Pose(100, 99, -1, -1));
    EXPECT_EQ(CountCellCodes(CellBallFirst + 38, 101, 101, 102, 102), 4);
}
