#!/usr/bin/env bash
# Runs the end-to-end driver of a Windows build tree under Wine on a virtual
# display; builds nothing. Ends with "N passed, N failed" and a non-zero
# status when a case failed or the driver could not run.
#   tests/e2e/run.sh <windows build dir> [GoogleTest options, e.g. --gtest_filter=ViewerKeys.*]
# WINEPREFIX and DISPLAY are taken from the environment when set.
set -uo pipefail

if [[ $# -lt 1 || ! -d "$1" ]]; then
  echo "usage: $0 <windows build dir> [gtest options]" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
shift
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

exe="$(find "$build" -name Mosaikon.exe -not -path '*/package-stage/*' -print -quit)"
driver="$(find "$build" -name mosaikon_e2e_tests.exe -print -quit)"
if [[ -z "$exe" || -z "$driver" ]]; then
  echo "run.sh: $build holds no Mosaikon.exe or mosaikon_e2e_tests.exe" >&2
  echo "0 passed, 1 failed"
  exit 1
fi

if [[ -f "$root/scripts/wine-env.sh" ]]; then
  # shellcheck source=/dev/null
  source "$root/scripts/wine-env.sh" "$build" || { echo "0 passed, 1 failed"; exit 1; }
  trap mosaikon_wine_cleanup EXIT
else
  # Our own setup: prefix, display, Wine's fonts, no window-manager frames.
  export WINEPREFIX="${WINEPREFIX:-$build/wine-e2e}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  WINE=/usr/lib/wine/wine64
  WINESERVER=/usr/lib/wine/wineserver
  xvfb_pid=""
  if [[ -z "${DISPLAY:-}" ]] || ! timeout 5 xdpyinfo >/dev/null 2>&1; then
    export DISPLAY=":74"
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  }
  trap cleanup EXIT
  if [[ ! -f "$WINEPREFIX/.mosaikon-ready" ]]; then
    "$WINE" wineboot -i >/dev/null 2>&1
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    timeout 60 "$WINESERVER" -w || "$WINESERVER" -k
    touch "$WINEPREFIX/.mosaikon-ready"
  fi
fi

# A 32-bit build runs only where the kernel runs 32-bit code (wine-env.sh
# tells); the machine field of the PE header says which build this is.
pe_offset=$(od -An -tu4 -j60 -N4 "$driver" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$driver" | tr -d ' ')
if [[ "$machine" == "014c" && "${MOSAIKON_WIN32_RUNS:-0}" != 1 ]]; then
  echo "run.sh: $build is a 32-bit build, and 32-bit Windows programs cannot run on this machine" >&2
  echo "0 passed, 1 failed"
  exit 1
fi

# Wine maps drive Z: to the root of the file system.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

args=(--exe="$(windows_path "$exe")")
[[ -f "$build/MosaikonTerminal.fon" ]] && args+=(--font="$(windows_path "$build/MosaikonTerminal.fon")")
[[ -d "$build/language" ]] && args+=(--language="$(windows_path "$build/language")")

log="$build/e2e.log"
timeout 1800 "$WINE" "$driver" "${args[@]}" "$@" 2>&1 | tr -d '\r' | tee "$log"
status=${PIPESTATUS[0]}

# The system language comes from the Unix locale of the Wine processes, so the
# cases that need a German system run again in such an environment (they skip
# themselves in the first pass). Not when the caller chose the cases.
if [[ $# -eq 0 ]]; then
  LC_ALL=de_DE.UTF-8 timeout 600 "$WINE" "$driver" "${args[@]}" --gtest_filter='SystemLanguage.*' 2>&1 |
    tr -d '\r' | tee -a "$log"
  [[ ${PIPESTATUS[0]} -ne 0 ]] && status=1
fi

passed="$(grep -c '^\[       OK \]' "$log")"
failed="$(grep -E '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(' "$log" | sort -u | wc -l)"
if [[ $status -ne 0 && $failed -eq 0 ]]; then
  echo "run.sh: the driver ended with status $status" >&2
  failed=1
fi
echo "$passed passed, $failed failed"
[[ $status -eq 0 && $failed -eq 0 ]]
