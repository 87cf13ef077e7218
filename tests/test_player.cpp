// The player's square: steering, the trail it lays, the hits it takes and its bounds.
#include <gtest/gtest.h>

#include <tuple>

#include "display/draw.h"
#include "game/game_record.h"
#include "game/life_cycle.h"
#include "movers/player.h"
#include "playfield/playfield.h"
#include "shell/keys.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

struct Player : ::testing::Test {
    void SetUp() override {
        ResetWorld();
        ResetClaimState();
        MakeLevelGrid(1);
        Game.EnemyCount = 0;
        ResetPlayer(); // on the bottom wall strip at (198, 296)
        FinishPlayerStep();
    }
};

using Spot = std::pair<int32_t, int32_t>;

static Spot Where() {
    return {Game.PlayerX, Game.PlayerY};
}

static void Drive(int32_t vk, Spot to) {
    HandleKeyDown(vk);
    for (int32_t step = 0; step < 500 && Where() != to; ++step) PlayerStep();
    HandleKeyUp(vk);
    ASSERT_EQ(Where(), to);
}

TEST_F(Player, LeavesTheWallLayingTrailWhileRequestsItCannotTakeWait) {
    HandleKeyDown(VkUp);
    PlayerStep();
    EXPECT_EQ(Where(), Spot(198, 295));
    EXPECT_EQ(std::tuple(Game.TrailStartX, Game.TrailStartY, Game.TrailBackDir),
              std::tuple(198, 295, DirDown));
    // It runs on by itself, the open rows it leaves becoming trail, each in its colour.
    for (int32_t step = 0; step < 10; ++step) PlayerStep();
    EXPECT_EQ(Where(), Spot(198, 285));
    EXPECT_EQ(Game.TrailStartY, 295);
    EXPECT_EQ(CountCellCodes(CellTrail), 28);
    EXPECT_EQ(CountPixelsIn(198, 289, 201, 295, ColourTable[2]), 28);
    EXPECT_EQ(CountCellCodes(CellWall, 198, 296, 201, 299), 16);
    EXPECT_EQ(CountPixelsIn(198, 296, 201, 299, ColourTable[0]), 16);
    HandleKeyDown(VkUp); // the key of the way it goes is held on while alone,
    PlayerStep();
    EXPECT_EQ(Game.HeldKeys, uint32_t(DirUp));
    StampBallAt(0, 202, 285, 1, 1); // beside the square, not in its way
    HandleKeyDown(VkDown);          // and given up with other requests: back is trail,
    HandleKeyDown(VkRight);         // right is the ball, which looking at does not hit
    PlayerStep();
    EXPECT_EQ(Where(), Spot(198, 283));
    EXPECT_EQ(Game.HeldKeys, uint32_t(DirDown | DirRight));
    EXPECT_EQ(Game.PlayerHit, 0);
    Game.PlayerHit = 1; // and steering puts back a hit already taken
    PlayerStep();
    EXPECT_EQ(Game.PlayerHit, 1);
}

TEST_F(Player, PendingRequestsGoLeftThenRightThenUpThenDown) {
    for (int32_t vk : {VkUp, VkRight, VkLeft}) HandleKeyDown(vk);
    PlayerStep();
    EXPECT_EQ(Where(), Spot(197, 296));
    PlayerStep(); // on the wall the way back is open
    EXPECT_EQ(Where(), Spot(198, 296));
    PlayerStep();
    EXPECT_EQ(Where(), Spot(198, 295));
    Drive(VkUp, {198, 200});
    Drive(VkLeft, {190, 200}); // up and down are open, right is the trail
    for (int32_t vk : {VkDown, VkRight, VkUp}) HandleKeyDown(vk);
    PlayerStep();
    EXPECT_EQ(Where(), Spot(190, 199));
    EXPECT_EQ(Game.HeldKeys, uint32_t(DirRight | DirDown));
}

TEST_F(Player, RunningHeadOnIntoItsOwnTrailIsCaughtWithoutMoving) {
    Drive(VkUp, {198, 250});
    Drive(VkRight, {220, 250});
    Drive(VkDown, {220, 270});
    Drive(VkLeft, {202, 270}); // the first leg's trail fills columns 198..201
    PlayerStep();
    EXPECT_EQ(Where(), Spot(202, 270));
    EXPECT_EQ(Game.PlayerHit, 1);
}

TEST_F(Player, TurnsIntoABranchingWallStripThenMeetsWhatIsAheadOfIt) {
    // Codes at the two ends of the row above the strip, which ends in the open where being
    // blocked alone is no hit: all four cells are read.
    for (auto [first, last, hit] : {std::tuple{CellOpen, CellBallFirst, 1},
                                    {CellEnemy, CellOpen, 1},
                                    {CellClaimed, CellBallLast, 1},
                                    {CellClaimed, CellClaimed, 0}}) {
        SetUp();
        FillCellRect(4, 150, 395, 295, CellClaimed);
        FillCellRect(100, 150, 103, 295, CellWall); // up from the bottom wall
        SetCell(100, 149, first);
        SetCell(103, 149, last);
        Drive(VkLeft, {197, 296});
        HandleKeyDown(VkUp);                   // held from here on
        for (int32_t x = 196; x >= 100; --x) { // at 101 the way up still meets claimed area
            PlayerStep();
            ASSERT_EQ(Where(), Spot(x, 296));
        }
        Drive(VkUp, {100, 150});
        PlayerStep();
        EXPECT_EQ(Where(), Spot(100, 150)) << int(first) << "," << int(last);
        EXPECT_EQ(Game.PlayerHit, hit) << int(first) << "," << int(last);
    }
}

TEST_F(Player, AfterAClaimTheSquareStandsStillUntilAKeyStillHeldSteersIt) {
    StampBallAt(0, 50, 100, 1, 1); // in the big side
    Drive(VkUp, {198, 280});
    Drive(VkLeft, {180, 280});
    Drive(VkDown, {180, 281});
    HandleKeyDown(VkUp); // the way back is trail: the request waits through the claim
    for (int32_t step = 0; step < 30 && Game.TrailActive; ++step) PlayerStep();
    EXPECT_EQ(Where(), Spot(180, 296));
    EXPECT_EQ(CountCellCodes(CellClaimed), 14 * 12);
    EXPECT_EQ(Game.PlayerDir, 0);
    EXPECT_EQ(Game.LastKey, 0);
    PlayerStep(); // up the pocket's side, wall now
    EXPECT_EQ(Where(), Spot(180, 295));
}

TEST_F(Player, TheSquareNeverLeavesTheFrame) {
    // Outside the grid and the status area read as wall: only the bounds keep the square in.
    for (auto [vk, x, y, out] : {std::tuple{VkLeft, 0, 296, VkDown},
                                 {VkUp, 0, 46, VkLeft},
                                 {VkRight, 396, 46, VkUp},
                                 {VkDown, 396, 296, VkRight}}) {
        Drive(vk, {x, y});
        HandleKeyDown(out);
        PlayerStep();
        EXPECT_EQ(Where(), Spot(x, y));
        EXPECT_NE(Game.HeldKeys, 0u) << x << "," << y; // the other way out stays closed
        HandleKeyUp(out);
    }
}

TEST_F(Player, TheWallViewPaintsExactlyTheWallCells) {
    FillCellRect(200, 150, 203, 295, CellTrail);
    ShowWallCells();
    EXPECT_EQ(CountPixelsIn(0, 0, 399, 299, ColourTable[6]), CountCellCodes(CellWall));
}
