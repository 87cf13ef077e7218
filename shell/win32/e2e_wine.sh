#!/bin/bash
# Smoke test of the Windows build under Wine, on an Xvfb server and a fresh Wine prefix of
# its own: the first run shows the title page and, after Space, the level screen with its
# balls on their ring, quits on F12 with exit code 0 and leaves the 29 registry values at
# their built-in values; a second run reads a changed RandomGame back and places its balls
# at random, and saves a choice made in the Options box. A third run, on an 8-bit desktop,
# shows the title page as the Linux build's 8-bit display draws it, in the colours that
# desktop gives the palette's entries, and an About box whose texts can be read.
# Usage: e2e_wine.sh [path/to/Quorvanel.exe [path/to/quorvanel-sim path/to/quorvanel-shotcompare]]
set -u
exe=${1:-build-win/Quorvanel.exe}
sim=${2:-build/quorvanel-sim}
shotcompare=${3:-build/quorvanel-shotcompare}
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test wine
cleanup_more() { stop_wine_prefix; }
fail() {
    echo "e2e_wine: FAIL: $*" >&2
    if [ -n "$xpid" ]; then
        for w in $(xdotool search --name . 2>/dev/null); do
            echo "  window: $(xdotool getwindowname "$w" 2>/dev/null)" >&2
        done
    fi
    for log in "$work"/run*.log; do
        [ -s "$log" ] && sed "s|^|  $(basename "$log" .log): |" "$log" | tail -15 >&2
    done
    exit 1
}
[ -f "$exe" ] || fail "no executable at $exe (make windows builds it)"
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
[ -x "$sim" ] && [ -x "$shotcompare" ] || fail "no simulator or screenshot comparison at $sim, $shotcompare"
for tool in wine wineboot wineserver Xvfb xdpyinfo xdotool import convert; do
    command -v $tool >/dev/null || fail "$tool is not installed (tools/install-deps.sh)"
done
start_xvfb 201 249 || fail "no Xvfb display could be started"

start=$SECONDS
make_wine_prefix || fail "$wine_failure"
echo "e2e_wine: prefix made in $((SECONDS - start)) s"

# Any of the game's failure boxes, or Wine's crash dialog.
no_message_box() {
    local boxes
    boxes=$(xdotool search --name \
        '^(ERROR|Format Fail|Lock Fail|Lock Fail/Get Colours|Unlock Failure|.* Surface Fail\.|Program Error)$' \
        2>/dev/null)
    [ -z "$boxes" ] || fail "$1: a message box is open: $(for w in $boxes; do xdotool getwindowname "$w"; done)"
}

title_shown() {
    shot || return 1
    [ "$(pixel 1 150)" = "srgb(0,0,255)" ] || return 1
    # The high-score names in their colour, left half of the table.
    [ "$(count_colour 200 170 20 100 'rgb(0,155,255)')" -gt 50 ]
}
# The level screen while its start banner is still up: the balls have not moved yet.
level_shown() {
    shot || return 1
    [ "$(pixel 1 150)" = "srgb(0,0,255)" ] && [ "$(pixel 398 150)" = "srgb(0,0,255)" ] || return 1
    # The status line's counters, no high-score table any more, and the banner.
    [ "$(count_colour 400 46 0 0 'rgb(128,200,255)')" -gt 50 ] &&
        [ "$(count_colour 200 170 20 100 'rgb(0,155,255)')" -eq 0 ] &&
        [ "$(count_lit 226 38 87 106)" -gt 1000 ]
}

# Starts a run of the game ($1 names it) and waits for its title page.
start_to_title() {
    run=$1
    WINEDEBUG=-all,+debugstr timeout 60 wine "$exe" >/dev/null 2>"$work/$run.log" &
    gpid=$!
    wid=$(timeout 30 xdotool search --sync --name '^Quorvanel - ' | head -1)
    [ -n "$wid" ] || fail "$run: main window not found"
    wait_for 15 title_shown || fail "$run: title page not shown: (1,150) is $(pixel 1 150)"
    no_message_box "$run, title page"
    echo "e2e_wine: $run: title page shown"
}

# Space on the title page, then the level screen, which is left in $work/shot.png.
space_to_level_screen() {
    xdotool windowfocus --sync "$wid" >/dev/null 2>&1
    hold_key space
    wait_for 6 level_shown ||
        fail "$run: level screen not shown: (1,150) $(pixel 1 150), (398,150) $(pixel 398 150)"
    no_message_box "$run, level screen"
    echo "e2e_wine: $run: level screen shown"
}

quit_run() {
    quit_with_f12 10
    [ -n "$exit_code" ] || fail "$run: the game did not end on F12"
    [ "$exit_code" -eq 0 ] || fail "$run: exit code $exit_code"
    echo "e2e_wine: $run: F12 ended the game with exit code 0"
}

