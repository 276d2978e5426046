#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, where missing.
# Usage: scripts/deps.sh [build|test]   (test adds the X server, window manager and tools)
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev
          libxcb1-dev libxcb-shm0-dev libgl-dev fonts-liberation)
if [[ "${1:-build}" == test ]]; then
    packages+=(libgtest-dev libbenchmark-dev xvfb xauth x11-xkb-utils openbox xfwm4 icewm xdotool x11-utils imagemagick
               desktop-file-utils appstream dpkg-dev file weston xwayland qt6-wayland qt6ct dbus-daemon poppler-utils xclip)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing Debian packages: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        SUDO=sudo
    else
        echo "error: these Debian packages are missing and installing them needs root:" >&2
        echo "  sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
fi
${SUDO:-} env DEBIAN_FRONTEND=noninteractive apt-get update -q
${SUDO:-} env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
