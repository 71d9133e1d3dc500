#!/usr/bin/env bash
# Installs the Debian packages the build needs, but only when one is missing, so a machine
# that already has everything starts building at once.
set -euo pipefail

# poppler-utils: pdftotext and pdfinfo read the exported PDF report back in the CLI tests.
packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev poppler-utils)
# The window: Qt 6 (its offscreen platform plugin comes with qt6-base-dev), OpenGL headers its
# CMake files ask for, Qt's own German texts for its standard dialogs (print, file, message
# buttons), a font for the offscreen tests, and Xvfb to show the window without a screen.
packages+=(qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-dejavu-core xvfb xauth)
# The style and fault checks of scripts/check-style.sh.
packages+=(clang-format clang-tidy)
# The fuzz targets of scripts/fuzz.sh: clang with libFuzzer and the sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)
# The Debian package of scripts/package.sh: dpkg-shlibdeps, and the validators of the menu entry
# and of the AppStream file.
packages+=(dpkg-dev desktop-file-utils appstream)
# The message catalogues: msgfmt at build time, xgettext and msgmerge for scripts/translations.sh.
packages+=(gettext)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
