// Whole games through the simulator's engine: scripted keys, 17 ms frames, the real loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tools/sim/sim.h"

namespace {

constexpr int32_t TitleFrames = 96, LevelPause = 116;

void Frames(int32_t n) {
    for (int32_t i = 0; i < n; ++i) RunSimFrame();
}

// Key events go through the script, applied just before the next frame.
void Key(int32_t vk, int32_t down) {
    DemoEvent event;
    event.Frame = Demos.Frame + 1;
    event.Kind = down ? DemoEventKind::KeyDown : DemoEventKind::KeyUp;
    event.Key = vk;
    Demos.Playback.Events.push_back(event);
}

// From program start to the first frame of play, the title and the pause at their lengths.
void StartGame() {
    SimOptions options;
    options.Settings = {{"Sounds", 1}};
    options.HasName = 1;
    options.Name = "Tester";
    ASSERT_TRUE(StartSimulation(options));
    Frames(TitleFrames - 1);
    EXPECT_EQ(Game.GameState, StateTitle);
    Frames(1);
    EXPECT_EQ(Game.GameState, StateAttract);
    Key(VkSpace, 1);
    Frames(1); // the new game starts in the frame that sees the key
    Key(VkSpace, 0);
    Frames(LevelPause - 1);
    EXPECT_EQ(Game.GameState, StatePause);
    Frames(1);
    ASSERT_EQ(Game.GameState, StatePlay);
}

int32_t CountCells(uint8_t code) {
    return static_cast<int32_t>(std::count(Playfield, Playfield + PlayfieldCells, code));
}

// Holds the key until the player has arrived or play has stopped.
void Steer(int32_t vk, const std::function<bool()>& arrived) {
    Key(vk, 1);
    for (int32_t i = 0; i < 400 && !arrived() && Game.GameState == StatePlay; ++i) RunSimFrame();
    Key(vk, 0);
}

// Up, right, down and back left into the trail's own first leg: caught on the trail.
void GetCaughtOnTrail(int32_t top, int32_t right, int32_t bottom) {
    Steer(VkUp, [=] { return Game.PlayerY <= top; });
    Steer(VkRight, [=] { return Game.PlayerX >= right; });
    Steer(VkDown, [=] { return Game.PlayerY >= bottom; });
    Steer(VkLeft, [] { return false; });
}

TEST(Scenario, ClaimedPatchIsScoredAndOutlivesALostLife) {
    StartGame();
    // A rectangle off the bottom wall left of the start point: up, left, down.
    Steer(VkUp, [] { return Game.PlayerY <= 276; });
    Steer(VkLeft, [] { return Game.PlayerX <= 178; });
    Steer(VkDown, [] { return Game.OnWall == 1; });
    // Inside the 4-cell trail, 16 x 16 cells; the first step's seed on that side then finds
    // it claimed already, an empty fill worth 25 all the same.
    EXPECT_EQ(CountCells(CellClaimed), 256);
    EXPECT_EQ(Game.Score, 256 / 64 + 25 + 25);
    int32_t covered = 0;
    for (int32_t y = ScanTop; y <= ScanBottom; ++y)
        for (int32_t x = ScanLeft; x <= ScanRight; ++x) covered += GetCell(x, y) != CellOpen;
    EXPECT_EQ(Game.PercentComplete, covered * 100 / ScanRectCells);
    const int32_t percent = Game.PercentComplete, reversals = Game.Reversals;

    GetCaughtOnTrail(236, 190, 246); // up the new wall and out into the open
    ASSERT_EQ(Game.GameState, StateLifeLost);
    std::vector<BallRecord> before(Game.Balls, Game.Balls + Game.BallCount);
    Frames(1);
    EXPECT_EQ(Game.Lives, 2);
    Frames(LevelPause);
    EXPECT_EQ(Game.GameState, StateReentry);
    Frames(1);
    EXPECT_EQ(CountCells(CellTrail), 0);
    EXPECT_EQ(CountCells(CellClaimed), 256);
    EXPECT_EQ(Game.Score, 54);
    EXPECT_EQ(Game.PercentComplete, percent);
    EXPECT_EQ(Game.Reversals, reversals);
    EXPECT_EQ(std::pair(Game.PlayerX, Game.PlayerY), std::pair(198, 296));
    EXPECT_EQ(std::pair(Game.Enemies[0].X, Game.Enemies[0].Y), std::pair(1, 171));
    EXPECT_EQ(std::pair(Game.Enemies[1].X, Game.Enemies[1].Y), std::pair(397, 171));
    // Both balls are far from anything here, so the two steps are two free moves.
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(std::pair(Game.Balls[i].X, Game.Balls[i].Y),
                  std::pair(before[i].X + 2 * before[i].Dx, before[i].Y + 2 * before[i].Dy));
    Frames(58);
    EXPECT_EQ(Game.GameState, StateResume);
}

TEST(Scenario, LastLifeLeadsThroughGameOverAndTheTableBackToTheTitle) {
    StartGame();
    Game.HighScoreTable[9].Score = 0; // any finished game now earns a place
    for (int32_t lost = 0; lost < 3; ++lost) {
        for (int32_t i = 0; i < 400 && Game.GameState != StatePlay; ++i) RunSimFrame();
        GetCaughtOnTrail(266, 208, 276);
        ASSERT_EQ(Game.GameState, StateLifeLost);
    }
    const std::size_t sounds = Demos.Sounds.size();
    Frames(1); // no banner, no sound, no pause
    EXPECT_EQ(Game.GameState, StateGameOver);
    EXPECT_EQ(Demos.Sounds.size(), sounds);
    Frames(1 + 290);
    EXPECT_EQ(Game.GameState, StateGameEnded);
    Frames(1);
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_EQ(Headless.NameDialogs, 1);
    EXPECT_STREQ(Game.HighScoreTable[9].Name, "Tester");
    EXPECT_EQ(Game.HighScoreTable[9].Score, Game.Score);
    // On the way into the title the reference colours are drawn and sampled again.
    std::fill(ColourTable, ColourTable + 16, 0x12345u);
    Frames(1);
    EXPECT_EQ(ColourTable[0], MapRgbToPixel(BackBuffer, ReferenceColours[0]));
    Frames(TitleFrames - 1);
    EXPECT_EQ(Game.GameState, StateAttract);
}

TEST(Scenario, LevelsWonAtSeventyFiveAndNinetyTwoThenEscapeAbandonsTheGame) {
    StartGame();
    Game.HighScoreTable[9].Score = 0; // the game would earn a place if it ended
    Game.Level = 36;
    const int32_t won[][2] = {{75, 0}, {92, 6800}}; // percent, score after the tally
    for (const auto& [percent, score] : won) {
        Game.PercentComplete = percent; // as if the last claim had reached it
        Frames(2);                      // play ends the level, then the tally
        EXPECT_EQ(Game.GameState, StateTallyShown);
        EXPECT_EQ(Game.Score, score);
        Key(VkSpace, 1);
        Frames(1);
        Key(VkSpace, 0);
        Frames(LevelPause + 1); // the balls enter the grid with their first move
    }
    EXPECT_EQ(Game.BallCount, 39);
    for (int32_t i = 0; i < 39; ++i)
        EXPECT_EQ(GetCell(Game.Balls[i].X, Game.Balls[i].Y), CellBallFirst + i) << i;
    EXPECT_LT(Game.Balls[39].Y, 24); // the spare one bounces in the status box

    const std::size_t writes = SettingsMemory.WriteOrder.size();
    std::fill(ColourTable, ColourTable + 16, 0x12345u);
    Key(VkEscape, 1);
    Frames(TitleFrames);
    EXPECT_EQ(Game.GameState, StateAttract);
    EXPECT_EQ(ColourTable[0], 0x12345u); // the title keeps the colours it had
    EXPECT_EQ(Headless.NameDialogs, 0);
    EXPECT_EQ(SettingsMemory.WriteOrder.size(), writes);
}

} // namespace
