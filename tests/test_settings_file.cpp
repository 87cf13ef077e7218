#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "shell/headless/headless.h"
#include "shell/settings_file.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Number(int32_t v) {
    auto u = static_cast<uint32_t>(v);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

std::vector<uint8_t> Text(const std::string& s) {
    std::vector<uint8_t> out(s.begin(), s.end());
    out.push_back(0);
    return out;
}

void PutText(SettingsFileValues* values, const std::string& name, const std::string& text) {
    std::vector<uint8_t> data = Text(text);
    PutSettingsValue(values, name, 1, data.data(), static_cast<uint32_t>(data.size()));
}

void PutNumber(SettingsFileValues* values, const std::string& name, int32_t v) {
    std::vector<uint8_t> data = Number(v);
    PutSettingsValue(values, name, 0, data.data(), 4);
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetHeadless(); }
};

class SettingsFileOnDisk : public SettingsFileTest {
  protected:
    void SetUp() override {
        SettingsFileTest::SetUp();
        char pattern[] = "/tmp/quorvanel-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Dir = pattern;
        Path = Dir + "/settings";
    }
    void TearDown() override {
        chmod(Dir.c_str(), 0700);
        fs::remove_all(Dir);
    }
    std::string Dir, Path;
};

} // namespace

using SettingsRoundTrip = SettingsFileTest;

TEST_F(SettingsRoundTrip, EveryKindOfValueComesBackUnchanged) {
    SettingsFileValues values;
    PutNumber(&values, "RespawnTime", 15);
    PutNumber(&values, "PlayerScore01", -123456);
    PutText(&values, "PlayerName", "Ann \\ B=c\t\x7f\xc3\xa9#");
    PutText(&values, "PlayerName10", "");
    SettingsFileValues back = ParseSettingsText(SerialiseSettings(values));
    ASSERT_EQ(back.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(back[i].Name, values[i].Name);
        EXPECT_EQ(back[i].IsText, values[i].IsText);
        EXPECT_EQ(back[i].Data, values[i].Data) << values[i].Name;
    }
    EXPECT_TRUE(Headless.DebugLines.empty());
}

TEST_F(SettingsRoundTrip, TextsAreOneLineEach) {
    SettingsFileValues values;
    PutText(&values, "PlayerName", "two\nlines\r");
    std::string file = SerialiseSettings(values);
    EXPECT_EQ(file.find("two\n"), std::string::npos);
    EXPECT_EQ(ParseSettingsText(file)[0].Data, Text("two\nlines\r"));
}

TEST_F(SettingsRoundTrip, FortySevenCharacterNamesSurviveWhole) {
    std::string name(47, 'N');
    SettingsFileValues values;
    PutText(&values, "PlayerName", name);
    PutText(&values, "PlayerName03", std::string(49, 'T'));
    SettingsFileValues back = ParseSettingsText(SerialiseSettings(values));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].Data, Text(name));
    EXPECT_EQ(back[1].Data, Text(std::string(49, 'T')));
}

TEST_F(SettingsRoundTrip, PutReplacesInPlace) {
    SettingsFileValues values;
    PutNumber(&values, "Sounds", 1);
    PutNumber(&values, "BallSpeed", 1);
    PutNumber(&values, "Sounds", 0);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].Name, "Sounds");
    EXPECT_EQ(FindSettingsValue(values, "Sounds")->Data, Number(0));
    EXPECT_EQ(FindSettingsValue(values, "Missing"), nullptr);
}

using SettingsParsing = SettingsFileTest;

TEST_F(SettingsParsing, ReadsHandWrittenLines) {
    SettingsFileValues v =
        ParseSettingsText("# comment\r\n\nBallSpeed=b:01000000\r\nPlayerName=s:Al\\x5Cx\n");
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].Data, Number(1));
    EXPECT_EQ(v[1].Data, Text("Al\\x"));
    EXPECT_TRUE(Headless.DebugLines.empty());
}

TEST_F(SettingsParsing, EachBadLineCostsOnlyItselfAndOneDiagnostic) {
    const std::string bad[] = {
        "no equals sign",
        "=b:00000000",
        "Ball Speed=b:00000000",
        "Mystery=b:00000000",
        "BallSpeed=00000000",
        "BallSpeed=s:fast",
        "PlayerName=b:41",
        "BallSpeed=b:0100000",
        "BallSpeed=b:0100000G",
        "BonusLife=b:010000",
        "BonusLife=b:0100000000",
        "PlayerName=s:bad\\q",
        "PlayerName=s:cut\\x4",
        "PlayerName=s:zero\\x00inside",
        "PlayerName=s:" + std::string(48, 'L'),
        "PlayerName02=s:" + std::string(50, 'L'),
        "PlayerName11=s:eleventh",
        "PlayerScore00=b:00000000",
        std::string(SettingsLineLimit + 1, 'x'),
    };
    // Good values before, between and after the bad lines must all survive.
    std::string file = "Sounds=b:01000000\n";
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        file += bad[i] + "\n";
        if (i == 5) file += "RandomGame=b:01000000\n";
    }
    file += "EnemySpeed=b:01000000";

    SettingsFileValues v = ParseSettingsText(file);
    EXPECT_EQ(Headless.DebugLines.size(), std::size(bad));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].Name, "Sounds");
    EXPECT_EQ(v[1].Name, "RandomGame");
    EXPECT_EQ(v[2].Name, "EnemySpeed");
    EXPECT_EQ(v[2].Data, Number(1));
}

