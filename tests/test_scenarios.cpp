// Whole games through the simulator's engine: scripted keys, 17 ms frames, the real loop.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "game/life_cycle.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tools/sim/sim.h"

namespace {

constexpr int32_t TitleFrames = 96;
constexpr int32_t LevelPause = 116;

void Start(const std::string& settings = "") {
    SimOptions options;
    std::string error;
    if (!settings.empty()) {
        ASSERT_TRUE(ParseSettingsList(settings, &options.Settings, &error));
    }
    options.HasName = 1;
    options.Name = "Tester";
    ASSERT_TRUE(StartSimulation(options));
}

void Frames(int32_t n) {
    for (int32_t i = 0; i < n; ++i) RunSimFrame();
}

// Key events go through the script, applied just before the next frame.
void Press(int32_t vk) {
    Sim.Script.push_back({Sim.Frame + 1, 1, vk});
}
void Release(int32_t vk) {
    Sim.Script.push_back({Sim.Frame + 1, 0, vk});
}

// Runs frames until the condition holds or play stops; true when the condition held.
bool PlayUntil(const std::function<bool()>& condition, int32_t limit = 400) {
    for (int32_t i = 0; i < limit; ++i) {
        if (condition()) return true;
        if (Game.GameState != StatePlay) return false;
        RunSimFrame();
    }
    return condition();
}

void Steer(int32_t vk, const std::function<bool()>& arrived) {
    Press(vk);
    PlayUntil(arrived);
    Release(vk);
}

void StartGameFromTitle() {
    Frames(TitleFrames);
    Press(VkSpace);
    Frames(1);
    Release(VkSpace);
    Frames(LevelPause);
}

int32_t CountCells(uint8_t code) {
    int32_t n = 0;
    for (int32_t i = 0; i < PlayfieldCells; ++i) n += Playfield[i] == code;
    return n;
}

// A small rectangle off the bottom wall left of the start point: up, left, down.
void ClaimCornerPatch() {
    Steer(VkUp, [] { return Game.PlayerY <= 276; });
    Steer(VkLeft, [] { return Game.PlayerX <= 178; });
    Steer(VkDown, [] { return Game.TrailActive == 0 && Game.OnWall == 1; });
}

// Up, right, down and back left into the trail's own first leg: caught on the trail.
void GetCaughtOnTrail(int32_t top, int32_t right, int32_t bottom) {
    Steer(VkUp, [=] { return Game.PlayerY <= top; });
    Steer(VkRight, [=] { return Game.PlayerX >= right; });
    Steer(VkDown, [=] { return Game.PlayerY >= bottom; });
    Steer(VkLeft, [] { return false; });
}

class Scenario : public ::testing::Test {
  protected:
    void TearDown() override { Sim = SimSession{}; }
};

TEST_F(Scenario, TitleLogoScrollsForNinetySixFrames) {
    Start();
    Frames(TitleFrames - 1);
    // Two cells a frame from 200: the 95th frame leaves 10, the last step before the stop.
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_EQ(Game.TitleScrollY, 10);
    Frames(1);
    EXPECT_EQ(Game.GameState, StateAttract);
    EXPECT_EQ(Game.TitleScrollY, 10);
}

TEST_F(Scenario, SpaceInAttractStartsLevelOneAfterItsPause) {
    Start();
    Frames(TitleFrames + 20);
    ASSERT_EQ(Game.GameState, StateAttract);
    Press(VkSpace);
    Frames(1);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StatePlay);
    EXPECT_EQ(Game.PauseFrames, LevelPause);
    EXPECT_EQ(Game.Level, 1);
    EXPECT_EQ(Game.Lives, 3);
    EXPECT_EQ(Game.BallCount, 2);
    Release(VkSpace);
    Frames(LevelPause - 1);
    EXPECT_EQ(Game.GameState, StatePause);
    Frames(1);
    EXPECT_EQ(Game.GameState, StatePlay);
}

