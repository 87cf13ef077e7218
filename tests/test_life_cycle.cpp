// The new game, the level start, the sounds and the level tally; the flow of lives, game over
// and the way back to the title runs whole in test_scenarios.
#include <gtest/gtest.h>

#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "game/level_tally.h"
#include "game/life_cycle.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

class LifeCycle : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld();
        DrawReferenceColours();
    }
};

TEST_F(LifeCycle, NewGameStartsLevelOneWithTwoReversalsAndTwoBalls) {
    Game.Lives = 0;
    Game.Level = 9;
    Game.Score = 4321;
    Game.NextBonusScore = 70000;
    Game.PercentComplete = 80;
    Game.EnemyCount = 7;
    Game.RespawnTime = 30;
    Game.GameState = StateNewGame;
    StartNewGame();
    EXPECT_EQ(Game.Lives, 3);
    EXPECT_EQ(Game.Level, 1);
    EXPECT_EQ(Game.Score, 0);
    EXPECT_EQ(Game.NextBonusScore, 10000);
    EXPECT_EQ(Game.Reversals, 2);
    EXPECT_EQ(Game.BallCount, 2);
    EXPECT_EQ(Game.PercentComplete, 0);
    EXPECT_EQ(Game.EnemyCount, 2);
    EXPECT_EQ(Game.EnemySpawnTimer, 30 * 58);
    // The level start's pause is pending, so the game's own request keeps its 116 frames.
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StatePlay);
    EXPECT_EQ(Game.PauseFrames, 116);
}

TEST_F(LifeCycle, BallCountIsLevelPlusOneUpToThirtyNine) {
    const int32_t cases[][2] = {{2, 3}, {37, 38}, {38, 39}, {39, 39}, {40, 39}, {500, 39}};
    for (const auto& [level, balls] : cases) {
        Game.Level = level;
        SetBallCount();
        EXPECT_EQ(Game.BallCount, balls) << level;
    }
}

TEST_F(LifeCycle, EachEventPlaysItsSoundOnlyWhenSoundsAreOn) {
    for (int32_t sounds : {0, 2, 1}) {
        ResetHeadless();
        Game.Sounds = sounds;
        Game.Lives = 2;
        StartLevel();
        LoseLife();
        ReenterAfterLifeLost();
        GameOver();
        // Level start, life lost, play resumed, game over; each stops what still plays.
        std::vector<int32_t> expected = {122, 121, 122, 123};
        if (sounds != 1) expected.clear();
        EXPECT_EQ(Headless.SoundsPlayed, expected) << sounds;
        EXPECT_EQ(Headless.SoundStops, static_cast<int32_t>(expected.size())) << sounds;
    }
}

// Whether the band of the panel below y shows exactly the text, drawn the way the panel
// draws its lines; a band with nothing lit never matches.
bool PanelLineShows(const char* text, int32_t y) {
    Surface* expected = CreateSurface(ScreenWidth, ScreenHeight, BackBuffer->BitsPerPixel);
    DDClearSurface(expected, 0);
    DrawTextCentred(expected, text, 0, Rgb(255, 128, 15), 200, y);
    bool same = true, lit = false;
    for (int32_t row = y; row < y + 20; ++row)
        for (int32_t x = 60; x < 340; ++x) {
            same &= ReadPixel(expected, x, row) == ReadPixel(BackBuffer, x, row);
            lit |= ReadPixel(expected, x, row) != 0;
        }
    DestroySurface(expected);
    return same && lit;
}

TEST_F(LifeCycle, TallyAddsFourHundredForEachPercentAboveSeventyFive) {
    const struct {
        int32_t Percent, Score;
        const char *Complete, *Bonus, *Total;
    } cases[] = {{75, 1000, "75%Complete.", "Completion Bonus = 0 x 400", "Total : 0000"},
                 {92, 7800, "92%Complete.", "Completion Bonus = 17 x 400", "Total : 6800"}};
    for (const auto& c : cases) {
        Game.Score = 1000;
        Game.Level = 3;
        Game.PercentComplete = c.Percent;
        Game.GameState = StateLevelComplete;
        GameTick();
        EXPECT_EQ(Game.Score, c.Score);
        EXPECT_TRUE(PanelLineShows("Congratulations!", 100));
        EXPECT_TRUE(PanelLineShows("Level : 3", 130)) << "the level just completed";
        EXPECT_TRUE(PanelLineShows(c.Complete, 160));
        EXPECT_TRUE(PanelLineShows(c.Bonus, 190));
        EXPECT_TRUE(PanelLineShows(c.Total, 220));
        EXPECT_TRUE(PanelLineShows("Hit Space To Continue", 250));
        EXPECT_EQ(Game.Level, 4);
        GameTick();
        EXPECT_EQ(Game.GameState, StateTallyShown) << "waits for Space";
    }
}

TEST_F(LifeCycle, OnlyTheEveryLevelRuleGivesALifeAtTheTally) {
    for (int32_t rule : {0, 1, 2}) {
        Game.Lives = 2;
        Game.BonusLife = rule;
        Game.PercentComplete = 75;
        LevelTally();
        EXPECT_EQ(Game.Lives, rule == 0 ? 3 : 2) << rule;
    }
}

TEST_F(LifeCycle, SpaceStillDownStartsTheNextLevelInTheFrameAfterTheTally) {
    Game.Level = 3;
    Game.PercentComplete = 80;
    Game.GameState = StateLevelComplete;
    Game.LastKey = KeySpace; // held since a reversal
    GameTick();
    EXPECT_EQ(Game.GameState, StateTallyShown);
    GameTick();
    EXPECT_EQ(Game.Level, 4);
    EXPECT_EQ(Game.Reversals, 5);
    EXPECT_EQ(Game.BallCount, 5);
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StatePlay);
    EXPECT_EQ(Game.PauseFrames, 116);
}

} // namespace
