// One frame of play: the order of the movers' steps, the bonus life and the enemy re-spawn.
#include <gtest/gtest.h>

#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/status.h"
#include "game/game_record.h"
#include "game/life_cycle.h"
#include "movers/enemies.h"
#include "movers/play_step.h"
#include "movers/player.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

namespace {

class PlayStep : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld();
        ResetClaimState();
        UseDistinctColours();
        SetTextFont(BackBuffer, "Arial", 80);
        MakeLevelGrid(1);
        Game.BallCount = 0;
        Game.EnemyCount = 0;
        Game.RespawnFlag = 0;
        Game.BonusLife = 0;
    }
    void TearDown() override { ReleaseSoftwareDisplay(); }
};

void AllSpeeds(int32_t fast) {
    Game.BallSpeed = fast;
    Game.EnemySpeed = fast;
    Game.PlayerSpeed = fast;
}

// Puts the square at (x, y) going `dir` and lets it take its snapshot and stamp, as the
// placement does; off the wall it counts as a trail begun there, going up.
void PlacePlayer(int32_t x, int32_t y, int32_t dir) {
    Game.PlayerX = x;
    Game.PlayerY = y;
    Game.PlayerDir = dir;
    Game.HeldKeys = 0;
    Game.OnWall = 1;
    Game.TrailActive = 0;
    Game.TrailStartSet = 0;
    FinishPlayerStep();
}

// A square that has gone up from (198, 296) to (198, 250), its trail in columns 198..201.
void PlayerGoingUpFromTheBottom() {
    FillCellRect(198, 254, 201, 295, CellTrail);
    Game.TrailStartX = 198;
    Game.TrailStartY = 295;
    Game.TrailBackDir = DirDown;
    Game.TrailStartSet = 1;
    Game.TrailActive = 1;
    Game.PlayerX = 198;
    Game.PlayerY = 250;
    Game.PlayerDir = DirUp;
    FinishPlayerStep();
}

struct Mover {
    int32_t X, Y, Dx, Dy;
    bool operator==(const Mover&) const = default;
};

Mover BallAt(int32_t i) {
    const BallRecord& b = Game.Balls[i];
    return {b.X, b.Y, b.Dx, b.Dy};
}

Mover EnemyAt(int32_t i) {
    const EnemyRecord& e = Game.Enemies[i];
    return {e.X, e.Y, e.Dx, e.Dy};
}

std::ostream& operator<<(std::ostream& out, const Mover& m) {
    return out << "(" << m.X << "," << m.Y << " " << m.Dx << "," << m.Dy << ")";
}

// True when the status item on the screen is what `show` draws for the current value.
bool ShowsCurrentValue(int32_t (*show)()) {
    std::vector<uint8_t> shown = BackBuffer->Pixels;
    show();
    return BackBuffer->Pixels == shown;
}

int32_t CountLitStatusPixels() {
    int32_t lit = 0;
    for (int32_t y = 0; y < 46; ++y)
        for (int32_t x = 0; x < PlayfieldWidth; ++x) lit += ReadPixel(BackBuffer, x, y) != 0;
    return lit;
}

// --- Order of the steps -----------------------------------------------------------------
//
// Every mover sees the others only through the grid, so each case puts two movers where
// the outcome of the frame depends on which of them stepped first; with every speed fast,
// a wrong order ends in a hit or in other places than these.

TEST_F(PlayStep, BallsStepBeforeEnemiesInBothRounds) {
    AllSpeeds(1);
    // A trail strip with an enemy in it; left of it a ball whose probe of the strip meets
    // the enemy in the first round (ball 0) or in the second (ball 1). Had the enemy stepped
    // first, the probe would meet bare trail: a hit.
    FillCellRect(200, 100, 203, 250, CellTrail);
    Game.BallCount = 2;
    StampBallAt(0, 198, 120, 1, 1);
    StampBallAt(1, 197, 200, 1, 1);
    ParkSpareBalls(2);
    Game.EnemyCount = 2;
    StampEnemyAt(0, 200, 120, -1, 1);
    StampEnemyAt(1, 200, 200, -1, 1);
    PlacePlayer(198, 296, 0);

    PlayFrameStep();

    EXPECT_EQ(Game.PlayerHit, 0);
    EXPECT_EQ(BallAt(0), (Mover{197, 122, -1, 1}));
    EXPECT_EQ(BallAt(1), (Mover{198, 202, -1, 1}));
    EXPECT_EQ(EnemyAt(0), (Mover{201, 122, 1, 1}));
    EXPECT_EQ(EnemyAt(1), (Mover{201, 202, 1, 1}));
}

