#!/usr/bin/env bash
# Makes everything a release ships, from the committed sources, into dist/:
#   dist/brimwell_<version>_amd64.deb         the Debian package (scripts/package-deb.sh)
#   dist/brimwell-<version>-x64.msi           the Windows installer (scripts/package-windows.sh)
#   dist/brimwell-<version>-x64-portable.zip  the Windows programs to unpack anywhere
#   dist/SHA256SUMS                           their checksums, for `sha256sum -c SHA256SUMS`
# and prints the files, their sizes and checksums.
#
# The files are reproducible: the same commit gives the same bytes, whatever the folder, the
# time or the time zone it is built at. Every time written into them is the commit's
# (SOURCE_DATE_EPOCH, taken from `git log -1` when not given); no path of the build folder
# reaches them (-ffile-prefix-map); the Windows programs' headers carry the commit's time
# instead of the link time (the linker writes zero, strip SOURCE_DATE_EPOCH); archive members
# have fixed times, owners and modes. `scripts/release.sh --check` proves it: it builds the
# release, then builds it once more from a clone of the same commit at another path, in
# another time zone, and fails naming every file that differs.
#
# Usage: scripts/release.sh [--check] [--allow-dirty]
#   --allow-dirty  build although the working tree has uncommitted changes (the release is
#                  then not the commit's; for trying the script only)
#   RELEASE_BUILD  the folder the builds go to (default build-release); it is emptied first
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

check=0
allow_dirty=0
for arg in "$@"; do
    case "$arg" in
        --check) check=1 ;;
        --allow-dirty) allow_dirty=1 ;;
        *) echo "usage: $0 [--check] [--allow-dirty]" >&2; exit 2 ;;
    esac
done

if ! git rev-parse --git-dir >/dev/null 2>&1; then
    echo "release: not a git checkout: the release is made from a commit" >&2
    exit 1
fi
if [ "$allow_dirty" = 0 ] && [ -n "$(git status --porcelain --untracked-files=normal)" ]; then
    echo "release: the working tree has changes that are not committed:" >&2
    git status --short >&2
    echo "release: commit them (a release is made from a commit), or pass --allow-dirty" >&2
    exit 1
fi

# Everything that could tell one build from another is fixed here.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
export LC_ALL=C.UTF-8
umask 022
# Every object is compiled afresh, never taken from ccache: ccache hands the compiler the
# source files' paths rewritten relative to the build folder, so the debugging information,
# and with it the GNU build id the stripped Linux programs keep, would tell a build with
# ccache from one without.
export CCACHE_DISABLE=1

started=$SECONDS
builds=${RELEASE_BUILD:-build-release}
dist=dist
rm -rf "$builds" "$dist"
mkdir -p "$builds" "$dist"

# --- the Debian package --------------------------------------------------------------------
./scripts/package-deb.sh "$builds/deb"
cp "$builds"/deb/package/*.deb "$dist/"

# --- the Windows installer and the portable zip --------------------------------------------
# The programs only (no test programs), optimised and with debugging information as the CI
# build, with the paths mapped; package-windows.sh strips the debugging information.
./scripts/install-deps.sh g++-mingw-w64-x86-64-posix cmake ninja-build librsvg2-bin imagemagick optipng
win=$builds/windows
cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMWELL_WERROR=ON \
    -DBRIMWELL_REPRODUCIBLE=ON -DBRIMWELL_BUILD_TESTS=OFF -DBRIMWELL_BUILD_BENCH=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build "$win" -j "${JOBS:-2}"
BUILD_DIR="$win" ./scripts/package-windows.sh --no-build --no-test
cp "$win"/package/*.msi "$win"/package/*.zip "$dist/"

# --- checksums ----------------------------------------------------------------------------
(cd "$dist" && find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | sort |
    xargs sha256sum >SHA256SUMS)

echo
echo "Release of commit $(git rev-parse --short HEAD), SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH" \
     "($(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')), in $dist/:"
while read -r sum name; do
    printf '  %-40s %10s bytes  sha256 %s\n' "$name" "$(stat -c %s "$dist/$name")" "$sum"
done <"$dist/SHA256SUMS"
echo "($((SECONDS - started)) s)"

[ "$check" = 1 ] || exit 0

# --- the same commit once more, elsewhere ---------------------------------------------------
# A clone at another path, built at another time in another time zone, must give the same
# bytes. The clone lives beside the builds, so that removing build-release/ removes it too.
again=$root/$builds/again/brimwell
echo
echo "Building the release again from a clone in $again"
started=$SECONDS
git clone -q --no-hardlinks "$root" "$again"
git -C "$again" checkout -q "$(git rev-parse HEAD)"
TZ=Pacific/Kiritimati RELEASE_BUILD=build-release "$again/scripts/release.sh" \
    >"$root/$builds/again.log" 2>&1 || {
    tail -n 50 "$root/$builds/again.log" >&2
    echo "release: the second build failed (log: $builds/again.log)" >&2
    exit 1
}

differ=0
for f in "$dist"/*; do
    name=$(basename "$f")
    if ! cmp -s "$f" "$again/dist/$name"; then
        echo "release: NOT REPRODUCIBLE: dist/$name differs between $root and $again" >&2
        differ=1
        # What differs inside, from diffoscope (its small Debian flavour, installed only here).
        ./scripts/install-deps.sh diffoscope-minimal >/dev/null 2>&1 || true
        if command -v diffoscope >/dev/null; then
            diffoscope --text - "$f" "$again/dist/$name" 2>&1 | head -n 80 >&2 || true
        fi
    fi
done
for f in "$again/dist"/*; do
    if [ ! -e "$dist/$(basename "$f")" ]; then
        echo "release: NOT REPRODUCIBLE: only the second build made $(basename "$f")" >&2
        differ=1
    fi
done
if [ "$differ" = 1 ]; then
    exit 1
fi
echo "Reproducible: the second build at $again ($((SECONDS - started)) s) gave the same" \
     "dist/SHA256SUMS:"
cat "$dist/SHA256SUMS"