registry() {
    wine reg query 'HKCU\Software\Games\Quorvanel' 2>/dev/null | tr -d '\r'
}
# The type and data of one value: "REG_BINARY 0F000000".
value_of() {
    awk -v name="$1" '$1 == name { print $2, $3 }' <<<"$reg"
}
le32() {
    printf '%02X%02X%02X%02X' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255))
}

# First run: no key yet, so the built-in settings are written; balls on the ring.
start_to_title run1
space_to_level_screen
# Level 1 has two balls, on a ring of radius 60 around (200, 173): the second at the bottom,
# below the banner.
[ "$(pixel 200 232)" != "srgb(0,0,0)" ] && [ "$(pixel 201 233)" != "srgb(0,0,0)" ] ||
    fail "run1: no ball on the ring at (200,232): $(pixel 200 232)"
quit_run
grep -q 'OutputDebugStringA "LoadGameArt: Art loaded.\\n"' "$work/run1.log" ||
    fail "run1: the art was not reported loaded"

reg=$(registry)
values=$(grep -cE '^ {4}[A-Za-z0-9]+ {4}REG_[A-Z_]+' <<<"$reg")
[ "$values" -eq 29 ] || fail "$values registry values, not 29: $reg"
for name in PlayerSpeed Sounds RandomGame BallSpeed EnemySpeed BonusLife RespawnFlag RespawnTime \
    PlayerScore{01..10}; do
    [[ "$(value_of $name)" =~ ^REG_BINARY\ [0-9A-F]{8}$ ]] ||
        fail "$name is not a 4-byte REG_BINARY: '$(value_of $name)'"
done
for name in PlayerName PlayerName{01..10}; do
    [[ "$(value_of $name)" =~ ^REG_SZ ]] || fail "$name is not REG_SZ: '$(value_of $name)'"
done
[ -n "$(awk '$1 == "PlayerName01" { print $3 }' <<<"$reg")" ] || fail "PlayerName01 is empty"
[ "$(value_of RespawnTime)" = "REG_BINARY 0F000000" ] || fail "RespawnTime: $(value_of RespawnTime)"
[ "$(value_of RespawnFlag)" = "REG_BINARY 01000000" ] || fail "RespawnFlag: $(value_of RespawnFlag)"
[ "$(value_of RandomGame)" = "REG_BINARY 00000000" ] || fail "RandomGame: $(value_of RandomGame)"
for n in $(seq 1 10); do
    name=$(printf 'PlayerScore%02d' "$n")
    want="REG_BINARY $(le32 $(((11 - n) * 10000)))"
    [ "$(value_of "$name")" = "$want" ] || fail "$name: $(value_of "$name"), not $want"
done
echo "e2e_wine: run1: 29 registry values with their built-in data"

# Second run: the stored RandomGame is read back and the balls leave the ring.
wine reg add 'HKCU\Software\Games\Quorvanel' /v RandomGame /t REG_BINARY /d 01000000 /f \
    >/dev/null 2>&1 || fail "wine reg add failed"
start_to_title run2
# The Options box from its resource template, centred on the window: Right picks "Fast" in
# its first group, Ball Speed, and Enter is OK; F12 saves the choice.
xdotool key --window "$wid" F11
dlg=$(timeout 10 xdotool search --sync --name '^Quorvanel Options$' | head -1)
[ -n "$dlg" ] || fail "run2: the Options box did not open"
centre_x() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo $((X + WIDTH / 2))
}
# The box is found by name as soon as it exists; its place may reach X a moment later.
centred() {
    offset=$(($(centre_x "$dlg") - $(centre_x "$wid")))
    [ "${offset#-}" -le 2 ]
}
wait_for 5 centred || fail "run2: the Options box is $offset pixels off the window's centre"
xdotool windowfocus --sync "$dlg" >/dev/null 2>&1
sleep 0.3
xdotool key Right
sleep 0.2
xdotool key Return
options_closed() { ! xdotool search --name '^Quorvanel Options$' >/dev/null 2>&1; }
wait_for 5 options_closed || fail "run2: the Options box did not close on Enter"
echo "e2e_wine: run2: Options box driven by keys"
space_to_level_screen
[ "$(pixel 200 232)" = "srgb(0,0,0)" ] && [ "$(pixel 201 233)" = "srgb(0,0,0)" ] ||
    fail "run2: a ball still sits on the ring at (200,232) with RandomGame 1"
# The balls are there nonetheless: once the banner has gone, the open field inside the
# frame shows them and nothing else.
balls_in_field() {
    shot || return 1
    [ "$(count_lit 226 38 87 106)" -lt 100 ] && [ "$(count_lit 392 246 4 50)" -ge 8 ]
}
wait_for 5 balls_in_field || fail "run2: no balls on the field after the banner"
quit_run
reg=$(registry)
[ "$(value_of RandomGame)" = "REG_BINARY 01000000" ] ||
    fail "run2: RandomGame not kept: $(value_of RandomGame)"