TEST_F(PlayStep, EnemiesStepBeforeThePlayerAndAfterItsFirstStep) {
    AllSpeeds(1);
    ParkSpareBalls(0);
    // On the bottom strip going right: an enemy right in front of the square (a hit if the
    // square stepped first) and one a cell behind it (a hit if it stepped twice before the
    // square's first step).
    Game.EnemyCount = 2;
    StampEnemyAt(0, 204, 296, 1, 1);
    StampEnemyAt(1, 197, 296, 1, 1);
    PlacePlayer(200, 296, DirRight);

    PlayFrameStep();

    EXPECT_EQ(Game.PlayerHit, 0);
    EXPECT_EQ(Game.PlayerX, 202);
    EXPECT_EQ(EnemyAt(0), (Mover{206, 298, 1, 1}));
    EXPECT_EQ(EnemyAt(1), (Mover{199, 298, 1, 1}));
}

TEST_F(PlayStep, PlayerStepsBeforeTheSecondBallStep) {
    AllSpeeds(1);
    // The square is one step from closing a trail on the top wall; a ball two columns left of
    // the trail reaches it in its second step. The square's first step has made the trail
    // wall by then, so the ball bounces off wall, not trail.
    FillCellRect(200, 51, 203, 295, CellTrail);
    Game.TrailStartX = 200;
    Game.TrailStartY = 295;
    Game.TrailBackDir = DirDown;
    Game.TrailStartSet = 1;
    Game.TrailActive = 1;
    Game.PlayerX = 200;
    Game.PlayerY = 47;
    Game.PlayerDir = DirUp;
    FinishPlayerStep();
    Game.BallCount = 1;
    StampBallAt(0, 197, 150, 1, 1);
    ParkSpareBalls(1);

    PlayFrameStep();

    EXPECT_EQ(Game.PlayerHit, 0);
    EXPECT_EQ(Game.PlayerY, 46);
    EXPECT_EQ(Game.TrailActive, 0);
    EXPECT_EQ(GetCell(200, 151), CellWall);
    EXPECT_EQ(BallAt(0), (Mover{198, 152, -1, 1}));
}

TEST_F(PlayStep, EachFastSettingGivesItsMoverOneMoreStep) {
    for (int32_t speeds = 0; speeds < 8; ++speeds) {
        SCOPED_TRACE(speeds);
        SetUp();
        Game.BallSpeed = speeds & 1;
        Game.EnemySpeed = (speeds >> 1) & 1;
        Game.PlayerSpeed = (speeds >> 2) & 1;
        Game.BallCount = 1;
        StampBallAt(0, 100, 150, 1, 1);
        ParkSpareBalls(1);
        Game.EnemyCount = 1;
        StampEnemyAt(0, 1, 171, 1, 1); // runs down the left strip, a row a step
        PlacePlayer(198, 296, DirLeft);

        PlayFrameStep();

        int32_t steps = 1 + (speeds & 1);
        EXPECT_EQ(BallAt(0), (Mover{100 + steps, 150 + steps, 1, 1}));
        EXPECT_EQ(Game.Enemies[0].Y, 171 + 1 + ((speeds >> 1) & 1));
        EXPECT_EQ(Game.PlayerX, 198 - 1 - ((speeds >> 2) & 1));
        EXPECT_EQ(Game.PlayerHit, 0);
    }
}

// --- Hits during the frame --------------------------------------------------------------

