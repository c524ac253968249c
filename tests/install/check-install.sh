#!/usr/bin/env bash
# Installs the built program into a temporary prefix, as a packager would, and checks that the
# desktop finds everything where it looks: the program, a valid desktop entry, the icon at
# 32 x 32 and 128 x 128 in the hicolor theme, and valid AppStream metadata.
#
#   tests/install/check-install.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

id=io.dorgo.Dorgo
[[ -x $prefix/bin/Dorgo ]] || fail "no program at bin/Dorgo"
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
[[ -f $desktop ]] && { desktop-file-validate "$desktop" || fail "desktop entry does not validate"; } || fail "no desktop entry"
[[ -f $metainfo ]] && { appstreamcli validate --no-net "$metainfo" >/dev/null || fail "AppStream metadata does not validate"; } || fail "no AppStream metadata"
grep -q "^Exec=Dorgo$" "$desktop" 2>/dev/null || fail "the desktop entry does not start the installed program"

# A PNG's width and height are the two big-endian words after its signature and IHDR header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
for size in 32 128; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  if [[ ! -f $icon ]]; then
    fail "no ${size}x${size} icon"
  elif [[ $(png_size "$icon") != "${size}x${size}" ]]; then
    fail "the ${size}x${size} icon is $(png_size "$icon")"
  fi
done

if ((failures)); then
  echo "install: 0 passed, $failures failed"
  exit 1
fi
echo "install: program, desktop entry, icons and metadata in place and valid"
