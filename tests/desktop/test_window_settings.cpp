// The window's remembered values: saved after the game's 29 in the same save, read back,
// and refused with one diagnostic line when missing or damaged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_record.h"
#include "shell/headless/headless.h"
#include "shell/sdl/sdl_desktop.h"
#include "shell/settings.h"

static std::pair<int32_t, int32_t> Remembered() {
    return {RememberedWindow.Scale, RememberedWindow.FullScreen};
}

TEST(WindowSettings, SavedAfterTheGameValuesInTheSameOpenAndReadBack) {
    ResetGameRecord();
    ResetHeadless();
    RememberedWindow = {3, 1};
    LoadSettings(); // first run: everything is written, in one open of the store
    ASSERT_EQ(SettingsMemory.WriteOrder.size(), 31u);
    EXPECT_EQ(SettingsMemory.WriteOrder[0], "PlayerSpeed");
    EXPECT_EQ(SettingsMemory.WriteOrder[28], "PlayerScore10");
    EXPECT_EQ(SettingsMemory.WriteOrder[29], "WindowScale");
    EXPECT_EQ(SettingsMemory.WriteOrder[30], "FullScreen");
    EXPECT_EQ(SettingsMemory.OpenCount, 1);

    RememberedWindow = {2, 0};
    SaveSettings();
    EXPECT_EQ(SettingsMemory.OpenCount, 2);
    EXPECT_EQ(SettingsMemory.Values["WindowScale"].Data, (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(SettingsMemory.Values["FullScreen"].Data, (std::vector<uint8_t>{0, 0, 0, 0}));

    SettingsMemory.Values["WindowScale"].Data = {MaxWindowScale, 0, 0, 0};
    SettingsMemory.Values["FullScreen"].Data = {1, 0, 0, 0};
    RememberedWindow = {};
    LoadSettings();
    EXPECT_EQ(Remembered(), std::pair(MaxWindowScale, 1));
    EXPECT_TRUE(Headless.DebugLines.empty());
}

TEST(WindowSettings, OlderOrDamagedValuesGiveTheDefaultsWithOneLine) {
    struct Case {
        std::vector<uint8_t> Scale, Full; // empty: not stored
        std::pair<int32_t, int32_t> Expected;
        std::vector<std::string> Named;
    };
    const Case cases[] = {
        {{}, {}, {0, 0}, {"WindowScale missing", "FullScreen missing"}}, // before they were kept
        {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1}, {"WindowScale out of range"}},
        {{17, 0, 0, 0}, {2, 0, 0, 0}, {0, 0}, {"WindowScale out of range", "FullScreen out"}},
        {{4, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0xFF}, {4, 0}, {"FullScreen out of range"}},
        {{2, 0}, {1, 0, 0, 0, 0}, {0, 0}, {"WindowScale not a 4-byte", "FullScreen not a 4"}},
    };
    for (const Case& c : cases) {
        ResetGameRecord();
        ResetHeadless();
        LoadSettings();
        SettingsMemory.Values.erase("WindowScale");
        SettingsMemory.Values.erase("FullScreen");
        if (!c.Scale.empty()) SettingsMemory.Values["WindowScale"].Data = c.Scale;
        if (!c.Full.empty()) SettingsMemory.Values["FullScreen"].Data = c.Full;
        RememberedWindow = {5, 1};
        Headless.DebugLines.clear();
        LoadSettings();
        EXPECT_EQ(Remembered(), c.Expected) << c.Named[0];
        ASSERT_EQ(Headless.DebugLines.size(), 1u) << c.Named[0];
        const std::string& line = Headless.DebugLines[0];
        for (const std::string& name : c.Named)
            EXPECT_NE(line.find(name), std::string::npos) << line;
        // The game's own values are read as ever: nothing is said about them.
        EXPECT_EQ(line.rfind("ReadPlatformSettings: ", 0), 0u) << line;
        EXPECT_EQ(Game.RespawnTime, 15);
    }
}