[ "$(value_of BallSpeed)" = "REG_BINARY 01000000" ] ||
    fail "run2: the Options choice was not saved: BallSpeed $(value_of BallSpeed)"
echo "e2e_wine: run2: RandomGame 1 read back, balls placed at random"

# Third run, on an 8-bit desktop. The prefix's programs end before the display changes.
stop_wine_prefix
kill "$xpid" 2>/dev/null
wait "$xpid" 2>/dev/null
start_xvfb 201 249 1024x768 8 || fail "no 8-bit Xvfb display could be started"
run=run3
# The colour this desktop shows for each palette entry, from ddprobe's grid of them.
timeout 60 wine "$(dirname "$exe")/ddprobe.exe" --hold 3 >"$work/run3.log" 2>&1 &
ppid=$!
probe_ready() { grep -q '^ready' "$work/run3.log"; }
pwid=$(timeout 30 xdotool search --sync --name '^ddprobe$' | head -1)
[ -n "$pwid" ] && wait_for 20 probe_ready || fail "run3: ddprobe did not show its palette grid"
timeout 10 import -window "$pwid" "$work/grid.png" || fail "run3: no screenshot of ddprobe's grid"
wait "$ppid"
grep -q 'palette-indexed' "$work/run3.log" || fail "run3: the desktop is not palette-indexed"

# The Linux build's 8-bit title page, three pictures of its attract screen.
"$sim" --frames 230 --depth 8 --shot 200:"$work/l8-1.png" --shot 215:"$work/l8-2.png" \
    --shot 230:"$work/l8-3.png" || fail "run3: the simulator failed"
WINEDEBUG=-all,+debugstr timeout 60 wine "$exe" >/dev/null 2>"$work/$run.log" &
gpid=$!
wid=$(timeout 30 xdotool search --sync --name '^Quorvanel - ' | head -1)
[ -n "$wid" ] || fail "run3: main window not found"
grep -q 'OutputDebugStringA "LoadGameArt: Attaching palette...\\n"' "$work/$run.log" ||
    fail "run3: no palette attached on the 8-bit desktop"
# Frame, logo, table and texts: the same palette entries as the Linux build's, shown in the
# colours the desktop gives them. The comparison is tried until the logo has landed.
same_as_linux() {
    for k in 1 2 3; do timeout 10 import -window "$wid" "$work/w8-$k.png" 2>/dev/null || return 1; done
    "$shotcompare" --shown "$work/grid.png" --linux "$work/l8-1.png,$work/l8-2.png,$work/l8-3.png" \
        --windows "$work/w8-1.png,$work/w8-2.png,$work/w8-3.png" >"$work/compare8.txt"
}
wait_for 20 same_as_linux ||
    fail "run3: the 8-bit title page is not the Linux build's: $(head -200 "$work/compare8.txt")"
no_message_box "run3, title page"
echo "e2e_wine: run3: 8-bit title page as the Linux build draws it: $(head -1 "$work/compare8.txt")"

# The About box: its static texts on a background of their own, not black on black.
xdotool key --window "$wid" F9
dlg=$(timeout 10 xdotool search --sync --name '^About Quorvanel$' | head -1)
[ -n "$dlg" ] || fail "run3: the About box did not open"
sleep 0.5
timeout 10 import -window "$dlg" "$work/about.png" || fail "run3: no screenshot of the About box"
# "Cursor Keys To Move": dialog units (36, 109), 89 x 8, of a box 163 x 188 units.
eval "$(convert "$work/about.png" -format 'W=%w H=%h' info:)"
area="$((89 * W / 163))x$((8 * H / 188))+$((36 * W / 163))+$((109 * H / 188))"
colours=$(convert "$work/about.png" -crop "$area" +repage -alpha off -format %c histogram:info:- |
    sort -rn)
ink=$(awk '/#000000/ { print $1 + 0 }' <<<"$colours")
face=$(head -1 <<<"$colours")
[ "${ink:-0}" -gt 20 ] && [[ "$face" != *"#000000"* ]] ||
    fail "run3: the About box's text cannot be read (colours in $area: $colours)"
echo "e2e_wine: run3: About box readable: $ink text pixels on $(grep -o '#[0-9A-F]\{6\}' <<<"$face")"
xdotool key --window "$dlg" Return
about_closed() { ! xdotool search --name '^About Quorvanel$' >/dev/null 2>&1; }
wait_for 5 about_closed || fail "run3: the About box did not close on Enter"
quit_run
echo "e2e_wine: PASS in $((SECONDS - start)) s"
