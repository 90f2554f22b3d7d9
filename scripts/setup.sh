#!/usr/bin/env bash
# Installs the Debian 12 packages a task needs, only those that are missing;
# apt-get runs through sudo when not root.
#   scripts/setup.sh [--dry-run] SET...
# Sets: run (build and run the application), package (make its Debian
# package), web (build the page), test (build and run the tests and
# benchmarks, the page's included). --dry-run lists what the sets need and
# what would be installed, and installs nothing.
set -euo pipefail

# Building and running: the compiler and Qt; OpenGL with Mesa's drivers (the
# software renderer on a machine without a graphics card) and EGL, which
# veridrift-series draws through without a display; the Wayland platform
# plugin, so that the window runs natively on a Wayland desktop; one font;
# giflib, which writes the animated GIFs.
run_packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-svg-dev qt6-wayland
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  fonts-dejavu-core
  libgif-dev
)
# Making the package: shlibdeps works out its dependencies, file tells it
# which files are programs.
package_packages=(dpkg-dev file)
# Building the page: Emscripten (Debian's, with its own system libraries; it
# runs on the machine's node) and python3 to put the page together.
web_packages=(emscripten python3)
# Testing: the test frameworks, an X server of the tests' own with XTest to
# drive it, every locale, the sanitizers' compiler, the validators of the
# desktop files, manual pages and exported pictures, the package checker, a
# D-Bus of the tests' own, Chromium and Firefox ESR for the page (its tests
# drive them with npm's puppeteer-core, on the machine's node and npm), and
# for the
# benchmarks' peers matplotlib with Pillow (GIF) and numpy (orbit diagram).
test_packages=(
  "${package_packages[@]}" "${web_packages[@]}" chromium firefox-esr
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils libx11-dev libxtst-dev locales-all
  clang libclang-rt-14-dev
  desktop-file-utils appstream groff-base man-db lintian
  poppler-utils libxml2-utils dbus
  python3-matplotlib python3-pil python3-numpy
)

dry_run=0
packages=()
for arg in "$@"; do
  case $arg in
    --dry-run) dry_run=1 ;;
    run) packages+=("${run_packages[@]}") ;;
    package) packages+=("${package_packages[@]}") ;;
    web) packages+=("${web_packages[@]}") ;;
    test) packages+=("${test_packages[@]}") ;;
    *) echo "setup.sh: unknown set \"$arg\" (run, package, web or test)" >&2; exit 2 ;;
  esac
done
if [ ${#packages[@]} -eq 0 ]; then
  echo "usage: scripts/setup.sh [--dry-run] run|package|web|test..." >&2
  exit 2
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    case " ${missing[*]} " in *" $p "*) ;; *) missing+=("$p") ;; esac
  fi
done
if [ $dry_run -eq 1 ]; then
  echo "needs: ${packages[*]}"
  echo "would install: ${missing[*]:-nothing}"
  exit 0
fi
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
