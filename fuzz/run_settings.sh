#!/bin/sh
# Builds the settings-file fuzzer with libFuzzer and the sanitizers and runs it for a
# bounded time: fuzz/run_settings.sh [seconds] (default 30).
set -eu
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_OUT:-${TMPDIR:-/tmp}/quorvanel-fuzz}
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "$root/fuzz/fuzz_settings.cpp" "$root/shell/settings_file.cpp" \
    -o "$out/fuzz_settings"
# A few honest lines to start from.
printf 'PlayerSpeed=b:01000000\nPlayerName=s:Ann\\x5C\nPlayerScore07=b:10270000\n' \
    >"$out/corpus/seed"
exec "$out/fuzz_settings" -max_total_time="$seconds" -max_len=4096 "$out/corpus"