TEST_F(SettingsParsing, DiagnosticsNameTheLine) {
    ParseSettingsText("Sounds=b:01000000\nBonusLife=b:01\n");
    ASSERT_EQ(Headless.DebugLines.size(), 1u);
    EXPECT_NE(Headless.DebugLines[0].find("line 2"), std::string::npos);
    EXPECT_NE(Headless.DebugLines[0].find("BonusLife"), std::string::npos);
    EXPECT_EQ(Headless.DebugLines[0].back(), '\n');
}

TEST_F(SettingsParsing, FirstOfTwinValuesWins) {
    SettingsFileValues v = ParseSettingsText("Sounds=b:01000000\nSounds=b:00000000\n");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].Data, Number(1));
    EXPECT_EQ(Headless.DebugLines.size(), 1u);
}

TEST_F(SettingsParsing, EmptyAndBinaryGarbageGiveNoValues) {
    EXPECT_TRUE(ParseSettingsText("").empty());
    std::string garbage("\x00\xff=\x01\n\x00", 6);
    EXPECT_TRUE(ParseSettingsText(garbage).empty());
}

using SettingsFileWriting = SettingsFileOnDisk;

TEST_F(SettingsFileWriting, MissingFileIsNotAnError) {
    std::string content = "stale";
    EXPECT_EQ(ReadSettingsFile(Path, &content), 0);
    EXPECT_TRUE(content.empty());
}

TEST_F(SettingsFileWriting, ReplaceThenReadGivesTheContent) {
    ASSERT_EQ(ReplaceSettingsFile(Path, "first\n"), 1);
    ASSERT_EQ(ReplaceSettingsFile(Path, "second\n"), 1);
    std::string content;
    EXPECT_EQ(ReadSettingsFile(Path, &content), 1);
    EXPECT_EQ(content, "second\n");
    // Nothing but the file itself is left in the directory.
    int32_t entries = 0;
    for (auto& e : fs::directory_iterator(Dir)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(SettingsFileWriting, LeftoverTemporaryDoesNotBlockASave) {
    std::ofstream(Path + ".new") << "half written";
    ASSERT_EQ(ReplaceSettingsFile(Path, "whole\n"), 1);
    std::string content;
    ReadSettingsFile(Path, &content);
    EXPECT_EQ(content, "whole\n");
    EXPECT_FALSE(fs::exists(Path + ".new"));
}

TEST_F(SettingsFileWriting, UnwritableDirectoryKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    ASSERT_EQ(ReplaceSettingsFile(Path, "old\n"), 1);
    ASSERT_EQ(chmod(Dir.c_str(), 0500), 0);
    EXPECT_EQ(ReplaceSettingsFile(Path, "new\n"), 0);
    std::string content;
    EXPECT_EQ(ReadSettingsFile(Path, &content), 1);
    EXPECT_EQ(content, "old\n");
}

TEST_F(SettingsFileWriting, BlockedTemporaryKeepsTheOldFile) {
    // Works even for root: the temporary cannot be created where a directory stands.
    ASSERT_EQ(ReplaceSettingsFile(Path, "old\n"), 1);
    fs::create_directories(Path + ".new/blocker");
    EXPECT_EQ(ReplaceSettingsFile(Path, "new\n"), 0);
    std::string content;
    EXPECT_EQ(ReadSettingsFile(Path, &content), 1);
    EXPECT_EQ(content, "old\n");
}

TEST_F(SettingsFileWriting, MissingDirectoryFailsCleanly) {
    EXPECT_EQ(ReplaceSettingsFile(Dir + "/absent/settings", "x"), 0);
    EXPECT_FALSE(fs::exists(Dir + "/absent"));
}

TEST_F(SettingsFileWriting, UnreadableFileIsReportedAsSuch) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads anything";
    ASSERT_EQ(ReplaceSettingsFile(Path, "secret\n"), 1);
    ASSERT_EQ(chmod(Path.c_str(), 0), 0);
    std::string content;
    EXPECT_EQ(ReadSettingsFile(Path, &content), -1);
}
