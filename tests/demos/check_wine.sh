#!/bin/bash
# The Windows simulator under Wine, with one Wine prefix for everything: the whole demo suite
# to the stored states, then the demos it must refuse.
# Usage: check_wine.sh SIM QUORVANEL-SIM.EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$2" ] || { echo "check_wine: no Windows simulator at $2 (make windows)" >&2; exit 1; }
work=$(mktemp -d /tmp/quorvanel-wine-demos.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
timeout 180 wineboot -i >/dev/null 2>&1 || { echo "check_wine: no Wine prefix" >&2; exit 1; }
wineserver -p 120
"$here/check_suite.sh" "$1" wine "$2" || exit 1
"$here/check_bad_demos.sh" "" "" "$2"
