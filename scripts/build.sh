#!/usr/bin/env bash
# Configures and builds Mosaikon's build trees (Ninja, two jobs by default).
#   scripts/build.sh [native|asan|fuzz|win32|win64|product|docdump|all]...
# native  Release, unit tests, benchmarks, docdump     -> build/native
# asan    unit tests with AddressSanitizer and UBSan     -> build/asan
# fuzz    the libFuzzer target, built with clang         -> build/fuzz
# win32   i686 Windows build: the shipped program        -> build/win32
# win64   x86_64 Windows build, runs under 64-bit Wine   -> build/win64
# product only Mosaikon.exe (and its font), for ./run.sh, in the tree this
#         machine runs: win32 where it runs 32-bit programs, win64 elsewhere
# docdump only the docdump tool in native
# Environment: MOSAIKON_BUILD_DIR (default <repo>/build), MOSAIKON_JOBS (2).
# Output goes to build/logs/cmake-<tree>.log and is shown when a step fails.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MOSAIKON_BUILD_DIR:-$root/build}"
jobs="${MOSAIKON_JOBS:-2}"
mkdir -p "$build/logs"

# Sets `args` to the cmake options of a tree.
configure_args() {
  case "$1" in
    native) args=(-DCMAKE_BUILD_TYPE=Release -DMOSAIKON_TESTS=ON -DMOSAIKON_BENCH=ON) ;;
    # -O1 keeps the sanitized tests quick while assertions stay on.
    asan) args=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" -DMOSAIKON_TESTS=ON -DMOSAIKON_SANITIZE=ON) ;;
    fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
      -DMOSAIKON_TESTS=ON -DMOSAIKON_FUZZ=ON) ;;
    win32) args=(-DCMAKE_BUILD_TYPE=Release -DMOSAIKON_TESTS=ON
      "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-mingw-i686.cmake") ;;
    win64) args=(-DCMAKE_BUILD_TYPE=Release -DMOSAIKON_TESTS=ON
      "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-mingw-x86_64.cmake") ;;
  esac
}

# True when the configured tree has a target of that name.
has_target() {
  # No grep -q: it would stop reading early and, with pipefail, fail the pipe.
  ninja -C "$build/$1" -t targets all 2>/dev/null | grep "^$2: " >/dev/null
}

# configure TREE: (re)configures build/TREE; cheap when nothing changed.
configure() {
  local tree="$1" log="$build/logs/cmake-$1.log" args
  configure_args "$tree"
  if ! cmake -S "$root" -B "$build/$tree" -G Ninja "${args[@]}" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "build: configuring $tree failed (log: $log)" >&2
    return 1
  fi
}

# compile TREE [TARGET...]: builds the targets (all when none are given).
compile() {
  local tree="$1" log="$build/logs/cmake-$1.log" started=$SECONDS
  shift
  local targets=()
  local target
  for target in "$@"; do targets+=(--target "$target"); done
  if ! cmake --build "$build/$tree" -j "$jobs" "${targets[@]}" >>"$log" 2>&1; then
    grep -E 'error|Error|FAILED' "$log" | head -n 40 >&2
    echo "build: building $tree failed (log: $log)" >&2
    return 1
  fi
  echo "build: $tree ${*:-all} ready ($((SECONDS - started)) s)"
}

build_tree() {
  local tree="$1"
  configure "$tree" || return 1
  case "$tree" in
    asan) compile asan mosaikon_unit_tests ;;
    fuzz)
      if has_target fuzz load_fuzzer; then
        compile fuzz load_fuzzer
      else
        echo "build: fuzz has no load_fuzzer target yet; skipped"
      fi
      ;;
    *) compile "$tree" ;;
  esac
}

# The Windows tree whose program Wine runs here, asked the way wine-env.sh asks.
running_tree() {
  if [[ -x /usr/lib/wine/wine ]] && bash "$root/scripts/install-deps.sh" --check-i386; then
    echo win32
  else
    echo win64
  fi
}

build_product() {
  local tree
  tree="$(running_tree)"
  configure "$tree" || return 1
  if has_target "$tree" Mosaikon; then
    # The program, and the raster font it loads when the system has none.
    local targets=(Mosaikon)
    has_target "$tree" terminal_font && targets+=(terminal_font)
    compile "$tree" "${targets[@]}" || return 1
  else
    echo "build: $tree has no Mosaikon target yet"
  fi
}

[[ $# -gt 0 ]] || set -- all
status=0
for what in "$@"; do
  case "$what" in
    native | asan | fuzz | win32 | win64) build_tree "$what" || status=1 ;;
    product) build_product || status=1 ;;
    docdump) { configure native && compile native docdump; } || status=1 ;;
    all) for tree in native asan fuzz win32 win64; do build_tree "$tree" || status=1; done ;;
    *)
      echo "usage: scripts/build.sh [native|asan|fuzz|win32|win64|product|docdump|all]..." >&2
      exit 2
      ;;
  esac
done
exit $status
