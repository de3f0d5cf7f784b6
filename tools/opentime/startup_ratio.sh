#!/usr/bin/env bash
# Start-up against Wine's notepad: times Mosaikon and notepad on the same small
# plain file with opentime, in alternating runs so that both see the same load,
# and prints the median time to drawn text of each and their ratio (below 1:
# Mosaikon is quicker). A measurement for people, not a test: the machine's
# load moves both figures, the ratio less, the ratio of the fastest runs least.
#   tools/opentime/startup_ratio.sh [BUILD_TREE] [RUNS]
# BUILD_TREE defaults to the i686 tree where 32-bit programs run (build/win32),
# else build/win64; RUNS to 7 (after one warm-up run of each).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${MOSAIKON_BUILD_DIR:-$root/build}"
tree="${1:-}"
runs="${2:-7}"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
trap mosaikon_wine_cleanup EXIT
if [[ -z "$tree" ]]; then
  tree="$build/win64"
  [[ $MOSAIKON_WIN32_RUNS -eq 1 ]] && tree="$build/win32"
fi
opentime="$tree/tools/opentime/opentime.exe"
[[ -f "$tree/Mosaikon.exe" && -f "$opentime" ]] || {
  echo "startup_ratio: $tree holds no Mosaikon.exe or opentime.exe (build it first)" >&2
  exit 1
}

text="$build/startup-60-lines.txt"
python3 "$root/tools/opentime/make_text.py" --lines 60 "$text" >/dev/null
z() { echo "Z:$(realpath "$1" | tr / '\\')"; }
# A server that stays up between the runs, as on a desktop where Wine is in use.
"$WINESERVER" -p </dev/null >/dev/null 2>&1

# drawn PROGRAM: one timed run; prints its time to drawn text in milliseconds.
# The output goes through a file: Wine's helper processes keep a pipe open.
out="$build/startup-ratio.out"
drawn() {
  "$WINE" "$opentime" --runs 1 --warmup 0 "$1" "$(z "$text")" </dev/null >"$out" 2>&1 || true
  tr -d '\r' <"$out" | sed -n 's/^run 1:.* drawn *\([0-9.]*\) ms.*/\1/p'
}

echo "startup_ratio: $tree, $runs runs each, load average $(cut -d' ' -f1-3 /proc/loadavg)"
mosaikon=()
notepad=()
drawn "$(z "$tree/Mosaikon.exe")" >/dev/null
drawn notepad.exe >/dev/null
for ((i = 1; i <= runs; i++)); do
  m="$(drawn "$(z "$tree/Mosaikon.exe")")"
  n="$(drawn notepad.exe)"
  [[ -n "$m" && -n "$n" ]] || {
    echo "startup_ratio: run $i did not complete" >&2
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
    print("%-8s drawn: median %6.1f ms, range %6.1f .. %6.1f ms" % (name, statistics.median(values), min(values), max(values)))
print("ratio Mosaikon / notepad (medians): %.2f" % (statistics.median(m) / statistics.median(n)))
# On a loaded machine the fastest runs are the ones least held up by others.
print("ratio Mosaikon / notepad (fastest runs): %.2f" % (min(m) / min(n)))
EOF
echo "load average afterwards $(cut -d' ' -f1-3 /proc/loadavg)"
