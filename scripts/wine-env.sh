# Sourced by the run and test scripts: a Wine prefix of our own, a display, and
# the Wine loader that can run here. Call mosaikon_wine_cleanup when done (it
# stops this prefix's wineserver and the Xvfb started here, nothing else).
#   source scripts/wine-env.sh [BUILD_DIR]
# Exports WINE, WINESERVER, WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, DISPLAY and
# MOSAIKON_WIN32_RUNS (1 when 32-bit Windows programs can run here).

_mosaikon_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
_mosaikon_root="$(dirname "$_mosaikon_scripts")"
_mosaikon_build="${1:-${MOSAIKON_BUILD_DIR:-$_mosaikon_root/build}}"
MOSAIKON_XVFB_PID=""

export WINEPREFIX="${WINEPREFIX:-$_mosaikon_build/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINESERVER=/usr/lib/wine/wineserver

# 32-bit Wine needs a kernel that runs i386 code; without it the 64-bit loader
# is called directly (Debian's `wine` would pick the 32-bit one and fail).
if [[ -x /usr/lib/wine/wine ]] && bash "$_mosaikon_scripts/install-deps.sh" --check-i386; then
  export MOSAIKON_WIN32_RUNS=1 WINE=wine
else
  export MOSAIKON_WIN32_RUNS=0 WINE=/usr/lib/wine/wine64
fi

_mosaikon_display_usable() {
  [[ -n "${DISPLAY:-}" ]] && timeout 5 xdpyinfo >/dev/null 2>&1
}

# Starts Xvfb on the first display number from 140 up that no one holds (no
# socket, no lock file); Xvfb itself refuses a taken number, so a race with
# another starter only moves us on to the next one.
_mosaikon_start_xvfb() {
  local n log
  log="$_mosaikon_build/xvfb.log"
  mkdir -p "$_mosaikon_build"
  for ((n = 140; n < 240; n++)); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$log" 2>&1 &
    MOSAIKON_XVFB_PID=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
      if ! kill -0 "$MOSAIKON_XVFB_PID" 2>/dev/null; then
        break
      fi
      if [[ -S /tmp/.X11-unix/X$n ]] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$MOSAIKON_XVFB_PID" 2>/dev/null
    wait "$MOSAIKON_XVFB_PID" 2>/dev/null
    MOSAIKON_XVFB_PID=""
  done
  echo "wine-env: could not start Xvfb (see $log)" >&2
  return 1
}

mosaikon_wine_cleanup() {
  if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [[ -n "$MOSAIKON_XVFB_PID" ]]; then
    kill "$MOSAIKON_XVFB_PID" 2>/dev/null || true
    wait "$MOSAIKON_XVFB_PID" 2>/dev/null || true
    MOSAIKON_XVFB_PID=""
  fi
}

# Makes the prefix once: boot, Wine's own fonts (Debian's Wine does not find
# them where they are installed), and no window-manager decorations, which
# makes dialogs close in a tenth of the time under a bare X server.
_mosaikon_make_prefix() {
  local ready="$WINEPREFIX/.mosaikon-ready"
  [[ -f "$ready" ]] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [[ -f "$ready" ]] && exit 0
    echo "wine-env: creating Wine prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 || exit 1
    timeout 120 "$WINESERVER" -w || "$WINESERVER" -k
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$fonts"/ 2>/dev/null
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || exit 1
    # The registry is written when the server ends; let it end by itself.
    timeout 60 "$WINESERVER" -w || "$WINESERVER" -k
    touch "$ready"
  ) 9>"$WINEPREFIX.lock"
}

mosaikon_wine_setup() {
  if ! _mosaikon_display_usable; then
    _mosaikon_start_xvfb || return 1
  fi
  _mosaikon_make_prefix || { echo "wine-env: could not create the Wine prefix $WINEPREFIX" >&2; return 1; }
  "$WINESERVER" -k >/dev/null 2>&1 || true
  return 0
}

mosaikon_wine_setup
