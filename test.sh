#!/usr/bin/env bash
# The one test command: installs what is missing, builds every tree, and runs
# the native unit tests, the sanitized unit tests, the fuzzer for a minute, the
# Windows unit tests under Wine, the format check, the include-layer check,
# the end-to-end suite and the setup program's test.
# Ends with "N passed, N failed" and a non-zero status when any stage failed.
#   ./test.sh            (environment: MOSAIKON_BUILD_DIR, MOSAIKON_JOBS, MOSAIKON_FUZZ_SECONDS)
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${MOSAIKON_BUILD_DIR:-$root/build}"
export MOSAIKON_BUILD_DIR="$build"
logs="$build/logs"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
mkdir -p "$logs"
cd "$root"
started=$SECONDS

names=()
results=()
seconds=()
wine_ready=0

cleanup() {
  if [[ $wine_ready -eq 1 ]]; then mosaikon_wine_cleanup; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

record() {
  names+=("$1")
  results+=("$2")
  seconds+=("$3")
}

# stage NAME COMMAND...: runs the command with its output in build/logs/NAME.log,
# shown in part when it fails.
stage() {
  local name="$1" log="$logs/$1.log" begin=$SECONDS rc=0
  shift
  printf '==> %s\n' "$name"
  "$@" >"$log" 2>&1 || rc=$?
  local took=$((SECONDS - begin))
  if [[ $rc -eq 0 ]]; then
    printf '    passed (%d s)\n' "$took"
    record "$name" passed "$took"
  else
    tail -n 60 "$log" | sed 's/^/    | /'
    printf '    FAILED (%d s, exit %d, log: %s)\n' "$took" "$rc" "$log"
    record "$name" failed "$took"
  fi
  return $rc
}

skip() {
  printf '==> %s\n    skipped: %s\n' "$1" "$2"
  record "$1" "skipped ($2)" 0
}

# Stages whose build failed are counted as failed without being run.
not_built() {
  printf '==> %s\n    FAILED: %s did not build\n' "$1" "$2"
  record "$1" "failed ($2 did not build)" 0
}

run_fuzzer() {
  local fuzzer="$1" corpus="$build/fuzz-corpus" artifacts="$build/fuzz-artifacts/"
  mkdir -p "$corpus" "$artifacts"
  # New inputs go to the first folder; the others only seed it.
  local seeds=("$root/samples")
  [[ -d "$root/../shared/corpus" ]] && seeds+=("$root/../shared/corpus")
  "$fuzzer" -max_total_time="${MOSAIKON_FUZZ_SECONDS:-60}" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts" -print_final_stats=1 "$corpus" "${seeds[@]}"
}

format_check() {
  local files=()
  if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git -C "$root" ls-files '*.cpp' '*.h' '*.hpp' '*.cc' '*.c')
  else
    mapfile -t files < <(cd "$root" && find . -path ./build -prune -o -type f \
      \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' -o -name '*.c' \) -print)
  fi
  [[ ${#files[@]} -gt 0 ]] || return 0
  echo "checking ${#files[@]} files"
  clang-format --dry-run --Werror "${files[@]}"
}

# --- dependencies and builds ---
if ! stage dependencies bash "$root/scripts/install-deps.sh"; then
  echo "0 passed, 1 failed"
  exit 1
fi
declare -A built
for tree in native asan fuzz win32 win64; do
  if stage "build-$tree" bash "$root/scripts/build.sh" "$tree"; then built[$tree]=1; else built[$tree]=0; fi
done

# --- native ---
# A tree whose full build failed still runs the tests that do build: a broken
# benchmark or tool must not hide the test results.
configured() { [[ -f "$build/$1/build.ninja" ]]; }
build_and_ctest() {
  local tree="$1"
  shift
  cmake --build "$build/$tree" -j "${MOSAIKON_JOBS:-2}" --target mosaikon_unit_tests &&
    ctest --test-dir "$build/$tree" --output-on-failure "$@"
}
if configured native; then
  stage unit-tests build_and_ctest native -j 2
else
  not_built unit-tests native
fi
if configured asan; then
  stage sanitized-unit-tests build_and_ctest asan -j 2
else
  not_built sanitized-unit-tests asan
fi
fuzzer="$(find "$build/fuzz" -name load_fuzzer -type f -perm -u+x -print -quit 2>/dev/null)"
if [[ ${built[fuzz]} -ne 1 ]]; then
  not_built fuzz fuzz
elif [[ -z "$fuzzer" ]]; then
  skip fuzz "no load_fuzzer target in the tree"
else
  stage fuzz run_fuzzer "$fuzzer"
fi

# --- Windows, under Wine ---
if configured win64; then
  # shellcheck source=scripts/wine-env.sh
  if source "$root/scripts/wine-env.sh" "$build"; then
    wine_ready=1
    stage windows-unit-tests build_and_ctest win64
    # Where 32-bit programs run, the shipped i686 build is tested as well.
    if [[ $MOSAIKON_WIN32_RUNS -eq 1 ]] && configured win32; then
      stage windows32-unit-tests build_and_ctest win32
    fi
  else
    record windows-unit-tests "failed (no Wine environment)" 0
  fi
else
  not_built windows-unit-tests win64
fi

stage format format_check
stage layers bash "$root/scripts/check-layers.sh"

# The end-to-end suite tests the program we ship, the i686 build, where this
# machine runs 32-bit programs, and the x86_64 build elsewhere; the stage's
# name says which.
e2e_tree=win64 e2e_name=end-to-end-x86_64
if [[ ${MOSAIKON_WIN32_RUNS:-0} -eq 1 ]]; then
  e2e_tree=win32 e2e_name=end-to-end-i686
fi
if [[ ! -f "$root/tests/e2e/run.sh" ]]; then
  skip "$e2e_name" "tests/e2e/run.sh does not exist yet"
elif ! configured "$e2e_tree"; then
  not_built "$e2e_name" "$e2e_tree"
elif [[ $wine_ready -ne 1 ]]; then
  record "$e2e_name" "failed (no Wine environment)" 0
else
  stage "$e2e_name" bash "$root/tests/e2e/run.sh" "$build/$e2e_tree"
fi

# The setup program of the same build, installed and uninstalled in a Wine
# prefix of its own.
setup_test() {
  cmake --build "$build/$1" -j "${MOSAIKON_JOBS:-2}" --target installer &&
    bash "$root/tests/e2e/installer.sh" "$build/$1"
}
setup_name="installer-${e2e_name#end-to-end-}"
if ! configured "$e2e_tree"; then
  not_built "$setup_name" "$e2e_tree"
elif [[ $wine_ready -ne 1 ]]; then
  record "$setup_name" "failed (no Wine environment)" 0
else
  stage "$setup_name" setup_test "$e2e_tree"
fi

# --- summary ---
passed=0
failed=0
echo
echo "Summary ($(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s; logs in $logs):"
for i in "${!names[@]}"; do
  printf '  %-22s %-40s %5s s\n' "${names[$i]}" "${results[$i]}" "${seconds[$i]}"
  case "${results[$i]}" in
    passed) passed=$((passed + 1)) ;;
    failed*) failed=$((failed + 1)) ;;
  esac
done
[[ "$(uname -m)" == x86_64 && ${MOSAIKON_WIN32_RUNS:-0} -ne 1 ]] &&
  echo "  (this machine runs no 32-bit programs: the Windows tests and the end-to-end suite ran the x86_64 build)"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
