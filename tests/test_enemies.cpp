// Enemies: placement and spawn, the patrol on wall and trail, bounces and hits, reversal.
#include <gtest/gtest.h>

#include <tuple>

#include "display/draw.h"
#include "game/game_record.h"
#include "movers/enemies.h"
#include "playfield/playfield.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

using Pose = std::tuple<int32_t, int32_t, int32_t, int32_t>; // X, Y, Dx, Dy

template <typename Mover> Pose PoseOf(const Mover& m) {
    return {m.X, m.Y, m.Dx, m.Dy};
}

TEST(EnemyPlacement, SideStripsTopStripAndSpawnsSlidingPastUpToTwenty) {
    ResetWorld();
    MakeLevelGrid();
    PlaceEnemies();
    EXPECT_EQ(PoseOf(Game.Enemies[0]), Pose(1, 171, 1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[1]), Pose(397, 171, -1, 1));
    Game.RespawnTime = 30;
    FillCellRect(201, 46, 204, 49, CellPlayer); // the square beside the spawn point
    for (int32_t i = 0; i < 3; ++i) SpawnEnemy();
    EXPECT_EQ(PoseOf(Game.Enemies[2]), Pose(199, 47, 1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[4]), Pose(205, 47, 1, 1)); // past enemy 2 and the square,
    EXPECT_EQ(Game.PlayerHit, 0);                            // which is no hit
    Game.PlayerHit = 1; // but a hit from earlier in the frame stays
    for (int32_t i = 0; i < 20; ++i) SpawnEnemy();
    EXPECT_EQ(std::pair(Game.EnemyCount, Game.PlayerHit), std::pair(20, 1));
    Game.EnemySpawnTimer = 0;
    SpawnEnemy(); // full: only the timer restarts
    EXPECT_EQ(Game.EnemySpawnTimer, 30 * 58);
    PlaceEnemies(); // a life lost with the table full
    EXPECT_EQ(Game.EnemyCount, 19);
    EXPECT_EQ(Game.Enemies[18].X, 300 / 18 * 17 + 50); // 322: the spacing is whole cells
    Game.EnemyCount = 3;
    PlaceEnemies();
    EXPECT_EQ(PoseOf(Game.Enemies[2]), Pose(200, 46, 1, 1));
    Game.EnemyCount = 5;
    PlaceEnemies();
    EXPECT_EQ(PoseOf(Game.Enemies[2]), Pose(125, 46, 1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[3]), Pose(200, 46, -1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[4]), Pose(275, 46, 1, 1));
}

TEST(EnemyMove, PatrolsWallAndTrailAndBouncesOffAllElseHittingThePlayer) {
    ResetWorld();
    ResetClaimState(); // distinct colour table entries
    MakeLevelGrid(1);
    FillCellRect(4, 150, 60, 153, CellTrail); // a trail leaving the left strip
    Game.EnemyCount = 1;
    StampEnemyAt(0, 1, 120, 1, 1);
    for (int32_t pass = 1; pass <= 1100; ++pass) {
        EnemiesStep();
        ASSERT_EQ(CountCellCodes(CellOpen), 392 * 246 - 57 * 4) << pass; // no step into the open
        EXPECT_TRUE(pass != 100 || Game.Enemies[0].X > 40); // in the trail, near its end
    }
    // Back out, down the left strip, along the bottom, up the right and on along the top.
    EXPECT_TRUE(Game.Enemies[0].X < 390 && Game.Enemies[0].Y <= 48) << Game.Enemies[0].X;
    EXPECT_EQ(CountCellCodes(CellTrail), 57 * 4); // the trail is given back as it was,
    EXPECT_EQ(CountPixelsIn(4, 150, 60, 153, ColourTable[0]), 0); // and repainted as trail
    EXPECT_EQ(Game.PlayerHit, 0);

    Game.EnemyCount = 2;
    StampEnemyAt(0, 100, 48, 1, 1); // the lower edge of the top strip, claimed cell ahead
    SetCell(102, 48, CellClaimed);
    MoveEnemy(0);
    EXPECT_EQ(PoseOf(Game.Enemies[0]), Pose(100, 48, -1, -1));
    StampEnemyAt(0, 200, 46, 1, -1); // the status area reads as wall here: row 46 is the limit
    StampEnemyAt(1, 203, 46, -1, -1);
    MoveAllEnemies(); // enemy 1 meets enemy 0's new cells in column 202
    EXPECT_EQ(PoseOf(Game.Enemies[0]), Pose(201, 46, 1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[1]), Pose(203, 46, 1, 1));
    FillCellRect(2, 198, 5, 201, CellPlayer); // the square bars the way right
    StampEnemyAt(1, 0, 200, 1, 1);
    MoveEnemy(1);
    EXPECT_EQ(PoseOf(Game.Enemies[1]), Pose(0, 201, -1, 1));
    EXPECT_EQ(Game.PlayerHit, 1);
}

TEST(Reversal, TurnsBallsInPlayAndEnemiesOncePerTimer) {
    ResetWorld();
    Game.BallCount = 3;
    Game.Balls[2] = Game.Balls[3] = {0, 0, 1, 1, 0, 0};
    Game.Enemies[1] = {0, 0, 1, 1, 0, {}};
    Game.ReversalTimer = 1;
    Reverse(); // the timer is running: nothing changes
    Game.ReversalTimer = 0;
    Reverse();
    EXPECT_EQ(PoseOf(Game.Balls[2]), Pose(0, 0, -1, -1));
    EXPECT_EQ(PoseOf(Game.Balls[3]), Pose(0, 0, 1, 1)); // a spare ball keeps its way
    EXPECT_EQ(PoseOf(Game.Enemies[1]), Pose(0, 0, -1, -1));
}
