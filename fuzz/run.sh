#!/bin/sh
# Builds the fuzz targets with libFuzzer and the sanitizers and runs each for a bounded time:
#   fuzz/run.sh [seconds per target, default 60] [bmp|settings ...]
# The bitmap decoder starts from the bitmap corpus in shared/testdata and the generated art
# (from $QUORVANEL_RESOURCE_DIR or any build*/resources folder); the settings reader from a
# few honest lines. A crash ends it with a non-zero status and the crashing input in $FUZZ_OUT.
set -eu
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-bmp settings}
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_OUT:-${TMPDIR:-/tmp}/quorvanel-fuzz}

build() { # name, sources...
    name=$1
    shift
    mkdir -p "$out/$name/corpus" "$out/$name/seeds"
    clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=undefined -I"$root" "$@" -o "$out/$name/fuzz_$name"
}

for target in $targets; do
    case $target in
    bmp)
        build bmp "$root/fuzz/fuzz_bmp.cpp" "$root/display/software/bmp.cpp"
        for f in "$root"/../shared/testdata/bmpsuite/good/*.bmp \
            "$root"/../shared/testdata/bmpsuite/bad/*.bmp \
            ${QUORVANEL_RESOURCE_DIR:-/nonexistent}/*.bmp "$root"/build*/resources/*.bmp; do
            if [ -f "$f" ]; then
                cp "$f" "$out/bmp/seeds/$(basename "$(dirname "$f")")-$(basename "$f")"
            fi
        done
        max_len=65536
        ;;
    settings)
        build settings "$root/fuzz/fuzz_settings.cpp" "$root/shell/settings_file.cpp"
        printf 'PlayerSpeed=b:01000000\nPlayerName=s:Ann\\x5C\nPlayerScore07=b:10270000\n' \
            >"$out/settings/seeds/honest"
        max_len=4096
        ;;
    *)
        echo "fuzz/run.sh: unknown target $target" >&2
        exit 2
        ;;
    esac
    echo "fuzz/run.sh: $target for $seconds s"
    (cd "$out/$target" && "./fuzz_$target" -max_total_time="$seconds" -max_len=$max_len \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$out/$target/" corpus seeds \
        2>"$out/$target/log") || {
        tail -40 "$out/$target/log" >&2
        exit 1
    }
    grep -E '^(Done|stat::number_of_executed_units)' "$out/$target/log" || true
done
