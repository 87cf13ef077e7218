// The grid's accessors and allocation, and the game's random generator.
#include <gtest/gtest.h>

#include <cstring>

#include "game/game_record.h"
#include "playfield/playfield.h"

TEST(PlayfieldGrid, CellsOutsideReadAsWallAndIgnoreWrites) {
    ASSERT_EQ(AllocPlayfield(), 1);
    // (-1, 10) and (400, 10) would land in the rows beside theirs were only the index tested.
    const int32_t outside[][2] = {{-1, 0}, {400, 0}, {0, -1}, {0, 300}, {-1, 10}, {400, 10}};
    for (const auto& p : outside) {
        EXPECT_EQ(GetCell(p[0], p[1]), CellWall) << p[0] << "," << p[1];
        SetCell(p[0], p[1], CellTrail);
    }
    for (int32_t i = 0; i < PlayfieldCells; ++i) ASSERT_EQ(Playfield[i], CellOpen) << i;
    SetCell(399, 299, CellTrail);
    SetCell(3, 2, CellWall);
    EXPECT_EQ(Playfield[PlayfieldCells - 1], CellTrail);
    EXPECT_EQ(GetCell(399, 299), CellTrail);
    EXPECT_EQ(Playfield[2 * 400 + 3], CellWall);
}

TEST(PlayfieldGrid, EveryAllocationStartsAllOpenAndFreeClearsThePointer) {
    ASSERT_EQ(AllocPlayfield(), 1);
    std::memset(Playfield, 0xAB, PlayfieldCells);
    ASSERT_EQ(AllocPlayfield(), 1);
    for (int32_t i = 0; i < PlayfieldCells; ++i) ASSERT_EQ(Playfield[i], CellOpen) << i;
    FreePlayfield();
    EXPECT_EQ(Playfield, nullptr);
}

TEST(RandomGenerator, FollowsTheClassicSequenceFromEachSeed) {
    Game.Lives = 0;
    SeedRandom(99);
    ResetGameRecord(); // the record and the generator as at program start
    EXPECT_EQ(Game.Lives, 3);
    for (int32_t v : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
        EXPECT_EQ(RandomNumber(), v);
    SeedRandom(1);
    EXPECT_EQ(RandomNumber(), 41);
}
