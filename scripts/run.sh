#!/usr/bin/env bash
# Sets up, builds and starts Veridrift.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
  -DVERIDRIFT_TESTS=OFF -DVERIDRIFT_BENCH=OFF >/dev/null
cmake --build "$root/build/release" --target veridrift veridrift-series -j"$(nproc)"
exec "$root/build/release/bin/veridrift"
