#include <gtest/gtest.h>

#include "game/frame_tick.h"
#include "game/game_record.h"
#include "movers/player.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

// A state code with no handler: GameTick then applies only its own rules.
constexpr int32_t IdleState = 42;

class FrameTick : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld();
        Game.GameState = IdleState;
    }
};

TEST_F(FrameTick, GateNeedsSeventeenMillisecondsAcrossTheClockWrapAndAnActiveWindow) {
    Game.LastFrameTime = 0xFFFFFFF8u;
    Headless.ClockMs = 8; // 16 ms later
    UpdateFrame(1);
    Headless.ClockMs = 9;
    UpdateFrame(0);
    EXPECT_EQ(Game.FrameCount, 0u);
    EXPECT_EQ(UpdateFrame(1), 1);
    EXPECT_EQ(Game.FrameCount, 1u);
    EXPECT_EQ(Game.LastFrameTime, 9u);
}

TEST_F(FrameTick, RateFigureComesOnlyAfterMoreThanASecond) {
    int32_t frame = 0;
    for (; Game.FramesPerSecond == 0 && frame < 100; ++frame) {
        Headless.ClockMs += 20;
        UpdateFrame(1);
    }
    // Frame 50 comes at exactly 1000 ms, which is not yet enough: 51 frames in 1020 ms.
    EXPECT_EQ(frame, 51);
    EXPECT_EQ(Game.FramesPerSecond, 50u);
    EXPECT_EQ(Game.FrameCount, 0u);
    EXPECT_EQ(Game.FpsStartTime, 1020u);
}

TEST_F(FrameTick, HitCostsALifeBeforeSeventyFivePercentEndsTheLevel) {
    auto tick = [](int32_t from, int32_t hit, int32_t percent) {
        Game.GameState = from;
        Game.PlayerHit = hit;
        Game.PercentComplete = percent;
        GameTick();
        EXPECT_EQ(Game.PlayerHit, 0);
        return Game.GameState;
    };
    EXPECT_EQ(tick(IdleState, 1, 0), StateLifeLost);
    // State 7 hands over to play (3), the only state in which 75 percent ends the level.
    EXPECT_EQ(tick(StateResume, 1, 75), StateLifeLost);
    EXPECT_EQ(tick(StateResume, 0, 75), StateLevelComplete);
    EXPECT_EQ(tick(StateResume, 0, 74), StatePlay);
}

TEST_F(FrameTick, PauseEndsByTimeOrBySpaceAndASecondRequestOnlyClearsTheKey) {
    StartPause(1);
    Game.LastKey = KeyUp;
    StartPause(5);
    EXPECT_EQ(Game.LastKey, 0);
    for (int32_t i = 0; i < 57; ++i) GameTick();
    EXPECT_EQ(Game.GameState, StatePause);
    GameTick();
    EXPECT_EQ(Game.GameState, IdleState);
    StartPause(2); // possible again only because the pause ended cleanly
    GameTick();
    Game.LastKey = KeySpace;
    GameTick();
    EXPECT_EQ(Game.GameState, IdleState);
    EXPECT_EQ(Game.LastKey, 0); // consumed, so play does not also reverse at once
    // Escape in a pause abandons it whole: the next pause runs its full length.
    StartPause(1);
    ResetToTitle();
    Game.GameState = IdleState;
    StartPause(1);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.PauseFrames, 58);
}

TEST_F(FrameTick, HeldSpaceInPlayReversesAtOnceThenEveryHundredFrames) {
    // A level without balls or enemies, where play frames move nothing.
    MakeLevelGrid(1);
    Game.BallCount = Game.EnemyCount = Game.RespawnFlag = 0;
    Game.PlayerX = 198;
    Game.PlayerY = 296;
    FinishPlayerStep();
    Game.GameState = StatePlay;
    Game.Reversals = 3;
    Game.LastKey = KeySpace;
    GameTick();
    EXPECT_EQ(Game.Reversals, 2);
    for (int32_t i = 0; i < 99; ++i) GameTick();
    EXPECT_EQ(Game.Reversals, 2);
    GameTick();
    EXPECT_EQ(Game.Reversals, 1);
    for (int32_t i = 0; i < 300; ++i) GameTick();
    EXPECT_EQ(Game.Reversals, 0);
}

} // namespace
