// One frame of play: the order of the movers' steps, the bonus life and the enemy re-spawn.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/status.h"
#include "game/game_record.h"
#include "game/life_cycle.h"
#include "movers/play_step.h"
#include "movers/player.h"
#include "playfield/playfield.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

struct PlayStep : ::testing::Test {
    void SetUp() override {
        ResetWorld();
        SetTextFont(BackBuffer, "Arial", 80);
        MakeLevelGrid(1);
        Game.BallCount = Game.EnemyCount = Game.RespawnFlag = 0;
        Game.BallSpeed = Game.EnemySpeed = Game.PlayerSpeed = 1;
    }
    // The square where a level starts it, going `dir`. It places the enemies anew: call first.
    void PlaceSquare(int32_t dir) {
        ResetPlayer();
        FinishPlayerStep();
        Game.PlayerDir = dir;
    }
};

template <typename Mover> std::tuple<int32_t, int32_t, int32_t, int32_t> PoseOf(const Mover& m) {
    return {m.X, m.Y, m.Dx, m.Dy};
}

static bool ShowsCurrentValue(int32_t (*show)()) {
    const std::vector<uint8_t> shown = BackBuffer->Pixels;
    show();
    return BackBuffer->Pixels == shown;
}

TEST_F(PlayStep, WithAllFastBallsEnemiesAndPlayerStepInTurnTwice) {
    // In another order each pair ends elsewhere or in a hit: balls 0 and 1 probe a trail strip
    // as its enemy leaves, in each round; ball 2 a cell the square leaves in its first step.
    FillCellRect(300, 100, 303, 250, CellTrail);
    StampBallAt(0, 298, 120, 1, 1);
    StampBallAt(1, 297, 200, 1, 1);
    StampBallAt(2, 199, 293, -1, 1);
    PlaceSquare(DirRight);
    Game.EnemyCount = 4; // enemies 2 and 3 right in front of the square and a cell behind it
    StampEnemyAt(0, 300, 120, -1, 1);
    StampEnemyAt(1, 300, 200, -1, 1);
    StampEnemyAt(2, 202, 296, 1, 1);
    StampEnemyAt(3, 195, 296, 1, 1);
    PlayFrameStep();
    EXPECT_EQ(Game.PlayerHit, 0);
    EXPECT_EQ(PoseOf(Game.Balls[0]), std::tuple(297, 122, -1, 1));
    EXPECT_EQ(PoseOf(Game.Balls[1]), std::tuple(298, 202, -1, 1));
    EXPECT_EQ(PoseOf(Game.Balls[2]), std::tuple(197, 294, -1, -1));
    EXPECT_EQ(PoseOf(Game.Enemies[0]), std::tuple(301, 122, 1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[1]), std::tuple(301, 202, 1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[2]), std::tuple(204, 298, 1, 1));
    EXPECT_EQ(PoseOf(Game.Enemies[3]), std::tuple(197, 298, 1, 1));
    EXPECT_EQ(Game.PlayerX, 200);
}

TEST_F(PlayStep, OnlyAHitInTheFirstStepsStopsTheSecondSteps) {
    for (int32_t steps : {1, 2}) { // the ball reaches the square in its first or second step
        SetUp();
        PlaceSquare(DirRight);
        Game.BonusLife = Game.RespawnFlag = 1;
        Game.Score = 10001;
        Game.BallCount = Game.EnemyCount = 1;
        StampBallAt(0, 201 - steps, 295 - steps, 1, 1);
        StampEnemyAt(0, 1, 171, 1, 1);
        PlayFrameStep(); // the bonus life and the countdown belong to every frame, hit or not
        EXPECT_EQ(PoseOf(Game.Balls[0]), std::tuple(201, 294, 1, -1));
        EXPECT_EQ(PoseOf(Game.Enemies[0]), std::tuple(2, 171 + steps, steps == 1 ? 1 : -1, 1));
        EXPECT_EQ(Game.PlayerX, 198 + steps);
        EXPECT_EQ(std::pair(Game.Lives, Game.EnemySpawnTimer), std::pair(4, 869));
    }
}

TEST_F(PlayStep, BonusLivesComeOneAFrameAndEachSpeedSettingMovesItsOwnMover) {
    Game.EnemySpeed = Game.PlayerSpeed = 0;
    PlaceSquare(DirLeft);
    StampBallAt(0, 100, 150, 1, 1); // every ball steps in play; the others are parked

    ParkSpareBalls(1);
    ShowLives(); // drawn now, so that a stale value would show
    for (auto [score, rule, lives, next] : {std::tuple{9990, 1, 3, 10000},
                                            {10000, 1, 3, 10000},
                                            {25000, 1, 4, 20000},
                                            {25000, 1, 5, 30000},
                                            {25000, 1, 5, 30000},
                                            {99999, 0, 5, 30000},
                                            {99999, 2, 5, 30000}}) {
        Game.Score = score;
        Game.BonusLife = rule;
        PlayFrameStep();
        EXPECT_EQ(std::pair(Game.Lives, Game.NextBonusScore), std::pair(lives, next)) << score;
        EXPECT_TRUE(ShowsCurrentValue(ShowLives));
    }
    EXPECT_EQ(std::pair(Game.Balls[0].X, Game.PlayerX), std::pair(114, 191)); // 7 frames
    // Re-spawn off: the countdown neither counts nor shows.
    EXPECT_EQ(std::pair(Game.EnemySpawnTimer, Game.EnemySpawnSeconds), std::pair(870, 15));
}

TEST_F(PlayStep, SpawnCountdownShowsSecondsAndAddsAnEnemyAtZero) {
    Game.RespawnFlag = 1;
    StartLevel(); // the timer (870), placements and status line of a level start
    for (int32_t frame = 1; frame <= 870; ++frame) {
        PlayFrameStep();
        ASSERT_EQ(Game.EnemySpawnSeconds, (870 - frame) / 58) << frame; // 14 from the first
        ASSERT_TRUE(ShowsCurrentValue(ShowEnemies)) << frame;
        ASSERT_EQ(Game.EnemyCount, frame < 870 ? 2 : 3) << frame;
    }
}
