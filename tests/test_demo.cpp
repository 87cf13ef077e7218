// Recorded games: the text format both ways, what it refuses and why, and recording and
// playing back through the simulator's engine to the same state.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/game_state.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "tests/support/world.h"
#include "tools/sim/sim.h"

namespace {

std::string ReadText(const std::filesystem::path& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

DemoEvent Event(int32_t frame, DemoEventKind kind) {
    DemoEvent e;
    e.Frame = frame;
    e.Kind = kind;
    return e;
}

std::string ValidHeader() {
    Demo demo;
    demo.HasHeader = 1;
    for (int32_t i = 0; i < DemoSettingCount; ++i) demo.Settings.push_back({i, i == 7 ? 15 : 0});
    for (int32_t i = 0; i < HighScoreEntries; ++i) demo.HighScores[i] = {"X", 10 - i};
    return DemoHeaderText(demo);
}

std::string ParseError(const std::string& text, int32_t demoOnly = 1) {
    Demo demo;
    std::string error;
    EXPECT_EQ(ParseDemoText(text, "t.qdemo", demoOnly, &demo, &error), 0) << text;
    return error;
}

// What CompareStateFiles says about two dumps; empty when they are the same.
std::string StateDifferences(const std::string& expected, const std::string& actual) {
    const std::filesystem::path dir = PrivateTempDir("demo-compare");
    std::ofstream(dir / "a.json", std::ios::binary) << expected;
    std::ofstream(dir / "b.json", std::ios::binary) << actual;
    std::string report;
    CompareStateFiles((dir / "a.json").string(), (dir / "b.json").string(), &report);
    std::filesystem::remove_all(dir);
    return report;
}

} // namespace

// Every kind of line survives writing and reading; texts keep quotes, backslashes and bytes
// outside ASCII.
TEST(DemoFormat, EveryLineReadsBackAsWritten) {
    Demo demo;
    demo.HasHeader = 1;
    demo.Depth = 16;
    demo.TimeSeconds = 4000000000u;
    demo.StartClock = 123456;
    for (int32_t i = 0; i < DemoSettingCount; ++i) demo.Settings.push_back({i, 100 - i});
    demo.Settings[7].Value = 3600;
    demo.PlayerName = "Ann \"the\" \\ L\xe9\x01on";
    for (int32_t i = 0; i < HighScoreEntries; ++i) {
        std::snprintf(demo.HighScores[i].Name, HighScoreNameSize, "P#%d \"x\"", i);
        demo.HighScores[i].Score = -5 * i;
    }
    std::snprintf(demo.HighScores[3].Name, HighScoreNameSize, "%s", std::string(49, 'z').c_str());

    std::vector<DemoEvent> events = {
        Event(1, DemoEventKind::KeyDown),  Event(1, DemoEventKind::KeyUp),
        Event(2, DemoEventKind::Options),  Event(2, DemoEventKind::Name),
        Event(3, DemoEventKind::Minimise), Event(3, DemoEventKind::Restore),
        Event(4, DemoEventKind::Clock),    Event(4, DemoEventKind::ClockLater),
        Event(5, DemoEventKind::Time),     Event(6, DemoEventKind::Rebuild),
        Event(20, DemoEventKind::Check)};
    events[0].Key = VkSpace;
    events[1].Key = 200;
    events[2].Settings = {{3, 2}, {7, 45}, {0, -1}};
    events[3].Text = std::string(47, '"');
    events[6].Value = 4294967295u;
    events[7].Value = 17;
    events[8].Value = 99;
    events[10].Digests = {0x00, 0xff, 0x1a};
    std::string text = DemoHeaderText(demo);
    for (const DemoEvent& e : events) text += DemoEventText(e);
    text += "# a comment, a blank line and a Windows line end\r\n\r\n30 end\r\n";

    Demo back;
    std::string error;
    ASSERT_EQ(ParseDemoText(text, "t.qdemo", 1, &back, &error), 1) << error << "\n" << text;
    EXPECT_EQ(back.Depth, 16);
    EXPECT_EQ(back.TimeSeconds, 4000000000u);
    EXPECT_EQ(back.StartClock, 123456u);
    EXPECT_EQ(back.PlayerName, demo.PlayerName);
    ASSERT_EQ(back.Settings.size(), 8u);
    EXPECT_EQ(back.Settings[0].Value, 100);
    EXPECT_EQ(back.Settings[7].Value, 3600);
    for (int32_t i = 0; i < HighScoreEntries; ++i) {
        EXPECT_STREQ(back.HighScores[i].Name, demo.HighScores[i].Name);
        EXPECT_EQ(back.HighScores[i].Score, demo.HighScores[i].Score);
    }
    EXPECT_EQ(back.EndFrame, 30);
    ASSERT_EQ(back.Events.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const DemoEvent &a = events[i], &b = back.Events[i];
        EXPECT_EQ(b.Frame, a.Frame) << i;
        EXPECT_EQ(b.Kind, a.Kind) << i;
        EXPECT_EQ(b.Key, a.Key) << i;
        EXPECT_EQ(b.Value, a.Value) << i;
        EXPECT_EQ(b.Text, a.Text) << i;
        EXPECT_EQ(b.Digests, a.Digests) << i;
        ASSERT_EQ(b.Settings.size(), a.Settings.size()) << i;
        for (std::size_t k = 0; k < a.Settings.size(); ++k) {
            EXPECT_EQ(b.Settings[k].Index, a.Settings[k].Index);
            EXPECT_EQ(b.Settings[k].Value, a.Settings[k].Value);
        }
    }
}

// What a broken, foreign or newer file gets: a message naming the place and the reason.
TEST(DemoFormat, RefusesNewerTruncatedGarbledAndDisorderedFiles) {
    const std::string header = ValidHeader();
    const struct {
        std::string Text;
        const char* Message;
    } cases[] = {
        {"QUORVANEL-DEMO 2\n", "t.qdemo: a demo of version 2, newer than this build plays"},
        {"QUORVANEL-DEMO one\n", "t.qdemo:1: expected 'QUORVANEL-DEMO VERSION'"},
        {header.substr(0, header.size() / 2), "ends inside its header: the file is cut short"},
        {header + "5 down space\n9 up space\n", "no end line: the file is cut short"},
        {header + "5 down space\n9 chec", "t.qdemo:18: unknown event 'chec'"},
        {header + "5 name \"Bo", "t.qdemo:17: text without its closing quote"},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "not a Quorvanel demo"},
        {"10 down left\n20 up left\n", "not a Quorvanel demo"},
        {header + "9 down space\n5 up space\n12 end\n",
         "t.qdemo:18: events out of frame order: frame 5 after frame 9"},
        {header + "5 end\n6 down space\n", "t.qdemo:18: an event after the end line"},
        {header + "5 down f13\n6 end\n", "unknown key 'f13'"},
        {header + "5 down 256\n6 end\n", "unknown key '256'"},
        {header + "0 down space\n6 end\n", "bad frame number '0'"},
        {header + "5 options RespawnTime=0\n6 end\n", "bad value for RespawnTime: '0'"},
        {header + "5 options Speed=1\n6 end\n", "unknown setting 'Speed'"},
        {header + "5 options BallSpeed=1 BallSpeed=0\n6 end\n", "setting BallSpeed given twice"},
        {header + "5 name \"" + std::string(48, 'n') + "\"\n6 end\n", "at most 47 characters"},
        {header + "5 name \"a\\x00b\"\n6 end\n", "cannot hold a zero byte"},
        {header + "5 check 12345\n6 end\n", "2 to 128 hex digits, two a frame, not '12345'"},
        {header + "5 check 12 34\n6 end\n", "expected 'FRAME check HEX'"},
        {header + "5 check 1g\n6 end\n", "not '1g'"},
        {header + "2 check 0102\n6 end\n", "a check of 2 frames before frame 2"},
        {header + "5 minimise now\n6 end\n", "expected 'FRAME minimise'"},
        {"QUORVANEL-DEMO 1\ndepth 32\ntime 0\nclock 0\n5 end\n", "no 'settings' line"},
        {header.substr(0, header.rfind("score 10")) + "5 end\n", "no score for place 10"},
        {header + "depth 24\n", "'depth' given twice"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ParseError(c.Text).find(c.Message), std::string::npos)
            << "got: " << ParseError(c.Text) << "\nfor: " << c.Text;
    // A key script is read in any order and sorted; demo lines beyond keys are allowed in it,
    // but not an end line, which needs a header.
    Demo script;
    std::string error;
    ASSERT_EQ(ParseDemoText("9 up left\n3 down left\n9 name \"Q\"\n3 minimise\n", "s", 0, &script,
                            &error),
              1)
        << error;
    ASSERT_EQ(script.Events.size(), 4u);
    EXPECT_EQ(script.Events[0].Kind, DemoEventKind::KeyDown);
    EXPECT_EQ(script.Events[1].Kind, DemoEventKind::Minimise);
    EXPECT_EQ(script.Events[2].Kind, DemoEventKind::KeyUp);
    EXPECT_EQ(script.Events[3].Text, "Q");
    EXPECT_NE(ParseError("5 end\n", 0).find("belongs to a demo"), std::string::npos);
}

namespace {

// A whole game in the simulator with everything a demo carries: a game over into the table
// with a name, an Options change, F5's rate figure, a minimised window and the time moving
// on between two visits of the title.
void PlayRecordedGame(const std::filesystem::path& demo) {
    SimOptions options;
    options.Settings = {{"Sounds", 1}, {"RespawnTime", 30}};
    options.HasName = 1;
    options.Name = "Recorder \"one\"";
    options.TimeSeconds = 1000;
    ASSERT_TRUE(StartSimulation(options));
    Game.HighScoreTable[9].Score = 0; // any finished game earns a place
    std::string error;
    ASSERT_EQ(StartDemoRecording(demo.string(), 32, CurrentTimeSeconds(), &error), 1) << error;
    auto key = [](int32_t vk, int32_t down) { down ? HandleKeyDown(vk) : HandleKeyUp(vk); };
    auto frames = [](int32_t n) {
        for (int32_t i = 0; i < n; ++i) RunSimFrame();
    };
    frames(100);
    key(VkF5, 1);
    key(VkF5, 0);
    key(VkSpace, 1);
    frames(1);
    key(VkSpace, 0);
    frames(130);
    key(VkF11, 1); // the headless box leaves the settings; the change is made by hand
    Game.BallSpeed = 1;
    NoteDemoOptions();
    key(VkF11, 0);
    key(VkUp, 1);
    frames(30);
    key(VkUp, 0);
    key(VkLeft, 1);
    Game.WindowActive = 0;
    NoteDemoWindow(0);
    Game.WindowActive = 1;
    NoteDemoWindow(1);
    frames(40);
    key(VkLeft, 0);
    Headless.TimeSeconds = 1234; // read when the title comes round again
    for (int32_t i = 0; i < 6000 && Game.GameState != StateAttract; ++i) RunSimFrame();
    ASSERT_EQ(Game.GameState, StateAttract) << "the game did not end";
    frames(3);
    FinishDemoRecording();
}

} // namespace

TEST(DemoSession, RecordedGamePlaysBackToTheSameStateWithoutDialogsOrSaving) {
    const std::filesystem::path dir = PrivateTempDir("demo-session");
    PlayRecordedGame(dir / "game.qdemo");
    const std::string recorded = GameStateJson();
    ASSERT_EQ(Headless.NameDialogs, 1);
    ASSERT_STREQ(Game.HighScoreTable[9].Name, "Recorder \"one\"");
    const std::string text = ReadText(dir / "game.qdemo");
    for (const char* line : {"\n101 down f5\n", "options PlayerSpeed=0 EnemySpeed=0 BallSpeed=1",
                             " minimise\n", " restore\n", " name \"Recorder \\\"one\\\"\"\n",
                             " time 1234\n", "time 1000\n", " check "})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    // Played back from a fresh start, whatever the simulator would otherwise have said.
    SimOptions options;
    ASSERT_EQ(ReadDemoFile((dir / "game.qdemo").string(), 1, &options.Script, nullptr), 1);
    options.HasName = 1;
    options.Name = "Somebody else";
    ASSERT_TRUE(StartSimulation(options));
    const auto stored = SettingsMemory.Values;
    const auto writes = SettingsMemory.WriteOrder.size();
    while (RunSimFrame()) {
    }
    EXPECT_EQ(Demos.DesyncFrame, 0) << Demos.DesyncMessage;
    EXPECT_EQ(StateDifferences(recorded, GameStateJson()), "");
    EXPECT_EQ(Headless.NameDialogs + Headless.OptionsDialogs, 0);
    EXPECT_EQ(SettingsMemory.WriteOrder.size(), writes);
    EXPECT_EQ(SettingsMemory.Values.size(), stored.size());
    EXPECT_TRUE(SettingsStoreFrozen);
    StopDemoPlayback();
    EXPECT_FALSE(SettingsStoreFrozen);
    ResetDemoSession();
    std::filesystem::remove_all(dir);
}

// A demo whose input is moved by one frame departs from its checks at exactly that frame.
TEST(DemoSession, ACheckNamesTheFirstFrameThatDiffers) {
    const std::filesystem::path dir = PrivateTempDir("demo-desync");
    PlayRecordedGame(dir / "game.qdemo");
    Demo demo;
    std::string error;
    ASSERT_EQ(ReadDemoFile((dir / "game.qdemo").string(), 1, &demo, &error), 1) << error;
    int32_t moved = 0;
    for (DemoEvent& e : demo.Events)
        if (e.Kind == DemoEventKind::KeyDown && e.Key == VkUp) {
            moved = ++e.Frame; // held one frame later
            break;
        }
    ASSERT_GT(moved, 0);
    SimOptions options;
    options.Script = demo;
    ASSERT_TRUE(StartSimulation(options));
    while (RunSimFrame()) {
    }
    // Frame moved - 1 still sees no key; its state differs from the recording's.
    EXPECT_EQ(Demos.DesyncFrame, moved - 1) << Demos.DesyncMessage;
    EXPECT_NE(Demos.DesyncMessage.find("frame " + std::to_string(moved - 1) + " differs"),
              std::string::npos)
        << Demos.DesyncMessage;
    ResetDemoSession();
    std::filesystem::remove_all(dir);
}

// The clock as a desktop sees it: frames late by a few milliseconds, and time passing within a
// frame before the frame rate is counted. The demo carries both, and the playback reads them.
TEST(DemoSession, IrregularClockIsRecordedAndReadBack) {
    const std::filesystem::path dir = PrivateTempDir("demo-clock");
    ResetWorld();
    ResetDemoSession();
    ResetToTitle();
    Game.WindowActive = 1;
    Headless.ClockMs = 500;
    Game.FpsStartTime = ReadMillisecondClock();
    std::string error;
    ASSERT_EQ(StartDemoRecording((dir / "clock.qdemo").string(), 32, 0, &error), 1) << error;
    const uint32_t steps[] = {17, 17, 19, 17, 40, 17, 17};
    std::vector<uint32_t> frameTimes, rateStarts, rates;
    for (int32_t i = 0; i < 140; ++i) {
        Headless.ClockMs += steps[i % 7];
        ASSERT_EQ(UpdateFrame(1), 1);
        // A frame that took 3 ms: the rate count's fresh reading is later than the frame's.
        if (Game.FrameCount == 0) Game.FpsStartTime += 3;
        NoteFrameRan();
        frameTimes.push_back(Game.LastFrameTime);
        rateStarts.push_back(Game.FpsStartTime);
        rates.push_back(Game.FramesPerSecond);
    }
    FinishDemoRecording();
    const std::string text = ReadText(dir / "clock.qdemo");
    EXPECT_NE(text.find("\n3 clock 553\n"), std::string::npos);
    EXPECT_NE(text.find(" clock-later "), std::string::npos);

    ResetWorld();
    ResetDemoSession();
    ResetToTitle();
    Game.WindowActive = 1;
    Demo demo;
    ASSERT_EQ(ReadDemoFile((dir / "clock.qdemo").string(), 1, &demo, &error), 1) << error;
    StartDemoPlayback(demo);
    for (std::size_t i = 0; i < frameTimes.size(); ++i) {
        ASSERT_EQ(PlayDemoFrame(), 1);
        ASSERT_EQ(Game.LastFrameTime, frameTimes[i]) << "frame " << i + 1;
        ASSERT_EQ(Game.FpsStartTime, rateStarts[i]) << "frame " << i + 1;
        ASSERT_EQ(Game.FramesPerSecond, rates[i]) << "frame " << i + 1;
    }
    EXPECT_EQ(PlayDemoFrame(), 0);
    EXPECT_EQ(Demos.DesyncFrame, 0) << Demos.DesyncMessage;
    ResetDemoSession();
    std::filesystem::remove_all(dir);
}

// The digest sees every cell of the grid, wherever it lies in the lanes of the hash, and
// the generator's state; and it does not change while nothing does.
TEST(DemoState, EveryCellAndTheGeneratorCountInTheHash) {
    ResetWorld();
    MakeLevelGrid();
    const uint32_t base = GameStateHash();
    EXPECT_EQ(GameStateHash(), base);
    auto cellCounts = [&](int32_t i) {
        uint8_t old = Playfield[i];
        Playfield[i] = static_cast<uint8_t>(old ^ 0x80);
        bool seen = GameStateHash() != base;
        Playfield[i] = old;
        return seen;
    };
    for (int32_t y : {0, 150, PlayfieldHeight - 1})
        for (int32_t x = 0; x < PlayfieldWidth; ++x)
            ASSERT_TRUE(cellCounts(y * PlayfieldWidth + x)) << x << ", " << y;
    for (int32_t i = 0; i < PlayfieldCells; i += 997) ASSERT_TRUE(cellCounts(i)) << i;
    EXPECT_EQ(GameStateHash(), base);
    RandomNumber();
    EXPECT_NE(GameStateHash(), base);
}
