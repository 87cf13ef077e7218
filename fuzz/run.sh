#!/bin/sh
# Builds the fuzz targets with libFuzzer and the sanitizers and runs each for a bounded time:
#   fuzz/run.sh [seconds per target, default 60] [bmp|settings ...]
# The bitmap decoder starts from the bitmap corpus in shared/testdata and the generated art
# (from $QUORVANEL_RESOURCE_DIR or any build*/resources folder); the settings reader and the
# merge of a save from a few honest lines. Everything goes to $FUZZ_OUT, by default a new
# folder of this run that is removed at the end; a crash ends it with a non-zero status and
# leaves the folder, with the crashing input, in place.
set -eu
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-bmp settings}
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${FUZZ_OUT:-}" ]; then
    out=$FUZZ_OUT
else
    out=$(mktemp -d "${TMPDIR:-/tmp}/quorvanel-fuzz.XXXXXX")
    trap 'rm -rf "$out"' EXIT
fi

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
        build settings "$root/fuzz/fuzz_settings.cpp" "$root"/shell/settings_file*.cpp \
            "$root/shell/settings_merge.cpp" "$root/shell/regular_file.cpp" \
            "$root/shell/settings.cpp" "$root/game/game_record.cpp" \
            "$root/shell/headless/headless_platform_settings.cpp"
        printf 'PlayerSpeed=b:01000000\nPlayerName=s:Ann\\x5C\nPlayerScore07=b:10270000\n' \
            >"$out/settings/seeds/honest"
        # A run's file and, after the zero byte, the file another copy saved meanwhile.
        printf '# mine\nBonusLife=b:05000000\nPlayerName01=s:Ann\nPlayerScore01=b:10270000\n%s' \
            'PlayerName02=s:Bo\nPlayerScore02=b:E8030000\n' >"$out/settings/seeds/merge"
        printf '\0PlayerName01=s:Cy\nPlayerScore01=b:20270000\nWindowScale=b:02\r\n' \
            >>"$out/settings/seeds/merge"
        max_len=8192
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
        trap - EXIT
        echo "fuzz/run.sh: the crashing input and the log are in $out/$target" >&2
        exit 1
    }
    grep -E '^(Done|stat::number_of_executed_units)' "$out/$target/log" || true
done