TEST_F(Scenario, ClosedTrailClaimsTheBallFreeSide) {
    Start();
    StartGameFromTitle();
    ASSERT_EQ(Game.GameState, StatePlay);
    ClaimCornerPatch();
    ASSERT_EQ(Game.GameState, StatePlay);
    ASSERT_EQ(Game.Lives, 3);

    int32_t claimed = 0, covered = 0;
    for (int32_t y = 0; y < PlayfieldHeight; ++y)
        for (int32_t x = 0; x < PlayfieldWidth; ++x) {
            uint8_t c = GetCell(x, y);
            if (c == CellClaimed) {
                ++claimed;
                EXPECT_TRUE(x >= 178 && x <= 201 && y >= 276 && y <= 295) << x << "," << y;
            }
            if (x >= ScanLeft && x <= ScanRight && y >= ScanTop && y <= ScanBottom)
                covered += c != CellOpen;
        }
    EXPECT_GT(claimed, 200);
    EXPECT_EQ(CountCells(CellTrail), 0);
    // Each fill scores cells / 64 + 25; the fills seeded in the claimed side score 25 more.
    int32_t extra = Game.Score - claimed / 64;
    EXPECT_TRUE(extra >= 25 && extra <= 100 && extra % 25 == 0) << Game.Score;
    EXPECT_EQ(Game.PercentComplete, static_cast<int32_t>(covered * 100.0 / ScanRectCells));
    // The patch is painted in one of the claim colours.
    uint32_t paint = ReadPixel(BackBuffer, 190, 285);
    bool isClaimColour = false;
    for (int32_t i = 1; i <= 12; ++i) isClaimColour |= paint == ColourTable[i];
    EXPECT_TRUE(isClaimColour);
}

TEST_F(Scenario, LostLifeClearsTheBoardButKeepsTheClaim) {
    Start("Sounds=1");
    StartGameFromTitle();
    ClaimCornerPatch();
    ASSERT_EQ(Game.Lives, 3);
    int32_t claimed = CountCells(CellClaimed);
    int32_t score = Game.Score, percent = Game.PercentComplete, reversals = Game.Reversals;

    // Up the new wall, out into the open, and back into the trail's first leg.
    GetCaughtOnTrail(236, 190, 246);
    ASSERT_EQ(Game.GameState, StateLifeLost);
    EXPECT_GT(CountCells(CellTrail), 0);
    std::vector<BallRecord> before(Game.Balls, Game.Balls + Game.BallCount);
    std::size_t sounds = Sim.Sounds.size();

    Frames(1);
    EXPECT_EQ(Game.Lives, 2);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StateReentry);
    ASSERT_EQ(Sim.Sounds.size(), sounds + 1);
    EXPECT_EQ(Sim.Sounds.back().ResourceId, SoundLifeLost);
    EXPECT_EQ(Sim.Sounds.back().Frame, Sim.Frame);
    Frames(LevelPause);
    EXPECT_EQ(Game.GameState, StateReentry);
    Frames(1);
    EXPECT_EQ(Game.ResumeState, StateResume);
    EXPECT_EQ(Game.PauseFrames, 58);
    EXPECT_EQ(Sim.Sounds.back().ResourceId, SoundLevelStart);

    EXPECT_EQ(CountCells(CellTrail), 0);
    EXPECT_EQ(CountCells(CellClaimed), claimed);
    EXPECT_EQ(Game.Score, score);
    EXPECT_EQ(Game.PercentComplete, percent);
    EXPECT_EQ(Game.Reversals, reversals);
    EXPECT_EQ(Game.PlayerX, 198);
    EXPECT_EQ(Game.PlayerY, 296);
    EXPECT_EQ(Game.Enemies[0].X, 1);
    EXPECT_EQ(Game.Enemies[0].Y, 171);
    EXPECT_EQ(Game.Enemies[1].X, 397);
    EXPECT_EQ(Game.Enemies[1].Y, 171);
    // Both level-one balls are far from anything here, so two steps are two free moves.
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(Game.Balls[i].X, before[i].X + 2 * before[i].Dx) << i;
        EXPECT_EQ(Game.Balls[i].Y, before[i].Y + 2 * before[i].Dy) << i;
    }
    Frames(58);
    EXPECT_EQ(Game.GameState, StateResume);
    Frames(1);
    EXPECT_EQ(Game.GameState, StatePlay);
}

