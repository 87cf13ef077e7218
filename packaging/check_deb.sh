#!/bin/bash
# Checks the .deb as a user's system would take it (run as root; CI does): lintian finds no
# error and no warning; dpkg installs it (apt-get fetches what it depends on);
# /usr/games/quorvanel opens its title page on an Xvfb display; `man 6 quorvanel` finds the
# manual page; dpkg -r takes every file away again. The package is removed whatever happens.
# Usage: packaging/check_deb.sh path/to/quorvanel_VERSION_ARCH.deb
set -u
deb=${1:?usage: $0 path/to/quorvanel_VERSION_ARCH.deb}
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/gui_test_lib.sh"
begin_gui_test deb
installed_here=0
cleanup_more() {
    [ "$installed_here" -eq 1 ] && dpkg_waiting dpkg -r quorvanel >/dev/null
}
# Other installs may hold dpkg's lock for a moment: wait for it rather than fail.
dpkg_waiting() {
    local out
    for _ in $(seq 1 60); do
        out=$("$@" 2>&1) && { echo "$out"; return 0; }
        grep -qi 'lock' <<<"$out" || { echo "$out"; return 1; }
        sleep 2
    done
    echo "$out"
    return 1
}
[ "$(id -u)" -eq 0 ] || fail "run as root: the check installs and removes the package"
[ -f "$deb" ] || fail "no package at $deb (make package makes it)"
if dpkg-query -W -f='${Status}' quorvanel 2>/dev/null | grep -q 'ok installed'; then
    fail "quorvanel is already installed on this machine; the check leaves other installs alone"
fi

# Tags of the informational kind are listed; errors and warnings fail.
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian" 2>&1 ||
    fail "lintian: $(grep -v 'root privileges' "$work/lintian")"
grep -v 'root privileges' "$work/lintian" | sed 's/^/check_deb: lintian: /'
echo "check_deb: lintian: no errors, no warnings"

version=$(dpkg-deb -f "$deb" Version)
installed_here=1
if ! dpkg_waiting dpkg -i "$deb" >"$work/dpkg"; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 -f install -y -qq \
        >>"$work/dpkg" 2>&1 ||
        fail "the package and its dependencies did not install: $(tail -5 "$work/dpkg")"
fi
dpkg-query -W -f='${Status}' quorvanel | grep -q 'install ok installed' ||
    fail "dpkg does not count the package installed"
dpkg -L quorvanel | sort >"$work/files"
echo "check_deb: installed $version, $(wc -l <"$work/files") paths"

page=$(man -w 6 quorvanel 2>/dev/null)
if [ "$page" != /usr/share/man/man6/quorvanel.6.gz ]; then
    grep -qs 'path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg.d/* &&
        fail "this machine's dpkg leaves manual pages out (path-exclude in /etc/dpkg/dpkg.cfg.d)"
    fail "man 6 quorvanel finds '$page'"
fi
man 6 quorvanel 2>/dev/null | grep -q "Quorvanel $version" ||
    fail "the manual page does not name version $version"
echo "check_deb: man 6 quorvanel finds $page"

[ -x /usr/games/quorvanel ] || fail "no /usr/games/quorvanel"
start_xvfb 401 449 || fail "no Xvfb display could be started"
export SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config
timeout 60 /usr/games/quorvanel 2>"$work/stderr" &
gpid=$!
wid=$(timeout 15 xdotool search --sync --name '^Quorvanel - ' | head -1)
[ -n "$wid" ] || fail "the installed game's window did not appear"
title_shown() {
    shot || return 1
    [ "$(pixel 1 150)" = "srgb(0,0,255)" ] && [ "$(pixel 398 150)" = "srgb(0,0,255)" ]
}
wait_for 10 title_shown || fail "no title page: (1,150) is $(pixel 1 150)"
echo "check_deb: /usr/games/quorvanel shows its title page"
quit_with_f12 5
[ "${exit_code:-}" = 0 ] || fail "the game did not end with code 0 on F12 (${exit_code:-still running})"

dpkg_waiting dpkg -r quorvanel >"$work/dpkg" || fail "dpkg -r: $(tail -5 "$work/dpkg")"
installed_here=0
dpkg-query -W -f='${Status}' quorvanel 2>/dev/null | grep -q 'ok installed' &&
    fail "the package is still installed after dpkg -r"
left=$(while read -r path; do [ -f "$path" ] || [ -L "$path" ] && echo "$path"; done <"$work/files")
[ -z "$left" ] || fail "dpkg -r left files behind: $left"
echo "check_deb: dpkg -r removed it, no file left"
echo "check_deb: PASS"
