// The claim's worst cases on a full level grid with twenty enemies. Every iteration starts
// from the same grid and record, put back outside the timed part.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "game/game_record.h"
#include "movers/enemies.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "tests/support/board.h"
#include "tests/support/world.h"

namespace {

struct Snapshot {
    std::vector<uint8_t> Grid;
    GameRecord Record;
};

Snapshot Take() {
    return {std::vector<uint8_t>(Playfield, Playfield + PlayfieldCells), Game};
}

void PutBack(const Snapshot& s) {
    std::copy(s.Grid.begin(), s.Grid.end(), Playfield);
    Game = s.Record;
    ResetClaimState();
}

void LevelWithTwentyEnemies() {
    ResetWorld();
    ResetClaimState();
    MakeLevelGrid(1);
    Game.EnemyCount = 19;
    PlaceEnemies();
    Game.RespawnFlag = 1;
    SpawnEnemy();
}

void SquareAt(int32_t x, int32_t y, int32_t dir) {
    FillCellRect(x, y, x + 3, y + 3, CellPlayer);
    Game.PlayerX = x;
    Game.PlayerY = y;
    Game.PlayerDir = dir;
}

// Runs the claim once untimed to make sure the board does what the case says, then times it.
void RunClaim(benchmark::State& state, const Snapshot& start, bool (*asIntended)()) {
    PutBack(start);
    ClaimTerritory();
    if (!asIntended()) {
        state.SkipWithError("the board does not claim as intended");
        return;
    }
    state.counters["claimed"] = CountCellCodes(CellClaimed);
    for (auto _ : state) {
        PutBack(start);
        auto begin = std::chrono::steady_clock::now();
        ClaimTerritory();
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
}

// A trail from the bottom wall to the top wall down the middle, balls on both sides at
// mid-height: every fill runs through about half its side before it meets a ball, then
// gives it all back.
void BM_ClaimSplitWithBallsOnBothSides(benchmark::State& state) {
    LevelWithTwentyEnemies();
    FillCellRect(198, 50, 201, 295, CellTrail);
    SquareAt(198, 46, DirUp);
    Game.TrailStartX = 198;
    Game.TrailStartY = 295;
    Game.TrailBackDir = DirDown;
    Game.BallCount = 39;
    for (int32_t i = 0; i < 39; ++i) {
        int32_t x = i < 19 ? 10 + 9 * i : 215 + 9 * (i - 19);
        StampBallAt(i, x, 170 + 5 * (i % 4), 1, 1);
    }
    RunClaim(state, Take(),
             [] { return Game.Score == SplitBonus && CountCellCodes(CellClaimed) == 0; });
}

// The square has cut off a small pocket in the bottom-left corner that holds every ball:
// the rest of the field, about 94,000 cells, is claimed and painted in one region.
void BM_ClaimNearlyTheWholeField(benchmark::State& state) {
    LevelWithTwentyEnemies();
    // Right from the left wall at row 250, then down to the bottom wall at column 40.
    FillCellRect(4, 250, 43, 253, CellTrail);
    FillCellRect(40, 254, 43, 295, CellTrail);
    SquareAt(40, 296, DirDown);
    Game.TrailStartX = 1;
    Game.TrailStartY = 250;
    Game.TrailBackDir = DirLeft;
    Game.BallCount = 39;
    for (int32_t i = 0; i < 39; ++i) StampBallAt(i, 6 + 5 * (i % 7), 256 + 5 * (i / 7), 1, 1);
    RunClaim(state, Take(), [] { return CountCellCodes(CellClaimed) > 90000; });
}

} // namespace

BENCHMARK(BM_ClaimSplitWithBallsOnBothSides)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClaimNearlyTheWholeField)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
