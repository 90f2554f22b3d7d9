#!/usr/bin/env bash
# Makes the Debian package from a build and checks what a user gets from it:
# exactly the files below, dependencies worked out from the programs, and
# nothing lintian calls an error.
set -euo pipefail
build_dir=$1
app_id=org.veridrift.Veridrift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work" >/dev/null
debs=("$work"/veridrift_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -e "${debs[0]}" ] || { echo "no single package: ${debs[*]}"; exit 1; }
deb=${debs[0]}

expected=$(sort <<EOF_LIST
./usr/bin/veridrift
./usr/bin/veridrift-series
./usr/lib/veridrift/veridrift-vector.so
./usr/share/applications/$app_id.desktop
./usr/share/doc/veridrift/changelog.gz
./usr/share/doc/veridrift/copyright
./usr/share/icons/hicolor/16x16/apps/$app_id.png
./usr/share/icons/hicolor/32x32/apps/$app_id.png
./usr/share/icons/hicolor/scalable/apps/$app_id.svg
./usr/share/man/man1/veridrift-series.1.gz
./usr/share/lintian/overrides/veridrift
./usr/share/man/man1/veridrift.1.gz
./usr/share/metainfo/$app_id.metainfo.xml
EOF_LIST
)
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
if [ "$actual" != "$expected" ]; then
  echo "the package holds other files than expected:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
# A system install runs the program from the PATH.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/$app_id.desktop |
  grep -qx 'Exec=veridrift' || { echo "the packaged menu entry does not run veridrift"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' ||
  { echo "no dependencies worked out: $(dpkg-deb -f "$deb" Depends)"; exit 1; }
# libpng, zlib and giflib are linked in; Qt's SVG module is the SVG and PDF
# writer's.
! dpkg-deb -f "$deb" Depends | grep -qE 'libgif|libpng|zlib1g' ||
  { echo "the pictures' libraries are dependencies: $(dpkg-deb -f "$deb" Depends)"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libqt6svg6' ||
  { echo "Qt's SVG module is not among the dependencies: $(dpkg-deb -f "$deb" Depends)"; exit 1; }

lintian --fail-on error "$deb" 2>/dev/null
echo "package $(basename "$deb"): ok"
