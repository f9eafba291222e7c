#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing stockcalc need.
# Runs apt-get as root, or through sudo for a normal user; installs nothing already present.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang-format dpkg-dev git
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev libxcb1-dev libx11-dev
    libxdo-dev libcanberra-dev libjpeg-dev
    fonts-noto-cjk sound-theme-freedesktop qt6-translations-l10n
    libbenchmark-dev zlib1g-dev
    xvfb openbox trayer xdotool xclip x11-utils imagemagick sqlite3 libxcb-cursor0
    weston xwayland qt6-wayland
    dbus-daemon dunst faketime tzdata x11-xserver-utils
    mdbtools-dev libmdb3 mdbtools
    clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
else
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
