# Shell functions shared by the scripts that drive the real game on an Xvfb display
# (the end-to-end tests, the package checks and the frame-rate benchmarks). Source it; the
# caller keeps the game's process id in $gpid and its window id in $wid.

# A scratch folder in $work, and a clean-up at exit that stops the game and Xvfb and
# removes the folder; a script with more to stop first defines cleanup_more.
begin_gui_test() {
    work=$(mktemp -d "/tmp/quorvanel-$1.XXXXXX")
    xpid=""
    gpid=""
    wmpid=""
    trap end_gui_test EXIT
    # In a sanitizer build, what system libraries leak is not the game's to answer for.
    local tools
    tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    export LSAN_OPTIONS="suppressions=$tools/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

# Says what failed, with the last lines the game wrote to $work/stderr if any, and ends the
# script; a script with other logs to show defines its own after begin_gui_test.
fail() {
    echo "$(basename "$0" .sh): FAIL: $*" >&2
    [ -s "${work:-}/stderr" ] && sed 's/^/  game: /' "$work/stderr" | tail -20 >&2
    exit 1
}
end_gui_test() {
    [ -n "$gpid" ] && kill "$gpid" 2>/dev/null
    declare -F cleanup_more >/dev/null && cleanup_more
    [ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}

# Starts Xvfb on the first display number from $1 to $2 that is free and accepted, with a
# screen of $3 (default 1024x768) at $4 bits a pixel (default 24); sets DISPLAY and xpid.
# Returns 1 when none could be started.
start_xvfb() {
    local n
    xpid=""
    for n in $(seq "$1" "$2"); do
        [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
        # -noreset: a server resetting after the readiness probe leaves refuses clients.
        Xvfb :$n -screen 0 "${3:-1024x768}x${4:-24}" -nolisten tcp -noreset >/dev/null 2>&1 &
        xpid=$!
        for _ in $(seq 1 100); do
            xdpyinfo -display :$n >/dev/null 2>&1 && break
            kill -0 $xpid 2>/dev/null || break
            sleep 0.05
        done
        if xdpyinfo -display :$n >/dev/null 2>&1; then
            export DISPLAY=:$n
            return 0
        fi
        kill $xpid 2>/dev/null
        wait $xpid 2>/dev/null
        xpid=""
    done
    return 1
}

# Starts a window manager (openbox) on $DISPLAY and waits until it has announced itself;
# full screen needs one that follows the desktop's full-screen requests, which twm does not.
# Sets wmpid; returns 1 when it does not come up.
start_window_manager() {
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    wmpid=$!
    wait_for 5 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'"
}
# Prints the id of the first window whose name matches $1, waiting up to $2 seconds (default
# 10). Unlike xdotool's own --sync wait it survives windows that vanish while it looks, as
# they do under a window manager when another program has just quit.
find_window() {
    local end=$((SECONDS + ${2:-10})) found
    while [ $SECONDS -le $end ]; do
        found=$(xdotool search --name "$1" 2>/dev/null | head -1)
        [ -n "$found" ] && echo "$found" && return 0
        sleep 0.1
    done
    return 1
}
# Succeeds once the window manager has put a frame round window $1.
framed() {
    ! xwininfo -id "$1" -tree 2>/dev/null | grep -q 'Parent window id: .*(the root window)'
}

# A screenshot of the window's client area into $work/shot.png.
shot() { timeout 10 import -window "$wid" "$work/shot.png" 2>/dev/null; }
# One pixel of the last screenshot, as srgb(r,g,b).
pixel() { convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info:; }
# Pixels of exactly one colour inside a rectangle (w h x y colour).
count_colour() {
    convert "$work/shot.png" -crop "${1}x${2}+${3}+${4}" +repage -alpha off \
        -fill black +opaque "$5" -fill white -opaque "$5" -format '%[fx:round(mean*w*h)]' info:
}
# Pixels that are not black inside a rectangle (w h x y).
count_lit() {
    convert "$work/shot.png" -crop "${1}x${2}+${3}+${4}" +repage -alpha off \
        -fill white +opaque black -fill black -opaque black -format '%[fx:round(mean*w*h)]' info:
}
# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    while [ $SECONDS -le $end ]; do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
# Holds a key down for a moment: a press and release that both arrive between two frames
# leave no key for the game to see.
hold_key() {
    xdotool keydown "$1"
    sleep 0.1
    xdotool keyup "$1"
}
# Sends F12 and waits up to $1 seconds for the game to end; sets exit_code to its exit
# code, or to nothing when it is still running.
quit_with_f12() {
    xdotool key --window "$wid" F12 2>/dev/null # the window may be gone before the release
    exit_code=""
    local end=$((SECONDS + $1))
    while [ $SECONDS -le $end ]; do
        if ! kill -0 "$gpid" 2>/dev/null; then
            wait "$gpid"
            exit_code=$?
            gpid=""
            # xdotool gives up on the release when the window has gone; a key left down
            # would repeat into the next program on this display.
            xdotool keyup F12 2>/dev/null
            return
        fi
        sleep 0.1
    done
}

# A fresh Wine prefix in $work/prefix (about 10 s), with DirectDraw on Wine's GDI renderer:
# no OpenGL needed, the same drawing on every machine, and less of the CPU taken from the
# tests that run beside it. Sets WINEPREFIX; returns 1 with a reason in $wine_failure.
make_wine_prefix() {
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wine_failure=""
    if ! timeout 60 wineboot -i >"$work/wineboot.log" 2>&1; then
        wine_failure="wineboot -i failed: $(tail -3 "$work/wineboot.log")"
        return 1
    fi
    if ! wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f \
        >/dev/null 2>&1; then
        wine_failure="the prefix's Direct3D renderer could not be set"
        return 1
    fi
}
# Ends every program of the prefix and its server; for cleanup_more, and before the prefix's
# programs are started on another display.
stop_wine_prefix() {
    [ -d "${WINEPREFIX:-}" ] || return 0
    wineserver -k 2>/dev/null
    timeout 10 wineserver -w 2>/dev/null
}
