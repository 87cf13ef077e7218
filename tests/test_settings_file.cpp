// The settings file's text: parsing, writing, and the merge a save makes with the file as it
// stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <tuple>

#include "game/game_record.h"
#include "shell/headless/headless.h"
#include "shell/settings_file.h"

namespace {

using Table = std::vector<std::pair<std::string, int32_t>>;

void PutNumber(SettingsFileValues* values, const std::string& name, int32_t n) {
    PutSettingsValue(values, name, 0, &n, 4); // the test host is little-endian, as the file
}

void PutText(SettingsFileValues* values, const std::string& name, const std::string& text) {
    PutSettingsValue(values, name, 1, text.c_str(), static_cast<uint32_t>(text.size() + 1));
}

std::string EntryName(const char* kind, std::size_t n) {
    return kind + std::to_string(100 + n).substr(1);
}

SettingsFileValues TableValues(const Table& table) {
    SettingsFileValues values;
    for (std::size_t i = 0; i < table.size(); ++i) {
        PutText(&values, EntryName("PlayerName", i + 1), table[i].first);
        PutNumber(&values, EntryName("PlayerScore", i + 1), table[i].second);
    }
    return values;
}

std::vector<std::string> TableNames() {
    std::vector<std::string> names;
    for (std::size_t n = 1; n <= HighScoreEntries; ++n)
        for (const char* kind : {"PlayerName", "PlayerScore"}) names.push_back(EntryName(kind, n));
    return names;
}

Table TableIn(const std::string& text) {
    SettingsFileValues values = ParseSettingsText(text, 0);
    Table table;
    for (std::size_t n = 1; n <= HighScoreEntries; ++n) {
        const auto* name = FindSettingsValue(values, EntryName("PlayerName", n));
        const auto* score = FindSettingsValue(values, EntryName("PlayerScore", n));
        if (!name || !score) break;
        int32_t s = 0;
        std::memcpy(&s, score->Data.data(), 4);
        table.emplace_back(reinterpret_cast<const char*>(name->Data.data()), s);
    }
    return table;
}

// Ten entries, 100 down to 10 points, named A to J.
Table BuiltTable() {
    Table table;
    for (int32_t i = 0; i < 10; ++i) table.emplace_back(std::string(1, 'A' + i), 100 - 10 * i);
    return table;
}

// The table with an entry put in where the game's own insertion puts it.
Table Inserted(Table table, const std::string& name, int32_t score) {
    auto at = std::find_if(table.begin(), table.end(), [&](auto& e) { return e.second <= score; });
    table.insert(at, {name, score});
    table.resize(std::min<std::size_t>(table.size(), HighScoreEntries));
    return table;
}

TEST(SettingsText, ValuesComeBackWholeAndEachBadLineCostsItselfAndOneDiagnostic) {
    ResetHeadless();
    SettingsFileValues values;
    for (int32_t score : {7, -123456}) PutNumber(&values, "PlayerScore01", score);
    // The longest name, escaped bytes, a line break in a text, an empty text, the longest entry.
    const std::string texts[] = {std::string(47, 'N'), "Ann \\ B=c\t\x7f\xc3\xa9#", "two\nlines\r",
                                 "", std::string(49, 'T')};
    for (int i = 0; i < 5; ++i)
        PutText(&values, i ? "PlayerName0" + std::to_string(i) : "PlayerName", texts[i]);
    // Another build's values, of any size, are kept as they stand.
    PutSettingsValue(&values, "WindowScale", 0, "\x02\x00", 2);
    PutText(&values, std::string(32, 'W'), std::string(300, 'w'));
    ASSERT_EQ(values.size(), 8u); // the second score replaced the first
    const std::string bad =
        "no equals sign\n=b:00000000\nBall Speed=b:00000000\n" + std::string(33, 'M') +
        "=b:00\nMystery=x:00000000\nBallSpeed=00000000\nBallSpeed=s:fast\nPlayerName=b:41\n"
        "BallSpeed=b:0100000\nBallSpeed=b:0100000G\nBonusLife=b:010000\nBonusLife=b:0100000000\n"
        "PlayerName=s:bad\\q41\nPlayerName=s:cut\\x4\nPlayerName=s:zero\\x00inside\n"
        "WindowScale=b:0\nPlayerName=s:" +
        std::string(48, 'L') + "\nPlayerName02=s:" + std::string(50, 'L') + '\n' +
        std::string(SettingsLineLimit + 1, 'x') + '\n';
    // Lines as a person might write them, with a twin whose first stands, the bad lines, and
    // then the values, after the heading the writer puts first.
    SettingsFileValues back =
        ParseSettingsText("# by hand\r\n\r\nSounds=b:01000000\r\nSounds=b:00000000\n" + bad +
                          SerialiseSettings(values));
    ASSERT_EQ(back.size(), values.size() + 1);
    EXPECT_EQ(std::tie(back[0].Name, back[0].Data),
              std::tuple(std::string("Sounds"), std::vector<uint8_t>{1, 0, 0, 0}));
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(std::tie(back[i + 1].Name, back[i + 1].IsText, back[i + 1].Data),
                  std::tie(values[i].Name, values[i].IsText, values[i].Data));
    ASSERT_EQ(Headless.DebugLines.size(), 1 + std::count(bad.begin(), bad.end(), '\n'));
    EXPECT_NE(Headless.DebugLines[0].find("Sounds"), std::string::npos);
    for (std::size_t i = 0; i < Headless.DebugLines.size(); ++i) { // lines 4 onwards
        EXPECT_NE(Headless.DebugLines[i].find("line " + std::to_string(4 + i)), std::string::npos);
        EXPECT_EQ(Headless.DebugLines[i].back(), '\n');
    }
    EXPECT_TRUE(ParseSettingsText("").empty());
    EXPECT_TRUE(ParseSettingsText(std::string("\x00\xff=\x01\n\x00", 6)).empty());
}

TEST(SettingsText, HugeTextsAreReadToTheirEndInLinearTime) {
    ResetHeadless();
    // Two megabytes of comments and a mebibyte-long line before the values: the line costs
    // one diagnostic, and every value after it counts.
    std::string comments;
    while (comments.size() < 2'000'000) comments += "# a comment of the kind people write\n";
    const auto commentLines = std::count(comments.begin(), comments.end(), '\n');
    SettingsFileValues values = ParseSettingsText(comments + std::string(1 << 20, 'j') +
                                                  "\nBallSpeed=b:01000000\nBonusLife=b:02000000");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[1].Data, (std::vector<uint8_t>{2, 0, 0, 0}));
    ASSERT_EQ(Headless.DebugLines.size(), 1u);
    EXPECT_NE(
        Headless.DebugLines[0].find("line " + std::to_string(commentLines + 1) + ": line too long"),
        std::string::npos);

