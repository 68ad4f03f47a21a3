#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
    g++ cmake ninja-build pkg-config          # compiler and build
    qt6-base-dev qt6-multimedia-dev libgl-dev # Qt 6 Widgets, Gui, Multimedia, Test
    libhangul-dev                             # the in-process Hangul input method
    libx11-dev                                # the small X client of the whole-program tests
    fonts-nanum fonts-dejavu-core             # Korean (NanumGothicCoding included) and Latin fonts
    fonts-dejavu-extra                        # italic and bold Latin faces, for the font dialog's tests
    xvfb xauth xdotool x11-utils openbox      # whole-program tests in a virtual display, with a window manager
    ibus ibus-hangul dbus-x11 libglib2.0-bin  # tests through a real system input method: ibus
    fcitx5 fcitx5-hangul fcitx5-frontend-qt6  # and fcitx5
    imagemagick                               # picture comparison
    clang-format                              # the format check of the sources
    qt6-translations-l10n                     # Qt's own dialogs and buttons in Korean
    desktop-file-utils appstream              # the install test validates the desktop entry and metainfo
)

# One query for all of them: a package dpkg does not know is left out of its answer.
declare -A installed=()
while read -r name status; do
    [ "$status" = "install ok installed" ] && installed[$name]=1
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${PACKAGES[@]}" 2>/dev/null || true)
missing=()
for p in "${PACKAGES[@]}"; do
    [ -n "${installed[$p]:-}" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    install="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        sh -c "$install"
    elif command -v sudo >/dev/null; then
        echo "Installing with sudo: ${missing[*]}"
        sudo sh -c "$install"
    else
        # Debian installs no sudo when a root password is set: the user runs the one command as root.
        echo "These packages are missing: ${missing[*]}" >&2
        echo "Install them as root (it asks for the root password), then run this again:" >&2
        echo "  su -c '$install'" >&2
        exit 1
    fi
fi

# Configured once; after that the build re-runs CMake itself when a CMakeLists.txt changed. With nothing to
# build it prints nothing: only a real build (and its errors) shows.
build() { # folder configure-options...
    local folder=$1
    shift
    [ -f "$folder/build.ninja" ] || cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
    cmake --build "$folder" --parallel "$(nproc)" 2>&1 |
        { grep -v -e '^\[0/[0-9]*\] Re-checking globbed directories\.\.\.$' -e '^ninja: no work to do\.$' || true; }
}
build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# VORNIX_SANITIZE=1: a second build with AddressSanitizer and UndefinedBehaviorSanitizer, for the tests.
if [ "${VORNIX_SANITIZE:-0}" = 1 ]; then
    build build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIX_SANITIZE=ON
fi