// Plays until the last life is gone; returns the number of lives lost.
int32_t LoseAllLives() {
    int32_t lost = 0;
    for (int32_t guard = 0; guard < 10 && Game.Lives > 0; ++guard) {
        GetCaughtOnTrail(266, 208, 276);
        if (Game.GameState != StateLifeLost) break;
        ++lost;
        if (Game.Lives == 1) return lost;
        for (int32_t i = 0; i < 400 && Game.GameState != StatePlay; ++i) RunSimFrame();
    }
    return lost;
}

TEST_F(Scenario, LastLifeLeadsThroughGameOverToTheTable) {
    Start("Sounds=1");
    Game.HighScoreTable[9].Score = 0; // any finished game now earns a place
    StartGameFromTitle();
    EXPECT_EQ(LoseAllLives(), 3);
    ASSERT_EQ(Game.GameState, StateLifeLost);
    std::size_t sounds = Sim.Sounds.size();
    Frames(1); // no banner, no sound, no pause
    EXPECT_EQ(Game.Lives, 0);
    EXPECT_EQ(Game.GameState, StateGameOver);
    EXPECT_EQ(Game.ResumeState, 0);
    EXPECT_EQ(Sim.Sounds.size(), sounds);
    Frames(1);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StateGameEnded);
    EXPECT_EQ(Sim.Sounds.back().ResourceId, SoundGameOver);
    Frames(290);
    EXPECT_EQ(Game.GameState, StateGameEnded);
    EXPECT_EQ(Headless.NameDialogs, 0);
    Frames(1);
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_EQ(Headless.NameDialogs, 1);
    EXPECT_STREQ(Game.HighScoreTable[9].Name, "Tester");
    EXPECT_EQ(Game.HighScoreTable[9].Score, Game.Score);
    EXPECT_EQ(SettingsMemory.Values.count("PlayerName10"), 1u);
    EXPECT_EQ(Game.ColoursSampled, 0);

    // Level start 122, three lives lost with only two banners, then game over.
    int32_t lifeSounds = 0;
    for (const SoundEvent& s : Sim.Sounds) lifeSounds += s.ResourceId == SoundLifeLost;
    EXPECT_EQ(lifeSounds, 2);
    EXPECT_EQ(Sim.Sounds.front().ResourceId, SoundLevelStart);
    EXPECT_EQ(Sim.Sounds.front().Frame, TitleFrames + 1);

    // On the way into the title the reference colours are drawn and sampled again.
    std::fill(ColourTable, ColourTable + 16, 0x12345u);
    Frames(1);
    EXPECT_EQ(Game.ColoursSampled, 1);
    for (int32_t i = 0; i < 15; ++i)
        EXPECT_EQ(ColourTable[i], MapRgbToPixel(BackBuffer, ReferenceColours[i])) << i;
    Frames(TitleFrames - 1);
    EXPECT_EQ(Game.GameState, StateAttract);
}

TEST_F(Scenario, WithoutSoundsNothingIsPlayedOrStopped) {
    Start("Sounds=0");
    StartGameFromTitle();
    LoseAllLives();
    Frames(1 + 1 + 290 + 1);
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_TRUE(Sim.Sounds.empty());
    EXPECT_EQ(Headless.SoundStops, 0);
}

TEST_F(Scenario, EscapeAbandonsTheGameWithoutAnEntry) {
    Start();
    Game.HighScoreTable[9].Score = 0;
    StartGameFromTitle();
    Frames(30);
    std::size_t writes = SettingsMemory.WriteOrder.size();
    Press(VkEscape);
    Frames(1);
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_EQ(Game.ColoursSampled, 1);
    Frames(400);
    EXPECT_EQ(Game.GameState, StateAttract);
    EXPECT_EQ(Headless.NameDialogs, 0);
    EXPECT_EQ(Game.HighScoreTable[9].Score, 0);
    EXPECT_EQ(SettingsMemory.WriteOrder.size(), writes);
}

