#!/usr/bin/env bash
# Builds the Debian package from an existing build, checks what it holds and what it depends on,
# and validates the menu entry and the AppStream description it carries.
#   scripts/package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

rm -f "$build"/raysketcher_*.deb
# The package installs below /usr, and the manual pages name their paths at configure time.
cmake -S . -B "$build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/raysketcher_*.deb)
echo "package: $deb"

# Below /usr the export module goes to the multiarch library folder.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
missing=0
for f in ./usr/bin/raysketcher ./usr/bin/raysketcher-cli "./usr/$libdir/raysketcher/raysketcher-export.so" \
         ./usr/share/raysketcher/SH_SEQ.dat ./usr/share/raysketcher/examples/relay-1to1.ini \
         ./usr/share/applications/de.kestrelon.Raysketcher.desktop \
         ./usr/share/icons/hicolor/scalable/apps/de.kestrelon.Raysketcher.svg \
         ./usr/share/metainfo/de.kestrelon.Raysketcher.metainfo.xml \
         ./usr/share/man/man1/raysketcher-cli.1.gz ./usr/share/man/de/man1/raysketcher-cli.1.gz \
         ./usr/share/locale/en/LC_MESSAGES/raysketcher.mo ./usr/share/doc/raysketcher/copyright \
         ./usr/share/doc/raysketcher/index.html; do
  grep -qxF "$f" <<<"$contents" || { echo "missing in the package: $f"; missing=1; }
done
# Nothing of the build's own paths, no test programs.
if grep -E '(_test|tests?/|/build)' <<<"$contents"; then
  echo "the package holds files that do not belong there"; missing=1
fi
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for d in libqt6widgets6 libqt6gui6 libqt6svg6 qt6-qpa-plugins libc6; do
  grep -q "$d" <<<"$depends" || { echo "missing dependency: $d"; missing=1; }
done
[ "$missing" -eq 0 ]

# The files as installed, checked by the desktop's own validators.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work"
desktop-file-validate "$work"/usr/share/applications/de.kestrelon.Raysketcher.desktop
appstreamcli validate --no-net "$work"/usr/share/metainfo/de.kestrelon.Raysketcher.metainfo.xml
# The manual pages, English and German, name the paths the package installs.
for page in man1 de/man1; do
  zcat "$work/usr/share/man/$page/raysketcher.1.gz" | grep -q ' /usr/share/doc/raysketcher/index.html' ||
    { echo "the manual page $page/raysketcher.1 names another prefix than /usr"; exit 1; }
done
echo "package: valid"
