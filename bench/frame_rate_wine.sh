#!/bin/bash
# Frame rate, frame-interval jitter and CPU use of the Windows build under Wine on Xvfb, first
# with the cores idle, then with every core kept busy by a process that only spins.
# Usage: bench/frame_rate_wine.sh [path/to/Quorvanel.exe] [seconds of play per phase, default 10]
#        [renderer: gdi, as the Wine tests draw and the default here, or wine, Wine's own]
# Targets, idle: 58.8 frames/s within 0.5 %, no interval above 20 ms, the game under 10 % of
# one core and the Wine server under 5 %. Loaded: at least 57 frames/s, no interval above 35 ms.
# Wine's default renderer draws DirectDraw through OpenGL, which on a machine without a
# graphics processor is a software rasteriser taking about a core of its own for the frames;
# the targets are the game's, measured on Wine's GDI renderer.
set -u
exe=${1:-build-win/Quorvanel.exe}
seconds=${2:-10}
renderer=${3:-gdi}
. "$(dirname "$0")/../tools/gui_test_lib.sh"
begin_gui_test wine-bench
busy=()
cleanup_more() {
    [ ${#busy[@]} -gt 0 ] && kill "${busy[@]}" 2>/dev/null
    stop_wine_prefix
}
[ -f "$exe" ] || { echo "no executable at $exe (make windows builds it)" >&2; exit 1; }
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
start_xvfb 351 399 || { echo "no Xvfb display" >&2; exit 1; }
echo "load before: $(uptime)"

make_wine_prefix || { echo "$wine_failure" >&2; exit 1; }
case $renderer in
gdi) ;;
wine) wine reg delete 'HKCU\Software\Wine\Direct3D' /v renderer /f >/dev/null 2>&1 ;;
*) echo "renderer: gdi or wine, not $renderer" >&2; exit 1 ;;
esac
echo "renderer: $renderer"
wineserver -w # the prefix's first server has gone: the next one is the game's alone

# The frame log is written by a Windows program: its path is the Windows name of the file.
QUORVANEL_FRAME_LOG="Z:${work//\//\\}\\frames" timeout $((2 * seconds + 60)) wine "$exe" \
    >/dev/null 2>&1 &
gpid=$!
wid=$(timeout 30 xdotool search --sync --name '^Quorvanel - ' | head -1)
[ -n "$wid" ] || { echo "main window not found" >&2; exit 1; }
sleep 4 # past the title's climbing logo
xdotool windowfocus --sync "$wid" >/dev/null 2>&1
hold_key space
sleep 3 # past the level-start banner: the game is playing

# The game's process and this prefix's Wine server (other tests may run their own).
of_this_prefix() {
    local pid
    for pid in $(pgrep "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
            echo "$pid"
    done | head -1
}
game_pid=$(of_this_prefix '^Quorvanel\.exe$')
server_pid=$(of_this_prefix '^wineserver')
[ -n "$game_pid" ] && [ -n "$server_pid" ] || { echo "game or Wine server not found" >&2; exit 1; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now_us() { echo $(($(date +%s%N) / 1000)); }

# One phase of $seconds: its start and end times and CPU readings, appended to $work/phases.
measure() {
    local t0 g0 s0
    t0=$(now_us) g0=$(cpu_ticks "$game_pid") s0=$(cpu_ticks "$server_pid")
    sleep "$seconds"
    echo "$1 $t0 $(now_us) $g0 $(cpu_ticks "$game_pid") $s0 $(cpu_ticks "$server_pid")" \
        >>"$work/phases"
}
measure idle
for _ in $(seq 1 "$(nproc)"); do
    (while :; do :; done) &
    busy+=($!)
done
sleep 1
measure loaded
echo "load with $(nproc) busy processes: $(uptime)"
kill "${busy[@]}" 2>/dev/null
wait "${busy[@]}" 2>/dev/null
busy=()
quit_with_f12 10
[ -n "$exit_code" ] || { echo "the game did not end on F12" >&2; exit 1; }

ok=1
while read -r phase t0 t1 g0 g1 s0 s1; do
    awk -v phase="$phase" -v t0="$t0" -v t1="$t1" -v g0="$g0" -v g1="$g1" -v s0="$s0" \
        -v s1="$s1" -v hz="$(getconf CLK_TCK)" '
        $1 >= t0 && $1 <= t1 {
            if (n > 0) { d = ($1 - last) / 1000.0; if (d > worst) worst = d }
            else begin = $1
            last = $1; n++
        }
        END {
            if (n < 2) { print phase ": no frames logged"; exit 1 }
            rate = (n - 1) / ((last - begin) / 1e6)
            span = (t1 - t0) / 1e6
            game = 100.0 * (g1 - g0) / hz / span
            server = 100.0 * (s1 - s0) / hz / span
            printf "%s: %d frames over %.2f s\n", phase, n, (last - begin) / 1e6
            printf "  frame rate:             %.3f /s (58.824 wanted, off by %+.3f %%)\n", rate, 100 * (rate / (1000 / 17) - 1)
            printf "  longest frame interval: %.2f ms\n", worst
            printf "  CPU of the game:        %.1f %% of one core\n", game
            printf "  CPU of the Wine server: %.1f %% of one core\n", server
            if (phase == "idle")
                ok = rate > 58.824 * 0.995 && rate < 58.824 * 1.005 && worst <= 20 && game < 10 && server < 5
            else
                ok = rate >= 57 && worst <= 35
            print ok ? "  within targets" : "  OUTSIDE TARGETS"
            exit ok ? 0 : 1
        }' "$work/frames" || ok=0
done <"$work/phases"
echo "load after: $(uptime)"
[ "$ok" = 1 ] && echo "RESULT: within targets" || echo "RESULT: outside targets"
[ "$ok" = 1 ]
