#!/bin/bash
# A simulator built with one rule moved by one cell (a ball moving right bounces a cell early)
# must fail the suite, and say where: the demo, the fields that differ, the first frame at
# which it parts from the native simulator and what differs there.
# Usage: check_rule_change.sh SIM CHANGED_SIM
set -u
out=$(mktemp /tmp/quorvanel-rule-change.XXXXXX)
trap 'rm -f "$out"' EXIT
fail() {
    echo "check_rule_change: FAIL: $*" >&2
    sed 's/^/  /' "$out" | head -60 >&2
    exit 1
}
"$(dirname "$0")/check_suite.sh" "$1" sim "$2" >"$out" 2>&1 && fail "the suite passed with the rule changed"
grep -q '^check_suite: sim: 0 of [0-9]* demos end in their expected state$' "$out" ||
    fail "some demo did not notice the change"
grep -q '^check_suite: sim: ring-five-levels: FAILED' "$out" || fail "no demo named"
grep -q 'desync: the state after frame [0-9]* differs from the recording' "$out" ||
    fail "no frame at which the replay left its recording"
grep -q '^    Balls\[[0-9]*\]\.[XY]: expected [0-9-]*, got [0-9-]*$' "$out" || fail "no field named"
grep -q '^    Grid: [0-9]* cells differ' "$out" || fail "no grid cells named"
grep -q '^    first frame at which the states differ: [0-9]*$' "$out" || fail "no first frame"
grep -q '^      Balls: expected [0-9a-f]*, got [0-9a-f]*$' "$out" || fail "no fields at the first frame"
grep -q '^      Balls\[[0-9]*\]\.Dx: expected -\{0,1\}1, got -\{0,1\}1$' "$out" ||
    fail "no ball named at the first frame"
echo "check_rule_change: PASS ($(grep -m1 'first frame at which' "$out" | sed 's/^ *//'))"
