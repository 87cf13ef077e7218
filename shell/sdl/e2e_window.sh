#!/bin/bash
# The desktop window's size and picture: 2x on a 1920x1080 screen and 5x on 3840x2160, every
# picture pixel a solid block that matches the simulator's picture; resized to 1000x700 the
# 2x picture sits centred on black; resized below 400x300 the window comes back to it. The
# window's class is the desktop file's id.
# Usage: e2e_window.sh [path/to/quorvanel] [path/to/quorvanel-sim]
set -u
bin=${1:-build/quorvanel}
sim=${2:-build/quorvanel-sim}
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test window
[ -x "$bin" ] || fail "no executable at $bin"
[ -x "$sim" ] || fail "no simulator at $sim"
export SDL_AUDIODRIVER=dummy

# The level screen as the simulator draws it: what the status line must show.
printf '200 down space\n205 up space\n' >"$work/start.script"
"$sim" --frames 400 --script "$work/start.script" --shot "400:$work/ref.png" ||
    fail "the simulator could not draw the reference"

size() { xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}'; }
size_is() { [ "$(size)" = "$1" ]; }

# The picture at scale $1 with its top-left corner at ($2,$3) of the last screenshot, brought
# back to 400x300 by taking one pixel of each block, into $work/small.png. Fails unless every
# block is of one colour (the picture scaled up again is the picture).
unscale() {
    local s=$1 w=$((400 * $1)) h=$((300 * $1))
    convert "$work/shot.png" -crop "${w}x${h}+$2+$3" +repage "$work/picture.png" &&
        convert "$work/picture.png" -sample 400x300\! "$work/small.png" &&
        convert "$work/small.png" -sample "${w}x${h}"\! "$work/again.png" &&
        [ "$(compare -metric AE "$work/picture.png" "$work/again.png" null: 2>&1)" = 0 ]
}
# Pixels that differ between the small picture and the reference inside a rectangle (w h x y).
differs() {
    convert "$work/small.png" -crop "${1}x${2}+$3+$4" +repage "$work/a.png" &&
        convert "$work/ref.png" -crop "${1}x${2}+$3+$4" +repage "$work/b.png" &&
        compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1
}
# The level screen at scale $1 from ($2,$3): solid blocks, the frame's walls, and the status
# line's left and right items exactly as the simulator has them (the middle ones move).
level_at() {
    shot && unscale "$@" || return 1
    [ "$(convert "$work/small.png" -format '%[pixel:p{1,150}]' info:)" = "srgb(0,0,255)" ] &&
        [ "$(convert "$work/small.png" -format '%[pixel:p{398,150}]' info:)" = "srgb(0,0,255)" ] &&
        [ "$(differs 110 45 0 0)" = 0 ] && [ "$(differs 100 45 300 0)" = 0 ]
}

start_game() {
    export XDG_CONFIG_HOME=$work/config-$1
    timeout 60 "$bin" 2>"$work/stderr" &
    gpid=$!
    wid=$(find_window '^Quorvanel - ')
    [ -n "$wid" ] || fail "main window not found on $1"
    xdotool windowfocus --sync "$wid" >/dev/null 2>&1
}
# Space starts a game once the title page is done; on a busy machine that can take a while.
start_level() {
    local try
    for try in 1 2 3 4 5; do
        sleep 1
        hold_key space
        wait_for 4 level_at "$@" && return 0
    done
    return 1
}
stop_game() {
    quit_with_f12 5
    [ "$exit_code" = 0 ] || fail "the game did not end cleanly on F12 ($exit_code)"
    kill "$xpid" 2>/dev/null
    wait "$xpid" 2>/dev/null
    xpid=""
}

start_xvfb 401 449 1920x1080 || fail "no Xvfb display could be started"
start_game 1920x1080
wait_for 5 size_is 800x600 || fail "window is $(size) on 1920x1080, not 800x600"
start_level 2 0 0 || fail "no 2x level picture in 800x600: $(differs 110 45 0 0) status pixels differ"
echo "e2e_window: 800x600 at 2x on a 1920x1080 screen"
xprop -id "$wid" WM_CLASS | grep -q '"io.github.quorvanel.Quorvanel", "io.github.quorvanel.Quorvanel"' ||
    fail "the window's class is not the desktop file's id: $(xprop -id "$wid" WM_CLASS)"

xdotool windowsize "$wid" 1000 700
wait_for 5 size_is 1000x700 || fail "window is $(size), not 1000x700"
borders_black() {
    shot || return 1
    [ "$(count_lit 100 700 0 0)" = 0 ] && [ "$(count_lit 100 700 900 0)" = 0 ] &&
        [ "$(count_lit 1000 50 0 0)" = 0 ] && [ "$(count_lit 1000 50 0 650)" = 0 ]
}
wait_for 5 borders_black || fail "borders round the 2x picture in 1000x700 are not black"
wait_for 5 level_at 2 100 50 || fail "no 2x picture at (100,50) in 1000x700"
echo "e2e_window: 1000x700 shows the 2x picture with 100 and 50 pixel borders"

xdotool windowsize "$wid" 399 299
sleep 0.5
wait_for 5 size_is 400x300 || fail "window is $(size) after a resize to 399x299, not 400x300"
wait_for 5 level_at 1 0 0 || fail "no 1x picture in 400x300"
echo "e2e_window: a resize below 400x300 comes back to 400x300"
stop_game

start_xvfb 401 449 3840x2160 || fail "no Xvfb display could be started"
start_game 3840x2160
wait_for 5 size_is 2000x1500 || fail "window is $(size) on 3840x2160, not 2000x1500"
start_level 5 0 0 || fail "no 5x level picture in 2000x1500"
echo "e2e_window: 2000x1500 at 5x on a 3840x2160 screen"
stop_game
grep -qx 'WindowScale=b:05000000' "$work/config-3840x2160/Quorvanel/settings" ||
    fail "the 5x window's scale was not saved"
echo "e2e_window: PASS"
