#!/usr/bin/env bash
# Runs the end-to-end driver of a Windows build tree under Wine on a virtual
# display; builds nothing. Without a tree it tests the program we ship, the
# i686 build (build/win32), where this machine runs 32-bit programs, and the
# x86_64 build (build/win64) elsewhere. Says which build ran, and ends with
# "N passed, N failed" and a non-zero status when a case failed or the driver
# could not run.
#   tests/e2e/run.sh [<windows build dir>] [GoogleTest options, e.g. --gtest_filter=Clipboard.*]
# WINEPREFIX and DISPLAY are taken from the environment when set.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
fail() {
  echo "run.sh: $1" >&2
  echo "0 passed, 1 failed"
  exit 1
}

build=""
if [[ $# -gt 0 && -d "$1" ]]; then
  build="$(cd "$1" && pwd)"
  shift
elif [[ $# -gt 0 && "$1" != -* ]]; then
  echo "usage: $0 [<windows build dir>] [gtest options]" >&2
  exit 2
fi

# The same question wine-env.sh answers, asked before it makes a prefix for a
# build that cannot run here.
if [[ -z "${MOSAIKON_WIN32_RUNS:-}" ]]; then
  MOSAIKON_WIN32_RUNS=0
  [[ -x /usr/lib/wine/wine ]] && bash "$root/scripts/install-deps.sh" --check-i386 && MOSAIKON_WIN32_RUNS=1
fi
bits=64
[[ $MOSAIKON_WIN32_RUNS -eq 1 ]] && bits=32
[[ -n "$build" ]] || build="${MOSAIKON_BUILD_DIR:-$root/build}/win$bits"

# The tree's own files, not the copies in a Wine prefix or the package stage.
find_in_tree() {
  find "$build" \( -path "$build/wine" -o -path '*/package-stage' -o -path "${WINEPREFIX:-/nonexistent}" \) -prune \
    -o -name "$1" -type f -print -quit 2>/dev/null
}
exe="$(find_in_tree Mosaikon.exe)"
driver="$(find_in_tree mosaikon_e2e_tests.exe)"
[[ -n "$exe" && -n "$driver" ]] || fail "$build holds no Mosaikon.exe or mosaikon_e2e_tests.exe"

# The machine field of the PE header says which build this is.
machine_of() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
case "$(machine_of "$exe")" in
  014c) tested="i686" ;;
  8664) tested="x86_64" ;;
  *) fail "$exe is neither an i686 nor an x86_64 program" ;;
esac
[[ "$(machine_of "$driver")" == "$(machine_of "$exe")" ]] || fail "the driver and $exe are builds for different machines"
[[ $tested == i686 && $MOSAIKON_WIN32_RUNS -ne 1 ]] &&
  fail "$build is the i686 build, and this machine cannot run 32-bit Windows programs"
note=""
[[ $tested == x86_64 && $MOSAIKON_WIN32_RUNS -ne 1 ]] && note=" (this machine runs no 32-bit programs)"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build" || fail "no Wine environment"
trap mosaikon_wine_cleanup EXIT
echo "run.sh: testing the $tested build $exe$note"

# Wine maps drive Z: to the root of the file system. Real art files live
# beside the repository when it has them; the checker of exported images runs
# as a Unix program, started by the driver through Wine.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
exe_dir="$(dirname "$exe")"
args=(--exe="$(windows_path "$exe")" --png-check="$(windows_path "$root/tests/e2e/png_check.py")")
[[ -f "$exe_dir/MosaikonTerminal.fon" ]] && args+=(--font="$(windows_path "$exe_dir/MosaikonTerminal.fon")")
[[ -d "$exe_dir/language" ]] && args+=(--language="$(windows_path "$exe_dir/language")")
[[ -d "$root/../shared/corpus" ]] && args+=(--corpus="$(windows_path "$(cd "$root/../shared/corpus" && pwd)")")

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

# A full disk: a file system of 64 KB of its own, mounted in a mount namespace
# that only this pass sees. The Wine server opens the files its programs ask
# for, so it starts afresh inside. The cases that need the disk skip
# themselves in the first pass; where this run may not mount, they stay skipped.
if [[ $# -eq 0 || "$*" == *FullDisk* ]] && unshare --mount true 2>/dev/null; then
  disk="$build/full-disk"
  mkdir -p "$disk"
  "$WINESERVER" -k >/dev/null 2>&1
  # shellcheck disable=SC2016
  timeout 600 unshare --mount --propagation private \
    sh -c 'mount -t tmpfs -o size=64k mosaikon-full "$1" && shift && exec "$@"' sh "$disk" \
    "$WINE" "$driver" "${args[@]}" --full-disk="$(windows_path "$disk")" --gtest_filter='FullDisk.*' 2>&1 |
    tr -d '\r' | tee -a "$log"
  [[ ${PIPESTATUS[0]} -ne 0 ]] && status=1
  "$WINESERVER" -k >/dev/null 2>&1
fi

passed="$(grep -c '^\[       OK \]' "$log")"
failed="$(grep -E '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(' "$log" | sort -u | wc -l)"
if [[ $status -ne 0 && $failed -eq 0 ]]; then
  echo "run.sh: the driver ended with status $status" >&2
  failed=1
fi
echo "run.sh: the $tested build was tested$note"
echo "$passed passed, $failed failed"
[[ $status -eq 0 && $failed -eq 0 ]]
