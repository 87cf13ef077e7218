// Long runs of whole games with random keys and settings, checking the grid every frame.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "game/game_record.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tests/support/grid_check.h"
#include "tools/sim/sim.h"

static void RandomSettings(std::mt19937& rng) {
    for (const char* name :
         {"PlayerSpeed", "BallSpeed", "EnemySpeed", "Sounds", "RandomGame", "RespawnFlag"})
        ApplySetting({name, static_cast<int32_t>(rng() % 2)});
    ApplySetting({"BonusLife", static_cast<int32_t>(rng() % 3)});
    ApplySetting({"RespawnTime", static_cast<int32_t>(15 * (1 + rng() % 4))});
    Headless.TimeSeconds = rng();
}

TEST(Soak, RandomWholeGamesKeepTheGridConsistent) {
    std::mt19937 rng(771);
    ASSERT_TRUE(StartSimulation({}));
    RandomSettings(rng);
    const int32_t arrows[] = {VkLeft, VkRight, VkUp, VkDown};
    int32_t started = 0, finished = 0, levelsWon = 0, livesLost = 0;
    bool spaceDown = false;
    for (int32_t frame = 1; frame <= 100000; ++frame) {
        uint32_t roll = rng() % 10000;
        if (roll < 500) {
            int32_t vk = arrows[rng() % 4];
            rng() % 3 ? HandleKeyDown(vk) : HandleKeyUp(vk);
        } else if (roll < 560 || (Game.GameState == StateAttract && roll < 700)) {
            spaceDown ? HandleKeyUp(VkSpace) : HandleKeyDown(VkSpace);
            spaceDown = !spaceDown;
        } else if (roll < 565) {
            HandleKeyDown(roll < 562 ? (rng() % 2 ? VkEscape : VkF1) : VkF5);
        } else if (roll < 580 && Game.GameState == StatePlay) {
            // A claim taken to have reached the goal, so that games also pass through the
            // tallies and the crowded later levels.
            Game.PercentComplete = 75 + static_cast<int32_t>(rng() % 26);
        }
        const int32_t before = Game.GameState;
        RunSimFrame();
        started +=
            before == StateNewGame || (before == StateAttract && Game.GameState == StatePause);
        finished += before == StateGameEnded;
        levelsWon += before == StateLevelComplete;
        livesLost += before == StateLifeLost;
        if (Game.GameState == StateTitle && before != StateTitle) RandomSettings(rng);
        if (before == StatePlay) {
            ASSERT_EQ(GridFault(), "") << "frame " << frame << ", level " << Game.Level;
        }
    }
    // Many whole games, not one long stand-still.
    EXPECT_GE(started, 10);
    EXPECT_GE(finished, 5);
    EXPECT_GE(levelsWon, 5);
    EXPECT_GE(livesLost, 20);
}
