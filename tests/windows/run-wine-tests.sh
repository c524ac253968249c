#!/usr/bin/env bash
# Runs the Windows program (build-windows/Dorgo.exe, made by `make windows`) under wine in a
# virtual X server of its own with openbox, and uses it the way a person would: it looks for
# the window by its title and checks where it is, drags the swimming fish onto the creature
# with the mouse and watches the screen until the fish is eaten and a new one comes out, then
# presses the end button and expects the program to end with exit code 0.
#
#   tests/windows/run-wine-tests.sh [PROGRAM.exe]
#
# Exit code 0: passed. 1: failed (screenshots are kept in the work folder named at the end).
# 77: could not run here, because a tool or the program is missing.
#
# Every wait is for a condition, bounded by a limit that a slow machine still meets. The wine
# prefix lives in build-windows/wine-prefix (or $DORGO_WINEPREFIX) and is made on the first run,
# which takes a while; later runs reuse it.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
program=${1:-$root/build-windows/Dorgo.exe}
art=$root/art
probe=$here/screen_probe.py

for tool in wine wineboot wineserver Xvfb openbox xdotool xwininfo xprop xwd python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "run-wine-tests: skipped, $tool is not installed (scripts/install-deps.sh windows)"
    exit 77
  fi
done
if [[ ! -f $program ]]; then
  echo "run-wine-tests: skipped, $program is not built (make windows)"
  exit 77
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

# Where the toy puts things, in its window's client coordinates.
title="モルタン"
creature_slot="399,148"
creature_centre=(452 206)
end_button_centre=(452 328)
fish_top=120
# The window's outer frame is at (185, 94), 575 x 405, in Windows' own terms. Under wine the
# window manager draws the frame instead of Windows, and the X window is the client area: the
# outer rectangle less wine's frame, 4 pixels at the sides and bottom and 4 + 19 at the top.
expected_client_origin="189,117"
expected_client_size="567x378"

# Limits, in seconds.
prefix_limit=600     # making a fresh wine prefix
display_limit=20     # Xvfb and openbox starting
window_limit=120     # the program's window appearing
scene_limit=30       # the creature asleep with a fish swimming
eat_limit=15         # the fish eaten after the drop
refill_limit=15      # a new fish coming out
exit_limit=30        # the program ending after the end button

work=${DORGO_WINE_TEST_DIR:-$root/build-windows/wine-test}
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=${DORGO_WINEPREFIX:-$root/build-windows/wine-prefix}
export WINEDEBUG=-all
# No Mono and no Gecko: the toy needs neither, and wine would otherwise offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
started=$SECONDS

xvfb_pid=""
openbox_pid=""
wine_pid=""

log() { printf '[%3ds] %s\n' "$((SECONDS - started))" "$*"; }

cleanup() {
  # Only what this script started, by process id, and wine's server for its own prefix.
  if [[ -n $wine_pid ]] && kill -0 "$wine_pid" 2>/dev/null; then
    kill "$wine_pid" 2>/dev/null || true
  fi
  if [[ -n ${DISPLAY:-} ]]; then
    timeout 20 wineserver -k >/dev/null 2>&1 || true
  fi
  [[ -n $openbox_pid ]] && kill "$openbox_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

shot() { xwd -root -silent >"$work/screen.xwd"; }

fail() {
  log "FAIL: $*"
  if [[ -n ${origin:-} && -s $work/screen.xwd ]]; then
    python3 "$probe" png "$work/screen.xwd" "$origin" 567,378 "$work/failure.png" || true
    log "the window's last screenshot: $work/failure.png"
  fi
  echo "wine: 0 passed, 1 failed"
  exit 1
}

# wait_until LIMIT WHAT COMMAND...: runs the command again and again until it succeeds, and
# fails the test when the limit passes first.
wait_until() {
  local limit=$1 what=$2
  shift 2
  local deadline=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS < deadline)) || fail "$what: not within ${limit}s"
    sleep 0.1
  done
}

# ---- A display of our own, with a window manager ----

display_up() { xprop -display "$1" -root >/dev/null 2>&1; }
openbox_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
display_named() { [[ -s $work/display ]]; }

# The server picks a free display number itself and writes it to us, so that no other test's
# server, starting or going at the same moment, can be taken for ours.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_until "$display_limit" "Xvfb naming its display" display_named
export DISPLAY=":$(head -n 1 "$work/display")"
wait_until "$display_limit" "Xvfb answering on $DISPLAY" display_up "$DISPLAY"
log "Xvfb on $DISPLAY"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!
wait_until "$display_limit" "openbox managing the display (see $work/openbox.log)" openbox_up

