#!/bin/bash
# Frame rate, frame-interval jitter, CPU use and start-up time of the desktop build under
# Xvfb. Usage: bench/frame_rate.sh [path/to/quorvanel] [seconds of play, default 10]
#   [screen size, default 1024x768] [full]
# The window takes the scale the screen size gives it (1x at 1024x768, 2x at 1920x1080, 5x at
# 3840x2160); "full" runs it in full screen under a window manager (Alt+Enter).
# Targets: 58.8 frames/s within 0.5 %, no interval above 20 ms, under 10 % of one core,
# first frame on screen within 300 ms of the start.
set -u
bin=${1:-build/quorvanel}
seconds=${2:-10}
screen=${3:-1024x768}
mode=${4:-window}
. "$(dirname "$0")/../tools/gui_test_lib.sh"
begin_gui_test bench
[ -x "$bin" ] || { echo "no executable at $bin" >&2; exit 1; }
start_xvfb 201 249 "$screen" || { echo "no Xvfb display" >&2; exit 1; }
if [ "$mode" = full ]; then
    start_window_manager || { echo "no window manager" >&2; exit 1; }
fi

export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config QUORVANEL_FRAME_LOG=$work/frames
start_us=$(($(date +%s%N) / 1000))
timeout $((seconds + 30)) "$bin" 2>"$work/stderr" &
gpid=$!
wid=$(timeout 10 xdotool search --sync --name '^Quorvanel - ' | head -1)
[ -n "$wid" ] || { echo "main window not found" >&2; exit 1; }
sleep 1
xdotool windowfocus --sync "$wid" >/dev/null 2>&1
if [ "$mode" = full ]; then
    xdotool keydown alt keydown Return
    sleep 0.1
    xdotool keyup Return keyup alt
    sleep 1
fi
echo "window: $(xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}') on a $screen screen ($mode)"
hold_key space
sleep 3 # past the level-start banner: the game is playing

# timeout runs the game as its child; the CPU figures are the game's own.
game_pid=$(pgrep -P "$gpid" | head -1)
[ -n "$game_pid" ] || game_pid=$gpid
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
hz=$(getconf CLK_TCK)
t0_us=$(($(date +%s%N) / 1000))
c0=$(cpu_ticks)
sleep "$seconds"
c1=$(cpu_ticks)
t1_us=$(($(date +%s%N) / 1000))
quit_with_f12 10
[ -n "$exit_code" ] || { echo "the game did not end on F12" >&2; exit 1; }

awk -v start="$start_us" -v t0="$t0_us" -v t1="$t1_us" -v c0="$c0" -v c1="$c1" -v hz="$hz" '
    NR == 1 { first = $1 }
    $1 >= t0 && $1 <= t1 {
        if (n > 0) { d = ($1 - last) / 1000.0; if (d > worst) worst = d }
        else begin = $1
        last = $1; n++
    }
    END {
        rate = (n - 1) / ((last - begin) / 1e6)
        cpu = 100.0 * (c1 - c0) / hz / ((t1 - t0) / 1e6)
        printf "frames measured:        %d over %.2f s\n", n, (last - begin) / 1e6
        printf "frame rate:             %.3f /s (target 58.824, off by %+.3f %%)\n", rate, 100 * (rate / (1000 / 17) - 1)
        printf "longest frame interval: %.2f ms (limit 20)\n", worst
        printf "CPU use:                %.1f %% of one core (limit 10)\n", cpu
        printf "start to first frame:   %.1f ms (limit 300)\n", (first - start) / 1000.0
        ok = (rate > 58.824 * 0.995 && rate < 58.824 * 1.005 && worst <= 20 && cpu < 10 && (first - start) < 300000)
        print ok ? "RESULT: within targets" : "RESULT: outside targets"
        exit ok ? 0 : 1
    }' "$work/frames"
