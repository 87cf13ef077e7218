// Reading and merging settings files of up to the 16 MiB the store accepts: the worst
// inputs for the parser (every line a distinct value to look up, or every line refused)
// must cost time in proportion to their size.
#include <benchmark/benchmark.h>

#include <string>

#include "shell/headless/headless.h"
#include "shell/settings_file.h"

namespace {

// Lines of the given kind up to about `bytes`, then the game's own values.
std::string Text(int64_t bytes, int32_t kind) {
    std::string text;
    for (int32_t i = 0; static_cast<int64_t>(text.size()) < bytes; ++i) {
        if (kind == 0) text += "# " + std::to_string(i) + " a comment\n";
        if (kind == 1) text += "Other" + std::to_string(i) + "=b:01020304\n";
        if (kind == 2) text += "BallSpeed=b:zz" + std::to_string(i) + "\n";
    }
    return text + "BallSpeed=b:01000000\nPlayerName01=s:Ann\nPlayerScore01=b:10270000\n";
}

void BM_ParseSettingsText(benchmark::State& state) {
    const std::string text = Text(state.range(0), static_cast<int32_t>(state.range(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseSettingsText(text, 1));
        Headless.DebugLines.clear();
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseSettingsText)
    ->ArgsProduct({benchmark::CreateRange(1 << 16, 16 << 20, 4), {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

void BM_MergeSettingsText(benchmark::State& state) {
    const std::string now = Text(state.range(0), 1);
    SettingsFileValues ours = ParseSettingsText(Text(0, 0), 0);
    std::vector<std::string> written;
    for (const auto& v : ours) written.push_back(v.Name);
    for (auto _ : state) benchmark::DoNotOptimize(MergeSettingsText(now, ours, written));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(now.size()));
}
BENCHMARK(BM_MergeSettingsText)
    ->RangeMultiplier(4)
    ->Range(1 << 16, 16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
