// The player's square: steering, the trail it lays, the hits it takes and its bounds.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "game/life_cycle.h"
#include "movers/player.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "shell/keys.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

namespace {

class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld();
        ResetClaimState();
        UseDistinctColours();
        MakeLevelGrid(1);
        Game.EnemyCount = 0;
        // The game's own placement: on the bottom wall strip at (198, 296).
        ResetPlayer();
        FinishPlayerStep();
    }
    void TearDown() override { ReleaseSoftwareDisplay(); }
};

// Player steps until the condition holds; false when it has not after `limit` steps.
bool StepUntil(const std::function<bool()>& condition, int32_t limit = 500) {
    for (int32_t i = 0; i < limit && !condition(); ++i) PlayerStep();
    return condition();
}

// Holds the key down while the square steps until the condition holds.
void Drive(int32_t vk, const std::function<bool()>& arrived) {
    HandleKeyDown(vk);
    ASSERT_TRUE(StepUntil(arrived));
    HandleKeyUp(vk);
}

struct Position {
    int32_t X, Y;
    bool operator==(const Position&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Position& p) {
    return out << "(" << p.X << "," << p.Y << ")";
}

Position Where() {
    return {Game.PlayerX, Game.PlayerY};
}

// --- Leaving the wall and laying trail --------------------------------------------------

TEST_F(PlayerTest, LeavingTheBottomWallRecordsWhereTheTrailStarts) {
    EXPECT_EQ(Game.TrailActive, 0);
    HandleKeyDown(VkUp);
    PlayerStep();
    EXPECT_EQ(Where(), (Position{198, 295}));
    EXPECT_EQ(Game.PlayerDir, DirUp);
    EXPECT_EQ(Game.HeldKeys, 0u); // the request has been taken
    EXPECT_EQ(Game.OnWall, 0);
    EXPECT_EQ(Game.TrailActive, 1);
    EXPECT_EQ(Game.TrailStartX, 198);
    EXPECT_EQ(Game.TrailStartY, 295);
    EXPECT_EQ(Game.TrailBackDir, DirDown);

    // The square runs on without the key; each row it leaves in the open becomes trail and
    // the wall it left is wall again.
    HandleKeyUp(VkUp);
    ASSERT_TRUE(StepUntil([] { return Game.PlayerY == 285; }));
    EXPECT_EQ(Game.TrailStartY, 295);
    EXPECT_EQ(CountCellCodes(CellTrail), 4 * 7);
    EXPECT_EQ(CountCellCodesIn(198, 289, 201, 295, CellTrail), 4 * 7);
    EXPECT_EQ(CountCellCodesIn(198, 296, 201, 299, CellWall), 16);
    EXPECT_EQ(CountCellCodesIn(198, 285, 201, 288, CellPlayer), 16);
    EXPECT_EQ(CountPixelsIn(198, 289, 201, 295, ColourTable[2]), 4 * 7);
    EXPECT_EQ(CountPixelsIn(198, 296, 201, 299, ColourTable[0]), 16);
    EXPECT_EQ(CountPixelsIn(198, 285, 201, 288, 0xFFFFFFu), 16);
    EXPECT_EQ(Game.PlayerHit, 0);
}

// --- Steering ---------------------------------------------------------------------------

TEST_F(PlayerTest, KeyBackAlongTheTrailStaysPendingAndChangesNothing) {
    Drive(VkUp, [] { return Game.PlayerY == 280; });
    HandleKeyDown(VkDown);
    for (int32_t step = 1; step <= 5; ++step) {
        PlayerStep();
        EXPECT_EQ(Where(), (Position{198, 280 - step}));
        EXPECT_EQ(Game.PlayerDir, DirUp);
        EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirDown));
    }
    // The key of the way it already goes is held on while nothing else is asked for...
    HandleKeyUp(VkDown);
    HandleKeyDown(VkUp);
    PlayerStep();
    EXPECT_EQ(Where(), (Position{198, 274}));
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp));
    // ...and given up once another request is looked at.
    HandleKeyDown(VkDown);
    PlayerStep();
    EXPECT_EQ(Where(), (Position{198, 273}));
    EXPECT_EQ(Game.PlayerDir, DirUp);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirDown));
    EXPECT_EQ(Game.PlayerHit, 0);
}

