#!/usr/bin/env bash
# Builds the page with Emscripten: build/web/veridrift.html, one file that
# runs from anywhere (file:// included, no network), and build/web/site/,
# the same page as a folder for a web server.
#   scripts/web.sh           build both
#   scripts/web.sh --serve   build, then serve build/web/site on
#                            http://127.0.0.1:${PORT:-8000}/ until interrupted
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
serve=0
case "${1:-}" in
  "") ;;
  --serve) serve=1 ;;
  *) echo "web.sh: unknown option $1 (expected --serve or nothing)" >&2; exit 2 ;;
esac
"$root/scripts/setup.sh" web
# Emscripten's optimiser runs on the machine's node, which finds Debian's
# acorn only through NODE_PATH.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
build="$root/build/web-wasm"
emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVERIDRIFT_WERROR=ON >/dev/null
cmake --build "$build" --target veridrift-core -j"$(nproc)"
python3 "$root/web/assemble.py" "$build/web/veridrift-core.js" "$root/build/web"
echo "built $root/build/web/veridrift.html and $root/build/web/site/"
if [ "$serve" = 1 ]; then
  cd "$root/build/web/site"
  exec python3 -m http.server --bind 127.0.0.1 "${PORT:-8000}"
fi
