#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test dependencies is missing; with package
# names as arguments, whatever of those is missing (the Windows and package scripts' extras).
# Runs apt-get through sudo when not root. Debian 12 (bookworm) package names.
set -euo pipefail

default_packages=(
    build-essential cmake pkg-config ninja-build ccache
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libfontconfig-dev
    libudev-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang clang-format libclang-rt-14-dev
    umockdev libumockdev-dev gir1.2-umockdev-1.0 python3-gi dbus
    xvfb xauth x11-apps imagemagick xdotool hyperfine
    fonts-dejavu-core fonts-liberation2 libx11-dev
    help2man appstream desktop-file-utils optipng gettext qt6-translations-l10n
)

packages=("${default_packages[@]}")
if [ $# -gt 0 ]; then
    packages=("$@")
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
