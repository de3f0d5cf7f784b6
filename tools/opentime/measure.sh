#!/usr/bin/env bash
# Open-time measurements with opentime under Wine, for people, not tests: the
# machine's load moves every figure, so each run prints the load average.
#
#   tools/opentime/measure.sh startup [--tree DIR] [RUNS]
#     Start-up against Wine's notepad: both open the same 60-line plain file in
#     alternating runs (after one warm-up each, with a wineserver kept
#     running), so that both see the same load. Prints the median and fastest
#     time to drawn text of each and their ratios (below 1: Mosaikon is
#     quicker); on a loaded machine the fastest runs are the ones least held up
#     by others. RUNS defaults to 7.
#
#   tools/opentime/measure.sh bigfile [--tree DIR] [--size MiB] [--keep] [RUNS]
#     Big files: writes a plain file of 80-column lines (1024 MiB unless told
#     otherwise) into the build folder, times Mosaikon opening it to the titled
#     window (after one warm-up run) with its peak working set, and deletes the
#     file again unless --keep is given. RUNS defaults to 3.
#
# DIR is a Windows build tree holding Mosaikon.exe and opentime.exe: by default
# the i686 tree where this machine runs 32-bit programs (build/win32), else
# build/win64.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${MOSAIKON_BUILD_DIR:-$root/build}"
usage() {
  echo "usage: $0 startup [--tree DIR] [RUNS] | bigfile [--tree DIR] [--size MiB] [--keep] [RUNS]" >&2
  exit 2
}
mode="${1:-}"
[[ "$mode" == startup || "$mode" == bigfile ]] || usage
shift
tree=""
size=1024
keep=0
while [[ $# -gt 0 && "$1" == --* ]]; do
  case "$1" in
    --tree) tree="$2"; shift 2 ;;
    --size) size="$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    *) usage ;;
  esac
done
runs="${1:-}"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
text=""
cleanup() {
  [[ -n "$text" && $keep -eq 0 ]] && rm -f "$text"
  mosaikon_wine_cleanup
}
trap cleanup EXIT
if [[ -z "$tree" ]]; then
  tree="$build/win64"
  [[ $MOSAIKON_WIN32_RUNS -eq 1 ]] && tree="$build/win32"
fi
opentime="$tree/tools/opentime/opentime.exe"
[[ -f "$tree/Mosaikon.exe" && -f "$opentime" ]] || {
  echo "measure: $tree holds no Mosaikon.exe or opentime.exe (build it first)" >&2
  exit 1
}
z() { echo "Z:$(realpath "$1" | tr / '\\')"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
# A server that stays up between the runs, as on a desktop where Wine is in use.
"$WINESERVER" -p </dev/null >/dev/null 2>&1
# opentime's output goes through a file: Wine's helper processes keep a pipe open.
out="$build/opentime.out"

if [[ "$mode" == bigfile ]]; then
  text="$build/opentime-${size}m.txt"
  [[ -f "$text" ]] || python3 "$root/tools/opentime/make_text.py" --size $((size << 20)) "$text"
  echo "measure: bigfile, $tree, load average $(load)"
  status=0
  "$WINE" "$opentime" --runs "${runs:-3}" --warmup 1 --timeout 600 "$(z "$tree/Mosaikon.exe")" "$(z "$text")" \
    </dev/null >"$out" 2>&1 || status=$?
  tr -d '\r' <"$out"
  echo "measure: load average afterwards $(load)"
  exit $status
fi

runs="${runs:-7}"
sample="$build/startup-60-lines.txt"
python3 "$root/tools/opentime/make_text.py" --lines 60 "$sample" >/dev/null
# drawn PROGRAM: one timed run; prints its time to drawn text in milliseconds.
drawn() {
  "$WINE" "$opentime" --runs 1 --warmup 0 "$1" "$(z "$sample")" </dev/null >"$out" 2>&1 || true
  tr -d '\r' <"$out" | sed -n 's/^run 1:.* drawn *\([0-9.]*\) ms.*/\1/p'
}
echo "measure: startup, $tree, $runs runs each, load average $(load)"
mosaikon=()
notepad=()
drawn "$(z "$tree/Mosaikon.exe")" >/dev/null
drawn notepad.exe >/dev/null
for ((i = 1; i <= runs; i++)); do
  m="$(drawn "$(z "$tree/Mosaikon.exe")")"
  n="$(drawn notepad.exe)"
  [[ -n "$m" && -n "$n" ]] || {
    echo "measure: run $i did not complete" >&2
    exit 1
  }
  printf 'run %d: Mosaikon %7.1f ms  notepad %7.1f ms\n' "$i" "$m" "$n"
  mosaikon+=("$m")
  notepad+=("$n")
done
python3 - "${mosaikon[*]}" "${notepad[*]}" <<'EOF'
import statistics, sys
m = [float(v) for v in sys.argv[1].split()]
n = [float(v) for v in sys.argv[2].split()]
for name, values in (("Mosaikon", m), ("notepad", n)):
    print("%-8s drawn: median %6.1f ms, fastest %6.1f ms, slowest %6.1f ms"
          % (name, statistics.median(values), min(values), max(values)))
print("ratio Mosaikon / notepad: medians %.2f, fastest runs %.2f"
      % (statistics.median(m) / statistics.median(n), min(m) / min(n)))
EOF
echo "measure: load average afterwards $(load)"
