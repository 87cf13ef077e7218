#!/bin/bash
# Records the suite again with the demo bot, and stores the state the native simulator ends
# each demo in beside it. Only for a change that is meant to change how games go: the suite
# exists to notice every other one.
# Usage: tests/demos/record_suite.sh [build folder, default build]
set -eu
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target quorvanel-demo-bot quorvanel-sim
"$build/quorvanel-demo-bot" all "$here"
for demo in "$here"/*.qdemo; do
    "$build/quorvanel-sim" --demo "$demo" --state "${demo%.qdemo}.state.json"
done
echo "record_suite: $(ls "$here"/*.qdemo | wc -l) demos recorded"
