#!/usr/bin/env bash
# Runs a Windows program under Wine in a throw-away prefix kept in the build
# tree, created on first use. Headless: console programs need no display, and
# the Mono and Gecko installers are switched off.
#
# A 32-bit program runs on Debian's 32-bit Wine loader; a 64-bit one on the
# 64-bit loader with a 64-bit prefix. (The 32-bit loader needs a kernel that
# runs 32-bit programs; scripts/kernel-runs-32bit tells whether this one does.)
set -eu
program="$1"

pe_machine() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}

build_dir="${BRIMLOW_WINE_BUILD_DIR:-$(pwd)}"
while [ ! -f "$build_dir/CMakeCache.txt" ] && [ "$build_dir" != "/" ]; do
  build_dir=$(dirname "$build_dir")
done
[ "$build_dir" = "/" ] && build_dir="$(pwd)"

if [ "$(pe_machine "$program")" = "8664" ]; then
  loader=/usr/lib/wine/wine64
  export WINEARCH=win64
else
  loader=/usr/lib/wine/wine
  export WINEARCH=win32
fi
export WINELOADER="$loader"
export WINEPREFIX="${WINEPREFIX:-$build_dir/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$loader" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
) 9>"$build_dir/.wineprefix.lock"
exec "$loader" "$@"
