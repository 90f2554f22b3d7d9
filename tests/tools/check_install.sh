#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks that a desktop finds
# everything there, and that the desktop entry and metainfo validate.
set -euo pipefail
build_dir=$1
source_dir=$2
app_id=org.veridrift.Veridrift
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

# Not even a hint: each one is something a menu shows wrongly somewhere.
validate_entry() {
  local said
  said=$(desktop-file-validate "$1" 2>&1) && [ -z "$said" ] || { echo "$said"; exit 1; }
}
validate_entry "$source_dir/desktop/integration/$app_id.desktop"
appstreamcli validate --no-net --pedantic "$source_dir/desktop/integration/$app_id.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$source_dir/desktop/integration/$app_id.metainfo.xml"

cmake --install "$build_dir" --prefix "$prefix" >/dev/null
expected=(
  bin/veridrift
  bin/veridrift-series
  "$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build_dir/CMakeCache.txt")/veridrift/veridrift-vector.so"
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
  share/icons/hicolor/16x16/apps/$app_id.png
  share/icons/hicolor/32x32/apps/$app_id.png
  share/icons/hicolor/scalable/apps/$app_id.svg
  share/man/man1/veridrift.1.gz
  share/man/man1/veridrift-series.1.gz
  share/doc/veridrift/copyright
)
for f in "${expected[@]}"; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -x "$prefix/bin/veridrift" ] || { echo "veridrift is not executable"; exit 1; }
validate_entry "$prefix/share/applications/$app_id.desktop"
# The menu entry must start the installed program even when this prefix is on
# nobody's PATH yet.
exec_program=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$app_id.desktop")
[ -x "$exec_program" ] || { echo "the menu entry runs \"$exec_program\", not the installed program"; exit 1; }
# The manual pages read without a complaint from groff or man.
for page in "$prefix"/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
# The icons must be the sizes their folders promise.
for size in 16 32; do
  header=$(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png" | tr -d ' \n')
  [ "$header" = "$(printf '%08x%08x' "$size" "$size")" ] || { echo "icon $size has the wrong size"; exit 1; }
done
# The scalable icon is an SVG picture of its own size, like the two bitmaps.
grep -q '<svg xmlns="http://www.w3.org/2000/svg"[^>]* viewBox="0 0 32 32"' \
  "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || { echo "scalable icon is no SVG"; exit 1; }
"$prefix/bin/veridrift-series" 0 0.30 0.90 | grep -q $'^999\t0.899999976$'
# The installed command finds its SVG writer under the prefix.
"$prefix/bin/veridrift-series" --picture web --step 40 --output "$prefix/web.svg" 3 0.30 0.90
grep -q '<svg' "$prefix/web.svg" || { echo "the installed command wrote no SVG"; exit 1; }
echo "install into a temporary prefix: ok"