TEST_F(Scenario, LevelThirtyEightPlaysThirtyNineBallsAndKeepsOneSpare) {
    Start("BonusLife=2");
    StartGameFromTitle();
    Game.Level = 37;
    Game.PercentComplete = 75; // as if the last claim had reached the goal
    Frames(2);                 // play ends, the tally runs
    EXPECT_EQ(Game.GameState, StateTallyShown);
    EXPECT_EQ(Game.Level, 38);
    Press(VkSpace);
    Frames(1);
    Release(VkSpace);
    EXPECT_EQ(Game.BallCount, 39);
    EXPECT_EQ(Game.Reversals, 39);
    Frames(LevelPause + 5);
    ASSERT_EQ(Game.GameState, StatePlay);
    for (int32_t i = 0; i < 39; ++i) {
        EXPECT_GE(Game.Balls[i].Y, 50) << i;
        EXPECT_EQ(GetCell(Game.Balls[i].X, Game.Balls[i].Y), CellBallFirst + i) << i;
    }
    EXPECT_LT(Game.Balls[39].Y, 24); // the spare ball bounces in the status box
    EXPECT_GE(Game.Balls[39].X, 115);
    EXPECT_LE(Game.Balls[39].X, 285);
}

TEST_F(Scenario, LevelWonAtNinetyTwoPercentScoresTheBonus) {
    Start("BonusLife=0");
    StartGameFromTitle();
    int32_t score = Game.Score;
    Game.PercentComplete = 92;
    Frames(2);
    EXPECT_EQ(Game.GameState, StateTallyShown);
    EXPECT_EQ(Game.Score, score + 6800);
    EXPECT_EQ(Game.Lives, 4);
}

class Simulator : public ::testing::Test {
  protected:
    void TearDown() override { Sim = SimSession{}; }
    std::string dir = ::testing::TempDir();
    int32_t Run(std::vector<std::string> args) {
        args.insert(args.begin(), "quorvanel-sim");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        return RunSimulator(static_cast<int32_t>(argv.size()), argv.data());
    }
};

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(Simulator, WritesTheStateAndTheShot) {
    std::string state = dir + "sim_state.json", shot = dir + "sim_shot.png";
    std::remove(shot.c_str());
    ASSERT_EQ(Run({"--frames", "120", "--settings", "Sounds=1,RespawnTime=45", "--state", state,
                   "--shot", "110:" + shot}),
              SimExitOk);
    std::string json = ReadText(state);
    EXPECT_NE(json.find("\"Frame\": 120"), std::string::npos);
    EXPECT_NE(json.find("\"GameState\": 1,"), std::string::npos);
    EXPECT_NE(json.find("\"RespawnTime\": 45,"), std::string::npos);
    EXPECT_NE(json.find("\"SoundsPlayed\": []"), std::string::npos);
    EXPECT_NE(json.find("{\"Name\": \"Marlowe\", \"Score\": 100000}"), std::string::npos);

    // The attract screen's frame is blue in the picture.
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, shot.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(image.width, 400u);
    EXPECT_EQ(image.height, 300u);
    const uint8_t* p = &rgb[(150 * 400 + 1) * 3];
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 255);
}

TEST_F(Simulator, ScriptedSpaceStartsAGameAndItsSoundIsDated) {
    std::string script = dir + "sim_script.txt", state = dir + "sim_state2.json";
    std::ofstream(script) << "# start a game\n\n100 down space\n101 up 32\n";
    ASSERT_EQ(Run({"--frames=105", "--script", script, "--settings=Sounds=1", "--state", state}),
              SimExitOk);
    std::string json = ReadText(state);
    EXPECT_NE(json.find("\"GameState\": 11,"), std::string::npos);
    EXPECT_NE(json.find("\"SoundsPlayed\": [[100, 122]]"), std::string::npos);
}

TEST_F(Simulator, BadUsageExitsWithTwo) {
    std::string script = dir + "sim_bad.txt";
    std::ofstream(script) << "5 down left\n6 press left\n";
    EXPECT_EQ(Run({"--script", script}), SimExitUsage);
    EXPECT_EQ(Run({"--settings", "BonusLife=3"}), SimExitUsage);
    EXPECT_EQ(Run({"--depth", "15"}), SimExitUsage);
    EXPECT_EQ(Run({"--frames", "10", "--shot", "11:x.png"}), SimExitUsage);
    EXPECT_EQ(Run({"--bogus"}), SimExitUsage);
    EXPECT_EQ(Run({"--help"}), SimExitOk);
}

} // namespace
