#!/usr/bin/env bash
# Builds the release programs in build-deb/ and makes the Debian package with CPack:
#   build-deb/package/brimwell_<version>_<arch>.deb
# Installs (through apt-get) what the build and the package need, then checks the package
# with lintian. Usage: scripts/package-deb.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}

./scripts/install-deps.sh
./scripts/install-deps.sh dpkg-dev fakeroot file help2man lintian appstream desktop-file-utils

# Debian's hardening and optimisation flags (with -ffile-prefix-map, which keeps the source
# folder's path out of the programs); dates in the manual pages and in the package's file
# times from the last commit, so that the same sources make the same package.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    export SOURCE_DATE_EPOCH
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The udev rule goes to /usr/lib/udev/rules.d, where udev reads packaged rules.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBRIMWELL_UDEV_RULES_DIR=lib/udev/rules.d \
    -DBRIMWELL_BUILD_TESTS=OFF -DBRIMWELL_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build "$build"
rm -f "$build"/package/*.deb
(cd "$build" && cpack -G DEB)

deb=$(ls "$build"/package/*.deb)
echo
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
echo
echo "lintian:"
lintian --info --tag-display-limit 0 --fail-on error "$deb"
echo
echo "Package: $deb ($(du -h "$deb" | cut -f1))"
