// The simulator's command line: its outputs, its key script and its usage errors.
#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/world.h"
#include "tools/sim/sim.h"

namespace {

int32_t RunSim(std::vector<std::string> args) {
    args.insert(args.begin(), "quorvanel-sim");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return RunSimulator(static_cast<int32_t>(argv.size()), argv.data());
}

TEST(Simulator, ScriptedKeysRunAndTheStateAndTheShotAreWritten) {
    const std::filesystem::path dir = PrivateTempDir("sim");
    const std::string script = dir / "keys.txt", state = dir / "state.json", shot = dir / "99.png";
    std::ofstream(script) << "# start a game\n\n100 down space\n101 up 32\n";
    ASSERT_EQ(RunSim({"--frames=105", "--script", script, "--settings=Sounds=1,RespawnTime=45",
                      "--state", state, "--shot", "99:" + shot}),
              SimExitOk);
    std::stringstream json;
    json << std::ifstream(state).rdbuf();
    for (const char* field :
         {"\"Frame\": 105,", "\"GameState\": 11,", "\"RespawnTime\": 45,",
          "\"SoundsPlayed\": [[100, 122]]", "{\"Name\": \"Marlowe\", \"Score\": 100000}"})
        EXPECT_NE(json.str().find(field), std::string::npos) << field;
    // The attract screen's frame is blue in the picture.
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, shot.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(std::pair(image.width, image.height), std::pair(400u, 300u));
    EXPECT_EQ(std::vector<uint8_t>(&rgb[(150 * 400 + 1) * 3], &rgb[(150 * 400 + 2) * 3]),
              (std::vector<uint8_t>{0, 0, 255}));
}

TEST(Simulator, BadUsageExitsWithTwo) {
    const std::string script = PrivateTempDir("sim-bad") / "bad.txt";
    std::ofstream(script) << "5 down left\n6 press left\n";
    const std::vector<std::string> cases[] = {
        {"--script", script}, {"--settings", "BonusLife=3"},
        {"--depth", "15"},    {"--frames", "10", "--shot", "11:x.png"},
        {"--bogus"},          {"--frames", "-1"}};
    for (const auto& args : cases) EXPECT_EQ(RunSim(args), SimExitUsage) << args[0];
}

TEST(Simulator, OutputsAreTriedBeforeTheFirstFrameAndEveryFailureIsExplained) {
    const std::string dir = PrivateTempDir("sim-out"), state = dir + "/state.json";
    // Two thousand million frames would take hours: a failure must come before them.
    const std::string forever = "2000000000";
    const struct {
        std::vector<std::string> Args;
        int32_t Exit;
        std::string Said;
    } cases[] = {
        {{"--frames", forever, "--state", dir + "/none/state.json"},
         SimExitFailure,
         "cannot write '" + dir + "/none/state.json': No such file or directory"},
        {{"--frames", forever, "--state", state, "--shot", "9:" + dir},
         SimExitFailure,
         "cannot write '" + dir + "': is a directory"},
        {{"--frames", "3", "--state", "/dev/full"},
         SimExitFailure,
         "cannot write '/dev/full': No space left on device"},
        {{"--frames", "3", "--shot", "2:/dev/full"},
         SimExitFailure,
         "cannot write '/dev/full': No space left on device"},
        {{"--script", dir}, SimExitUsage, "cannot read script '" + dir + "': is a directory"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunSim(c.Args), c.Exit) << c.Said;
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.Said), std::string::npos) << c.Said;
    }
    // The tries leave nothing behind.
    EXPECT_FALSE(std::filesystem::exists(state));
}

} // namespace
