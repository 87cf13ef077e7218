#!/bin/bash
# Installs the build into a scratch prefix and checks what a desktop makes of it: exactly the
# files of the layout; the icons at their sizes; the desktop entry and the AppStream metadata
# valid, naming each other, the icon and the executable; one version in the metadata, the
# manual page and the game's own title text; a manual page without groff warnings that
# explains every option and environment variable the game knows; and the simulator's
# screenshot of the metadata still a level in play.
# Usage: packaging/check_install.sh BUILD_DIR QUORVANEL_SIM
set -u
build=${1:?usage: $0 BUILD_DIR QUORVANEL_SIM}
sim=${2:?usage: $0 BUILD_DIR QUORVANEL_SIM}
src=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/quorvanel-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "check_install: FAIL: $*" >&2
    failed=1
}
id=io.github.quorvanel.Quorvanel
prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { echo "check_install: FAIL: cmake --install: $(tail -3 "$work/install.log")" >&2; exit 1; }

expected="games/quorvanel
share/applications/$id.desktop
share/doc/quorvanel/changelog.gz
share/doc/quorvanel/copyright
share/man/man6/quorvanel.6.gz
share/metainfo/$id.metainfo.xml"
for size in 16 32 48 64 128 256; do
    expected+=$'\n'"share/icons/hicolor/${size}x${size}/apps/$id.png"
done
found=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
[ "$found" = "$(sort <<<"$expected")" ] ||
    fail "installed files differ from the layout:$(echo; diff <(sort <<<"$expected") <(echo "$found"))"
for size in 16 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${size}x$size" ] ||
        fail "the ${size}x$size icon is $(identify -format '%wx%h' "$png" 2>&1)"
done

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 ||
    fail "desktop-file-validate: $(cat "$work/desktop.log")"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/appstream.log")"
grep '^[IP]:' "$work/appstream.log" | sed 's/^/check_install: appstream note: /'
entry() { sed -n "s/^$1=//p" "$desktop"; }
tag() { sed -n "s|.*<$1[^>]*>\([^<]*\)</$1>.*|\1|p" "$metainfo" | head -1; }
[ "$(entry Icon)" = "$id" ] || fail "the desktop entry's icon is '$(entry Icon)', not $id"
[ -x "$prefix/games/$(entry Exec)" ] || fail "the desktop entry runs '$(entry Exec)', not installed"
entry Keywords | grep -q . || fail "the desktop entry has no Keywords"
[ "$(tag id)" = "$id" ] || fail "the metadata's id is '$(tag id)'"
[ "$(tag launchable)" = "$id.desktop" ] || fail "the metadata launches '$(tag launchable)'"
[ -x "$prefix/games/$(tag binary)" ] || fail "the metadata provides '$(tag binary)', not installed"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "no OARS 1.1 content rating"

# One version everywhere: the metadata's release, the manual page and the title page's text.
version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo")
[ -n "$version" ] || fail "the metadata has no release"
grep -qxF "V$version" <(strings "$prefix/games/quorvanel") ||
    fail "the game does not show V$version on its title page"
page=$prefix/share/man/man6/quorvanel.6.gz
zcat "$page" | grep -q "^\.TH QUORVANEL 6 .*\"Quorvanel $version\"" ||
    fail "the manual page is not of version $version"
MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$work/man.txt" 2>"$work/man.log"
[ -s "$work/man.txt" ] && [ ! -s "$work/man.log" ] || fail "man: $(cat "$work/man.log")"
for variable in $(strings "$prefix/games/quorvanel" | grep -oE '^(QUORVANEL|XDG)_[A-Z_]+$' | sort -u); do
    grep -q "^ *$variable\$" "$work/man.txt" || fail "the manual page does not explain $variable"
done
options=$("$prefix/games/quorvanel" --help 2>&1 | grep -oE -- '--[a-z]+' | sort -u)
[ -n "$options" ] || fail "quorvanel --help names no options"
for option in $options; do
    grep -qE -- "^ *$option( |,|\$)" "$work/man.txt" || fail "the manual page does not explain $option"
done

# The screenshot: a level in play with all lives, and the size the metadata gives.
frame=$(sed -n 's/^set(QUORVANEL_SCREENSHOT_FRAME \([0-9]*\))/\1/p' "$src/CMakeLists.txt")
"$sim" --frames "$frame" --script "$src/screenshot.keys" --shot "$frame:$work/shot.png" \
    --state "$work/state.json" >"$work/sim.log" 2>&1 || fail "the simulator: $(cat "$work/sim.log")"
grep -q '"GameState": 3,' "$work/state.json" && grep -q '"Lives": 3,' "$work/state.json" ||
    fail "the screenshot's frame is no longer a level in play with three lives"
size=$(sed -n 's/.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)".*/\1x\2/p' "$metainfo")
[ "$(identify -format '%wx%h' "$work/shot.png" 2>/dev/null)" = "$size" ] ||
    fail "the screenshot is not $size"

[ "$failed" -eq 0 ] && echo "check_install: PASS"
exit "$failed"
