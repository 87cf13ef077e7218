#!/bin/bash
# End-to-end run of the desktop build on its own Xvfb server: title page, a game started
# with Space, the Options box driven by keyboard, F12, and the settings file left behind.
# Usage: e2e_desktop.sh [path/to/quorvanel]
set -u
bin=${1:-build/quorvanel}
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test e2e
[ -x "$bin" ] || fail "no executable at $bin"
start_xvfb 151 199 || fail "no Xvfb display could be started"

export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config
timeout 60 "$bin" 2>"$work/stderr" &
gpid=$!

wid=$(timeout 10 xdotool search --sync --name '^Quorvanel - ' | head -1)
[ -n "$wid" ] || fail "main window not found"
xdotool windowfocus --sync "$wid" >/dev/null 2>&1

title_shown() {
    shot "$wid" || return 1
    [ "$(pixel 1 150)" = "srgb(0,0,255)" ] || return 1
    # The high-score names in their colour, left half of the table.
    [ "$(count_colour 200 170 20 100 'rgb(0,155,255)')" -gt 50 ]
}
wait_for 6 title_shown || fail "title page not shown: (1,150) is $(pixel 1 150)"
echo "e2e_desktop: title page shown"

# The Options box: its first group is Ball Speed; Right selects Fast, Enter is OK.
xdotool key --window "$wid" F11
dlg=$(timeout 5 xdotool search --sync --name '^Quorvanel Options$' | head -1)
[ -n "$dlg" ] || fail "Options box did not open"
xdotool windowfocus --sync "$dlg" >/dev/null 2>&1
sleep 0.3
xdotool key Right
sleep 0.2
xdotool key Return
gone() { ! xdotool search --name '^Quorvanel Options$' >/dev/null 2>&1; }
wait_for 5 gone || fail "Options box did not close on Enter"
echo "e2e_desktop: Options box driven by keys"

xdotool windowfocus --sync "$wid" >/dev/null 2>&1
sleep 0.2
hold_key space
level_shown() {
    shot "$wid" || return 1
    [ "$(pixel 1 150)" = "srgb(0,0,255)" ] && [ "$(pixel 398 150)" = "srgb(0,0,255)" ] || return 1
    # The status line's counters, and no high-score table any more.
    [ "$(count_colour 400 46 0 0 'rgb(128,200,255)')" -gt 50 ] &&
        [ "$(count_colour 200 170 20 100 'rgb(0,155,255)')" -eq 0 ]
}
sleep 2.5 # the level-start banner
wait_for 6 level_shown || fail "level screen not shown: (1,150) $(pixel 1 150), (398,150) $(pixel 398 150)"
echo "e2e_desktop: level screen shown"

quit_with_f12 5
# A game still running is stopped by the clean-up.
[ -n "$exit_code" ] || fail "the game did not end on F12"
[ "$exit_code" -eq 0 ] || fail "exit code $exit_code"

file=$XDG_CONFIG_HOME/Quorvanel/settings
[ -f "$file" ] || fail "no settings file at $file"
values=$(grep -cE '^[A-Za-z0-9]+=[bs]:' "$file")
[ "$values" -eq 31 ] || fail "$values values in the settings file, not the 29 and the window's 2"
head -30 "$file" | tail -1 | grep -q '^PlayerScore10=' || fail "the game's 29 values do not come first"
grep -qx 'WindowScale=b:01000000' "$file" || fail "the window's scale not saved: $(grep WindowScale "$file")"
grep -qx 'BallSpeed=b:01000000' "$file" || fail "Options choice not saved: $(grep BallSpeed "$file")"
grep -qx 'RespawnTime=b:0F000000' "$file" || fail "RespawnTime not at its built-in value"
grep -qx 'PlayerScore01=b:A0860100' "$file" || fail "high-score table not saved"
echo "e2e_desktop: PASS"
