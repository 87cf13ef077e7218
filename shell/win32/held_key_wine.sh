#!/bin/bash
# A key held for 100 ms is never lost by the Windows build under Wine, even with every core
# kept busy by a process that only spins: Space on the attract screen starts the game in 10
# tries out of 10 (and Escape brings the title page back each time).
# Usage: held_key_wine.sh path/to/Quorvanel.exe
set -u
exe=$1
tries=10
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test wine-keys
busy=()
cleanup_more() {
    [ ${#busy[@]} -gt 0 ] && kill "${busy[@]}" 2>/dev/null
    stop_wine_prefix
}
[ -f "$exe" ] || fail "no executable at $exe"
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
start_xvfb 351 399 || fail "no Xvfb display could be started"
make_wine_prefix || fail "$wine_failure"

WINEDEBUG=-all timeout 300 wine "$exe" >/dev/null 2>&1 &
gpid=$!
wid=$(timeout 30 xdotool search --sync --name '^Quorvanel - ' | head -1)
[ -n "$wid" ] || fail "main window not found"
attract() { shot && [ "$(count_colour 200 170 20 100 'rgb(0,155,255)')" -gt 50 ]; }
level_screen() {
    shot && [ "$(count_colour 400 46 0 0 'rgb(128,200,255)')" -gt 50 ] &&
        [ "$(count_lit 226 38 87 106)" -gt 1000 ]
}
wait_for 20 attract || fail "no title page"
xdotool windowfocus --sync "$wid" >/dev/null 2>&1

for _ in $(seq 1 "$(nproc)"); do
    (while :; do :; done) &
    busy+=($!)
done
echo "held_key_wine: $(nproc) busy processes; $(uptime)"
started=0
for try in $(seq 1 "$tries"); do
    # The level screen's banner lasts two seconds; a lost key leaves the attract screen.
    wait_for 20 attract || fail "try $try: no title page (Escape lost?)"
    hold_key space
    if wait_for 4 level_screen; then
        started=$((started + 1))
    else
        echo "held_key_wine: try $try: Space did not start the game" >&2
    fi
    hold_key Escape
done
kill "${busy[@]}" 2>/dev/null
wait "${busy[@]}" 2>/dev/null
busy=()
echo "held_key_wine: Space started the game in $started tries of $tries"
[ "$started" = "$tries" ] || fail "Space was lost in $((tries - started)) tries of $tries"
quit_with_f12 10
[ "$exit_code" = 0 ] || fail "the game did not end with code 0 on F12"
echo "held_key_wine: PASS"
