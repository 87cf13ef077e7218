#!/usr/bin/env bash
# Fails when a design document names, in backticks, a file or folder that the source tree
# does not have, so that the documents cannot drift from the code unnoticed.
#   tools/check_doc_paths.sh [document...]   (default: docs/ARCHITECTURE.md CONTRIBUTING.md)
# A path is a backticked word with a slash or a file extension; what the build makes
# (build*/...), globs and absolute paths (the player's machine, not the tree) are left out.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 2
[ $# -gt 0 ] || set -- docs/ARCHITECTURE.md CONTRIBUTING.md
missing=0
checked=0
for doc in "$@"; do
    [ -f "$doc" ] || { echo "$doc: no such document"; missing=$((missing + 1)); continue; }
    while IFS=: read -r line word; do
        case $word in
        build*/* | /* | *'*'* | *'$'* | *'<'* | *' '* | http*://* | -*) continue ;;
        esac
        case $word in
        */* | *.cpp | *.h | *.sh | *.md | *.txt | *.cmake | *.html | *.js | *.json) ;;
        *) continue ;;
        esac
        # "shell/platform.h" or a folder "shell/sdl/"; a trailing ":" or "()" is not part of it.
        path=${word%/}
        checked=$((checked + 1))
        if [ ! -e "$path" ]; then
            echo "$doc:$line: names \`$word\`, which does not exist"
            missing=$((missing + 1))
        fi
    done < <(grep -noE '`[^`]+`' "$doc" | sed -E 's/`//g')
done
echo "$checked paths checked, $missing missing"
[ "$missing" -eq 0 ]
