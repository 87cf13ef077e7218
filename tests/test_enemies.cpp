#include <gtest/gtest.h>

#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "movers/enemies.h"
#include "playfield/playfield.h"
#include "tests/support/world.h"

namespace {

void PutEnemy(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy) {
    Game.Enemies[i] = EnemyRecord{x, y, dx, dy, 0, {}};
    StampEnemy(i);
}

void ExpectEnemy(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Game.Enemies[i].X, x);
    EXPECT_EQ(Game.Enemies[i].Y, y);
    EXPECT_EQ(Game.Enemies[i].Dx, dx);
    EXPECT_EQ(Game.Enemies[i].Dy, dy);
}

void FillCells(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t code) {
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = x0; x <= x1; ++x) SetCell(x, y, code);
}

int32_t CountCells(uint8_t code) {
    int32_t n = 0;
    for (int32_t i = 0; i < PlayfieldCells; ++i) n += Playfield[i] == code;
    return n;
}

// A level grid with a four-cell trail leaving the left wall strip at rows 150..153.
void MakeGridWithTrail() {
    MakeLevelGrid();
    FillCells(4, 150, 60, 153, CellTrail);
}

} // namespace

TEST(EnemyPlacement, StartPointsOnTheSideAndTopStrips) {
    ResetWorld();
    MakeLevelGrid();
    PlaceEnemies();
    ExpectEnemy(0, 1, 171, 1, 1);
    ExpectEnemy(1, 397, 171, -1, 1);
    EXPECT_EQ(Game.Enemies[0].Under[3], CellWall);
    EXPECT_EQ(GetCell(398, 172), CellEnemy);
    MakeLevelGrid();
    Game.EnemyCount = 3;
    PlaceEnemies();
    ExpectEnemy(2, 200, 46, 1, 1);
    MakeLevelGrid();
    Game.EnemyCount = 5;
    PlaceEnemies();
    ExpectEnemy(2, 125, 46, 1, 1);
    ExpectEnemy(3, 200, 46, -1, 1);
    ExpectEnemy(4, 275, 46, 1, 1);
    MakeLevelGrid();
    Game.EnemyCount = 20;
    Game.Enemies[19] = EnemyRecord{250, 47, 1, 1, 255, {}};
    PlaceEnemies();
    EXPECT_EQ(Game.EnemyCount, 19);
    ExpectEnemy(19, 0, 0, 0, 0);
    EXPECT_EQ(Game.Enemies[19].Moved, 0);
    EXPECT_EQ(Game.Enemies[18].X, 300 / 18 * 17 + 50); // 322, not 333
    EXPECT_EQ(CountCells(CellEnemy), 19 * 4);
}

TEST(EnemyMove, ZigzagsDownTheSideStripAndTurnsAlongTheBottom) {
    ResetWorld();
    MakeLevelGrid();
    Game.EnemyCount = 1;
    PutEnemy(0, 1, 171, 1, 1);
    int32_t pass = 0;
    for (; pass < 400 && Game.Enemies[0].X <= 40; ++pass) {
        int32_t lastY = Game.Enemies[0].Y;
        MoveAllEnemies();
        const EnemyRecord& e = Game.Enemies[0];
        for (uint8_t under : e.Under) ASSERT_EQ(under, CellWall) << pass;
        if (e.Y < 294) {
            ASSERT_TRUE(e.X <= 2 && e.Y == lastY + 1) << pass;
        }
    }
    EXPECT_LT(pass, 400);
    EXPECT_GE(Game.Enemies[0].Y, 296);
    EXPECT_EQ(CountCells(CellEnemy), 4);
}

TEST(EnemyMove, OpenClaimedAndTheGridEdgeTurnItBack) {
    ResetWorld();
    MakeLevelGrid();
    PutEnemy(0, 100, 48, 1, 1); // lower edge of the top strip, claimed cell ahead
    SetCell(102, 48, CellClaimed);
    MoveEnemy(0);
    ExpectEnemy(0, 100, 48, -1, -1);
    PutEnemy(1, 398, 100, 1, 1); // beyond the grid reads as wall; the clamp turns it
    MoveEnemy(1);
    ExpectEnemy(1, 398, 101, -1, 1);
    Game.Enemies[2] = EnemyRecord{-2, 300, -1, 1, 0, {}};
    ClampEnemy(2);
    ExpectEnemy(2, 0, 298, 1, -1);
    Game.Enemies[2] = EnemyRecord{399, 45, 1, -1, 0, {}};
    ClampEnemy(2);
    ExpectEnemy(2, 398, 46, -1, 1);
    ClampEnemy(2); // on the limits: nothing to do
    ExpectEnemy(2, 398, 46, -1, 1);
    EXPECT_EQ(Game.PlayerHit, 0);
}

TEST(EnemyMove, EnemiesBounceOffEachOther) {
    ResetWorld();
    MakeLevelGrid();
    Game.EnemyCount = 2;
    PutEnemy(0, 100, 46, 1, 1);
    PutEnemy(1, 103, 46, -1, 1);
    MoveAllEnemies();
    ExpectEnemy(0, 101, 47, 1, 1);
    ExpectEnemy(1, 103, 47, 1, 1); // met enemy 0's new cells in column 102
    EXPECT_EQ(CountCells(CellEnemy), 8);
}

