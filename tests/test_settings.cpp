#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "game/game_record.h"
#include "shell/headless/headless.h"
#include "shell/settings.h"

static auto Fields() {
    return std::tie(Game.BallSpeed, Game.EnemySpeed, Game.PlayerSpeed, Game.BonusLife,
                    Game.RespawnFlag, Game.RespawnTime, Game.Sounds, Game.RandomGame);
}

static std::vector<std::pair<std::string, int32_t>> Table() {
    std::vector<std::pair<std::string, int32_t>> rows;
    for (const HighScoreEntry& e : Game.HighScoreTable) rows.push_back({e.Name, e.Score});
    return rows;
}

TEST(Settings, FirstRunWritesTheBuiltInsThenSavedValuesComeBackAndDamagedOnesAreRefused) {
    ResetGameRecord();
    ResetHeadless();
    SettingsMemory.Unavailable = 1; // nothing is then read or written
    LoadSettings();
    SaveSettings();
    SettingsMemory.Unavailable = 0;
    LoadSettings();
    std::vector<std::string> order = {"PlayerSpeed", "Sounds",      "RandomGame",
                                      "BallSpeed",   "EnemySpeed",  "BonusLife",
                                      "RespawnFlag", "RespawnTime", "PlayerName"};
    for (int n = 101; n <= 110; ++n)
        for (std::string kind : {"PlayerName", "PlayerScore"})
            order.push_back(kind + std::to_string(n).substr(1));
    EXPECT_EQ(SettingsMemory.WriteOrder, order);
    EXPECT_EQ(SettingsMemory.Values["RespawnTime"].Data, (std::vector<uint8_t>{15, 0, 0, 0}));

    Fields() = std::tuple(1, 2, 3, 4, 0, 3600, 5, 6); // distinct: each lands in its own field
    const std::string name(47, 'q');
    std::strcpy(Game.PlayerName, name.c_str());
    std::reverse(std::begin(Game.HighScoreTable), std::end(Game.HighScoreTable));
    auto table = Table();
    SaveSettings();
    ResetGameRecord();
    LoadSettings();
    EXPECT_EQ(Fields(), std::tuple(1, 2, 3, 4, 0, 3600, 5, 6));
    EXPECT_EQ(std::pair(std::string(Game.PlayerName), Table()), std::pair(name, table));
    std::rotate(order.begin() + 1, order.begin() + 3, order.end()); // Sounds, RandomGame last
    EXPECT_EQ(SettingsMemory.ReadOrder, order);

    SettingsMemory.Values["BallSpeed"].Data = {9, 0};
    SettingsMemory.Values["PlayerName"].Data.assign(49, 'x');       // a byte more than its slot
    SettingsMemory.Values["PlayerName02"].Data = {'a', 'b'};        // no terminating zero
    SettingsMemory.Values["RespawnTime"].Data = {0x11, 0x0E, 0, 0}; // 3601: frames overflow
    SettingsMemory.Values.erase("PlayerSpeed");
    SettingsMemory.Values.erase("RandomGame"); // older builds wrote none: no random pattern
    Headless.DebugLines.clear();
    LoadSettings();
    EXPECT_EQ(Fields(), std::tuple(1, 2, 3, 4, 0, 3600, 5, 0));
    EXPECT_EQ(std::pair(std::string(Game.PlayerName), Table()), std::pair(name, table));
    // The damaged values, and the ones read in although the Options box offers no such choice.
    const char* said[] = {"BallSpeed",  "EnemySpeed is 2", "BonusLife is 4", "RespawnTime",
                          "PlayerName", "PlayerName02",    "Sounds is 5"};
    ASSERT_EQ(Headless.DebugLines.size(), std::size(said));
    for (int i = 0; const char* value : said)
        EXPECT_NE(Headless.DebugLines[i++].find(value), std::string::npos) << value;
    SettingsMemory.Values["RespawnTime"].Data = {0, 0, 0, 0}; // no period at all
    LoadSettings();
    EXPECT_EQ(Game.RespawnTime, 3600);
}

TEST(Settings, AHighScoreGoesAboveTheFirstEntryItEqualsAndIsSaved) {
    for (auto [score, ok, place] :
         {std::tuple{10000, 1, 9}, {9999, 1, HighScoreEntries}, {100000, 1, 0}, {45000, 0, 6}}) {
        ResetGameRecord();
        ResetHeadless();
        std::strcpy(Game.PlayerName, "Regular"); // what Cancel leaves for the entry
        Headless.NameDialogAnswers = ok;
        Headless.NameDialogText = "Newcomer";
        Game.Score = score;
        auto expected = Table();
        expected.insert(expected.begin() + place, {ok ? "Newcomer" : "Regular", score});
        expected.pop_back();
        InsertHighScore();
        EXPECT_EQ(Headless.NameDialogs, place < HighScoreEntries) << score;
        EXPECT_EQ(SettingsMemory.OpenCount, place < HighScoreEntries) << score; // saved once
        ResetGameRecord();
        LoadSettings(); // the table as saved, or without a save the built-in one
        EXPECT_EQ(Table(), expected) << score;
    }
}

TEST(Settings, StoredValuesTheOptionsBoxDoesNotOfferAreReadInAndEachSaidOnceAtLoad) {
    ResetGameRecord();
    ResetHeadless();
    LoadSettings(); // the first run writes the built-in values, every one offered
    const std::pair<const char*, int32_t> stored[] = {
        {"PlayerSpeed", -1}, {"BallSpeed", 1},   {"EnemySpeed", 0}, {"BonusLife", 5},
        {"RespawnFlag", 2},  {"RespawnTime", 7}, {"Sounds", 1},     {"RandomGame", 3}};
    for (auto [name, value] : stored) {
        const auto u = static_cast<uint32_t>(value);
        SettingsMemory.Values[name].Data = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                                            static_cast<uint8_t>(u >> 16),
                                            static_cast<uint8_t>(u >> 24)};
    }
    ASSERT_TRUE(Headless.DebugLines.empty());
    LoadSettings();
    EXPECT_EQ(Fields(), std::tuple(1, 0, -1, 5, 2, 7, 1, 3));
    const std::vector<std::string> said = {
        "ReadSettingsValues: PlayerSpeed is -1, not one of 0, 1; used as it is.\n",
        "ReadSettingsValues: BonusLife is 5, not one of 0, 1, 2; used as it is.\n",
        "ReadSettingsValues: RespawnFlag is 2, not one of 0, 1; used as it is.\n",
        "ReadSettingsValues: RespawnTime is 7, not one of 15, 30, 45, 60; used as it is.\n",
        "ReadSettingsValues: RandomGame is 3, not one of 0, 1; used as it is.\n"};
    EXPECT_EQ(Headless.DebugLines, said);
    SaveSettings(); // a save reads nothing and says nothing
    EXPECT_EQ(Headless.DebugLines, said);
}
