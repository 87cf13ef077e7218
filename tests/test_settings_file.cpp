#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

#include "shell/headless/headless.h"
#include "shell/settings_file.h"

namespace fs = std::filesystem;

TEST(SettingsText, ValuesComeBackWholeAndEachBadLineCostsItselfAndOneDiagnostic) {
    ResetHeadless();
    SettingsFileValues values;
    for (int32_t score : {7, -123456}) PutSettingsValue(&values, "PlayerScore01", 0, &score, 4);
    // The longest name, escaped bytes, a line break in a text, an empty text, the longest entry.
    const std::string texts[] = {std::string(47, 'N'), "Ann \\ B=c\t\x7f\xc3\xa9#", "two\nlines\r",
                                 "", std::string(49, 'T')};
    for (int i = 0; i < 5; ++i)
        PutSettingsValue(&values, i ? "PlayerName0" + std::to_string(i) : "PlayerName", 1,
                         texts[i].c_str(), texts[i].size() + 1);
    ASSERT_EQ(values.size(), 6u); // the second score replaced the first
    const std::string bad =
        "no equals sign\n=b:00000000\nBall Speed=b:00000000\nMystery=b:00000000\n"
        "BallSpeed=00000000\nBallSpeed=s:fast\nPlayerName=b:41\nBallSpeed=b:0100000\n"
        "BallSpeed=b:0100000G\nBonusLife=b:010000\nBonusLife=b:0100000000\nPlayerName=s:bad\\q41\n"
        "PlayerName=s:cut\\x4\nPlayerName=s:zero\\x00inside\nPlayerName11=s:eleventh\n"
        "PlayerScore00=b:00000000\nPlayerName=s:" +
        std::string(48, 'L') + "\nPlayerName02=s:" + std::string(50, 'L') + '\n' +
        std::string(SettingsLineLimit + 1, 'x') + '\n';
    // Lines as a person might write them, with a twin whose first stands, the bad lines, and
    // then a comment line and the six values.
    SettingsFileValues back =
        ParseSettingsText("# by hand\r\n\r\nSounds=b:01000000\r\nSounds=b:00000000\n" + bad +
                          SerialiseSettings(values));
    ASSERT_EQ(back.size(), 7u);
    EXPECT_EQ(back[0].Data, (std::vector<uint8_t>{1, 0, 0, 0}));
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(std::tie(back[i + 1].Name, back[i + 1].IsText, back[i + 1].Data),
                  std::tie(values[i].Name, values[i].IsText, values[i].Data));
    ASSERT_EQ(Headless.DebugLines.size(), 1 + std::count(bad.begin(), bad.end(), '\n'));
    EXPECT_NE(Headless.DebugLines[0].find("Sounds"), std::string::npos);
    for (std::size_t i = 0; i < Headless.DebugLines.size(); ++i) { // lines 4 to 23
        EXPECT_NE(Headless.DebugLines[i].find("line " + std::to_string(4 + i)), std::string::npos);
        EXPECT_EQ(Headless.DebugLines[i].back(), '\n');
    }
    EXPECT_TRUE(ParseSettingsText("").empty());
    EXPECT_TRUE(ParseSettingsText(std::string("\x00\xff=\x01\n\x00", 6)).empty());
}

struct SettingsFile : ::testing::Test {
    void SetUp() override { ASSERT_NE(mkdtemp(Dir.data()), nullptr); }
    void TearDown() override {
        chmod(Dir.c_str(), 0700);
        fs::remove_all(Dir);
    }
    std::string Path() const { return Dir + "/settings"; }
    std::string Dir = "/tmp/quorvanel-settings-XXXXXX", Content = "stale";
};

TEST_F(SettingsFile, IsReplacedWholeOrNotAtAll) {
    EXPECT_EQ(ReadSettingsFile(Path(), &Content), 0); // a first run has none
    EXPECT_EQ(Content, "");
    std::ofstream(Path() + ".new") << "half written"; // left by an interrupted save
    ASSERT_EQ(ReplaceSettingsFile(Path(), "old\n"), 1);
    EXPECT_FALSE(fs::exists(Path() + ".new"));
    fs::create_directories(Path() + ".new/blocker"); // the new file cannot be written
    EXPECT_EQ(ReplaceSettingsFile(Path(), "new\n"), 0);
    EXPECT_EQ(ReadSettingsFile(Path(), &Content), 1);
    EXPECT_EQ(Content, "old\n");
    EXPECT_EQ(ReplaceSettingsFile(Dir + "/absent/settings", "x"), 0);
}

TEST_F(SettingsFile, PermissionFailuresKeepTheOldFileAndAreReported) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads and writes anything";
    ASSERT_EQ(ReplaceSettingsFile(Path(), "old\n"), 1);
    ASSERT_EQ(chmod(Dir.c_str(), 0500), 0);
    EXPECT_EQ(ReplaceSettingsFile(Path(), "new\n"), 0);
    EXPECT_EQ(ReadSettingsFile(Path(), &Content), 1);
    EXPECT_EQ(Content, "old\n");
    ASSERT_EQ(chmod(Path().c_str(), 0), 0);
    EXPECT_EQ(ReadSettingsFile(Path(), &Content), -1);
}
