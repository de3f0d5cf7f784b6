#!/usr/bin/env bash
# Tests the setup program of a Windows build tree as a user's machine meets
# it: the end-to-end driver's Installer cases, in a fresh Wine prefix made for
# this run and removed afterwards (about 600 MB while it runs). Builds nothing:
# `cmake --build <tree> --target installer` makes the setup first. Ends with
# "N passed, N failed" and a non-zero status when a case failed.
#   tests/e2e/installer.sh [<windows build dir>] [GoogleTest options]
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
fail() {
  echo "installer.sh: $1" >&2
  echo "0 passed, 1 failed"
  exit 1
}

if [[ -z "${MOSAIKON_WIN32_RUNS:-}" ]]; then
  MOSAIKON_WIN32_RUNS=0
  [[ -x /usr/lib/wine/wine ]] && bash "$root/scripts/install-deps.sh" --check-i386 && MOSAIKON_WIN32_RUNS=1
fi
build=""
if [[ $# -gt 0 && -d "$1" ]]; then
  build="$(cd "$1" && pwd)"
  shift
else
  bits=64
  [[ $MOSAIKON_WIN32_RUNS -eq 1 ]] && bits=32
  build="${MOSAIKON_BUILD_DIR:-$root/build}/win$bits"
fi

setup="$(find "$build" -maxdepth 1 -name 'Mosaikon-*-setup.exe' -type f -print -quit 2>/dev/null)"
driver="$(find "$build/tests" -name mosaikon_e2e_tests.exe -type f -print -quit 2>/dev/null)"
[[ -n "$setup" ]] || fail "$build holds no setup program (cmake --build $build --target installer)"
[[ -n "$driver" && -f "$build/Mosaikon.exe" ]] || fail "$build holds no Mosaikon.exe or mosaikon_e2e_tests.exe"

# A prefix of its own beside the build trees, so nothing installed there is
# taken for a tree's own program; shortcuts stay inside it.
export WINEPREFIX="$(dirname "$build")/setup-wine"
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build" || fail "no Wine environment"
cleanup() {
  mosaikon_wine_cleanup
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
}
trap cleanup EXIT
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
echo "installer.sh: testing $setup"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
args=(--exe="$(windows_path "$build/Mosaikon.exe")" --font="$(windows_path "$build/MosaikonTerminal.fon")"
  --language="$(windows_path "$build/language")" --setup="$(windows_path "$setup")")
filter=--gtest_filter='Installer.*'
for arg in "$@"; do [[ "$arg" == --gtest_filter=* ]] && filter=""; done

# Into a file, not a pipe: a setup or uninstaller a failed case left running
# would hold a pipe open until the prefix's processes are ended.
log="$build/installer-e2e.log"
timeout 900 "$WINE" "$driver" "${args[@]}" ${filter:+"$filter"} "$@" >"$log.raw" 2>&1
status=$?
tr -d '\r' <"$log.raw" | tee "$log"
rm -f "$log.raw"
passed="$(grep -c '^\[       OK \]' "$log")"
failed="$(grep -E '^\[  FAILED  \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(' "$log" | sort -u | wc -l)"
[[ $status -ne 0 && $failed -eq 0 ]] && failed=1
echo "$passed passed, $failed failed"
[[ $status -eq 0 && $failed -eq 0 ]]
