#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
    g++ cmake ninja-build pkg-config          # compiler and build
    qt6-base-dev qt6-multimedia-dev libgl-dev # Qt 6 Widgets, Gui, Multimedia, Test
    libhangul-dev                             # the in-process Hangul input method
    libx11-dev                                # the small X client of the whole-program tests
    fonts-nanum fonts-nanum-coding fonts-dejavu-core # Korean and Latin fonts
    xvfb xauth xdotool                        # whole-program tests in a virtual display
    ibus ibus-hangul dbus-x11 libglib2.0-bin  # the test with a real system input method
    openbox x11-utils imagemagick             # a window manager, xprop, picture comparison
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"
# VORNIX_SANITIZE=1: a second build with AddressSanitizer and UndefinedBehaviorSanitizer, for the tests.
if [ "${VORNIX_SANITIZE:-0}" = 1 ]; then
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIX_SANITIZE=ON >/dev/null
    cmake --build build-sanitize --parallel "$(nproc)"
fi
