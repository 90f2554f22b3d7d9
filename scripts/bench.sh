#!/usr/bin/env bash
# Builds the application and its benchmark for release and prints the
# figures of this machine: start-up, reaction, painting, idling, pacing and
# memory (about two minutes). Windows open under Xvfb when there is no
# display. Arguments choose sections: startup reaction paint goto pacing idle memory.
# "scripts/bench.sh page" instead builds the page and measures it in headless
# Chromium (about a minute).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = page ]; then
  "$root/scripts/web.sh" >/dev/null
  (cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
  exec node "$root/bench/page_bench.mjs" "$root/build/web"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${VERIDRIFT_UNDER_XVFB:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "needs xvfb-run (run scripts/test.sh once to set up)"; exit 1; }
  export VERIDRIFT_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DVERIDRIFT_TESTS=OFF \
  >/dev/null
cmake --build "$root/build/bench" --target app_bench -j"$(nproc)" >/dev/null
exec "$root/build/bench/bench/app_bench" "$@"
