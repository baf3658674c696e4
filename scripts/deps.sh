#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Hue Bench, if any is missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libxcb1-dev libgl1-mesa-dev libqt6svg6 qt6-image-formats-plugins
    libgtest-dev libbenchmark-dev libcli11-dev
    xvfb xdotool xclip x11-utils imagemagick fonts-dejavu-core dbus-daemon
    clang-format clang libclang-rt-14-dev
    desktop-file-utils appstream groff-base file dpkg-dev
    qt6-wayland sway swaybg grim wtype pipewire wireplumber python3 dbus-bin
    xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
    gnome-shell xdg-desktop-portal-gnome python3-gi gir1.2-gdkpixbuf-2.0
    kwin-wayland xdg-desktop-portal-kde plasma-workspace qtwayland5
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
