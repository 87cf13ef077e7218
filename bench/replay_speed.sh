#!/bin/bash
# How fast recorded games play with nothing shown: the desktop build's --timedemo of the
# suite's longest demo (target: 20,000 frames a second or more) and the headless simulator
# playing the same demo (its figure from the wall clock of the whole run). Best of five runs
# each, as the machine may be shared.
# Usage: bench/replay_speed.sh [build folder, default build]
set -u
build=${1:-build}
demos=$(dirname "$0")/../tests/demos
longest=$(for d in "$demos"/*.qdemo; do echo "$(grep -m1 ' end$' "$d" | cut -d' ' -f1) $d"; done |
    sort -n | tail -1 | cut -d' ' -f2)
frames=$(($(grep -m1 ' end$' "$longest" | cut -d' ' -f1) - 1))
echo "longest demo: $(basename "$longest"), $frames frames; load: $(cut -d' ' -f1-3 /proc/loadavg)"
best=0
for _ in 1 2 3 4 5; do
    rate=$("$build/quorvanel" --timedemo "$longest" 2>/dev/null | sed -n 's/.* seconds, \([0-9]*\) frames a second$/\1/p')
    [ "${rate:-0}" -gt "$best" ] && best=$rate
done
echo "quorvanel --timedemo: $best frames a second (target 20000)"
best=0
for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$build/quorvanel-sim" --demo "$longest" || exit 1
    ns=$(($(date +%s%N) - start))
    rate=$((frames * 1000000000 / ns))
    [ "$rate" -gt "$best" ] && best=$rate
done
echo "quorvanel-sim --demo: $best frames a second (start-up included)"
