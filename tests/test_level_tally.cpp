#include <gtest/gtest.h>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "game/level_tally.h"
#include "game/life_cycle.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

class LevelTallyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld();
        DrawReferenceColours();
        Game.ColoursSampled = 1;
        Game.Level = 3;
        StartLevel();
        Game.GameState = StatePlay;
        Game.ResumeState = 0;
    }
    void Tally(int32_t percent) {
        Game.PercentComplete = percent;
        Game.GameState = StateLevelComplete;
        LevelTally();
    }
};

// Whether the band of the panel around line y shows exactly the given text, drawn the way
// the panel draws its lines, on a black canvas.
bool PanelLineShows(const char* text, int32_t y) {
    Surface* expected = CreateSurface(ScreenWidth, ScreenHeight, BackBuffer->BitsPerPixel);
    DDClearSurface(expected, 0);
    DrawTextCentred(expected, text, 0, Rgb(255, 128, 15), 200, y);
    bool same = true;
    for (int32_t row = y; row < y + 20 && same; ++row)
        for (int32_t x = 60; x < 340 && same; ++x)
            same = ReadPixel(expected, x, row) == ReadPixel(BackBuffer, x, row);
    DestroySurface(expected);
    return same;
}

TEST_F(LevelTallyTest, ExactlySeventyFivePercentEarnsNoBonus) {
    Game.Score = 1234;
    Tally(75);
    EXPECT_EQ(Game.Score, 1234);
    EXPECT_TRUE(PanelLineShows("Total : 0000", 220));
    EXPECT_FALSE(PanelLineShows("Total : 0", 220));
    EXPECT_TRUE(PanelLineShows("Completion Bonus = 0 x 400", 190));
}

TEST_F(LevelTallyTest, NinetyTwoPercentEarnsSeventeenTimesFourHundred) {
    Game.Score = 5000;
    Tally(92);
    EXPECT_EQ(Game.Score, 5000 + 6800);
    EXPECT_TRUE(PanelLineShows("Total : 6800", 220));
    EXPECT_TRUE(PanelLineShows("Completion Bonus = 17 x 400", 190));
    EXPECT_TRUE(PanelLineShows("92%Complete.", 160));
}

TEST_F(LevelTallyTest, PanelNamesTheLevelJustCompleted) {
    Tally(80);
    EXPECT_TRUE(PanelLineShows("Congratulations!", 100));
    EXPECT_TRUE(PanelLineShows("Level : 3", 130));
    EXPECT_TRUE(PanelLineShows("Hit Space To Continue", 250));
    EXPECT_EQ(Game.Level, 4);
    EXPECT_EQ(Game.GameState, StateTallyShown);
    // The panel's outline in its own pen colour.
    EXPECT_EQ(PixelToRgb(BackBuffer, ReadPixel(BackBuffer, 50, 180)), Rgb(200, 0, 100));
}

TEST_F(LevelTallyTest, EveryLevelRuleGivesALife) {
    Game.Lives = 2;
    Game.BonusLife = 0;
    Tally(75);
    EXPECT_EQ(Game.Lives, 3);
}

TEST_F(LevelTallyTest, OtherBonusRulesGiveNoLife) {
    for (int32_t rule : {1, 2}) {
        Game.Lives = 2;
        Game.BonusLife = rule;
        Tally(75);
        EXPECT_EQ(Game.Lives, 2) << rule;
    }
}

TEST_F(LevelTallyTest, WaitGoesOnUntilSpace) {
    Tally(76);
    int32_t score = Game.Score;
    for (int32_t i = 0; i < 50; ++i) AwaitNextLevel();
    EXPECT_EQ(Game.GameState, StateTallyShown);
    EXPECT_EQ(Game.Score, score);
}

TEST_F(LevelTallyTest, SpaceStartsTheNextLevel) {
    Tally(76);
    Game.LastKey = KeySpace;
    AwaitNextLevel();
    EXPECT_EQ(Game.Level, 4);
    EXPECT_EQ(Game.Reversals, 5);
    EXPECT_EQ(Game.BallCount, 5);
    EXPECT_EQ(Game.PercentComplete, 0);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StatePlay);
    EXPECT_EQ(Game.PauseFrames, 116);
    EXPECT_EQ(Game.LastKey, 0);
}

TEST_F(LevelTallyTest, SpaceStillDownStartsTheLevelInTheNextFrame) {
    Game.PercentComplete = 75;
    Game.LastKey = KeySpace;
    Game.Reversals = 0; // no reversal to spend, so the key stays as it is
    GameTick();         // play ends the level
    EXPECT_EQ(Game.GameState, StateLevelComplete);
    GameTick(); // the tally
    EXPECT_EQ(Game.GameState, StateTallyShown);
    GameTick(); // Space is still there
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.Level, 4);
}

TEST_F(LevelTallyTest, TallyRunsOnlyOnceForALevel) {
    Game.Score = 0;
    Tally(80);
    GameTick();
    GameTick();
    EXPECT_EQ(Game.Score, 2000);
    EXPECT_EQ(Game.Level, 4);
}

} // namespace
