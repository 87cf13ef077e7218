#!/bin/bash
# Shows that the package list of `make play` (tools/install-deps.sh play) is all the game
# needs: the Makefile's own play-build builds it in a root that holds nothing but the files of
# those packages, of what apt would install with them, and of Debian's base (the Essential and
# required packages), and the game then runs there for a few seconds on SDL's dummy drivers.
#
# The root is made from this machine's installed packages: hard links of their files, under a
# copy-on-write overlay so that nothing done inside can change a file of the machine. That
# takes seconds and no network, where a debootstrap root would take minutes of downloads;
# CI has every package already, as the test list holds the play list.
# Run as root (mounts and chroot). Usage: packaging/check_play_deps.sh
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
fail() {
    echo "check_play_deps: FAIL: $*" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || fail "run as root: the check mounts and chroots"
work=$(mktemp -d /var/tmp/quorvanel-playroot.XXXXXX)
root=$work/root
mounts=()
cleanup() {
    local i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[$i]}" 2>/dev/null || umount -l "${mounts[$i]}"
    done
    # Removed only once nothing is mounted inside: /dev and /proc are the machine's own.
    if grep -q " $work/" /proc/mounts; then
        echo "check_play_deps: $work still has mounts, left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT

# The packages: the base (what Debian marks required or essential: the set debootstrap starts
# from) and the play list, with everything they depend on, as this machine satisfies those
# dependencies: of each list of alternatives, the first one installed here. Recommendations
# are left out, as the install leaves them out.
installed_closure() {
    awk -v RS= '
        NR == FNR { n = split($0, names, "\n"); for (i = 1; i <= n; i++) queue[++q] = names[i]; next }
        {
            name = ""; deps = ""; prov = ""; ok = 0
            n = split($0, lines, "\n")
            for (i = 1; i <= n; i++) {
                if (lines[i] ~ /^Package: /) name = substr(lines[i], 10)
                else if (lines[i] ~ /^Status: .* installed$/) ok = 1
                else if (lines[i] ~ /^(Pre-)?Depends: /) deps = deps ", " substr(lines[i], index(lines[i], ":") + 2)
                else if (lines[i] ~ /^Provides: /) prov = substr(lines[i], 11)
            }
            if (!ok) next
            installed[name] = 1
            depends[name] = depends[name] deps
            m = split(prov, provided, ",")
            for (i = 1; i <= m; i++) {
                v = provided[i]; sub(/^ +/, "", v); sub(/[ :(].*/, "", v)
                if (!(v in provider)) provider[v] = name
            }
        }
        END {
            for (k = 1; k <= q; k++) {
                p = queue[k]
                if (!(p in installed) && (p in provider)) p = provider[p]
                if (!(p in installed) || (p in seen)) continue
                seen[p] = 1
                print p
                g = split(depends[p], groups, ",")
                for (i = 1; i <= g; i++) {
                    a = split(groups[i], alternatives, "|")
                    for (j = 1; j <= a; j++) {
                        d = alternatives[j]; sub(/^ +/, "", d); sub(/[ :(\[].*/, "", d)
                        if (d == "") continue
                        if (d in installed || d in provider) { queue[++q] = d; break }
                    }
                }
            }
        }' - /var/lib/dpkg/status | sort -u
}
apt-cache dumpavail | awk -v RS= '/(^|\n)(Priority: required|Essential: yes)(\n|$)/' |
    sed -n 's/^Package: //p' | sort -u >"$work/required"
[ "$(wc -l <"$work/required")" -gt 20 ] || fail "apt knows too few packages; run apt-get update first"
installed_closure <"$work/required" >"$work/base"
cat "$work/required" <("$top/tools/install-deps.sh" list-play) | installed_closure >"$work/packages"
comm -13 "$work/base" "$work/packages" >"$work/added"
missing=$("$top/tools/install-deps.sh" list-play | sort | comm -23 - "$work/packages")
[ -z "$missing" ] || fail "not installed here: $(echo $missing) (tools/install-deps.sh installs them)"
echo "check_play_deps: base $(wc -l <"$work/base") packages, the play list brings" \
    "$(wc -l <"$work/added") more"

# Their files (and symbolic links), linked into the lower layer; /bin and the like stay the
# links into /usr that Debian 12 has.
lower=$work/lower
mkdir -p "$lower" "$work/upper" "$work/overlay" "$root"
for d in bin sbin lib lib32 lib64 libx32; do
    if [ -L "/$d" ]; then
        mkdir -p "$lower/$(readlink -f "/$d")"
        ln -s "$(readlink "/$d")" "$lower/$d"
    fi
done
xargs -a "$work/packages" dpkg-query -L 2>/dev/null | grep '^/' | sort -u |
    while read -r path; do
        if [ -L "$path" ] || [ -f "$path" ]; then echo "$path"; fi
    done >"$work/files"
# Hard links need one file system; elsewhere the files are copied, which takes longer. One
# call a folder: cp --parents would make the folders private.
link=(ln -P)
ln "$(head -1 "$work/files")" "$work/probe" 2>/dev/null || link=(cp -aP)
rm -f "$work/probe"
folder=""
batch=()
flush() {
    [ ${#batch[@]} -eq 0 ] && return 0
    mkdir -p "$lower$folder" && "${link[@]}" -t "$lower$folder" "${batch[@]}" 2>>"$work/link.log"
    batch=()
}
while read -r path; do
    if [ "${path%/*}" != "$folder" ]; then
        flush || fail "linking into $folder: $(tail -2 "$work/link.log")"
        folder=${path%/*}
    fi
    batch+=("$path")
done <"$work/files"
flush || fail "linking into $folder: $(tail -2 "$work/link.log")"
# What maintainer scripts make rather than ship: the alternatives, the users, the library cache.
cp -aPn /etc/alternatives "$lower/etc/"
for f in /var/lib/dpkg/alternatives/*; do
    link=$(sed -n 2p "$f")
    if [ -n "$link" ] && [ -L "$link" ] && [ ! -e "$lower$link" ]; then
        mkdir -p "$lower$(dirname "$link")"
        cp -aP "$link" "$lower$link"
    fi
done
for f in /etc/passwd /etc/group /etc/nsswitch.conf /etc/ld.so.cache; do
    [ -e "$f" ] && cp -a "$f" "$lower$f"
done
mkdir -p "$lower/proc" "$lower/dev" "$lower/tmp" "$lower/root"
chmod 1777 "$lower/tmp"
echo "check_play_deps: root of $(wc -l <"$work/files") files made"

mount -t overlay overlay -o "lowerdir=$lower,upperdir=$work/upper,workdir=$work/overlay" "$root" ||
    fail "no overlay file system"
mounts+=("$root")
for m in proc dev; do
    mount --bind "/$m" "$root/$m" || fail "cannot bind /$m"
    mounts+=("$root/$m")
done
mkdir -p "$root/src"
(cd "$top" && git ls-files -z | tar --null -T - -cf -) | tar -C "$root/src" -xf - ||
    fail "the sources could not be copied in"

run() {
    chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root LC_ALL=C.UTF-8 "$@"
}
start=$SECONDS
run make -C /src play-build BUILD=/tmp/play JOBS="${JOBS:-2}" >"$work/build.log" 2>&1 ||
    fail "the game does not build with the play list alone:$(echo; tail -25 "$work/build.log")"
echo "check_play_deps: the game built with the play list alone in $((SECONDS - start)) s"

# Still running after some seconds: it found its libraries and its font and runs its loop.
run env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=/tmp/config \
    timeout 4 /tmp/play/quorvanel >"$work/run.log" 2>&1
rc=$?
[ "$rc" -eq 124 ] || fail "the game ended with code $rc instead of running: $(tail -5 "$work/run.log")"
echo "check_play_deps: and it runs there"
echo "check_play_deps: PASS"
