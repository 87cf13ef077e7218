// The simulator's command line: its outputs, its key script and its usage errors.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_record.h"
#include "playfield/playfield.h"
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

namespace {

std::string Slurp(const std::filesystem::path& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

} // namespace

// A script recorded as a demo plays back to the same dump, grid and generator included;
// the dump's grid is the grid, cell for cell.
TEST(Simulator, RecordedScriptPlaysBackToTheSameDumpWithTheWholeGrid) {
    const std::filesystem::path dir = PrivateTempDir("sim-demo");
    std::ofstream(dir / "keys.txt") << "100 down space\n101 up space\n330 down up\n360 up up\n"
                                       "360 down left\n420 up left\n";
    ASSERT_EQ(RunSim({"--script", dir / "keys.txt", "--frames", "900", "--time", "5", "--record",
                      dir / "game.qdemo", "--state", dir / "recorded.json"}),
              SimExitOk);
    ASSERT_EQ(RunSim({"--demo", dir / "game.qdemo", "--state", dir / "played.json", "--trace",
                      dir / "played.trace"}),
              SimExitOk);
    const std::string json = Slurp(dir / "played.json");
    EXPECT_EQ(json, Slurp(dir / "recorded.json"));
    EXPECT_NE(json.find("\"Frame\": 900,"), std::string::npos);
    EXPECT_NE(json.find("\"RandomState\": " + std::to_string(RandomState) + ","),
              std::string::npos);
    // The grid decodes to the cells the game left behind.
    std::size_t at = json.find("\"Grid\": \"") + 9;
    std::istringstream runs(json.substr(at, json.find('"', at) - at));
    std::vector<uint8_t> cells;
    for (std::string run; runs >> run;)
        cells.insert(cells.end(), std::stoul(run.substr(run.find('*') + 1)),
                     static_cast<uint8_t>(std::stoul(run.substr(0, run.find('*')))));
    ASSERT_EQ(cells.size(), static_cast<std::size_t>(PlayfieldCells));
    EXPECT_TRUE(std::equal(cells.begin(), cells.end(), Playfield));
    EXPECT_GT(std::count(cells.begin(), cells.end(), CellClaimed) +
                  std::count(cells.begin(), cells.end(), CellWall),
              PlayfieldCells / 10);
    // One line a frame after the header.
    EXPECT_EQ(
        std::count(std::istreambuf_iterator<char>(std::ifstream(dir / "played.trace").rdbuf()),
                   std::istreambuf_iterator<char>(), '\n'),
        902);
    std::filesystem::remove_all(dir);
}

// What a person is shown when two replays disagree: each field with both values, the grid's
// cells, and for traces the first frame that differs.
TEST(Simulator, ComparisonNamesTheFieldsCellsAndFirstFrameThatDiffer) {
    const std::filesystem::path dir = PrivateTempDir("sim-compare");
    std::ofstream(dir / "keys.txt") << "100 down space\n101 up space\n";
    ASSERT_EQ(RunSim({"--script", dir / "keys.txt", "--frames", "300", "--state", dir / "a.json",
                      "--trace", dir / "a.trace"}),
              SimExitOk);
    const std::string a = Slurp(dir / "a.json");
    std::string b = a;
    auto replace = [&](const std::string& from, const std::string& to) {
        std::size_t at = b.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        b.replace(at, from.size(), to);
    };
    replace("\"Score\": 0,", "\"Score\": 25,");
    replace("{\"X\": ", "{\"X\": 1"); // ball 0
    // Cell (0, 0) changed: the first run of the grid loses a cell to a run of its own.
    std::size_t grid = b.find("\"Grid\": \"") + 9, star = b.find('*', grid);
    int32_t code = std::stoi(b.substr(grid, star - grid));
    int32_t count = std::stoi(b.substr(star + 1));
    ASSERT_GT(count, 1);
    replace(b.substr(grid, b.find(' ', grid) - grid), std::to_string(code ^ 1) + "*1 " +
                                                          std::to_string(code) + "*" +
                                                          std::to_string(count - 1));
    std::ofstream(dir / "b.json") << b;
    std::string report;
    EXPECT_EQ(CompareStateFiles(dir / "a.json", dir / "b.json", &report), 0);
    const std::string gridLine =
        "Grid: 1 cells differ, within x 0..0, y 0..0; the first at (0, 0): "
        "expected " +
        std::to_string(code) + ", got " + std::to_string(code ^ 1) + "\n";
    for (const std::string& line :
         {std::string("Score: expected 0, got 25\n"), std::string("Balls[0].X: expected "),
          gridLine, std::string("3 fields differ\n")})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\nin:\n" << report;
    report.clear();
    EXPECT_EQ(CompareStateFiles(dir / "a.json", dir / "a.json", &report), 1);
    EXPECT_EQ(report, "");

    // The same trace with the score of its 200th frame changed.
    std::istringstream lines(Slurp(dir / "a.trace"));
    std::string changed, line, scoreAt;
    for (int32_t n = 0; std::getline(lines, line); ++n) {
        std::istringstream words(line);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        if (n == 1) scoreAt = std::to_string(std::find(w.begin(), w.end(), "Score") - w.begin());
        if (n > 1 && w[0] == "200") {
            w[std::stoi(scoreAt)] = "777";
            line.clear();
            for (const std::string& word : w) line += (line.empty() ? "" : " ") + word;
        }
        changed += line + "\n";
    }
    std::ofstream(dir / "b.trace") << changed;
    EXPECT_EQ(CompareStateFiles(dir / "a.trace", dir / "b.trace", &report), 0);
    EXPECT_NE(
        report.find("first frame at which the states differ: 200\n  Score: expected 0, got 777\n"),
        std::string::npos)
        << report;
    std::filesystem::remove_all(dir);
}

// A demo that departs from its recording: the run goes on to the end, and says where it
// departed; a demo that cannot be read runs nothing.
TEST(Simulator, DesyncAndUnreadableDemosHaveTheirOwnExitCodes) {
    const std::filesystem::path dir = PrivateTempDir("sim-desync");
    std::ofstream(dir / "keys.txt") << "100 down space\n101 up space\n";
    ASSERT_EQ(
        RunSim({"--script", dir / "keys.txt", "--frames", "200", "--record", dir / "game.qdemo"}),
        SimExitOk);
    std::string demo = Slurp(dir / "game.qdemo");
    std::size_t check = demo.find("\n161 check ") + 11; // frames 129..160, two digits each
    demo.replace(check + 2 * 19, 2, demo.substr(check + 2 * 19, 2) == "00" ? "01" : "00");
    std::ofstream(dir / "tampered.qdemo") << demo;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunSim({"--demo", dir / "tampered.qdemo", "--state", dir / "s.json"}),
              SimExitDiffers);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("desync: the state after frame 148 differs"), std::string::npos) << said;
    EXPECT_NE(Slurp(dir / "s.json").find("\"Frame\": 200,"), std::string::npos);

    std::ofstream(dir / "newer.qdemo") << "QUORVANEL-DEMO 9\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunSim({"--demo", dir / "newer.qdemo", "--state", dir / "n.json"}), SimExitUsage);
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("newer than this build plays"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(dir / "n.json"));
    std::filesystem::remove_all(dir);
}
