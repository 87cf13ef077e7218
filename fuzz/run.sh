#!/bin/sh
# Builds the bitmap-decoder fuzzer with libFuzzer and the sanitizers and runs it for a bounded
# time: fuzz/run.sh [seconds] (default 60). Seeds: the bitmap corpus in shared/testdata and the
# generated art, taken from $QUORVANEL_RESOURCE_DIR or any build*/resources folder. A crash
# ends it with a non-zero status and the crashing input in $FUZZ_OUT.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_OUT:-${TMPDIR:-/tmp}/quorvanel-fuzz-bmp}
mkdir -p "$out/corpus" "$out/seeds"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "$root/fuzz/fuzz_bmp.cpp" "$root/display/software/bmp.cpp" -o "$out/fuzz_bmp"
for f in "$root"/../shared/testdata/bmpsuite/good/*.bmp "$root"/../shared/testdata/bmpsuite/bad/*.bmp \
    ${QUORVANEL_RESOURCE_DIR:-/nonexistent}/*.bmp "$root"/build*/resources/*.bmp; do
    if [ -f "$f" ]; then cp "$f" "$out/seeds/$(basename "$(dirname "$f")")-$(basename "$f")"; fi
done
cd "$out"
exec "$out/fuzz_bmp" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -artifact_prefix="$out/" "$out/corpus" "$out/seeds"
