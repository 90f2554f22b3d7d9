#!/usr/bin/env bash
# Builds Veridrift for release with Debian's own compiler and linker flags
# (hardening included) and writes its Debian package,
# build/package/veridrift_<version>_<arch>.deb. Install it with
#   apt install ./build/package/veridrift_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run package
dir="$root/build/package"

cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVERIDRIFT_TESTS=OFF \
  -DVERIDRIFT_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" >/dev/null
cmake --build "$dir" -j"$(nproc)"
rm -f "$dir"/veridrift_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/veridrift_*.deb
