#!/bin/bash
# End-to-end runs of the desktop build against what a player's machine may hold instead of
# a display or of honest files: no display at all; FIFOs as the settings file and as the
# palette file; a settings file with megabytes before its values; one too large to use; a
# symbolic link; a read-only file; no home folder. Each game is started on its own Xvfb
# server, must show its window, say what is wrong and quit on F12, and the file must then
# hold what it should.
# Usage: e2e_bad_files.sh [path/to/quorvanel]
set -u
bin=${1:-build/quorvanel}
. "$(dirname "$0")/../../tools/gui_test_lib.sh"
begin_gui_test bad-files
fail() {
    echo "e2e_bad_files: FAIL: $*" >&2
    for f in "$work"/*/stderr; do
        [ -s "$f" ] && sed "s|^|  $(basename "$(dirname "$f")"): |" "$f" | tail -5 >&2
    done
    exit 1
}
[ -x "$bin" ] || fail "no executable at $bin"
bin=$(cd "$(dirname "$bin")" && pwd)/$(basename "$bin")
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

# No display: the game must not fall back to drawing nowhere. Timed with a resolution finer
# than a second; `timeout` turns a hang into exit code 124.
no_display() { # name, env arguments...
    local name=$1
    shift
    mkdir -p "$work/$name"
    local start=$(date +%s%N)
    env "$@" timeout 5 "$bin" 2>"$work/$name/stderr"
    local rc=$? took=$((($(date +%s%N) - start) / 1000000))
    [ $rc -eq 0 ] || fail "$name: exit code $rc"
    [ $took -lt 2000 ] || fail "$name: took $took ms"
    grep -qx 'no display: set DISPLAY or WAYLAND_DISPLAY' "$work/$name/stderr" ||
        fail "$name: no message"
    echo "e2e_bad_files: $name: ended in $took ms with the message"
}
no_display no-display -u DISPLAY
for n in $(seq 350 399); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || break
done
no_display no-server DISPLAY=:$n

start_xvfb 301 349 || fail "no Xvfb display could be started"

# Starts the game in the folder $work/NAME (its settings under config/ there), with the
# further arguments as its environment, waits for the title page, quits with F12.
play_and_quit() {
    local name=$1
    shift
    local dir=$work/$name
    (cd "$dir" && exec env XDG_CONFIG_HOME="$dir/config" "$@" timeout 60 "$bin") \
        2>"$dir/stderr" &
    gpid=$!
    wid=$(timeout 10 xdotool search --sync --name '^Quorvanel - ' | head -1)
    [ -n "$wid" ] || fail "$name: main window not found"
    title_shown() { shot && [ "$(pixel 1 150)" = "srgb(0,0,255)" ]; }
    wait_for 6 title_shown || fail "$name: title page not shown"
    xdotool windowfocus --sync "$wid" >/dev/null 2>&1
    quit_with_f12 5
    [ -n "$exit_code" ] || fail "$name: the game did not end on F12"
    [ "$exit_code" -eq 0 ] || fail "$name: exit code $exit_code"
}
said() { # name, fixed text the game must have written
    grep -qF -- "$2" "$work/$1/stderr" || fail "$1: did not say '$2'"
}
# The 29 values of the built-in settings, and a table of ten entries to find again.
table() {
    for n in 01 02 03 04 05 06 07 08 09 10; do
        printf 'PlayerName%s=s:Keeper %s\nPlayerScore%s=b:%02X010000\n' $n $n $n $((100 - 10#$n))
    done
}

# FIFOs as the settings file and as the palette file (read on an 8-bit display): opened
# the plain way, either would wait for a writer for ever.
mkdir -p "$work/fifos/config/Quorvanel"
mkfifo "$work/fifos/config/Quorvanel/settings" "$work/fifos/Quorvanel.bmp"
play_and_quit fifos QUORVANEL_DEPTH=8
said fifos "settings is a FIFO, not a regular file; playing with the built-in settings"
said fifos "LoadBitmapPalette: Quorvanel.bmp is a FIFO, not a regular file"
[ -p "$work/fifos/config/Quorvanel/settings" ] || fail "fifos: the FIFO was replaced"
echo "e2e_bad_files: FIFOs reported, game played and quit"

# Two megabytes of comments and a mebibyte-long line before the values.
file=$work/long/config/Quorvanel/settings
mkdir -p "$(dirname "$file")"
yes '# a comment that someone wrote here, and many more like it' | head -c 2000000 >"$file"
echo >>"$file" # the last comment cut short ends here, or it would run on into the next line
head -c 1048576 /dev/zero | tr '\0' 'x' >>"$file"
printf '\nBonusLife=b:05000000\n' >>"$file"
table >>"$file"
cp "$file" "$work/long/before"
play_and_quit long
said long "line too long"
said long "BonusLife is 5" # read, though it comes after all that
head_size=$(($(stat -c %s "$work/long/before") - $(table | wc -c) - 21))
cmp -s -n $head_size "$file" "$work/long/before" || fail "long: the lines before the values changed"
[ "$(table)" = "$(grep -E '^Player(Name|Score)[0-9]' "$file")" ] ||
    fail "long: the table changed: $(grep -E '^Player(Name|Score)01' "$file")"
[ "$(grep -c '=[bs]:' "$file")" -eq 31 ] || fail "long: not 29 values and the window's 2 after quit"
echo "e2e_bad_files: a settings file of 3 MB read to its end and kept"

# Too large to use: the game plays with the built-in values and leaves it alone.
file=$work/huge/config/Quorvanel/settings
mkdir -p "$(dirname "$file")"
yes '# padding' | head -c 20971520 >"$file"
table >>"$file"
cp "$file" "$work/huge/before"
play_and_quit huge
said huge "settings is larger than 16 MiB; playing with the built-in settings"
cmp -s "$file" "$work/huge/before" || fail "huge: the file changed"
echo "e2e_bad_files: a 20 MiB settings file left as it was"

# A symbolic link: the file it points to is updated in its own folder and keeps its mode.
mkdir -p "$work/link/config/Quorvanel" "$work/link/dotfiles"
printf 'BallSpeed=b:01000000\n' >"$work/link/dotfiles/quorvanel"
chmod 600 "$work/link/dotfiles/quorvanel"
ln -s ../../dotfiles/quorvanel "$work/link/config/Quorvanel/settings"
play_and_quit link
[ -L "$work/link/config/Quorvanel/settings" ] || fail "link: the link was replaced"
[ "$(grep -c '=[bs]:' "$work/link/dotfiles/quorvanel")" -eq 31 ] || fail "link: target not saved"
grep -qx 'BallSpeed=b:01000000' "$work/link/dotfiles/quorvanel" || fail "link: BallSpeed lost"
[ "$(stat -c %a "$work/link/dotfiles/quorvanel")" = 600 ] || fail "link: mode not kept"
[ "$(ls "$work/link/dotfiles")" = quorvanel ] || fail "link: left $(ls "$work/link/dotfiles")"
echo "e2e_bad_files: the link's target updated in its folder, mode kept"

# A read-only file: read, reported, never replaced (root included).
file=$work/readonly/config/Quorvanel/settings
mkdir -p "$(dirname "$file")"
printf 'BallSpeed=b:01000000\n' >"$file"
chmod 444 "$file"
play_and_quit readonly
said readonly "settings is read-only; the settings and scores of this run are not saved"
[ "$(cat "$file")" = 'BallSpeed=b:01000000' ] || fail "readonly: the file changed"
echo "e2e_bad_files: a read-only settings file reported and left alone"

# No home folder at all: only root can start a user that the password database lacks.
if [ "$(id -u)" -eq 0 ]; then
    mkdir -p "$work/homeless"
    chmod 755 "$work" "$work/homeless"
    chown 54321 "$work/homeless"
    # A copy the stranger can reach, wherever the checkout lies (a private folder, say).
    # The sanitizers' leak suppressions travel with it for the same reason.
    cp "$bin" "$work/quorvanel-copy"
    cp "$(dirname "$0")/../../tools/lsan.supp" "$work/lsan.supp"
    chmod 755 "$work/quorvanel-copy"
    chmod 644 "$work/lsan.supp"
    (cd "$work/homeless" && exec env -u HOME -u XDG_CONFIG_HOME \
        LSAN_OPTIONS="${LSAN_OPTIONS/suppressions=*lsan.supp/suppressions=$work/lsan.supp}" \
        setpriv --reuid=54321 --regid=54321 --clear-groups timeout 60 "$work/quorvanel-copy") \
        2>"$work/homeless/stderr" &
    gpid=$!
    wid=$(timeout 10 xdotool search --sync --name '^Quorvanel - ' | head -1)
    [ -n "$wid" ] || fail "homeless: main window not found"
    quit_with_f12 5
    [ "$exit_code" = 0 ] || fail "homeless: exit code ${exit_code:-none}"
    said homeless "no home folder"
    said homeless "nothing will be saved"
    echo "e2e_bad_files: no home folder reported"
fi
echo "e2e_bad_files: PASS"
