#!/bin/bash
# Plays every demo of the suite with one replayer and compares the state it ends in, grid and
# all, with the one stored beside the demo (NAME.state.json). A replay that ends elsewhere is
# reported with the fields that differ, the frame at which it left its recording, and, from
# traces of this replayer and of the native simulator, the first frame at which the two part
# and what differs there.
#
# Usage: check_suite.sh SIM KIND [REPLAYER]
#   SIM       the native quorvanel-sim: the reference, and the comparer
#   KIND      sim (SIM itself, or REPLAYER: another build of it), timedemo (REPLAYER is the
#             desktop quorvanel), wine (REPLAYER is quorvanel-sim.exe, run under Wine)
# Exit code 0 when every demo ends where it should; 1 otherwise.
set -u
sim=$1
kind=$2
replayer=${3:-$1}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/quorvanel-suite.XXXXXX)
wineserver_started=""
cleanup() {
    [ -n "$wineserver_started" ] && wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

if [ "$kind" = wine ] && [ ! -d "${WINEPREFIX:-/nonexistent}" ]; then
    # One prefix for the whole suite, made once; the server stays up between the demos. A
    # prefix made by the caller (check_wine.sh) is used as it is.
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    timeout 180 wineboot -i >/dev/null 2>&1 || { echo "check_suite: no Wine prefix" >&2; exit 1; }
    wineserver -p 60 && wineserver_started=1
fi

# Runs the replayer on a demo: its state into $2, a trace into $3 when given, stopping after
# frame $4 when given.
replay() {
    local demo=$1 state=$2 trace=${3:-} stop=${4:-}
    case $kind in
    sim) "$replayer" --demo "$demo" --state "$state" ${trace:+--trace "$trace"} ${stop:+--frames "$stop"} ;;
    timedemo)
        QUORVANEL_STATE_FILE=$state QUORVANEL_TRACE_FILE=$trace QUORVANEL_STOP_FRAME=$stop \
            "$replayer" --timedemo "$demo" >/dev/null ;;
    wine)
        timeout 300 wine "$replayer" --demo "$demo" --state "$state" ${trace:+--trace "$trace"} \
            ${stop:+--frames "$stop"} ;;
    esac
}

failed=0
count=0
for demo in "$here"/*.qdemo; do
    name=$(basename "$demo" .qdemo)
    expected=$here/$name.state.json
    count=$((count + 1))
    replay "$demo" "$work/$name.json" 2>"$work/$name.err"
    code=$?
    if [ $code -eq 0 ] && "$sim" --compare "$expected" "$work/$name.json" >"$work/$name.diff" 2>&1; then
        echo "check_suite: $kind: $name: the expected state"
        continue
    fi
    failed=$((failed + 1))
    echo "check_suite: $kind: $name: FAILED (exit code $code)"
    sed 's/^/    /' "$work/$name.err"
    if [ -s "$work/$name.json" ]; then
        echo "  the final state differs from $name.state.json:"
        "$sim" --compare "$expected" "$work/$name.json" | sed 's/^/    /'
    fi
    # Where this replayer and the native simulator part, frame by frame (for the first few
    # demos that fail: a change that fails them all is told well enough by three).
    if { [ "$replayer" != "$sim" ] || [ "$kind" != sim ]; } && [ $failed -le 3 ]; then
        "$sim" --demo "$demo" --state "$work/ref.json" --trace "$work/ref.trace" 2>/dev/null
        replay "$demo" "$work/mine.json" "$work/mine.trace" 2>/dev/null
        if [ -s "$work/mine.trace" ]; then
            echo "  against the native simulator:"
            "$sim" --compare "$work/ref.trace" "$work/mine.trace" | tee "$work/traces" |
                sed 's/^/    /'
            # Both stopped at that frame, every field compared.
            first=$(sed -n 's/^first frame at which the states differ: \([0-9]*\)$/\1/p' "$work/traces")
            if [ -n "$first" ]; then
                "$sim" --demo "$demo" --frames "$first" --state "$work/ref-at.json" 2>/dev/null
                replay "$demo" "$work/mine-at.json" "" "$first" 2>/dev/null
                echo "    after frame $first:"
                "$sim" --compare "$work/ref-at.json" "$work/mine-at.json" | sed 's/^/      /'
            fi
        fi
    fi
done
echo "check_suite: $kind: $((count - failed)) of $count demos end in their expected state"
[ $count -ge 10 ] || { echo "check_suite: only $count demos in the suite" >&2; exit 1; }
[ $failed -eq 0 ]
