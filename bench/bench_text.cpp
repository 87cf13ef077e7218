// Text drawing as the status line and the title page do it: every status item redrawn, at
// the display depths the game meets, and a whole title page of names and scores.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "display/draw.h"
#include "display/status.h"
#include "game/game_record.h"
#include "tests/support/world.h"

namespace {

void StatusLine(benchmark::State& state) {
    ResetWorld(static_cast<int32_t>(state.range(0)));
    SetTextFont(BackBuffer, "Arial", 80);
    Game.Score = 123456;
    Game.Level = 12;
    ShowScore(); // the glyphs are ready before the clock runs
    for (auto _ : state) {
        ShowLives();
        ShowReversals();
        ShowLevel();
        ShowEnemies();
        ShowPercent();
        ShowScore();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 6);
}

void TitleTexts(benchmark::State& state) {
    ResetWorld(32);
    for (int32_t k = 0; k < HighScoreEntries; ++k) {
        std::snprintf(Game.HighScoreTable[k].Name, HighScoreNameSize, "Player Number %d", k);
        Game.HighScoreTable[k].Score = 100000 - 1000 * k;
    }
    DrawTitlePage();
    for (auto _ : state) {
        DrawTitlePage();
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(StatusLine)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(TitleTexts)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
