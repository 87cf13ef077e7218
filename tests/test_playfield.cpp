#include <gtest/gtest.h>

#include <cstring>

#include "game/game_record.h"
#include "playfield/playfield.h"

TEST(PlayfieldGrid, ReadsOutsideTheGridAreWall) {
    ASSERT_EQ(AllocPlayfield(), 1);
    EXPECT_EQ(GetCell(-1, 0), CellWall);
    EXPECT_EQ(GetCell(400, 0), CellWall);
    EXPECT_EQ(GetCell(0, -1), CellWall);
    EXPECT_EQ(GetCell(0, 300), CellWall);
    Playfield[PlayfieldCells - 1] = 77;
    EXPECT_EQ(GetCell(399, 299), 77);
    EXPECT_EQ(GetCell(0, 0), CellOpen);
}

TEST(PlayfieldGrid, WritesOutsideTheGridAreDropped) {
    ASSERT_EQ(AllocPlayfield(), 1);
    SetCell(400, 10, 9);
    SetCell(-1, 10, 9);
    SetCell(10, 300, 9);
    for (int32_t i = 0; i < PlayfieldCells; ++i) ASSERT_EQ(Playfield[i], 0) << i;
    SetCell(399, 299, CellTrail);
    EXPECT_EQ(Playfield[PlayfieldCells - 1], CellTrail);
    SetCell(3, 2, CellWall);
    EXPECT_EQ(Playfield[2 * 400 + 3], CellWall);
}

TEST(PlayfieldGrid, AllocationZeroesEveryCellAndFreeClearsThePointer) {
    ASSERT_EQ(AllocPlayfield(), 1);
    for (int32_t i = 0; i < PlayfieldCells; i += 7) Playfield[i] = 0xAB;
    ASSERT_EQ(AllocPlayfield(), 1);
    for (int32_t i = 0; i < PlayfieldCells; ++i) ASSERT_EQ(Playfield[i], 0) << i;
    FreePlayfield();
    EXPECT_EQ(Playfield, nullptr);
    FreePlayfield(); // a second free is harmless
    EXPECT_EQ(Playfield, nullptr);
}

TEST(PlayfieldGrid, ScanRectCoversTheFieldAndTheInnerFrameEdge) {
    EXPECT_EQ(ScanRectCells, 97071);
}

TEST(RandomGenerator, MatchesTheClassicSequenceFromSeedOne) {
    ResetGameRecord();
    // The first values of the classic generator from state 1.
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int32_t value : expected) EXPECT_EQ(RandomNumber(), value);
}

TEST(RandomGenerator, ReseedingReplaysTheSequenceAndStaysInRange) {
    SeedRandom(1234567);
    int32_t first[64];
    for (int32_t& v : first) {
        v = RandomNumber();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
    SeedRandom(1234567);
    for (int32_t v : first) EXPECT_EQ(RandomNumber(), v);
}

TEST(GameRecordStart, HoldsTheProgramStartValues) {
    ResetGameRecord();
    EXPECT_EQ(Game.GameState, StateStartup);
    EXPECT_EQ(Game.Lives, 3);
    EXPECT_EQ(Game.Reversals, 4);
    EXPECT_EQ(Game.EnemySpawnTimer, 870);
    EXPECT_EQ(Game.EnemySpawnSeconds, 15);
    EXPECT_EQ(Game.TitleScrollY, 390);
    EXPECT_EQ(Game.RespawnFlag, 1);
    EXPECT_EQ(Game.RespawnTime, 15);
    EXPECT_EQ(Game.OnWall, 1);
    EXPECT_STREQ(Game.PlayerName, "");
    for (int32_t i = 0; i < HighScoreEntries; ++i) {
        EXPECT_EQ(Game.HighScoreTable[i].Score, 100000 - 10000 * i);
        EXPECT_GT(std::strlen(Game.HighScoreTable[i].Name), 0u);
    }
}
