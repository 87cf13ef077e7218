#include <gtest/gtest.h>

#include <utility>

#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tests/support/world.h"

namespace {

TEST(Keys, KeysSetLastKeyAndCursorBitsAndTheirReleasesClearThem) {
    ResetWorld();
    const int32_t cursors[][3] = {{VkLeft, 3, 1}, {VkUp, 1, 4}, {VkRight, 4, 2}, {VkDown, 2, 8}};
    uint32_t held = 0;
    for (const auto& [vk, last, bit] : cursors) {
        HandleKeyDown(vk);
        EXPECT_EQ(Game.LastKey, last);
        EXPECT_EQ(Game.HeldKeys, held |= bit);
    }
    HandleKeyDown(VkSpace);
    EXPECT_EQ(Game.LastKey, 32);
    Game.ReversalTimer = 80;
    HandleKeyUp(VkSpace); // the next press reverses at once
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.ReversalTimer, 0);
    HandleKeyDown(65);
    for (const auto& [vk, last, bit] : cursors) {
        HandleKeyUp(vk);
        EXPECT_EQ(Game.HeldKeys, held &= ~bit);
        EXPECT_EQ(Game.LastKey, 65); // a cursor's release leaves LastKey alone
    }
    HandleKeyUp(16);
    EXPECT_EQ(Game.LastKey, 0);
}

TEST(Keys, FunctionKeysAndMenuCommands) {
    ResetWorld();
    for (int32_t key : {VkEscape, VkF1}) {
        Game.GameState = StatePlay;
        HandleKeyDown(key);
        EXPECT_EQ(Game.GameState, StateTitle) << key;
    }
    Game.ShowFps = 5;
    for (int32_t key : {VkF5, VkF9, VkF11}) HandleKeyDown(key);
    EXPECT_EQ(Game.ShowFps, 0xFFFFFFFAu);
    EXPECT_EQ(SettingsMemory.OpenCount, 0); // neither Escape, F1 nor F11 saves
    for (int32_t command : {MenuOptions, MenuAbout, MenuEmail, MenuWebPage, 99})
        HandleMenuCommand(command);
    EXPECT_EQ(SettingsMemory.OpenCount, 1); // the menu's Options saves at once
    EXPECT_EQ(std::pair(Headless.AboutDialogs, Headless.OptionsDialogs), std::pair(2, 2));
    EXPECT_EQ(Headless.UrlsOpened, (std::vector<std::string>{EmailUrl, WebPageUrl}));
    const std::string mail = EmailUrl;
    EXPECT_TRUE(mail.starts_with("mailto:") && mail.ends_with("subject=Quorvanel%20V1.05"));
    HandleKeyDown(VkF12);
    EXPECT_EQ(Playfield, nullptr);
    EXPECT_EQ(Headless.QuitRequested, 1);
}

} // namespace
