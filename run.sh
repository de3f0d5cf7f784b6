#!/usr/bin/env bash
# The one run command: installs what is missing, builds the Windows program
# (only the build Wine runs here: i686 where this machine runs 32-bit programs,
# x86_64 elsewhere) and shows a file in it under Wine (samples/mosaikon.ans
# unless a file is given).
# Without a usable display it runs on a virtual one and saves a screenshot to
# build/screenshot.png.
#   ./run.sh [FILE]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${MOSAIKON_BUILD_DIR:-$root/build}"
export MOSAIKON_BUILD_DIR="$build"

file="${1:-$root/samples/mosaikon.ans}"
if [[ ! -e "$file" ]]; then
  echo "run.sh: no such file: $file" >&2
  exit 1
fi
file="$(cd "$(dirname "$file")" && pwd)/$(basename "$file")"

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" product

exe32="$build/win32/Mosaikon.exe"
exe64="$build/win64/Mosaikon.exe"
if [[ ! -f "$exe32" && ! -f "$exe64" ]]; then
  # The Windows program is not in the tree yet: show what the document core
  # makes of the file instead.
  bash "$root/scripts/build.sh" docdump
  echo "run.sh: Mosaikon.exe is not built yet; this is docdump's view of $file:"
  exec "$build/native/tools/docdump/docdump" "$file"
fi

# Remember whether the caller had a display before wine-env may start one.
had_display=0
if [[ -n "${DISPLAY:-}" ]] && timeout 5 xdpyinfo >/dev/null 2>&1; then had_display=1; fi

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
program_pid=""
stop() {
  if [[ -n "$program_pid" ]]; then kill "$program_pid" 2>/dev/null || true; fi
  mosaikon_wine_cleanup
}
trap stop EXIT
trap 'exit 130' INT TERM

if [[ $MOSAIKON_WIN32_RUNS -eq 1 && -f "$exe32" ]]; then
  exe="$exe32"
else
  exe="$exe64"
  echo "run.sh: this machine cannot run 32-bit programs; running the 64-bit build of the same sources"
fi
# Wine's drive Z: is the root of the file system.
windows_file="Z:${file//\//\\}"

if [[ $had_display -eq 1 ]]; then
  # In the background with a wait, so that a signal to this script is acted
  # on at once rather than after the program ends.
  "$WINE" "$exe" "$windows_file" &
  program_pid=$!
  wait "$program_pid" || true
  program_pid=""
  exit 0
fi

"$WINE" "$exe" "$windows_file" >"$build/run.log" 2>&1 &
program_pid=$!

# Wait for the window, then for it to be painted (more than a couple of
# colours on the screen), each with a timeout.
window=""
for ((i = 0; i < 300; i++)); do
  window="$(xdotool search --onlyvisible --name Mosaikon 2>/dev/null | head -n 1 || true)"
  [[ -n "$window" ]] && break
  if ! kill -0 "$program_pid" 2>/dev/null; then
    echo "run.sh: Mosaikon.exe ended before showing a window (log: $build/run.log)" >&2
    exit 1
  fi
  sleep 0.1
done
if [[ -z "$window" ]]; then
  echo "run.sh: no Mosaikon window appeared within 30 s (log: $build/run.log)" >&2
  exit 1
fi
shot="$build/screenshot.png"
# Painted and settled: more than a few colours, and the same pixels twice in a row.
previous=""
for ((i = 0; i < 100; i++)); do
  import -window root "$shot"
  read -r colours signature < <(identify -format '%k %#\n' "$shot" 2>/dev/null || echo "0 none")
  [[ $colours -gt 8 && "$signature" == "$previous" ]] && break
  previous="$signature"
  sleep 0.1
done
echo "run.sh: Mosaikon is running on the virtual display $DISPLAY; screenshot saved to $shot"

if [[ -t 0 && -z "${CI:-}" ]]; then
  echo "run.sh: press Ctrl+C to stop"
  wait "$program_pid" || true
fi