# ---- The wine prefix ----

if [[ ! -f $WINEPREFIX/.dorgo-ready ]]; then
  log "making the wine prefix $WINEPREFIX (the first run takes a while)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  timeout "$prefix_limit" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot -i did not finish (see $work/wineboot.log)"
  timeout "$prefix_limit" wineserver -w || fail "wine did not settle after making the prefix"
  touch "$WINEPREFIX/.dorgo-ready"
fi

# ---- The program starts, and its window appears ----

log "starting $program"
(cd "$work" && exec wine "$program") >"$work/program.log" 2>&1 &
wine_pid=$!

window=""
find_window() {
  window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
  [[ -n $window ]]
}
wait_until "$window_limit" "a window titled $title" find_window
log "window $window is titled $title"

read -r client_x client_y client_w client_h < <(xwininfo -id "$window" | awk '
  /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
  /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }')
origin="$client_x,$client_y"
[[ $origin == "$expected_client_origin" ]] ||
  fail "the client area is at $origin, expected $expected_client_origin for a frame at (185, 94)"
[[ "${client_w}x${client_h}" == "$expected_client_size" ]] ||
  fail "the client area is ${client_w}x${client_h}, expected $expected_client_size for an outer size of 575 x 405"
log "client area at $origin, ${client_w}x${client_h}: the frame is at (185, 94), 575 x 405"

to_screen() { echo "$((client_x + $1)) $((client_y + $2))"; }

# ---- Feeding the fish to the creature ----

fish_left=""
asleep_with_fish() {
  shot
  python3 "$probe" shows "$work/screen.xwd" "$origin" "$creature_slot" "$art/imgSleep.xpm" >/dev/null || return 1
  local found
  found=$(python3 "$probe" fish "$work/screen.xwd" "$origin" "$art") || return 1
  fish_left=${found%% *}
}
wait_until "$scene_limit" "the creature asleep and a fish swimming" asleep_with_fish
log "the creature sleeps; a fish swims at ($fish_left, $fish_top)"

# The fish keeps swimming ten pixels a second until it is pressed, so the press goes to the
# middle of where it was just seen: one more step either way still lands on it.
read -r press_x press_y < <(to_screen $((fish_left + 16)) $((fish_top + 16)))
read -r target_x target_y < <(to_screen "${creature_centre[@]}")
xdotool mousemove --sync "$press_x" "$press_y" mousedown 1
# A person's drag: past the threshold first, then across to the creature in a few moves.
xdotool mousemove --sync $((press_x + 6)) $((press_y + 6))
for step in 1 2 3 4 5; do
  xdotool mousemove --sync $((press_x + (target_x - press_x) * step / 5)) $((press_y + (target_y - press_y) * step / 5))
done
xdotool mouseup 1
log "dragged the fish from ($press_x, $press_y) to the creature at ($target_x, $target_y)"

fed() {
  shot
  python3 "$probe" no-fish "$work/screen.xwd" "$origin" >/dev/null || return 1
  python3 "$probe" shows "$work/screen.xwd" "$origin" "$creature_slot" "$art/imgHappy.xpm" >/dev/null ||
    python3 "$probe" shows "$work/screen.xwd" "$origin" "$creature_slot" "$art/imgKutta.xpm" >/dev/null
}
wait_until "$eat_limit" "the fish gone and the creature pleased" fed
cp "$work/screen.xwd" "$work/fed.xwd"
log "the fish is gone and the creature looks pleased"

refilled() {
  shot
  python3 "$probe" shows "$work/screen.xwd" "$origin" "$creature_slot" "$art/imgSleep.xpm" >/dev/null &&
    python3 "$probe" fish "$work/screen.xwd" "$origin" "$art" >/dev/null
}
wait_until "$refill_limit" "the creature asleep again with a new fish" refilled
log "the creature sleeps again and a new fish swims"

# ---- The end button ends the program ----

read -r end_x end_y < <(to_screen "${end_button_centre[@]}")
xdotool mousemove --sync "$end_x" "$end_y" click 1
program_gone() { ! kill -0 "$wine_pid" 2>/dev/null; }
wait_until "$exit_limit" "the program ending after the end button" program_gone
set +e
wait "$wine_pid"
code=$?
set -e
wine_pid=""
[[ $code -eq 0 ]] || fail "the program ended with exit code $code, expected 0"
no_window() { ! xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; }
wait_until 5 "the window closing" no_window
log "the end button ended the program with exit code 0"

log "passed in $((SECONDS - started))s"
echo "wine: 1 passed, 0 failed"