TEST_F(PlayStep, HitInTheFirstBallStepStopsOnlyTheSecondSteps) {
    AllSpeeds(1);
    Game.BonusLife = 1;
    Game.Score = 10001;
    Game.RespawnFlag = 1;
    Game.EnemySpawnTimer = 500;
    PlayerGoingUpFromTheBottom();
    Game.BallCount = 1;
    StampBallAt(0, 196, 270, 1, 1); // next to the trail, going into it
    ParkSpareBalls(1);
    Game.EnemyCount = 1;
    StampEnemyAt(0, 1, 171, 1, 1);

    PlayFrameStep();

    EXPECT_EQ(Game.PlayerHit, 1);
    EXPECT_EQ(BallAt(0), (Mover{196, 271, -1, 1}));
    EXPECT_EQ(EnemyAt(0), (Mover{2, 172, 1, 1}));
    EXPECT_EQ(Game.PlayerY, 249);
    // The bonus life and the countdown belong to every frame of play, hit or not.
    EXPECT_EQ(Game.Lives, 4);
    EXPECT_EQ(Game.EnemySpawnTimer, 499);
}

TEST_F(PlayStep, HitInASecondStepDoesNotStopTheStepsAfterIt) {
    AllSpeeds(1);
    PlayerGoingUpFromTheBottom();
    Game.BallCount = 1;
    StampBallAt(0, 195, 270, 1, 1); // reaches the trail in its second step
    ParkSpareBalls(1);
    Game.EnemyCount = 1;
    StampEnemyAt(0, 1, 171, 1, 1);

    PlayFrameStep();

    EXPECT_EQ(Game.PlayerHit, 1);
    EXPECT_EQ(BallAt(0), (Mover{196, 272, -1, 1}));
    EXPECT_EQ(EnemyAt(0), (Mover{2, 173, -1, 1}));
    EXPECT_EQ(Game.PlayerY, 248);
}

// --- Bonus life -------------------------------------------------------------------------

TEST_F(PlayStep, EveryTenThousandGivesOneLifeAFrame) {
    Game.BonusLife = 1;
    Game.Lives = 3;
    Game.NextBonusScore = 10000;
    ParkSpareBalls(0);
    PlacePlayer(198, 296, 0);
    ShowLives();
    ASSERT_GT(CountLitStatusPixels(), 20); // the text is drawn, so a stale value would show

    Game.Score = 9990;
    PlayFrameStep();
    EXPECT_EQ(Game.Lives, 3);
    Game.Score = 10000; // the threshold must be passed, not reached
    PlayFrameStep();
    EXPECT_EQ(Game.Lives, 3);
    EXPECT_EQ(Game.NextBonusScore, 10000);

    Game.Score = 25000;
    PlayFrameStep();
    EXPECT_EQ(Game.Lives, 4);
    EXPECT_EQ(Game.NextBonusScore, 20000);
    EXPECT_TRUE(ShowsCurrentValue(ShowLives));
    PlayFrameStep();
    EXPECT_EQ(Game.Lives, 5);
    EXPECT_EQ(Game.NextBonusScore, 30000);
    EXPECT_TRUE(ShowsCurrentValue(ShowLives));
    PlayFrameStep();
    EXPECT_EQ(Game.Lives, 5);
    EXPECT_EQ(Game.NextBonusScore, 30000);
}

TEST_F(PlayStep, OtherBonusRulesNeverChangeLivesHere) {
    ParkSpareBalls(0);
    PlacePlayer(198, 296, 0);
    for (int32_t rule : {0, 2}) {
        SCOPED_TRACE(rule);
        Game.BonusLife = rule;
        Game.Lives = 3;
        Game.Score = 25000;
        Game.NextBonusScore = 10000;
        for (int32_t frame = 0; frame < 3; ++frame) PlayFrameStep();
        EXPECT_EQ(Game.Lives, 3);
        EXPECT_EQ(Game.NextBonusScore, 10000);
    }
}

// --- Enemy re-spawn ---------------------------------------------------------------------

