// Long runs of whole games with random keys and settings, checking the grid every frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tests/support/grid_check.h"
#include "tools/sim/sim.h"

namespace {

constexpr int32_t SoakFrames = 100000;

void RandomSettings(std::mt19937& rng) {
    const int32_t respawn[] = {15, 30, 45, 60};
    ApplySetting({"PlayerSpeed", static_cast<int32_t>(rng() % 2)});
    ApplySetting({"BallSpeed", static_cast<int32_t>(rng() % 2)});
    ApplySetting({"EnemySpeed", static_cast<int32_t>(rng() % 2)});
    ApplySetting({"BonusLife", static_cast<int32_t>(rng() % 3)});
    ApplySetting({"Sounds", static_cast<int32_t>(rng() % 2)});
    ApplySetting({"RandomGame", static_cast<int32_t>(rng() % 2)});
    ApplySetting({"RespawnFlag", static_cast<int32_t>(rng() % 2)});
    ApplySetting({"RespawnTime", respawn[rng() % 4]});
    Headless.TimeSeconds = rng();
}

TEST(Soak, RandomWholeGamesKeepTheGridConsistent) {
    std::mt19937 rng(771);
    SimOptions options;
    options.HasName = 1;
    options.Name = "Soak";
    ASSERT_TRUE(StartSimulation(options));
    RandomSettings(rng);

    const int32_t arrows[] = {VkLeft, VkRight, VkUp, VkDown};
    int32_t gamesStarted = 0, gamesFinished = 0, levelsWon = 0, livesLost = 0;
    bool inGame = false, spaceDown = false;
    for (int32_t frame = 1; frame <= SoakFrames; ++frame) {
        uint32_t roll = rng() % 10000;
        if (roll < 500) {
            int32_t vk = arrows[rng() % 4];
            if (rng() % 3)
                HandleKeyDown(vk);
            else
                HandleKeyUp(vk);
        } else if (roll < 560 || (Game.GameState == StateAttract && roll < 700)) {
            if (spaceDown)
                HandleKeyUp(VkSpace);
            else
                HandleKeyDown(VkSpace);
            spaceDown = !spaceDown;
        } else if (roll < 562) {
            HandleKeyDown(rng() % 2 ? VkEscape : VkF1);
        } else if (roll < 565) {
            HandleKeyDown(VkF5);
        } else if (roll < 580 && Game.GameState == StatePlay) {
            // Now and then a claim is taken to have reached the goal, so that games also
            // pass through tallies and the crowded later levels.
            Game.PercentComplete = 75 + static_cast<int32_t>(rng() % 26);
        }

        int32_t before = Game.GameState;
        RunSimFrame();
        int32_t after = Game.GameState;
        if (before == StateNewGame || (before == StateAttract && after == StatePause)) {
            ++gamesStarted;
            inGame = true;
        }
        if (before == StateGameEnded) ++gamesFinished;
        if (before == StateLevelComplete) ++levelsWon;
        if (before == StateLifeLost) ++livesLost;
        if (after == StateTitle && before != StateTitle) RandomSettings(rng);

        std::string fault;
        if (before == StatePlay)
            fault = GridFault({true, true, true});
        else if (inGame && (Game.PlayerX < 0 || Game.PlayerX > 396 || Game.PlayerY < 46 ||
                            Game.PlayerY > 296))
            fault = "player outside";
        ASSERT_EQ(fault, "") << "frame " << frame << ", state " << before << " -> " << after
                             << ", level " << Game.Level;
    }
    // The run went through many whole games, not one long stand-still.
    EXPECT_GE(gamesStarted, 10);
    EXPECT_GE(gamesFinished, 5);
    EXPECT_GE(levelsWon, 5);
    EXPECT_GE(livesLost, 20);
    std::printf("soak: %d games started, %d finished, %d levels won, %d lives lost\n", gamesStarted,
                gamesFinished, levelsWon, livesLost);
}

} // namespace
