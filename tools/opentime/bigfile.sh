#!/usr/bin/env bash
# Big-file open time: writes a plain file of 80-column lines (1 GiB unless told
# otherwise) into the build folder, times Mosaikon opening it with opentime (to
# the titled window, after one warm-up run) and deletes the file again unless
# --keep is given. A measurement for people, not a test.
#   tools/opentime/bigfile.sh [--size MiB] [--keep] [BUILD_TREE] [RUNS]
# BUILD_TREE defaults to the i686 tree where 32-bit programs run (build/win32),
# else build/win64; RUNS to 3.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${MOSAIKON_BUILD_DIR:-$root/build}"
size=1024
keep=0
while [[ $# -gt 0 && "$1" == --* ]]; do
  case "$1" in
    --size) size="$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    *) echo "usage: $0 [--size MiB] [--keep] [BUILD_TREE] [RUNS]" >&2; exit 2 ;;
  esac
done
tree="${1:-}"
runs="${2:-3}"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
text="$build/opentime-${size}m.txt"
cleanup() {
  [[ $keep -eq 1 ]] || rm -f "$text"
  mosaikon_wine_cleanup
}
trap cleanup EXIT
if [[ -z "$tree" ]]; then
  tree="$build/win64"
  [[ $MOSAIKON_WIN32_RUNS -eq 1 ]] && tree="$build/win32"
fi
opentime="$tree/tools/opentime/opentime.exe"
[[ -f "$tree/Mosaikon.exe" && -f "$opentime" ]] || {
  echo "bigfile: $tree holds no Mosaikon.exe or opentime.exe (build it first)" >&2
  exit 1
}

[[ -f "$text" ]] || python3 "$root/tools/opentime/make_text.py" --size $((size << 20)) "$text"
z() { echo "Z:$(realpath "$1" | tr / '\\')"; }
"$WINESERVER" -p </dev/null >/dev/null 2>&1
echo "bigfile: $tree, load average $(cut -d' ' -f1-3 /proc/loadavg)"
# Through a file: Wine's helper processes keep a pipe open.
out="$build/bigfile.out"
status=0
"$WINE" "$opentime" --runs "$runs" --warmup 1 --timeout 600 "$(z "$tree/Mosaikon.exe")" "$(z "$text")" \
  </dev/null >"$out" 2>&1 || status=$?
tr -d '\r' <"$out"
echo "bigfile: load average afterwards $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