TEST_F(PlayerTest, RequestsWaitUntouchedWhereOnlyTheWayAheadIsOpen) {
    // A corridor up through claimed area: no way to turn at all.
    FillCellRect(4, 50, 395, 295, CellClaimed);
    FillCellRect(198, 50, 201, 295, CellOpen);
    Drive(VkUp, [] { return Game.PlayerY == 280; });
    HandleKeyDown(VkUp);
    HandleKeyDown(VkDown);
    HandleKeyDown(VkLeft);
    PlayerStep();
    EXPECT_EQ(Where(), (Position{198, 279}));
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp | DirDown | DirLeft));
}

TEST_F(PlayerTest, ClosedTurnIsTakenAtTheFirstStepWhereItsFourCellsAreFree) {
    // The field is claimed but for a wall strip up from the bottom wall at columns 100..103.
    FillCellRect(4, 50, 395, 295, CellClaimed);
    FillCellRect(100, 50, 103, 295, CellWall);
    HandleKeyDown(VkLeft);
    PlayerStep();
    HandleKeyUp(VkLeft);
    HandleKeyDown(VkUp); // held from here on
    while (Game.PlayerX > 100) {
        PlayerStep();
        ASSERT_EQ(Game.PlayerY, 296) << Game.PlayerX;
        ASSERT_EQ(Game.PlayerDir, DirLeft);
        ASSERT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp));
    }
    // At 101 the way up still meets claimed area in column 104; at 100 it is all wall.
    PlayerStep();
    EXPECT_EQ(Where(), (Position{100, 295}));
    EXPECT_EQ(Game.PlayerDir, DirUp);
    EXPECT_EQ(Game.HeldKeys, 0u);
    ASSERT_TRUE(StepUntil([] { return Game.PlayerY == 46; }));
    EXPECT_EQ(Game.PlayerX, 100);
    EXPECT_EQ(Game.TrailActive, 0); // wall all the way: no trail, no claim
    EXPECT_EQ(CountCellCodes(CellTrail), 0);
}

TEST_F(PlayerTest, PendingRequestsGoLeftThenRightThenUpThenDown) {
    HandleKeyDown(VkUp);
    HandleKeyDown(VkRight);
    HandleKeyDown(VkLeft);
    PlayerStep();
    EXPECT_EQ(Game.PlayerDir, DirLeft);
    EXPECT_EQ(Where(), (Position{197, 296}));
    PlayerStep(); // on the wall the way back is open
    EXPECT_EQ(Game.PlayerDir, DirRight);
    EXPECT_EQ(Where(), (Position{198, 296}));
    PlayerStep();
    EXPECT_EQ(Game.PlayerDir, DirUp);
    EXPECT_EQ(Where(), (Position{198, 295}));
    EXPECT_EQ(Game.HeldKeys, 0u);

    // In open space, going left: up and down are both open, right is the trail.
    HandleKeyUp(VkUp);
    HandleKeyUp(VkRight);
    HandleKeyUp(VkLeft);
    ASSERT_TRUE(StepUntil([] { return Game.PlayerY == 200; }));
    Drive(VkLeft, [] { return Game.PlayerX == 190; });
    HandleKeyDown(VkDown);
    HandleKeyDown(VkRight);
    HandleKeyDown(VkUp);
    PlayerStep();
    EXPECT_EQ(Game.PlayerDir, DirUp);
    EXPECT_EQ(Where(), (Position{190, 199}));
    // Down is now the trail too; both requests wait.
    PlayerStep();
    EXPECT_EQ(Game.PlayerDir, DirUp);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirRight | DirDown));
    EXPECT_EQ(Game.PlayerHit, 0);
}

// --- Hits -------------------------------------------------------------------------------

TEST_F(PlayerTest, RunningHeadOnIntoItsOwnTrailIsCaughtWithoutMoving) {
    Drive(VkUp, [] { return Game.PlayerY == 250; });
    Drive(VkRight, [] { return Game.PlayerX == 220; });
    Drive(VkDown, [] { return Game.PlayerY == 270; });
    // Left towards the first leg, whose trail fills columns 198..201.
    Drive(VkLeft, [] { return Game.PlayerX == 202; });
    EXPECT_EQ(Game.PlayerHit, 0);
    PlayerStep();
    EXPECT_EQ(Where(), (Position{202, 270}));
    EXPECT_EQ(Game.PlayerHit, 1);
    for (int32_t code : Game.PlayerCells) EXPECT_EQ(code, CellTrail);
}

