#!/usr/bin/env bash
# Builds the native Release tree with the benchmarks and runs them; arguments
# go to Google Benchmark (e.g. --benchmark_filter=Ansi).
#   scripts/bench.sh [benchmark options]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MOSAIKON_BUILD_DIR:-$root/build}"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native
cd "$root"
exec "$build/native/bench/mosaikon_bench" "$@"
