#include <gtest/gtest.h>

#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tests/support/world.h"

namespace {

class Keys : public ::testing::Test {
  protected:
    void SetUp() override { ResetWorld(); }
};

TEST_F(Keys, CursorKeysSetTheirBitAndLastKeyAndReleaseOnlyTheBit) {
    HandleKeyDown(VkUp);
    EXPECT_EQ(Game.LastKey, KeyUp);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp));
    HandleKeyDown(VkLeft);
    HandleKeyDown(VkLeft); // auto-repeat
    EXPECT_EQ(Game.LastKey, KeyLeft);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp | DirLeft));
    HandleKeyDown(VkRight);
    HandleKeyDown(VkDown);
    EXPECT_EQ(Game.LastKey, KeyDown);
    EXPECT_EQ(Game.HeldKeys, 15u);
    HandleKeyUp(VkLeft);
    HandleKeyUp(VkDown);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp | DirRight));
    EXPECT_EQ(Game.LastKey, KeyDown); // still names the last direction
}

TEST_F(Keys, ReleasingSpaceClearsTheKeyAndTheReversalTimerOnly) {
    HandleKeyDown(VkUp);
    HandleKeyDown(VkSpace);
    EXPECT_EQ(Game.LastKey, KeySpace);
    Game.ReversalTimer = 80;
    HandleKeyUp(VkSpace);
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.ReversalTimer, 0);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp));
}

TEST_F(Keys, OtherKeysSetTheirCodeAndTheirReleaseClearsLastKey) {
    HandleKeyDown(VkRight);
    HandleKeyDown(65); // a letter
    EXPECT_EQ(Game.LastKey, 65);
    HandleKeyUp(16); // Shift released
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirRight));
}

TEST_F(Keys, EscapeAndF1ReturnToTheTitleWithoutSaving) {
    Game.GameState = StatePlay;
    Game.Score = 5000;
    HandleKeyDown(VkEscape);
    EXPECT_EQ(Game.GameState, StateTitle);
    Game.GameState = StateTallyShown;
    HandleKeyDown(VkF1);
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_EQ(SettingsMemory.OpenCount, 0);
}

TEST_F(Keys, F5FlipsEveryBitOfTheRateDisplay) {
    HandleKeyDown(VkF5);
    EXPECT_EQ(Game.ShowFps, 0xFFFFFFFFu);
    HandleKeyDown(VkF5);
    EXPECT_EQ(Game.ShowFps, 0u);
}

TEST_F(Keys, F12FreesTheGridAndQuits) {
    ASSERT_NE(Playfield, nullptr);
    HandleKeyDown(VkF12);
    EXPECT_EQ(Playfield, nullptr);
    EXPECT_EQ(Headless.QuitRequested, 1);
}

TEST_F(Keys, DialogKeysAndMenuCommands) {
    HandleKeyDown(VkF9);
    HandleKeyDown(VkF11);
    EXPECT_EQ(Headless.AboutDialogs, 1);
    EXPECT_EQ(Headless.OptionsDialogs, 1);
    EXPECT_EQ(SettingsMemory.OpenCount, 0); // F11 saves nothing by itself

    HandleMenuCommand(MenuOptions);
    EXPECT_EQ(Headless.OptionsDialogs, 2);
    EXPECT_EQ(SettingsMemory.OpenCount, 1); // the menu path saves at once
    HandleMenuCommand(MenuAbout);
    EXPECT_EQ(Headless.AboutDialogs, 2);

    HandleMenuCommand(MenuEmail);
    HandleMenuCommand(MenuWebPage);
    HandleMenuCommand(99);
    ASSERT_EQ(Headless.UrlsOpened.size(), 2u);
    EXPECT_EQ(Headless.UrlsOpened[0].rfind("mailto:", 0), 0u);
    EXPECT_NE(Headless.UrlsOpened[0].find("Quorvanel%20V1.05"), std::string::npos);
    EXPECT_EQ(Headless.UrlsOpened[1], WebPageUrl);
}

} // namespace