TEST_F(PlayerTest, TrailAheadOnlyBlocksASquarePartlyOnTheWall) {
    Drive(VkUp, [] { return Game.PlayerY == 280; });
    Drive(VkLeft, [] { return Game.PlayerX == 180; });
    Drive(VkDown, [] { return Game.PlayerY == 293; }); // the bottom row on the wall
    Drive(VkRight, [] { return Game.PlayerX == 194; });
    // Column 198 ahead is the first leg's trail; twelve trail cells and four wall beneath.
    for (int32_t step = 0; step < 3; ++step) PlayerStep();
    EXPECT_EQ(Where(), (Position{194, 293}));
    EXPECT_EQ(Game.PlayerHit, 0);
    EXPECT_EQ(Game.TrailActive, 1);
}

// Level grid with the square going up through open space at (198, 200).
void GoingUpAt200() {
    HandleKeyDown(VkUp);
    ASSERT_TRUE(StepUntil([] { return Game.PlayerY == 200; }));
    HandleKeyUp(VkUp);
}

// Moves the square, standing on wall, to (x, y) going `dir`.
void PutSquareOnWall(int32_t x, int32_t y, int32_t dir) {
    RepaintPlayerCells();
    Game.PlayerX = x;
    Game.PlayerY = y;
    Game.PlayerDir = dir;
    FinishPlayerStep();
    ASSERT_EQ(Game.OnWall, 1);
}

TEST_F(PlayerTest, BallOrEnemyStraightAheadHitsAndBlocks) {
    // On wall, where being blocked alone is no hit: the square goes up a wall strip that
    // ends at row 150 in open space, or up the left side of the frame.
    struct Case {
        const char* Name;
        Position Start;
        std::function<void()> Put;
        int32_t Hit;
    };
    const Case cases[] = {
        {"ball", {100, 150}, [] { StampBallAt(0, 101, 148, 1, 1); }, 1},
        {"enemy", {0, 200}, [] { StampEnemyAt(0, 1, 198, 1, -1); }, 1},
        // All four cells are read: a claimed cell first does not hide a ball in the last.
        {"ball behind claimed",
         {100, 150},
         [] {
             SetCell(100, 149, CellClaimed);
             StampBallAt(0, 103, 148, 1, 1);
         },
         1},
        {"claimed", {100, 150}, [] { FillCellRect(100, 149, 103, 149, CellClaimed); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SetUp();
        FillCellRect(100, 150, 103, 295, CellWall);
        PutSquareOnWall(c.Start.X, c.Start.Y, DirUp);
        c.Put();
        PlayerStep();
        EXPECT_EQ(Where(), c.Start);
        EXPECT_EQ(Game.PlayerHit, c.Hit);
    }
}

TEST_F(PlayerTest, BallBesideIsNoHitAndSteeringNeverHits) {
    GoingUpAt200();
    // Right of the square, level with its middle rows: not in the way up.
    StampBallAt(0, 202, 201, 1, 1);
    PlayerStep();
    EXPECT_EQ(Where(), (Position{198, 199}));
    EXPECT_EQ(Game.PlayerHit, 0);
    // A request to turn right looks at the ball's cells, which is no hit either, and waits.
    HandleKeyDown(VkRight);
    PlayerStep();
    EXPECT_EQ(Where(), (Position{198, 198}));
    EXPECT_EQ(Game.PlayerHit, 0);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirRight));
    // Steering puts the flag back as it found it: a hit already taken stays.
    Game.PlayerHit = 1;
    PlayerStep();
    EXPECT_EQ(Game.PlayerHit, 1);
}

// --- After a claim ----------------------------------------------------------------------

// Up, left and back down to the bottom wall: a 14 x 12 pocket, with a ball in the big side.
// `held` is pressed on the way down, where it cannot be taken.
void ClaimPocket(int32_t held) {
    StampBallAt(0, 50, 100, 1, 1);
    Game.BallCount = 1;
    Drive(VkUp, [] { return Game.PlayerY == 280; });
    Drive(VkLeft, [] { return Game.PlayerX == 180; });
    HandleKeyDown(VkDown);
    PlayerStep();
    HandleKeyUp(VkDown);
    if (held != 0) HandleKeyDown(held);
    ASSERT_EQ(Game.LastKey, held == VkUp ? KeyUp : KeyDown);
    ASSERT_TRUE(StepUntil([] { return Game.TrailActive == 0; }));
    ASSERT_EQ(Where(), (Position{180, 296}));
    ASSERT_EQ(CountCellCodes(CellClaimed), 14 * 12);
}

