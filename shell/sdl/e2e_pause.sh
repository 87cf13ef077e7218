#!/bin/bash
# The pause key under a window manager: P stops the frames (the frame log shows none for over
# a second) and shows the picture as it was with a note over it; a dialog, the context menu
# and minimising leave the game paused; P again goes on without the note. The game, recorded,
# ends exactly where the simulator's replay of the recording ends.
# Usage: e2e_pause.sh [path/to/quorvanel] [path/to/quorvanel-sim]
set -u
bin=${1:-build/quorvanel}
sim=${2:-build/quorvanel-sim}
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test pause
[ -x "$bin" ] || fail "no executable at $bin"
[ -x "$sim" ] || fail "no simulator at $sim"
start_xvfb 501 549 || fail "no Xvfb display could be started"
start_window_manager || fail "no window manager"
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config
export QUORVANEL_FRAME_LOG=$work/frames QUORVANEL_STATE_FILE=$work/state

timeout 90 "$bin" --record "$work/game.demo" 2>"$work/stderr" &
gpid=$!
wid=$(find_window '^Quorvanel - ') || fail "main window not found"
wait_for 5 framed "$wid" || fail "the window manager did not take the window"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1
now_us() { echo $(($(date +%s%N) / 1000)); }
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}
# White pixels of the note's box, in the middle of the playfield.
note_pixels() { count_colour 60 19 170 166 'rgb(255,255,255)'; }
still_paused() {
    local from=$(now_us)
    sleep 0.6
    shot && compare -metric AE "$work/paused.png" "$work/shot.png" null: >/dev/null 2>&1 ||
        fail "the picture changed $1"
    gaps+=("$from $(now_us) $1")
}
gaps=()

# Space starts a game once the title page is done; on a busy machine that can take a while.
playing() { shot && [ "$(count_colour 400 46 0 0 'rgb(128,200,255)')" -gt 50 ]; }
for try in 1 2 3 4 5; do
    sleep 1
    hold space 0.12
    wait_for 3 playing && break
done
playing || fail "no game started"
sleep 2.6 # the level-start banner
hold Right 0.3
hold Up 0.25

hold p 0.12
paused_at=$(now_us)
sleep 0.3
shot && cp "$work/shot.png" "$work/paused.png"
[ "$(note_pixels)" -gt 150 ] || fail "no note on the paused picture ($(note_pixels) white pixels)"
sleep 1.2
still_paused "while paused"
echo "e2e_pause: P stops the frames and shows the note"

xdotool key F9
dlg=$(find_window '^About Quorvanel$' 5) || fail "the About box did not open"
xdotool windowactivate --sync "$dlg" >/dev/null 2>&1
sleep 0.3
xdotool key Return
gone() { ! xdotool search --name '^About Quorvanel$' >/dev/null 2>&1; }
wait_for 5 gone || fail "the About box did not close"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1
still_paused "after the About box"

xdotool mousemove --window "$wid" 200 150 click 3
menu=$(find_window '^Quorvanel$' 5) || fail "the context menu did not open"
sleep 0.3
xdotool key Escape
sleep 0.5
xdotool windowactivate --sync "$wid" >/dev/null 2>&1
still_paused "after the context menu"

xdotool windowminimize --sync "$wid"
sleep 0.6
xdotool windowactivate --sync "$wid" >/dev/null 2>&1
sleep 0.3
still_paused "after minimising"
echo "e2e_pause: a dialog, the context menu and minimising leave it paused"

resumed_at=$(now_us) # P goes down just after this
hold p 0.12
gone_note() { shot && [ "$(note_pixels)" -lt 40 ]; }
wait_for 3 gone_note || fail "the note stayed after P resumed ($(note_pixels) white pixels)"
hold Down 0.2
sleep 0.5
quit_with_f12 5
[ "$exit_code" = 0 ] || fail "the game did not end cleanly on F12 ($exit_code)"

# No frame while paused: from just after P until just before the second P.
for gap in "${gaps[@]}" "$((paused_at + 100000)) $resumed_at overall"; do
    read -r from to what <<<"$gap"
    n=$(awk -v a="$from" -v b="$to" '$1 > a && $1 < b' "$work/frames" | wc -l)
    [ "$n" = 0 ] || fail "$n frames ran $what"
done
[ $((resumed_at - paused_at)) -gt 1000000 ] || fail "the pause was shorter than a second"
after=$(awk -v b="$resumed_at" '$1 > b' "$work/frames" | wc -l)
[ "$after" -gt 20 ] || fail "only $after frames after P resumed"
echo "e2e_pause: no frame for $(((resumed_at - paused_at) / 1000)) ms, then $after more"

# The simulator, playing the recorded game, ends in the same state: the pause left no trace.
grep -q '^[0-9]* down 80$' "$work/game.demo" || fail "P did not reach the game as a key"
"$sim" --demo "$work/game.demo" --state "$work/sim-state" >"$work/sim-out" 2>&1 ||
    fail "the simulator could not play the recording: $(cat "$work/sim-out")"
"$sim" --compare "$work/state" "$work/sim-state" >"$work/diff" 2>&1 ||
    fail "the game's state differs from the simulator's: $(head -20 "$work/diff")"
grep -q '"GameState": [01],' "$work/state" && fail "the game was back on the title page at the end"
echo "e2e_pause: the game ends as the simulator's replay of it does"
echo "e2e_pause: PASS"
