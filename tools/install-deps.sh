#!/usr/bin/env bash
# Installs the Debian packages that are missing, with apt-get (through sudo when not root).
#   tools/install-deps.sh play   what building and running the desktop game needs
#   tools/install-deps.sh [all]  that, and what the tests, the sanitizer build, the Windows
#                                build under Wine, the browser build with its tests, and the
#                                packages with their checks need
#   tools/install-deps.sh list-play   prints the play list, installs nothing
set -euo pipefail
play=(cmake g++ make pkg-config libsdl2-dev libfreetype-dev libfontconfig-dev fonts-liberation2
      libpng-dev)
rest=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick openbox
      clang libclang-rt-14-dev g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 wine
      emscripten chromium nodejs
      dpkg-dev nsis lintian appstream desktop-file-utils man-db)
case "${1:-all}" in
    play) packages=("${play[@]}") ;;
    all) packages=("${play[@]}" "${rest[@]}") ;;
    list-play) printf '%s\n' "${play[@]}"; exit 0 ;;
    *) echo "usage: $0 [play|all|list-play]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm comes with some builds of Node.js and is a package of its own in Debian's.
[ "${1:-all}" = all ] && ! command -v npm >/dev/null && missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "$0: run as root, or install and set up sudo" >&2; exit 1; }
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
