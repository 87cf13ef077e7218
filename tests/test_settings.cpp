#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/game_record.h"
#include "shell/headless/headless.h"
#include "shell/settings.h"
#include "shell/settings_store.h"

namespace {

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGameRecord();
        ResetHeadless();
    }
};

int32_t StoredNumber(const char* name) {
    const std::vector<uint8_t>& d = SettingsMemory.Values.at(name).Data;
    EXPECT_EQ(d.size(), 4u) << name;
    return static_cast<int32_t>(d[0] | d[1] << 8 | d[2] << 16 | static_cast<uint32_t>(d[3]) << 24);
}

std::string StoredText(const char* name) {
    const StoredValue& v = SettingsMemory.Values.at(name);
    EXPECT_EQ(v.IsText, 1) << name;
    EXPECT_EQ(v.Data.back(), 0) << name;
    return std::string(reinterpret_cast<const char*>(v.Data.data()));
}

TEST_F(Settings, FirstRunWritesTheTwentyNineBuiltInValuesInOrder) {
    LoadSettings();
    ASSERT_EQ(SettingsMemory.WriteOrder.size(), 29u);
    EXPECT_TRUE(SettingsMemory.ReadOrder.empty());
    const char* head[] = {"PlayerSpeed", "Sounds",      "RandomGame",  "BallSpeed", "EnemySpeed",
                          "BonusLife",   "RespawnFlag", "RespawnTime", "PlayerName"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(SettingsMemory.WriteOrder[i], head[i]);
    EXPECT_EQ(SettingsMemory.WriteOrder[9], "PlayerName01");
    EXPECT_EQ(SettingsMemory.WriteOrder[10], "PlayerScore01");
    EXPECT_EQ(SettingsMemory.WriteOrder[28], "PlayerScore10");
    EXPECT_EQ(StoredNumber("RespawnFlag"), 1);
    EXPECT_EQ(StoredNumber("RespawnTime"), 15);
    EXPECT_EQ(StoredNumber("Sounds"), 0);
    EXPECT_EQ(StoredText("PlayerName"), "");
    EXPECT_EQ(StoredNumber("PlayerScore01"), 100000);
    EXPECT_EQ(StoredNumber("PlayerScore10"), 10000);
    EXPECT_EQ(StoredText("PlayerName03"), Game.HighScoreTable[2].Name);
}

TEST_F(Settings, ValuesSurviveASaveAndALoadInTheReadOrder) {
    Game.PlayerSpeed = 1;
    Game.BallSpeed = 1;
    Game.BonusLife = 2;
    Game.RespawnFlag = 0;
    Game.RespawnTime = 45;
    Game.Sounds = 1;
    Game.RandomGame = 1;
    std::strcpy(Game.PlayerName, "Zelda Quill");
    Game.HighScoreTable[4].Score = 55555;
    std::strcpy(Game.HighScoreTable[4].Name, "Fifth Place");
    SaveSettings();

    ResetGameRecord();
    SettingsMemory.ReadOrder.clear();
    LoadSettings();
    EXPECT_EQ(Game.PlayerSpeed, 1);
    EXPECT_EQ(Game.BallSpeed, 1);
    EXPECT_EQ(Game.EnemySpeed, 0);
    EXPECT_EQ(Game.BonusLife, 2);
    EXPECT_EQ(Game.RespawnFlag, 0);
    EXPECT_EQ(Game.RespawnTime, 45);
    EXPECT_EQ(Game.Sounds, 1);
    EXPECT_EQ(Game.RandomGame, 1);
    EXPECT_STREQ(Game.PlayerName, "Zelda Quill");
    EXPECT_EQ(Game.HighScoreTable[4].Score, 55555);
    EXPECT_STREQ(Game.HighScoreTable[4].Name, "Fifth Place");

    const std::vector<std::string>& r = SettingsMemory.ReadOrder;
    ASSERT_EQ(r.size(), 29u);
    EXPECT_EQ(r[0], "PlayerSpeed");
    EXPECT_EQ(r[1], "BallSpeed");
    EXPECT_EQ(r[5], "RespawnTime");
    EXPECT_EQ(r[6], "PlayerName");
    EXPECT_EQ(r[7], "PlayerName01");
    EXPECT_EQ(r[8], "PlayerScore01");
    EXPECT_EQ(r[27], "Sounds");
    EXPECT_EQ(r[28], "RandomGame");
}

TEST_F(Settings, MissingRandomGameReadsAsNoAndOtherMissingValuesKeepTheirs) {
    SaveSettings();
    SettingsMemory.Values.erase("RandomGame");
    SettingsMemory.Values.erase("RespawnTime");
    Game.RandomGame = 1;
    Game.RespawnTime = 30;
    LoadSettings();
    EXPECT_EQ(Game.RandomGame, 0);
    EXPECT_EQ(Game.RespawnTime, 30);
    EXPECT_TRUE(Headless.DebugLines.empty()); // missing is not malformed
}

TEST_F(Settings, MalformedValuesKeepTheFieldAndSayOneLineEach) {
    SaveSettings();
    SettingsMemory.Values["BallSpeed"].Data = {1, 0};         // too short
    SettingsMemory.Values["PlayerName"].Data.assign(60, 'x'); // longer than 48
    SettingsMemory.Values["PlayerName"].Data.push_back(0);
    SettingsMemory.Values["PlayerName02"].Data = {'a', 'b'};              // no terminator
    SettingsMemory.Values["RespawnTime"].Data = {0xFF, 0xFF, 0xFF, 0x7F}; // overflows in frames
    Game.BallSpeed = 0;
    std::strcpy(Game.PlayerName, "Keep");
    LoadSettings();
    EXPECT_EQ(Game.BallSpeed, 0);
    EXPECT_STREQ(Game.PlayerName, "Keep");
    EXPECT_STREQ(Game.HighScoreTable[1].Name, GameRecord{}.HighScoreTable[1].Name);
    EXPECT_EQ(Game.RespawnTime, 15);
    ASSERT_EQ(Headless.DebugLines.size(), 4u);
    EXPECT_NE(Headless.DebugLines[0].find("BallSpeed"), std::string::npos);
    EXPECT_NE(Headless.DebugLines[1].find("RespawnTime"), std::string::npos);
    EXPECT_NE(Headless.DebugLines[2].find("PlayerName"), std::string::npos);
}

TEST_F(Settings, FortySevenCharacterNamesRoundTripWhole) {
    std::string name(47, 'q');
    std::strcpy(Game.PlayerName, name.c_str());
    std::strcpy(Game.HighScoreTable[9].Name, name.c_str());
    SaveSettings();
    ResetGameRecord();
    LoadSettings();
    EXPECT_EQ(std::string(Game.PlayerName), name);
    EXPECT_EQ(std::string(Game.HighScoreTable[9].Name), name);
}

TEST_F(Settings, UnavailableStoreLeavesEverythingAsItIs) {
    SettingsMemory.Unavailable = 1;
    Game.RespawnTime = 60;
    LoadSettings();
    SaveSettings();
    EXPECT_EQ(Game.RespawnTime, 60);
    EXPECT_TRUE(SettingsMemory.Values.empty());
}

class HighScores : public Settings {};

TEST_F(HighScores, EqualToTheLastEntryTakesTheLastPlace) {
    Game.Score = 10000;
    Headless.NameDialogAnswers = 1;
    Headless.NameDialogText = "Newcomer";
    InsertHighScore();
    EXPECT_EQ(Headless.NameDialogs, 1);
    EXPECT_STREQ(Game.HighScoreTable[9].Name, "Newcomer");
    EXPECT_EQ(Game.HighScoreTable[9].Score, 10000);
    EXPECT_EQ(Game.HighScoreTable[8].Score, 20000);
    EXPECT_EQ(StoredNumber("PlayerScore10"), 10000); // saved
    EXPECT_EQ(StoredText("PlayerName10"), "Newcomer");
}

TEST_F(HighScores, OneBelowTheLastEntryShowsNoDialogAndSavesNothing) {
    Game.Score = 9999;
    InsertHighScore();
    EXPECT_EQ(Headless.NameDialogs, 0);
    EXPECT_EQ(SettingsMemory.OpenCount, 0);
    EXPECT_EQ(Game.HighScoreTable[9].Score, 10000);
}

TEST_F(HighScores, EqualToTheBestGoesAboveItAndTheTableShiftsDown) {
    GameRecord before = Game;
    Game.Score = 100000;
    Headless.NameDialogAnswers = 1;
    Headless.NameDialogText = "Champion";
    InsertHighScore();
    EXPECT_STREQ(Game.HighScoreTable[0].Name, "Champion");
    EXPECT_EQ(Game.HighScoreTable[0].Score, 100000);
    for (int i = 1; i < HighScoreEntries; ++i) {
        EXPECT_STREQ(Game.HighScoreTable[i].Name, before.HighScoreTable[i - 1].Name);
        EXPECT_EQ(Game.HighScoreTable[i].Score, before.HighScoreTable[i - 1].Score);
    }
}

TEST_F(HighScores, CancelStillEntersTheScoreUnderTheNameAlreadyHeld) {
    std::strcpy(Game.PlayerName, "Regular");
    Game.Score = 45000;
    Headless.NameDialogAnswers = 0;
    InsertHighScore();
    EXPECT_EQ(Headless.NameDialogs, 1);
    EXPECT_STREQ(Game.HighScoreTable[6].Name, "Regular");
    EXPECT_EQ(Game.HighScoreTable[6].Score, 45000);
    EXPECT_EQ(Game.HighScoreTable[5].Score, 50000);
    EXPECT_EQ(Game.HighScoreTable[7].Score, 40000);
    EXPECT_EQ(Game.HighScoreTable[9].Score, 20000);
}

} // namespace
