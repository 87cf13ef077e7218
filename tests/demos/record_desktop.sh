#!/bin/bash
# A game recorded by the desktop build on its own Xvfb server, played by keys: an Options
# change, a game lost to the enemies, a name typed into the high-score box, then F12. The
# simulator must play the demo to the very state the desktop quit in; --playdemo must play
# it to the same state, Escape must stop a playback, and neither may touch what is stored.
# Usage: record_desktop.sh path/to/quorvanel path/to/quorvanel-sim
set -u
bin=$1
sim=$2
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test demo-record
[ -x "$bin" ] && [ -x "$sim" ] || fail "no executables at $bin and $sim"
start_xvfb 251 299 || fail "no Xvfb display could be started"

export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config
# A table of nothing but zeros: the game about to be lost earns first place.
mkdir -p "$XDG_CONFIG_HOME/Quorvanel"
for n in 01 02 03 04 05 06 07 08 09 10; do echo "PlayerScore$n=b:00000000"; done \
    >"$XDG_CONFIG_HOME/Quorvanel/settings"

start_game() { # options...; sets gpid and wid
    timeout 150 "$bin" "$@" 2>"$work/stderr" &
    gpid=$!
    wid=$(timeout 10 xdotool search --sync --name '^Quorvanel - ' | head -1)
    [ -n "$wid" ] || fail "main window not found"
    xdotool windowfocus --sync "$wid" >/dev/null 2>&1
}
title_shown() {
    shot "$wid" || return 1
    [ "$(pixel 1 150)" = "srgb(0,0,255)" ]
}
box_open() { xdotool search --name "$1" >/dev/null 2>&1; }
box_closed() { ! box_open "$1"; }

QUORVANEL_STATE_FILE=$work/desktop.json start_game --record "$work/game.qdemo"
wait_for 8 title_shown || fail "title page not shown"

# Options: Ball Speed and Enemy Speed fast (fast enemies end the game sooner).
xdotool key --window "$wid" F11
wait_for 5 box_open '^Quorvanel Options$' || fail "Options box did not open"
dlg=$(xdotool search --name '^Quorvanel Options$' | head -1)
xdotool windowfocus --sync "$dlg" >/dev/null 2>&1
sleep 0.3
for k in Right Tab Right Return; do
    xdotool key "$k"
    sleep 0.15
done
wait_for 5 box_closed '^Quorvanel Options$' || fail "Options box did not close"

xdotool windowfocus --sync "$wid" >/dev/null 2>&1
sleep 0.3
hold_key space
sleep 3
# A short trail, then the enemies do the rest.
hold_key Up
sleep 0.4
hold_key Left
echo "record_desktop: game started; waiting for it to be lost"
wait_for 60 box_open '^Congratulations' || fail "no high-score box"
name=$(xdotool search --name '^Congratulations' | head -1)
xdotool windowfocus --sync "$name" >/dev/null 2>&1
sleep 0.3
xdotool type --delay 60 "Xvfb Tester"
xdotool key Return
wait_for 5 box_closed '^Congratulations' || fail "high-score box did not close"
xdotool windowfocus --sync "$wid" >/dev/null 2>&1
sleep 1
hold_key F5 # the frame-rate figure on the title page: the clock's doing, in the demo
sleep 2.5
quit_with_f12 10
[ "$exit_code" = 0 ] || fail "the recording game ended with '$exit_code'"
echo "record_desktop: recorded $(grep -c . "$work/game.qdemo") lines"

grep -q '^[0-9]* options PlayerSpeed=0 EnemySpeed=1 BallSpeed=1 ' "$work/game.qdemo" ||
    fail "no Options line in the demo"
grep -q '^[0-9]* name "Xvfb Tester"$' "$work/game.qdemo" || fail "no name line in the demo"
grep -q '^[0-9]* end$' "$work/game.qdemo" || fail "the demo has no end"
stored=$(sha256sum <"$XDG_CONFIG_HOME/Quorvanel/settings")
grep -q '^PlayerName01=s:' "$XDG_CONFIG_HOME/Quorvanel/settings" || fail "the table was not saved"

"$sim" --demo "$work/game.qdemo" --state "$work/sim.json" || fail "the simulator could not play the demo"
"$sim" --compare "$work/desktop.json" "$work/sim.json" >"$work/diff" ||
    fail "the simulator's state differs from the desktop's: $(cat "$work/diff")"
grep -q '"Name": "Xvfb Tester", "Score": ' "$work/sim.json" || fail "the name is not in the table"
echo "record_desktop: the simulator ends in the desktop's state"

# Played back in the window: the same end, and the store as it was.
QUORVANEL_STATE_FILE=$work/played.json start_game --playdemo "$work/game.qdemo"
ended() { grep -q 'ended after' "$work/stderr"; }
wait_for 90 ended || fail "the playback did not end"
grep -q desync "$work/stderr" && fail "the playback departed from the recording"
"$sim" --compare "$work/desktop.json" "$work/played.json" >"$work/diff" ||
    fail "--playdemo ends elsewhere: $(cat "$work/diff")"
quit_with_f12 10
[ "$exit_code" = 0 ] || fail "the playback ended with '$exit_code'"
[ "$(sha256sum <"$XDG_CONFIG_HOME/Quorvanel/settings")" = "$stored" ] ||
    fail "--playdemo changed the stored settings"
echo "record_desktop: --playdemo ends in the same state and leaves the store alone"

# Escape stops a playback; the keys of the game are not the playback's.
start_game --playdemo "$work/game.qdemo"
sleep 3
hold_key Down
sleep 1
hold_key Escape
stopped() { grep -q 'stopped after' "$work/stderr"; }
wait_for 5 stopped || fail "Escape did not stop the playback"
grep -q desync "$work/stderr" && fail "a key of the player reached the game being played back"
quit_with_f12 10
[ "$exit_code" = 0 ] || fail "the stopped playback ended with '$exit_code'"
[ "$(sha256sum <"$XDG_CONFIG_HOME/Quorvanel/settings")" = "$stored" ] ||
    fail "a stopped playback changed the stored settings"
echo "record_desktop: PASS"
