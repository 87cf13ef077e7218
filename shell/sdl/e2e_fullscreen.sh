#!/bin/bash
# Full screen and the remembered window, under a window manager on a 1920x1080 Xvfb screen:
# Alt+Enter covers the screen with the 3x picture centred on black and a second Alt+Enter
# brings the window back; scale and full screen survive a restart; a settings file from
# before the window's values loads with one line about them and none about the game's.
# Usage: e2e_fullscreen.sh [path/to/quorvanel]
set -u
bin=${1:-build/quorvanel}
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test fullscreen
[ -x "$bin" ] || fail "no executable at $bin"
start_xvfb 451 499 1920x1080 || fail "no Xvfb display could be started"
start_window_manager || fail "no window manager"
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config
file=$XDG_CONFIG_HOME/Quorvanel/settings

size() { xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}'; }
size_is() { [ "$(size)" = "$1" ]; }
alt_enter() {
    xdotool keydown alt keydown Return
    sleep 0.1
    xdotool keyup Return keyup alt
}
start_game() {
    timeout 60 "$bin" 2>"$work/stderr" &
    gpid=$!
    wid=$(find_window '^Quorvanel - ')
    [ -n "$wid" ] || fail "main window not found"
    wait_for 5 framed "$wid" || fail "the window manager did not take the window"
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1
    sleep 0.5
}
no_window() { ! xdotool search --name '^Quorvanel - ' >/dev/null 2>&1; }
stop_game() {
    quit_with_f12 5
    [ "$exit_code" = 0 ] || fail "the game did not end cleanly on F12 ($exit_code)"
    # The server clears a client's windows a moment after the client has gone.
    wait_for 5 no_window || fail "the window outlived the game"
}
# The whole screen: black but for the 3x picture at (360,90), whose frame starts at x 360.
full_picture() {
    shot || return 1
    [ "$(count_lit 360 1080 0 0)" = 0 ] && [ "$(count_lit 360 1080 1560 0)" = 0 ] &&
        [ "$(count_lit 1920 90 0 0)" = 0 ] && [ "$(count_lit 1920 90 0 990)" = 0 ] &&
        [ "$(pixel 359 540)" = "srgb(0,0,0)" ] && [ "$(pixel 360 540)" = "srgb(0,0,255)" ] &&
        [ "$(pixel 362 540)" = "srgb(0,0,255)" ] && [ "$(pixel 1559 540)" = "srgb(0,0,255)" ]
}
value() { grep "^$1=" "$file"; }

start_game
wait_for 5 size_is 800x600 || fail "window is $(size), not 800x600"
alt_enter
wait_for 5 size_is 1920x1080 || fail "Alt+Enter gave $(size), not the whole screen"
wait_for 5 full_picture || fail "no 3x picture centred on black: (359,540) $(pixel 359 540), (360,540) $(pixel 360 540)"
echo "e2e_fullscreen: Alt+Enter covers the screen with the 3x picture centred"
alt_enter
wait_for 5 size_is 800x600 || fail "a second Alt+Enter gave $(size), not 800x600 again"
echo "e2e_fullscreen: a second Alt+Enter brings the 800x600 window back"

xdotool windowsize "$wid" 1300 1000
wait_for 5 size_is 1300x1000 || fail "window is $(size), not 1300x1000"
alt_enter
wait_for 5 size_is 1920x1080 || fail "no full screen after the resize"
stop_game
[ "$(value WindowScale)" = "WindowScale=b:03000000" ] || fail "saved $(value WindowScale), not scale 3"
[ "$(value FullScreen)" = "FullScreen=b:01000000" ] || fail "saved $(value FullScreen), not full screen"

start_game
wait_for 5 size_is 1920x1080 || fail "the restarted game is $(size), not in full screen"
wait_for 5 full_picture || fail "no 3x picture in full screen after the restart"
alt_enter
wait_for 5 size_is 1200x900 || fail "leaving full screen gave $(size), not the remembered 1200x900"
stop_game
[ "$(value FullScreen)" = "FullScreen=b:00000000" ] || fail "saved $(value FullScreen) after leaving"
echo "e2e_fullscreen: scale and full screen survive a restart"

# A file as the game wrote it before it kept the window's values.
grep -v -e '^WindowScale=' -e '^FullScreen=' "$file" >"$work/older" && cp "$work/older" "$file"
[ "$(grep -c '=[bs]:' "$file")" = 29 ] || fail "the older file does not hold the 29 values"
start_game
wait_for 5 size_is 800x600 || fail "with an older file the window is $(size), not 800x600"
stop_game
lines=$(grep -c 'Read' "$work/stderr")
[ "$lines" = 1 ] && grep -q '^ReadPlatformSettings: WindowScale missing, FullScreen missing' "$work/stderr" ||
    fail "an older file gave $lines lines about the settings, not one about the window's"
grep -q '^FullScreen=b:00000000' "$file" || fail "the window's values were not added to the older file"
echo "e2e_fullscreen: PASS"
