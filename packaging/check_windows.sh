#!/bin/bash
# Checks the Windows packages. The zip holds the executable, the read-me and the licence, with
# Windows line ends. The installer, under Wine in a fresh prefix of its own, installs silently
# into Program Files with a Start-menu shortcut and an Add/Remove Programs entry; the installed
# game shows its title page and keeps its settings in the registry; the uninstaller, silent
# too, takes the files, the shortcut and the entry away and leaves the player's settings.
# Usage: packaging/check_windows.sh Quorvanel-VERSION-windows.zip Quorvanel-VERSION-setup.exe
set -u
zip=${1:?usage: $0 Quorvanel-VERSION-windows.zip Quorvanel-VERSION-setup.exe}
setup=${2:?usage: $0 Quorvanel-VERSION-windows.zip Quorvanel-VERSION-setup.exe}
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/gui_test_lib.sh"
begin_gui_test windows
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup_more() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null
        timeout 10 wineserver -w 2>/dev/null
    fi
}
for file in "$zip" "$setup"; do [ -f "$file" ] || fail "no $file (make package makes it)"; done
zip=$(realpath "$zip")
setup=$(realpath "$setup")
version=$(basename "$zip" | sed -n 's/^Quorvanel-\(.*\)-windows\.zip$/\1/p')
[ -n "$version" ] || fail "$zip is not named Quorvanel-VERSION-windows.zip"
[ "$(basename "$setup")" = "Quorvanel-$version-setup.exe" ] || fail "$setup is not of version $version"

# The zip: one folder with the three files.
folder=Quorvanel-$version-windows
listing=$(cmake -E tar tf "$zip" | grep -v '/$' | sort | tr '\n' ' ')
[ "$listing" = "$folder/LICENSE.txt $folder/Quorvanel.exe $folder/README.txt " ] ||
    fail "the zip holds: $listing"
(cd "$work" && cmake -E tar xf "$zip") ||
    fail "the zip does not unpack"
for text in README.txt LICENSE.txt; do
    lines=$(wc -l <"$work/$folder/$text")
    [ "$(grep -c $'\r$' "$work/$folder/$text")" -eq "$lines" ] || fail "$text has Unix line ends"
done
head -1 "$work/$folder/README.txt" | grep -q "^Quorvanel $version for Windows" ||
    fail "the read-me is not of version $version"
echo "check_windows: the zip holds the game, its read-me and licence"

for tool in wine wineboot wineserver Xvfb xdotool import convert; do
    command -v $tool >/dev/null || fail "$tool is not installed (tools/install-deps.sh)"
done
start_xvfb 401 449 || fail "no Xvfb display could be started"
timeout 60 wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot -i failed"
wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >/dev/null 2>&1

drive=$WINEPREFIX/drive_c
dir="$drive/Program Files/Quorvanel"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvanel"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvanel'
settings='HKCU\Software\Games\Quorvanel'
query() { wine reg query "$1" 2>/dev/null | tr -d '\r'; }
# The data of one value of a query's output ($1), named $2.
value_of() { sed -n "s/^ \{4\}$2 \{4\}REG_[A-Z_]* \{4\}//p" <<<"$1"; }
settings_count() { query "$settings" | grep -cE '^ {4}[A-Za-z0-9]+ {4}REG_'; }

timeout 120 wine "$setup" /S >"$work/setup.log" 2>&1 || fail "the installer failed: $(tail -3 "$work/setup.log")"
timeout 60 wineserver -w
for file in Quorvanel.exe README.txt LICENSE.txt Uninstall.exe; do
    [ -f "$dir/$file" ] || fail "no $file in Program Files/Quorvanel"
done
cmp -s "$dir/Quorvanel.exe" "$work/$folder/Quorvanel.exe" || fail "the zip and the installer differ"
[ -f "$menu/Quorvanel.lnk" ] || fail "no Start-menu shortcut: $(ls "$menu" 2>&1)"
arp=$(query "$entry")
[ "$(value_of "$arp" DisplayName)" = Quorvanel ] &&
    [ "$(value_of "$arp" DisplayVersion)" = "$version" ] &&
    [ "$(value_of "$arp" UninstallString)" = '"C:\Program Files\Quorvanel\Uninstall.exe"' ] &&
    [ "$(value_of "$arp" InstallLocation)" = 'C:\Program Files\Quorvanel' ] ||
    fail "Add/Remove Programs entry: $arp"
echo "check_windows: installed silently: files, shortcut, Add/Remove Programs entry"

wine 'C:\Program Files\Quorvanel\Quorvanel.exe' >/dev/null 2>"$work/game.log" &
gpid=$!
wid=$(timeout 30 xdotool search --sync --name '^Quorvanel - ' | head -1)
[ -n "$wid" ] || fail "the installed game's window did not appear"
title_shown() {
    shot || return 1
    [ "$(pixel 1 150)" = "srgb(0,0,255)" ] && [ "$(pixel 398 150)" = "srgb(0,0,255)" ]
}
wait_for 15 title_shown || fail "no title page: (1,150) is $(pixel 1 150)"
echo "check_windows: the installed game shows its title page"
quit_with_f12 10
[ "${exit_code:-}" = 0 ] || fail "the game did not end with code 0 on F12 (${exit_code:-still running})"
saved=$(settings_count)
[ "$saved" -eq 29 ] || fail "the game saved $saved registry values, not 29"

# The uninstaller copies itself away to delete its own file; wineserver -w waits for it.
timeout 60 wine 'C:\Program Files\Quorvanel\Uninstall.exe' /S >"$work/uninstall.log" 2>&1 ||
    fail "the uninstaller failed: $(tail -3 "$work/uninstall.log")"
timeout 60 wineserver -w
[ ! -e "$dir" ] || fail "Program Files/Quorvanel is still there: $(ls "$dir")"
[ ! -e "$menu" ] || fail "the Start-menu folder is still there: $(ls "$menu")"
wine reg query "$entry" >/dev/null 2>&1 && fail "the Add/Remove Programs entry is still there: $(query "$entry")"
[ "$(settings_count)" -eq 29 ] || fail "the player's settings went with the game"
echo "check_windows: uninstalled silently: files, shortcut and entry gone, settings kept"
echo "check_windows: PASS"
