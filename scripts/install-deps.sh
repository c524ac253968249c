#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing or measuring the toy needs,
# and only those that are missing. Runs apt-get as root, or through sudo.
#
#   scripts/install-deps.sh build   compiler, CMake, SDL2, X11, GoogleTest, Google Benchmark, libpng
#   scripts/install-deps.sh test    the above, Xvfb, openbox, xdotool and X tools for real-window tests,
#                                   valgrind, the desktop-file checkers, and mingw-w64 and wine for the
#                                   Windows program's tests
#   scripts/install-deps.sh bench   the above, the peer programs measured beside the toy, and the
#                                   X DAMAGE, XTEST and X-Resource headers for the frame probe
#   scripts/install-deps.sh windows CMake and mingw-w64 for the Windows program, and wine, Xvfb,
#                                   openbox, xdotool and X tools to try it out
set -euo pipefail

build=(cmake g++ make pkgconf libsdl2-dev libx11-dev googletest libgtest-dev libbenchmark-dev libpng-dev)
test=(xvfb openbox xdotool x11-utils x11-xserver-utils x11-apps valgrind desktop-file-utils appstream)
bench=(x11-apps oneko libxdamage-dev libxtst-dev libxres-dev)
windows=(cmake make python3 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 x11-apps)

want=("${build[@]}")
case "${1:-build}" in
  build) ;;
  test) want+=("${test[@]}" "${windows[@]}") ;;
  bench) want+=("${test[@]}" "${bench[@]}") ;;
  windows) want=("${windows[@]}" "${test[@]}") ;;
  *) echo "usage: $0 build|test|bench|windows" >&2; exit 2 ;;
esac

missing=()
for pkg in "${want[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "these packages are missing and this is not root (and there is no sudo): ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
