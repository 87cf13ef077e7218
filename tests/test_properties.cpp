// Random play on real levels through the game's own loop: the grid's rules after every frame
// of play, and the percentage against a recount of the covered cells after every claim.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "game/game_record.h"
#include "game/life_cycle.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "tests/support/grid_check.h"
#include "tools/sim/sim.h"

namespace {

constexpr int32_t PlayFramesWanted = 12000;
constexpr int32_t PlayFramesPerGame = 375; // then Escape abandons the game

// Game g's settings: the three speeds, random placement and re-spawn take every
// combination once in 32 games; the bonus rule and the re-spawn period cycle beside them.
void ApplyGameSettings(int32_t g) {
    ApplySetting({"PlayerSpeed", g & 1});
    ApplySetting({"BallSpeed", (g >> 1) & 1});
    ApplySetting({"EnemySpeed", (g >> 2) & 1});
    ApplySetting({"RandomGame", (g >> 3) & 1});
    ApplySetting({"RespawnFlag", (g >> 4) & 1});
    ApplySetting({"BonusLife", g % 3});
    ApplySetting({"RespawnTime", 15 * (1 + g % 4)});
}

// Game g (counted from 1) plays level 1 or goes on to a later one, up to 39 balls.
int32_t LevelOfGame(int32_t g) {
    return g % 3 == 1 ? 1 : 1 + (g * 13) % 38;
}

// The player's hands. Mostly they cut out a box: away from the wall the square stands on,
// sideways, then back until the trail closes; now and then they hold random arrows instead.
// A second arrow that may have to wait and the space bar come in at random.
struct Hands {
    int32_t Arrow = 0;
    int32_t Extra = 0;
    int32_t FramesLeft = 0;
    int32_t Leg = 3; // 0..2: the legs of a box; 3: random arrows
    int32_t Out = 0;
    bool SpaceDown = false;
};

void ReleaseAll(Hands& hands) {
    if (hands.Arrow) HandleKeyUp(hands.Arrow);
    if (hands.Extra) HandleKeyUp(hands.Extra);
    if (hands.SpaceDown) HandleKeyUp(VkSpace);
    hands = Hands{};
}

int32_t Opposite(int32_t vk) {
    switch (vk) {
    case VkLeft: return VkRight;
    case VkRight: return VkLeft;
    case VkUp: return VkDown;
    default: return VkUp;
    }
}

// Away from the frame strip the square is nearest to.
int32_t AwayFromTheWall(std::mt19937& rng) {
    const int32_t arrows[] = {VkLeft, VkRight, VkUp, VkDown};
    if (Game.PlayerY >= 280) return VkUp;
    if (Game.PlayerY <= 60) return VkDown;
    if (Game.PlayerX <= 15) return VkRight;
    if (Game.PlayerX >= 380) return VkLeft;
    return arrows[rng() % 4];
}

void Hold(Hands& hands, int32_t vk, int32_t frames) {
    if (hands.Arrow) HandleKeyUp(hands.Arrow);
    hands.Arrow = vk;
    HandleKeyDown(vk);
    hands.FramesLeft = frames;
}

void PlayKeys(Hands& hands, std::mt19937& rng) {
    const int32_t arrows[] = {VkLeft, VkRight, VkUp, VkDown};
    const int32_t frames = 2 + static_cast<int32_t>(rng() % 40);
    if (hands.Leg == 2 && Game.TrailActive == 0 && Game.OnWall == 1) hands.FramesLeft = 0;
    if (--hands.FramesLeft <= 0) {
        if (hands.Leg >= 2) {
            hands.Leg = rng() % 4 == 0 ? 3 : 0;
            hands.Out = AwayFromTheWall(rng);
        } else {
            ++hands.Leg;
        }
        if (hands.Leg == 0) Hold(hands, hands.Out, frames);
        if (hands.Leg == 1) {
            bool across = hands.Out == VkUp || hands.Out == VkDown;
            Hold(hands, across ? (rng() % 2 ? VkLeft : VkRight) : (rng() % 2 ? VkUp : VkDown),
                 frames);
        }
        if (hands.Leg == 2) Hold(hands, Opposite(hands.Out), 200);
        if (hands.Leg == 3) Hold(hands, arrows[rng() % 4], frames);
    }
    uint32_t roll = rng() % 1000;
    if (roll < 20) {
        if (hands.Extra) HandleKeyUp(hands.Extra);
        hands.Extra = roll < 10 ? arrows[rng() % 4] : 0;
        if (hands.Extra) HandleKeyDown(hands.Extra);
    } else if (roll < 23) {
        hands.SpaceDown ? HandleKeyUp(VkSpace) : HandleKeyDown(VkSpace);
        hands.SpaceDown = !hands.SpaceDown;
    }
}

// Space ends a pause, leaves the attract state and the level tally; press and release.
void WaitingKeys(Hands& hands) {
    hands.SpaceDown ? HandleKeyUp(VkSpace) : HandleKeyDown(VkSpace);
    hands.SpaceDown = !hands.SpaceDown;
}

struct Tally {
    int32_t Games = 0, PlayFrames = 0, Claims = 0, ExactClaims = 0, BoundedClaims = 0;
    int32_t LaterFrames = 0, LivesLost = 0;
};

TEST(Properties, RandomPlayKeepsTheGridAndThePercentageRight) {
    std::mt19937 rng(20240611);
    SimOptions options;
    options.HasName = 1;
    options.Name = "Property";
    ASSERT_TRUE(StartSimulation(options));
    ApplyGameSettings(0);
    Headless.TimeSeconds = rng();

    Hands hands;
    Tally tally;
    int32_t gameFrames = 0;
    // A claim counts the covered cells once. Until the square next leaves the wall only the
    // balls change that count (after a pull two balls can share cells for a pass), so the
    // cells other than the balls' stay as the claim counted them, and the balls' share is
    // remembered from the claim's frame.
    bool anchored = false;
    int32_t ballCellsAtClaim = 0;

    for (int32_t frame = 1; tally.PlayFrames < PlayFramesWanted; ++frame) {
        ASSERT_LT(frame, 4 * PlayFramesWanted) << "play has stalled";
        const int32_t before = Game.GameState;
        if (before == StatePlay && gameFrames == 0 && LevelOfGame(tally.Games) > 1) {
            // Straight on to a crowded level, started as the tally's space bar starts one.
            Game.Level = LevelOfGame(tally.Games);
            StartLevel();
            gameFrames = 1;
            continue;
        }
        if (before == StatePlay) {
            if (++gameFrames > PlayFramesPerGame) {
                ReleaseAll(hands);
                HandleKeyDown(VkEscape);
            } else {
                PlayKeys(hands, rng);
            }
        } else if (before == StatePause || before == StateAttract || before == StateTallyShown) {
            WaitingKeys(hands);
        }
        const int32_t scoreBefore = Game.Score;
        RunSimFrame();
        const int32_t after = Game.GameState;

        if (after == StateTitle && before != StateTitle) {
            ReleaseAll(hands);
            ApplyGameSettings(tally.Games);
            Headless.TimeSeconds = rng();
        }
        if (after == StatePause && (before == StateNewGame || before == StateAttract)) {
            ++tally.Games;
            gameFrames = 0;
        }
        tally.LivesLost += after == StateLifeLost;
        if (before != StatePlay || Game.GameState == StateTitle) {
            anchored = false;
            continue;
        }
        ++tally.PlayFrames;
        std::string fault = GridFault({true, true, true});
        ASSERT_EQ(fault, "") << "frame " << frame << ", game " << tally.Games;

        const bool claimed = Game.Score != scoreBefore; // nothing else scores in play
        if (claimed) ++tally.Claims;
        // A square off the wall again at the end of the frame has covered new cells since.
        if (claimed && Game.TrailActive == 0) {
            const int32_t covered = CountCoveredCells();
            const int32_t balls = CountBallCells();
            if (Game.BallSpeed == 0) {
                // Slow balls stepped before the square in this frame and not after it: the
                // grid is as the claim counted it.
                ASSERT_EQ(Game.PercentComplete, PercentFromCoveredCells(covered))
                    << "frame " << frame << ", game " << tally.Games;
                anchored = true;
                ballCellsAtClaim = balls;
                ++tally.ExactClaims;
            } else {
                // A second ball step may have followed a claim in the first player step and
                // changed how many cells the balls cover: their share at the claim is only
                // known to lie between none and four cells a ball.
                const int32_t others = covered - balls;
                ASSERT_GE(Game.PercentComplete, PercentFromCoveredCells(others));
                ASSERT_LE(Game.PercentComplete,
                          PercentFromCoveredCells(others + 4 * Game.BallCount));
                anchored = false;
                ++tally.BoundedClaims;
            }
        } else if (claimed || Game.TrailActive != 0) {
            anchored = false;
        } else if (anchored) {
            const int32_t atClaim = CountCoveredCells() - CountBallCells() + ballCellsAtClaim;
            ASSERT_EQ(Game.PercentComplete, PercentFromCoveredCells(atClaim))
                << "frame " << frame << ", game " << tally.Games;
            ++tally.LaterFrames;
        }
    }
    std::printf("properties: %d games, %d play frames, %d claims (%d exact, %d bounded), %d later "
                "frames checked, %d lives lost\n",
                tally.Games, tally.PlayFrames, tally.Claims, tally.ExactClaims, tally.BoundedClaims,
                tally.LaterFrames, tally.LivesLost);
    // Every combination of the settings was played, and the checks were not idle.
    EXPECT_GE(tally.Games, 32);
    EXPECT_GE(tally.ExactClaims, 25);
    EXPECT_GE(tally.BoundedClaims, 25);
    EXPECT_GE(tally.LaterFrames, 500);
    EXPECT_GE(tally.LivesLost, 30);
}

} // namespace
