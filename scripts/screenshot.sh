#!/usr/bin/env bash
# Makes the README's screenshot, docs/screenshot.png: the application on its
# own Xvfb screen, sentence 3 with the log on, photographed 33 steps into a
# run. Builds for release first. Takes about half a minute.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/docs/screenshot.png}

# Always a screen of our own: the picture must not depend on the desktop at hand.
if [ -z "${VERIDRIFT_SCREENSHOT_XVFB:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "needs xvfb-run (run scripts/test.sh once to set up)"; exit 1; }
  export VERIDRIFT_SCREENSHOT_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$output"
fi
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DVERIDRIFT_TESTS=OFF \
  >/dev/null
cmake --build "$root/build/bench" --target window_screenshot -j"$(nproc)" >/dev/null
mkdir -p "$(dirname "$output")"
"$root/build/bench/bench/window_screenshot" "$output"
echo "wrote $output"