TEST_F(PlayerTest, AfterAClaimTheSquareStandsStill) {
    ClaimPocket(0);
    EXPECT_EQ(Game.PlayerDir, 0);
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.TrailStartSet, 0);
    EXPECT_EQ(Game.OnWall, 1);
    for (int32_t step = 0; step < 3; ++step) PlayerStep();
    EXPECT_EQ(Where(), (Position{180, 296}));
    EXPECT_EQ(CountCellCodes(CellTrail), 0);
}

TEST_F(PlayerTest, AfterAClaimAStillHeldKeySteersAgain) {
    ClaimPocket(VkUp);
    EXPECT_EQ(Game.PlayerDir, 0);
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp));
    // The way up is the down leg of the trail, wall now.
    PlayerStep();
    EXPECT_EQ(Where(), (Position{180, 295}));
    EXPECT_EQ(Game.PlayerDir, DirUp);
    EXPECT_EQ(Game.TrailActive, 0);
}

// --- Bounds -----------------------------------------------------------------------------

TEST_F(PlayerTest, TheSquareNeverLeavesTheFrame) {
    // Outside the grid reads as wall and the status area is wall here: only the bounds stop
    // the square at the edges.
    struct Leg {
        int32_t Vk;
        Position End;
    };
    const Leg legs[] = {{VkLeft, {0, 296}},
                        {VkUp, {0, 46}},
                        {VkRight, {396, 46}},
                        {VkDown, {396, 296}},
                        {VkLeft, {198, 296}}};
    for (const Leg& leg : legs) {
        HandleKeyDown(leg.Vk);
        for (int32_t step = 0; step < 420 && !(Where() == leg.End); ++step) {
            PlayerStep();
            ASSERT_TRUE(Game.PlayerX >= 0 && Game.PlayerX <= 396) << Game.PlayerX;
            ASSERT_TRUE(Game.PlayerY >= 46 && Game.PlayerY <= 296) << Game.PlayerY;
        }
        ASSERT_EQ(Where(), leg.End);
        HandleKeyUp(leg.Vk);
        if (leg.Vk == VkLeft && leg.End.X == 198) break;
        // Pushing on against the edge moves nothing.
        for (int32_t step = 0; step < 3; ++step) PlayerStep();
        EXPECT_EQ(Where(), leg.End);
    }
    EXPECT_EQ(Game.PlayerHit, 0);
    EXPECT_EQ(Game.TrailActive, 0);

    // At an edge the test answers no without reading: the ball code above row 46 is unseen.
    ResetPlayer();
    Game.PlayerX = 100;
    Game.PlayerY = 46;
    SetCell(101, 45, 5);
    EXPECT_EQ(MayMoveUp(), 0);
    EXPECT_EQ(Game.PlayerHit, 0);
    Game.PlayerX = 0;
    EXPECT_EQ(MayMoveLeft(), 0);
    Game.PlayerX = 396;
    EXPECT_EQ(MayMoveRight(), 0);
    Game.PlayerY = 296;
    EXPECT_EQ(MayMoveDown(), 0);
    EXPECT_EQ(MoveDown(), 0);
    EXPECT_EQ(Where(), (Position{396, 296}));
}

// --- The wall view ----------------------------------------------------------------------

TEST_F(PlayerTest, WallViewPaintsExactlyTheWallCellsAndPresents) {
    FillCellRect(50, 60, 80, 90, CellClaimed);
    FillCellRect(120, 60, 123, 295, CellWall);
    FillCellRect(200, 150, 203, 295, CellTrail);
    StampBallAt(0, 300, 200, 1, 1);
    StampEnemyAt(0, 1, 171, 1, 1);
    const uint32_t background = 0x00123456;
    DDClearSurface(BackBuffer, background);
    std::vector<uint8_t> grid = CopyGrid();

    ShowWallCells();

    EXPECT_EQ(CopyGrid(), grid);
    int32_t walls = 0;
    for (int32_t y = 0; y < PlayfieldHeight; ++y)
        for (int32_t x = 0; x < PlayfieldWidth; ++x) {
            bool wall = GetCell(x, y) == CellWall;
            walls += wall;
            ASSERT_EQ(ReadPixel(BackBuffer, x, y), wall ? ColourTable[6] : background)
                << x << "," << y;
        }
    EXPECT_GT(walls, 400 * 46);
    EXPECT_EQ(PrimarySurface->Pixels, BackBuffer->Pixels);
}

} // namespace
