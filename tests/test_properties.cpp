// Random play on real levels through the game's own loop: the grid's rules after every frame
// of play, and the percentage against a recount of the covered cells after every claim.
#include <gtest/gtest.h>

#include <random>

#include "game/game_record.h"
#include "game/life_cycle.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tests/support/grid_check.h"
#include "tools/sim/sim.h"

static const int32_t Arrows[] = {VkLeft, VkRight, VkUp, VkDown}; // the opposite of k is k ^ 1

// Game g's settings: the speeds, random placement and re-spawn take every combination once
// in 32 games; the bonus rule and the re-spawn period cycle beside them.
static void ApplyGameSettings(int32_t g, std::mt19937& rng) {
    int32_t bit = 0;
    for (const char* name : {"PlayerSpeed", "BallSpeed", "EnemySpeed", "RandomGame", "RespawnFlag"})
        ApplySetting({name, (g >> bit++) & 1});
    ApplySetting({"BonusLife", g % 3});
    ApplySetting({"RespawnTime", 15 * (1 + g % 4)});
    Headless.TimeSeconds = rng();
}

// The player's hands cut out boxes: away from the wall the square is nearest to, sideways,
// then back until the trail closes; a quarter of the legs hold a random arrow instead.
struct Hands {
    int32_t Arrow = 0, FramesLeft = 0, Leg = 2, Out = 0;
    bool Space = false;
    void Hold(int32_t vk) {
        if (Arrow) HandleKeyUp(Arrow);
        if ((Arrow = vk)) HandleKeyDown(vk);
    }
    void ToggleSpace() {
        Space ? HandleKeyUp(VkSpace) : HandleKeyDown(VkSpace);
        Space = !Space;
    }
    void ReleaseAll() {
        Hold(0);
        if (Space) ToggleSpace();
        *this = Hands{};
    }
    void Play(std::mt19937& rng) {
        const int32_t x = Game.PlayerX, y = Game.PlayerY, draw = static_cast<int32_t>(rng() % 4);
        if (Leg == 2 && Game.TrailActive == 0 && Game.OnWall == 1) FramesLeft = 0;
        if (--FramesLeft > 0) return;
        Leg = (Leg + 1) % 3;
        if (Leg == 0) Out = y >= 280 ? 2 : y <= 60 ? 3 : x <= 15 ? 1 : x >= 380 ? 0 : draw;
        const int32_t way = Leg == 0 ? Out : Leg == 1 ? (Out < 2 ? 2 : 0) + draw % 2 : Out ^ 1;
        Hold(Arrows[rng() % 4 == 0 ? draw : way]);
        FramesLeft = Leg == 2 ? 200 : 2 + static_cast<int32_t>(rng() % 40);
    }
};

TEST(Properties, RandomPlayKeepsTheGridAndThePercentageRight) {
    std::mt19937 rng(20240611);
    ASSERT_TRUE(StartSimulation({}));
    ApplyGameSettings(0, rng);
    Hands hands;
    int32_t games = 0, playFrames = 0, gameFrames = 0, exact = 0, bounded = 0, lost = 0;
    for (int32_t frame = 1; playFrames < 12000; ++frame) {
        ASSERT_LT(frame, 48000) << "play has stalled";
        const int32_t before = Game.GameState, level = games % 3 == 1 ? 1 : 1 + games * 13 % 38;
        if (before == StatePlay && gameFrames == 0 && level > 1) {
            Game.Level = level; // straight on to a crowded level, as the tally's space bar would
            StartLevel();
            gameFrames = 1;
            continue;
        }
        if (before == StatePlay && ++gameFrames > 375) {
            hands.ReleaseAll();
            HandleKeyDown(VkEscape); // abandons the game
        } else if (before == StatePlay) {
            hands.Play(rng);
        } else if (before == StatePause || before == StateAttract || before == StateTallyShown) {
            hands.ToggleSpace();
        }
        const int32_t scoreBefore = Game.Score;
        RunSimFrame();
        if (Game.GameState == StateTitle && before != StateTitle) ApplyGameSettings(games, rng);
        if (Game.GameState == StatePause && (before == StateNewGame || before == StateAttract))
            ++games, gameFrames = 0;
        lost += Game.GameState == StateLifeLost;
        if (before != StatePlay || Game.GameState == StateTitle) continue;
        ++playFrames;
        ASSERT_EQ(GridFault(), "") << "frame " << frame << ", game " << games;
        // Nothing else scores in play; a square off the wall again has covered new cells since.
        if (Game.Score == scoreBefore || Game.TrailActive != 0) continue;
        const int32_t covered = CountCoveredCells(), others = covered - CountBallCells();
        if (Game.BallSpeed == 0) { // the balls stepped before the claim and not after it
            ASSERT_EQ(Game.PercentComplete, PercentFromCoveredCells(covered)) << frame;
            ++exact;
        } else { // a second ball step followed: the balls' share at the claim is not known
            ASSERT_GE(Game.PercentComplete, PercentFromCoveredCells(others)) << frame;
            ASSERT_LE(Game.PercentComplete, PercentFromCoveredCells(others + 4 * Game.BallCount));
            ++bounded;
        }
    }
    // Every combination of the settings was played, and the checks were not idle.
    EXPECT_GE(games, 32);
    EXPECT_GE(exact, 25);
    EXPECT_GE(bounded, 25);
    EXPECT_GE(lost, 30);
}