    // Many values of other builds, each name looked up against all before it: a lookup
    // that walked the list would take minutes here.
    std::string many;
    for (int32_t i = 0; i < 200'000; ++i) many += "V" + std::to_string(i) + "=b:00\n";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ParseSettingsText(many + "V7=b:01\n").size(), 200'000u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // Garbage is reported up to a bound, then summed up in one line.
    Headless.DebugLines.clear();
    std::string garbage;
    for (int32_t i = 0; i < 500; ++i) garbage += "?\n";
    EXPECT_TRUE(ParseSettingsText(garbage).empty());
    ASSERT_EQ(Headless.DebugLines.size(), 101u);
    EXPECT_NE(Headless.DebugLines[100].find("not reported"), std::string::npos);
}

TEST(SettingsMerge, TheFileKeepsItsLinesAndTakesTheWrittenValuesInTheirPlaces) {
    const std::string now =
        "# mine\r\nBallSpeed=b:00000000\r\nnot a value\nWindowScale=b:03000000\n"
        "Sounds=b:01000000\nBallSpeed=b:01000000\nPlayerName=s:Old";
    SettingsFileValues ours;
    PutNumber(&ours, "BallSpeed", 1);
    PutNumber(&ours, "Sounds", 0);      // as read at the start; the file has changed since
    PutNumber(&ours, "WindowScale", 2); // the same
    PutText(&ours, "PlayerName", "New");
    PutNumber(&ours, "RespawnTime", 30);
    const std::vector<std::string> written = {"BallSpeed", "PlayerName", "RespawnTime"};
    // The first line naming a value is the one that counts; a value the file lacks comes last.
    EXPECT_EQ(
        MergeSettingsText(now, ours, written),
        "# mine\r\nBallSpeed=b:01000000\r\nnot a value\nWindowScale=b:03000000\n"
        "Sounds=b:01000000\nBallSpeed=b:01000000\nPlayerName=s:New\nRespawnTime=b:1E000000\n");
    // Nothing written: the file as it was (with its last line ended).
    EXPECT_EQ(MergeSettingsText(now, ours, {}), now + "\n");
    // No file: all that the session holds.
    EXPECT_EQ(MergeSettingsText("", ours, written), SerialiseSettings(ours));
}

TEST(SettingsMerge, TheTableKeepsTheTenBestOfBothAndNoEntryTwice) {
    const auto names = TableNames();
    const Table base = BuiltTable();
    auto merge = [&](const Table& file, const Table& ours) {
        return TableIn(
            MergeSettingsText(SerialiseSettings(TableValues(file)), TableValues(ours), names));
    };
    // Two games started from one table and each got a score: both stay, the two lowest of the
    // old table go, and the old entries both tables hold are there once.
    const Table x = Inserted(base, "X", 55), y = Inserted(base, "Y", 75);
    const Table both = Inserted(Inserted(base, "Y", 75), "X", 55);
    EXPECT_EQ(merge(y, x), both);
    EXPECT_EQ(merge(x, y), Inserted(Inserted(base, "X", 55), "Y", 75));
    // Saving again after the merge changes nothing; nor does a file that is this run's own.
    EXPECT_EQ(merge(both, x), both);
    EXPECT_EQ(merge(x, x), x);
    // Among equal scores the new entries come first, the session's before the file's.
    EXPECT_EQ(merge(Inserted(base, "Y", 50), Inserted(base, "X", 50)),
              Inserted(Inserted(base, "Y", 50), "X", 50));
    // One player's two games of the same score are two entries; the file's copy adds none.
    const Table twice = Inserted(Inserted(base, "Z", 60), "Z", 60);
    EXPECT_EQ(merge(Inserted(base, "Z", 60), twice), twice);
    // A score below the ten best of both does not come in.
    EXPECT_EQ(merge(Inserted(base, "Low", 10), Inserted(base, "X", 95)), Inserted(base, "X", 95));
    // A file entry without its name, or with a score of the wrong size, is not an entry.
    std::string damaged = SerialiseSettings(TableValues(y));
    damaged.replace(damaged.find("PlayerName04"), 12, "PlayerNameXX"); // Y's name
    damaged.replace(damaged.find("PlayerScore01=b:64000000"), 24, "PlayerScore01=b:64");
    EXPECT_EQ(TableIn(MergeSettingsText(damaged, TableValues(base), names)), base);
    // A session that wrote no table leaves the file's as it is.
    EXPECT_EQ(TableIn(MergeSettingsText(SerialiseSettings(TableValues(y)), TableValues(x),
                                        {"BallSpeed"})),
              y);
}

} // namespace
