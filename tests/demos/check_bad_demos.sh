#!/bin/bash
# Demos that cannot be played: of a newer version, cut short (at a line's end and inside a
# line), garbage, events out of frame order, missing. Every replayer must say why, exit with
# code 2 and play nothing: no state written, no window opened.
# Usage: check_bad_demos.sh SIM [QUORVANEL] [QUORVANEL-SIM.EXE] (an empty one is left out)
set -u
sim=$1
desktop=${2:-}
winsim=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/quorvanel-bad-demos.XXXXXX)
own_prefix=""
trap '[ -n "$own_prefix" ] && wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "check_bad_demos: FAIL: $*" >&2
    exit 1
}

good=$here/split-the-balls.qdemo
printf 'QUORVANEL-DEMO 2\nwhatever a later version writes\n' >"$work/newer.qdemo"
head -n 40 "$good" >"$work/cut-at-line.qdemo"
head -c 1500 "$good" >"$work/cut-in-line.qdemo"
head -c 4096 /dev/urandom >"$work/garbage.qdemo"
# Two event lines swapped.
awk 'NR == 30 { held = $0; next } { print } NR == 34 { print held }' "$good" >"$work/disordered.qdemo"

cases=(
    "newer.qdemo:a demo of version 2, newer than this build plays"
    "cut-at-line.qdemo:the demo has no end line: the file is cut short"
    "cut-in-line.qdemo:cut short"
    "garbage.qdemo:not a Quorvanel demo"
    "disordered.qdemo:events out of frame order"
    "missing.qdemo:cannot read"
)
sed -n 30p "$good" | grep -q '^[0-9]* ' || fail "line 30 of $good is not an event"

# Runs one replayer on every case: $1 a name, then the command; DEMO and STATE are replaced.
check() {
    local label=$1
    shift
    for c in "${cases[@]}"; do
        local file=${c%%:*} message=${c#*:}
        local args=("${@//DEMO/$work/$file}")
        args=("${args[@]//STATE/$work/state.json}")
        rm -f "$work/state.json"
        QUORVANEL_STATE_FILE=$work/state.json DISPLAY= "${args[@]}" >"$work/out" 2>&1
        local code=$?
        [ $code -eq 2 ] || fail "$label, $file: exit code $code, not 2: $(cat "$work/out")"
        grep -q "$message" "$work/out" || fail "$label, $file: '$(cat "$work/out")' does not say '$message'"
        [ -e "$work/state.json" ] && fail "$label, $file: something was played"
    done
    echo "check_bad_demos: $label: ${#cases[@]} bad demos refused"
}

[ -n "$sim" ] && check "quorvanel-sim --demo" "$sim" --demo DEMO --state STATE
if [ -n "$desktop" ]; then
    check "quorvanel --timedemo" "$desktop" --timedemo DEMO
    check "quorvanel --playdemo" "$desktop" --playdemo DEMO
    # The desktop build's other refusals, before any window; --help lists every option.
    for args in "--bogus:unknown option '--bogus'" "--record:--record needs a file" \
        "--timedemo $good --fast:one option at a time: '--fast'" \
        "--record $work/none/game.qdemo:cannot write the demo '$work/none/game.qdemo'"; do
        DISPLAY= "$desktop" ${args%%:*} >"$work/out" 2>&1
        code=$?
        [ $code -eq 2 ] && grep -qF -- "${args#*:}" "$work/out" ||
            fail "quorvanel ${args%%:*}: exit code $code, '$(cat "$work/out")'"
    done
    "$desktop" --help >"$work/out" 2>&1 || fail "quorvanel --help failed"
    for option in --record --playdemo --timedemo --help; do
        grep -q -- "^  $option" "$work/out" || fail "--help does not list $option"
    done
    echo "check_bad_demos: quorvanel: bad options refused, --help lists the options"
fi
if [ -n "$winsim" ]; then
    if [ ! -d "${WINEPREFIX:-/nonexistent}" ]; then
        export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        timeout 180 wineboot -i >/dev/null 2>&1 || fail "no Wine prefix"
        own_prefix=1
    fi
    check "quorvanel-sim.exe --demo" wine "$winsim" --demo DEMO --state STATE
fi
echo "check_bad_demos: PASS"