TEST(EnemyMove, EntersTheTrailFromTheWallAndRestoresWhatItCovered) {
    ResetWorld();
    MakeGridWithTrail();
    int32_t trailCells = CountCells(CellTrail);
    Game.EnemyCount = 1;
    PutEnemy(0, 2, 150, 1, 1);
    for (int32_t pass = 0; pass < 20; ++pass) {
        MoveAllEnemies();
        int32_t covered = 0;
        for (uint8_t under : Game.Enemies[0].Under) covered += under == CellTrail;
        ASSERT_EQ(CountCells(CellTrail) + covered, trailCells) << pass;
    }
    EXPECT_GT(Game.Enemies[0].X, 15);
    EXPECT_EQ(Game.Enemies[0].Under[0], CellTrail);
    EXPECT_EQ(Game.PlayerHit, 0);
}

TEST(EnemyMove, PlayerBarringTheWayIsHit) {
    ResetWorld();
    MakeGridWithTrail();
    FillCells(20, 150, 23, 153, CellPlayer);
    PutEnemy(0, 18, 150, 1, 1);
    MoveEnemy(0);
    EXPECT_EQ(Game.PlayerHit, 1);
    ExpectEnemy(0, 18, 151, -1, 1);
}

TEST(EnemyStamp, LiftRepaintsAndGivesTheGridBack) {
    ResetWorld();
    MakeGridWithTrail();
    std::vector<uint8_t> before(Playfield, Playfield + PlayfieldCells);
    ColourTable[0] = 0x11u;
    ColourTable[2] = 0x2200u;
    Game.EnemyCount = 4;
    PlaceEnemies();
    UnstampEnemy(2);
    PutEnemy(2, 3, 152, 1, 1); // half on wall, half on trail
    DrawEnemies();
    uint32_t white = ReadPixel(BackBuffer, 4, 153);
    EXPECT_EQ(white & 0xFFFFFFu, 0xFFFFFFu);
    LiftAllEnemies();
    EXPECT_EQ(ReadPixel(BackBuffer, 4, 153), 0x2200u);
    EXPECT_EQ(ReadPixel(BackBuffer, 3, 153), 0x11u);
    EXPECT_TRUE(std::vector<uint8_t>(Playfield, Playfield + PlayfieldCells) == before);
    StampAllEnemies();
    for (int32_t pass = 0; pass < 200; ++pass) EnemiesStep();
    EXPECT_EQ(CountCells(CellEnemy), 16);
    LiftAllEnemies();
    EXPECT_TRUE(std::vector<uint8_t>(Playfield, Playfield + PlayfieldCells) == before);
}

TEST(EnemySpawn, AddsOnTheTopStripAndRestartsTheTimer) {
    ResetWorld();
    MakeLevelGrid();
    PlaceEnemies();
    Game.RespawnFlag = 0;
    SpawnEnemy();
    EXPECT_EQ(Game.EnemyCount, 2);
    EXPECT_EQ(Game.EnemySpawnTimer, 870);
    Game.RespawnFlag = 1;
    Game.RespawnTime = 30;
    Game.EnemySpawnTimer = 0;
    SpawnEnemy();
    EXPECT_EQ(Game.EnemySpawnTimer, 30 * 58);
    ASSERT_EQ(Game.EnemyCount, 3);
    ExpectEnemy(2, 199, 47, 1, 1);
    SpawnEnemy(); // the next one slides left past enemy 2
    ExpectEnemy(3, 197, 47, -1, 1);
    for (int32_t i = 0; i < 20; ++i) SpawnEnemy();
    EXPECT_EQ(Game.EnemyCount, 20);
    EXPECT_EQ(CountCells(CellEnemy), 80);
    Game.EnemySpawnTimer = 0;
    SpawnEnemy(); // full: only the timer restarts
    EXPECT_EQ(Game.EnemySpawnTimer, 30 * 58);
}

TEST(EnemySpawn, SlidingPastThePlayerIsNoHit) {
    ResetWorld();
    MakeLevelGrid();
    PlaceEnemies();
    FillCells(197, 46, 201, 49, CellPlayer);
    SpawnEnemy();
    EXPECT_EQ(Game.Enemies[2].X, 202);
    EXPECT_EQ(Game.PlayerHit, 0);
    Game.PlayerHit = 1; // a hit from earlier in the frame stays
    SpawnEnemy();
    EXPECT_EQ(Game.Enemies[3].X, 195);
    EXPECT_EQ(Game.PlayerHit, 1);
}

TEST(Reversal, ReversesBallsInPlayAndEnemiesOncePerTimer) {
    ResetWorld();
    Game.BallCount = 3;
    Game.EnemyCount = 2;
    for (BallRecord& b : Game.Balls) b.Dx = 1, b.Dy = -1;
    for (EnemyRecord& e : Game.Enemies) e.Dx = -1, e.Dy = 1;
    Game.ReversalTimer = 1;
    Reverse();
    EXPECT_EQ(Game.Balls[0].Dx, 1);
    EXPECT_EQ(Game.ReversalTimer, 1);
    Game.ReversalTimer = 0;
    Reverse();
    EXPECT_EQ(Game.ReversalTimer, 100);
    for (int32_t i = 0; i < BallTableSize; ++i) {
        EXPECT_EQ(Game.Balls[i].Dx, i < 3 ? -1 : 1) << i;
        EXPECT_EQ(Game.Balls[i].Dy, i < 3 ? 1 : -1) << i;
    }
    for (int32_t i = 0; i < EnemyTableSize; ++i) {
        EXPECT_EQ(Game.Enemies[i].Dx, i < 2 ? 1 : -1) << i;
        EXPECT_EQ(Game.Enemies[i].Dy, i < 2 ? -1 : 1) << i;
    }
    Reverse(); // the timer is running: nothing changes
    EXPECT_EQ(Game.Balls[0].Dx, -1);
    EXPECT_EQ(Game.Enemies[0].Dx, 1);
}
