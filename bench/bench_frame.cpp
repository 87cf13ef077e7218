// One frame of play on a crowded level: 39 balls in play, 20 enemies and a long trail behind
// the square. Every iteration starts from the same grid and record, put back untimed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "game/game_record.h"
#include "movers/balls.h"
#include "movers/enemies.h"
#include "movers/play_step.h"
#include "movers/player.h"
#include "playfield/playfield.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

namespace {

struct Snapshot {
    std::vector<uint8_t> Grid;
    GameRecord Record;
    uint32_t Random;
};

// Steps the square alone until it stands at the given place; false if it could not.
bool DriveTo(int32_t dir, int32_t x, int32_t y) {
    Game.HeldKeys = static_cast<uint32_t>(dir);
    for (int32_t i = 0; i < 500 && !(Game.PlayerX == x && Game.PlayerY == y); ++i) PlayerStep();
    return Game.PlayerX == x && Game.PlayerY == y && Game.PlayerHit == 0;
}

// The crowded level, or an empty snapshot if it could not be built as intended.
Snapshot CrowdedLevel(int32_t fast) {
    ResetWorld();
    ResetClaimState();
    MakeLevelGrid();
    Game.Level = 38;
    Game.BallCount = 39;
    Game.RandomGame = 1;
    SeedRandom(7);
    PlaceBallsForLevel();
    ParkSpareBalls(39);
    BallsStep(); // the balls enter the grid at their first step
    Game.EnemyCount = 19;
    PlaceEnemies();
    Game.RespawnFlag = 1;
    SpawnEnemy();
    Game.EnemySpawnTimer = 500; // no spawn and no new seconds to show in the frame
    Game.EnemySpawnSeconds = 500 / FramesPerSecondOfGame;
    // A trail of about 800 steps around the balls' area: up near the left wall, along the
    // top, and down near the right wall.
    Game.PlayerX = 10;
    Game.PlayerY = 296;
    FinishPlayerStep();
    if (!DriveTo(DirUp, 10, 55) || !DriveTo(DirRight, 380, 55) || !DriveTo(DirDown, 380, 250))
        return {};
    Game.BallSpeed = fast;
    Game.EnemySpeed = fast;
    Game.PlayerSpeed = fast;
    return {std::vector<uint8_t>(Playfield, Playfield + PlayfieldCells), Game, RandomState};
}

void RunFrames(benchmark::State& state, int32_t fast) {
    Snapshot start = CrowdedLevel(fast);
    if (start.Grid.empty()) {
        state.SkipWithError("the square could not lay its trail");
        return;
    }
    state.counters["trail"] = CountCellCodes(CellTrail);
    for (auto _ : state) {
        std::copy(start.Grid.begin(), start.Grid.end(), Playfield);
        Game = start.Record;
        RandomState = start.Random;
        auto begin = std::chrono::steady_clock::now();
        PlayFrameStep();
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["hit"] = Game.PlayerHit;
}

void BM_PlayFrameAllSlow(benchmark::State& state) {
    RunFrames(state, 0);
}

void BM_PlayFrameAllFast(benchmark::State& state) {
    RunFrames(state, 1);
}

} // namespace

BENCHMARK(BM_PlayFrameAllSlow)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayFrameAllFast)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
