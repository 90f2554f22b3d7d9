#!/usr/bin/env bash
# Sets up, builds and runs every test: a plain build with warnings as errors,
# then the page in headless Chromium and Firefox (each with a fresh browser
# profile of its own), then the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the threaded parts under ThreadSanitizer.
# Windows open on an Xvfb screen of the tests' own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run test
# Each stage's heading says how far into the run it starts.
export VERIDRIFT_TEST_START=${VERIDRIFT_TEST_START:-$(date +%s)}
stage() {
  local seconds=$(($(date +%s) - VERIDRIFT_TEST_START))
  printf '== %s (at %d:%02d)\n' "$1" $((seconds / 60)) $((seconds % 60))
}
jobs=$(nproc)

# The run proper happens in a second pass of this script, inside a private
# mount namespace where the machine allows one (see tests/tools/private_run.sh)
# and on an X display of its own either way: the tests type keys and click
# through XTest, which on the user's display would go to the user's windows.
if [ -z "${VERIDRIFT_TEST_INNER:-}" ]; then
  mkdir -p "$root/build"
  "$root/tests/tools/check_traces.sh" snapshot "$root/build/traces-before"
  # A display number no X server uses; the private /tmp hides their lock
  # files, but not the sockets they listen on.
  display=99
  while grep -q "@/tmp/.X11-unix/X$display\$" /proc/net/unix || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  export VERIDRIFT_TEST_INNER=1
  run=(xvfb-run -n "$display" -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@")
  # Root makes the namespace itself; anyone else through a user namespace,
  # in which they are root but own no other user's files.
  private=(unshare --mount)
  [ "$(id -u)" -eq 0 ] || private=(unshare --user --map-root-user --mount)
  if "${private[@]}" true 2>/dev/null; then
    echo "== The tests get their own /tmp, /dev/shm and home folder (a private mount namespace)"
    "${private[@]}" "$root/tests/tools/private_run.sh" "$root" "$HOME" "${run[@]}"
  else
    echo "== No private mount namespace here (unshare refused one): what is left is checked by the tests' own names"
    "${run[@]}"
  fi
  stage "Left behind outside the build folder"
  "$root/tests/tools/check_traces.sh" compare "$root/build/traces-before"
  stage "All test suites passed."
  exit 0
fi
# Tests must not depend on the user's locale or a Qt platform chosen elsewhere.
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS WAYLAND_DISPLAY
# Nor reach the user's session: no session bus (a test that needs one starts
# its own with dbus-run-session), no accessibility bus. "disabled:" also
# keeps libdbus from starting a bus on the display by itself.
export DBUS_SESSION_BUS_ADDRESS=disabled:
unset AT_SPI_BUS_ADDRESS
# Nor leave anything behind: the tests get a home, caches, a runtime and a
# temporary folder of their own inside the build folder.
sandbox="$root/build/test-home"
rm -rf "$sandbox"
mkdir -p "$sandbox"/{home,cache,config,data,runtime,tmp}
chmod 700 "$sandbox/runtime"
isolated() {
  HOME="$sandbox/home" XDG_CACHE_HOME="$sandbox/cache" XDG_CONFIG_HOME="$sandbox/config" \
    XDG_DATA_HOME="$sandbox/data" XDG_RUNTIME_DIR="$sandbox/runtime" TMPDIR="$sandbox/tmp" "$@"
}

# Tests run one at a time: the window tests share one X display, and a window
# waiting to become active must not compete with another suite's window.
build() {  # name, cmake options...
  local dir="$root/build/$1"
  shift
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERIDRIFT_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

stage "plain build"
build test
(cd "$root/build/test" && isolated ctest --output-on-failure)

stage "The page in Chromium and Firefox"
isolated "$root/scripts/web.sh"
(cd "$root/tests/web" && isolated npm ci --no-audit --no-fund --no-update-notifier --loglevel=error &&
  isolated node page_test.mjs "$root/build/web" "$root/build/test/bin/veridrift-series" \
    "$root/build/test/tests/core/keystroke_cases_json")

stage "AddressSanitizer + UndefinedBehaviorSanitizer"
build asan -DVERIDRIFT_SANITIZE=address,undefined -DVERIDRIFT_BENCH=OFF
# The leak checker's walk of dynamically loaded libraries' thread storage
# trips over an entry this C library leaves behind (Qt's path for "no session
# bus" makes one) and kills the process at exit now and then. Those libraries
# hold only their own caches, so it skips that walk; the rest is checked.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizer/ubsan.supp"
(cd "$root/build/asan" && isolated ctest --output-on-failure -LE no_asan)

stage "ThreadSanitizer"
build tsan -DVERIDRIFT_SANITIZE=thread -DVERIDRIFT_BENCH=OFF
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/sanitizer/tsan.supp"
(cd "$root/build/tsan" && isolated ctest --output-on-failure -L tsan)
stage "Fuzzing the value field's rules (bounded run)"
isolated "$root/tests/fuzz/run.sh"