TEST_F(PlayStep, SpawnCountdownShowsSecondsAndAddsAnEnemyAtZero) {
    Game.RespawnFlag = 1;
    Game.RespawnTime = 15;
    // The level start, as the game does it: timer, placements, status line.
    StartLevel();
    ASSERT_EQ(Game.EnemySpawnTimer, 870);
    ASSERT_EQ(Game.EnemyCount, 2);
    ASSERT_EQ(Game.EnemySpawnSeconds, 15);

    PlayFrameStep();
    EXPECT_EQ(Game.EnemySpawnTimer, 869);
    EXPECT_EQ(Game.EnemySpawnSeconds, 14);
    EXPECT_TRUE(ShowsCurrentValue(ShowEnemies));

    int32_t framesShowingZero = 0;
    for (int32_t frame = 2; frame <= 869; ++frame) {
        PlayFrameStep();
        ASSERT_EQ(Game.EnemySpawnSeconds, (870 - frame) / 58) << frame;
        ASSERT_EQ(Game.EnemyCount, 2) << frame;
        framesShowingZero += Game.EnemySpawnSeconds == 0;
    }
    EXPECT_TRUE(ShowsCurrentValue(ShowEnemies));
    PlayFrameStep(); // the timer reaches 0
    framesShowingZero += Game.EnemySpawnSeconds == 0;
    EXPECT_EQ(framesShowingZero, 58);
    EXPECT_EQ(Game.EnemyCount, 3);
    EXPECT_EQ(Game.EnemySpawnTimer, 870);
    // On the top strip at the spawn point, or slid right past an enemy standing there.
    EXPECT_EQ(Game.Enemies[2].Y, 47);
    EXPECT_GE(Game.Enemies[2].X, 199);
    PlayFrameStep();
    EXPECT_EQ(Game.EnemySpawnSeconds, 14);
    EXPECT_TRUE(ShowsCurrentValue(ShowEnemies));
}

TEST_F(PlayStep, SpawnSwitchedOffNeitherCountsNorShows) {
    Game.RespawnFlag = 0;
    StartLevel();
    ASSERT_EQ(Game.EnemySpawnTimer, 0);
    Game.EnemySpawnTimer = 500; // would show 8 and spawn in 500 frames if it counted
    std::vector<uint8_t> status(BackBuffer->Pixels.begin(),
                                BackBuffer->Pixels.begin() + 46 * BackBuffer->Pitch);
    for (int32_t frame = 0; frame < 600; ++frame) PlayFrameStep();
    EXPECT_EQ(Game.EnemySpawnTimer, 500);
    EXPECT_EQ(Game.EnemySpawnSeconds, 15);
    EXPECT_EQ(Game.EnemyCount, 2);
    Game.EnemySpawnTimer = 0;
    PlayFrameStep();
    EXPECT_EQ(Game.EnemyCount, 2);
    EXPECT_EQ(Game.EnemySpawnTimer, 0);
    // Nothing was redrawn in the status line (the spare balls' box aside).
    std::vector<uint8_t> now(BackBuffer->Pixels.begin(),
                             BackBuffer->Pixels.begin() + 46 * BackBuffer->Pitch);
    int32_t changedOutsideTheBox = 0;
    for (int32_t y = 0; y < 46; ++y)
        for (int32_t x = 0; x < 400; ++x) {
            if (x >= 115 && x <= 285 && y <= 22) continue;
            size_t at = static_cast<size_t>(y) * BackBuffer->Pitch + 4 * x;
            changedOutsideTheBox += now[at] != status[at];
        }
    EXPECT_EQ(changedOutsideTheBox, 0);
}

TEST_F(PlayStep, TwentyEnemiesOnlyRestartTheTimer) {
    Game.RespawnFlag = 1;
    Game.RespawnTime = 30;
    ParkSpareBalls(0);
    Game.EnemyCount = 19;
    PlaceEnemies();
    SpawnEnemy();
    ASSERT_EQ(Game.EnemyCount, 20);
    PlacePlayer(198, 296, 0);
    Game.EnemySpawnTimer = 1;
    PlayFrameStep();
    EXPECT_EQ(Game.EnemyCount, 20);
    EXPECT_EQ(Game.EnemySpawnTimer, 30 * 58);
    EXPECT_EQ(CountCellCodes(CellEnemy), 20 * 4);
}

} // namespace
