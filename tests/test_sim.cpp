// The simulator's command line, script and output formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/keys.h"
#include "tools/sim/sim.h"

namespace {

TEST(SimScript, ReadsEventsAndSkipsCommentsAndBlankLines) {
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(ParseScriptText("# warm-up\n\n  \n12 down left\r\n12 up LEFT\n300 down 116\n"
                                "  # indented comment\n7 down f2\n",
                                "moves.txt", &events, &error))
        << error;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].Frame, 12);
    EXPECT_EQ(events[0].Down, 1);
    EXPECT_EQ(events[0].VirtualKey, VkLeft);
    EXPECT_EQ(events[1].Down, 0);
    EXPECT_EQ(events[1].VirtualKey, VkLeft);
    EXPECT_EQ(events[2].VirtualKey, VkF5);
    EXPECT_EQ(events[3].VirtualKey, VkF2);
}

TEST(SimScript, MalformedLineIsReportedWithFileAndLine) {
    const char* bad[] = {"x down left",       "5 hold left",  "5 down banana", "5 down",
                         "5 down left extra", "-3 down left", "5 down 0",      "5 down 256"};
    for (const char* line : bad) {
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(ParseScriptText(std::string("1 down up\n\n") + line + "\n", "keys.txt",
                                     &events, &error))
            << line;
        EXPECT_EQ(error.rfind("keys.txt:3: ", 0), 0u) << error;
    }
}

TEST(SimScript, KeyNamesMapToVirtualKeys) {
    const std::pair<const char*, int32_t> names[] = {
        {"left", 37},   {"up", 38},  {"right", 39}, {"down", 40}, {"space", 32},
        {"escape", 27}, {"f1", 112}, {"f2", 113},   {"f5", 116},  {"65", 65}};
    for (const auto& [name, code] : names) {
        int32_t vk = 0;
        EXPECT_TRUE(ParseKeyName(name, &vk)) << name;
        EXPECT_EQ(vk, code) << name;
    }
}

TEST(SimSettings, AcceptsOnlyKnownNamesAndValues) {
    std::vector<SettingValue> settings;
    std::string error;
    ASSERT_TRUE(ParseSettingsList("PlayerSpeed=1,BonusLife=2,RespawnTime=60", &settings, &error));
    ASSERT_EQ(settings.size(), 3u);
    EXPECT_EQ(settings[2].Name, "RespawnTime");
    EXPECT_EQ(settings[2].Value, 60);
    for (const char* bad : {"BonusLife=3", "RespawnTime=20", "Sounds=2", "Speed=1", "Sounds",
                            "Sounds=", "Sounds=-1", "RandomGame=1x", ""}) {
        std::vector<SettingValue> none;
        EXPECT_FALSE(ParseSettingsList(bad, &none, &error)) << bad;
    }
}

TEST(SimOptionsParse, ReadsEveryOption) {
    std::vector<std::string> args = {"sim",    "--frames", "50",           "--time=77", "--depth",
                                     "16",     "--name",   "Ada Lovelace", "--shot",    "3:a.png",
                                     "--shot", "50:b.png", "--state",      "out.json"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions(static_cast<int32_t>(argv.size()), argv.data(), &options, &error))
        << error;
    EXPECT_EQ(options.Frames, 50);
    EXPECT_EQ(options.TimeSeconds, 77u);
    EXPECT_EQ(options.Depth, 16);
    EXPECT_EQ(options.HasName, 1);
    EXPECT_EQ(options.Name, "Ada Lovelace");
    ASSERT_EQ(options.Shots.size(), 2u);
    EXPECT_EQ(options.Shots[1].Frame, 50);
    EXPECT_EQ(options.Shots[1].Path, "b.png");
    EXPECT_EQ(options.StatePath, "out.json");
}

TEST(SimJson, EscapesQuotesBackslashesAndOddBytes) {
    EXPECT_EQ(JsonEscape("plain"), "plain");
    EXPECT_EQ(JsonEscape("say \"hi\"\\"), "say \\\"hi\\\"\\\\");
    EXPECT_EQ(JsonEscape("a\nb\x01"), "a\\nb\\u0001");
    EXPECT_EQ(JsonEscape("caf\xe9"), "caf\\u00e9");
}

} // namespace
