#include <gtest/gtest.h>

#include "game/frame_tick.h"
#include "game/game_record.h"
#include "movers/player.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

// A state code with no handler: GameTick then only applies its own rules.
constexpr int32_t IdleState = 42;

class FrameTick : public ::testing::Test {
  protected:
    void SetUp() override { ResetWorld(); }
};

TEST_F(FrameTick, GateNeedsSeventeenMillisecondsAcrossTheClockWrap) {
    Game.GameState = IdleState;
    Game.LastFrameTime = 0xFFFFFFF8u;
    Headless.ClockMs = 0x00000008u; // 16 ms later, across the wrap
    EXPECT_EQ(UpdateFrame(1), 1);
    EXPECT_EQ(Game.FrameCount, 0u);
    EXPECT_EQ(Game.LastFrameTime, 0xFFFFFFF8u);
    Headless.ClockMs = 0x00000009u; // 17 ms later
    EXPECT_EQ(UpdateFrame(1), 1);
    EXPECT_EQ(Game.FrameCount, 1u);
    EXPECT_EQ(Game.LastFrameTime, 9u);
}

TEST_F(FrameTick, NoFrameRunsWhileTheWindowIsInactive) {
    Game.GameState = IdleState;
    Game.PlayerHit = 1;
    Headless.ClockMs = 1000;
    EXPECT_EQ(UpdateFrame(0), 1);
    EXPECT_EQ(Game.FrameCount, 0u);
    EXPECT_EQ(Game.PlayerHit, 1); // the tick did not run
}

TEST_F(FrameTick, RateFigureComesOnlyAfterMoreThanASecond) {
    Game.GameState = IdleState;
    int32_t frame = 0;
    while (Game.FramesPerSecond == 0 && frame < 200) {
        Headless.ClockMs += 17;
        UpdateFrame(1);
        ++frame;
    }
    // 17 x 59 = 1003 ms is the first elapsed time above 1000: 59 frames in 1003 ms.
    EXPECT_EQ(frame, 59);
    EXPECT_EQ(Game.FramesPerSecond, 59u * 1000u / 1003u);
    EXPECT_EQ(Game.FrameCount, 0u);
    EXPECT_EQ(Game.FpsStartTime, 1003u);
}

TEST_F(FrameTick, HitTurnsAnyStateIntoLifeLost) {
    Game.GameState = IdleState;
    Game.PlayerHit = 1;
    Game.PercentComplete = 90;
    GameTick();
    EXPECT_EQ(Game.GameState, StateLifeLost);
    EXPECT_EQ(Game.PlayerHit, 0);
}

TEST_F(FrameTick, LevelEndsWhenPlayResumesAtSeventyFivePercent) {
    Game.GameState = StateResume;
    Game.PercentComplete = 75;
    GameTick();
    EXPECT_EQ(Game.GameState, StateLevelComplete);

    Game.GameState = StateResume;
    Game.PercentComplete = 74;
    GameTick();
    EXPECT_EQ(Game.GameState, StatePlay);
}

TEST_F(FrameTick, ReversalTimerFallsInEveryState) {
    Game.GameState = IdleState;
    Game.ReversalTimer = 3;
    GameTick();
    GameTick();
    EXPECT_EQ(Game.ReversalTimer, 1);
    GameTick();
    GameTick();
    EXPECT_EQ(Game.ReversalTimer, 0);
}

TEST_F(FrameTick, ResetToTitleAbandonsEverythingButKeepsTheColours) {
    Game.GameState = StatePause;
    Game.ResumeState = StatePlay;
    Game.PauseFrames = 50;
    Game.LastKey = 4;
    Game.ReversalTimer = 60;
    Game.TitleDrawn = 1;
    Game.ColoursSampled = 1;
    Game.Score = 1234;
    EXPECT_EQ(ResetToTitle(), 1);
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_EQ(Game.ResumeState, 0);
    EXPECT_EQ(Game.PauseFrames, 0);
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.ReversalTimer, 0);
    EXPECT_EQ(Game.TitleDrawn, 0);
    EXPECT_EQ(Game.TitleScrollY, 200);
    EXPECT_EQ(Game.ColoursSampled, 1);
    EXPECT_EQ(Game.Score, 1234);
}

TEST_F(FrameTick, PauseRunsItsFramesThenResumes) {
    Game.GameState = StateReentry;
    Game.LastKey = 4;
    StartPause(1);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StateReentry);
    EXPECT_EQ(Game.PauseFrames, 58);
    EXPECT_EQ(Game.LastKey, 0);
    for (int32_t i = 0; i < 57; ++i) PauseTick();
    EXPECT_EQ(Game.GameState, StatePause);
    PauseTick();
    EXPECT_EQ(Game.GameState, StateReentry);
    EXPECT_EQ(Game.ResumeState, 0);
}

TEST_F(FrameTick, SpaceEndsAPauseEarlyAndIsConsumed) {
    Game.GameState = StatePlay;
    StartPause(2);
    PauseTick();
    Game.LastKey = KeySpace;
    PauseTick();
    EXPECT_EQ(Game.GameState, StatePlay);
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.ResumeState, 0);
}

TEST_F(FrameTick, SecondPauseRequestOnlyClearsTheKey) {
    Game.GameState = StatePlay;
    StartPause(2);
    Game.LastKey = 9;
    StartPause(5);
    EXPECT_EQ(Game.PauseFrames, 116);
    EXPECT_EQ(Game.ResumeState, StatePlay);
    EXPECT_EQ(Game.LastKey, 0);
}

// A small level with no balls or enemies, so that play frames only move the player.
void StandStillInPlay() {
    MakeLevelGrid(1);
    Game.BallCount = 0;
    Game.EnemyCount = 0;
    Game.RespawnFlag = 0;
    Game.PlayerX = 198;
    Game.PlayerY = 296;
    FinishPlayerStep();
    Game.GameState = StatePlay;
}

TEST_F(FrameTick, HeldSpaceReversesAtOnceThenEveryHundredFrames) {
    StandStillInPlay();
    Game.Reversals = 3;
    Game.LastKey = KeySpace;
    GameTick();
    EXPECT_EQ(Game.Reversals, 2);
    EXPECT_EQ(Game.ReversalTimer, 99);
    EXPECT_EQ(Game.LastKey, KeySpace); // still held
    for (int32_t i = 0; i < 99; ++i) GameTick();
    EXPECT_EQ(Game.Reversals, 2);
    EXPECT_EQ(Game.ReversalTimer, 0);
    GameTick();
    EXPECT_EQ(Game.Reversals, 1);
    for (int32_t i = 0; i < 100; ++i) GameTick();
    EXPECT_EQ(Game.Reversals, 0);
    for (int32_t i = 0; i < 300; ++i) GameTick();
    EXPECT_EQ(Game.Reversals, 0);
    EXPECT_EQ(Game.GameState, StatePlay);
}

TEST_F(FrameTick, SpaceOnTheAttractScreenStartsTheGameInTheSameFrame) {
    Game.GameState = StateAttract;
    Game.Lives = 0;
    Game.LastKey = KeySpace;
    GameTick();
    EXPECT_EQ(Game.Lives, 3);
    EXPECT_EQ(Game.Level, 1);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StatePlay);
    EXPECT_EQ(Game.PauseFrames, 116);
    EXPECT_EQ(Game.LastKey, 0);
}

} // namespace
