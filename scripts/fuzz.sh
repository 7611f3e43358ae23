#!/usr/bin/env bash
# Long fuzz runs, by hand: builds the libFuzzer targets with clang into
# ./build-fuzz and runs each for RUNS cases (default 10000) on a working copy of
# its seed corpus, e.g. `RUNS=100000 bash scripts/fuzz.sh queries profile`.
# Crashes land in build-fuzz/fuzz/crash-*; replay one with `build/fuzz/fuzz_<name> <file>`.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${RUNS:-10000}"
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if command -v ninja >/dev/null 2>&1 && [ ! -f build-fuzz/CMakeCache.txt ]; then launcher+=(-G Ninja); fi
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 -DG7_FUZZ=ON \
  "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc)"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(catalogue profile macrofile namelists gundata language eventreport queries pf)
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QT_QPA_PLATFORM=offscreen
# Paths are absolute: a target changes into its own data folder on its first case,
# and libFuzzer reads the seeds and writes what it finds after that.
out="$PWD/build-fuzz/fuzz"
for t in "${targets[@]}"; do
  work="$out/corpus-$t"
  mkdir -p "$work"
  # The installation's files that seed this reader, as the build laid them out for CTest.
  cp -n tests/fuzz/corpus/"$t"/* "$out/installed-$t"/* "$work"/ 2>/dev/null || true
  # The INI dialect's tokens for every target that reads an INI file.
  dict=(-dict="$PWD/tests/fuzz/ini.dict")
  case "$t" in eventreport|queries) dict=() ;; esac
  echo "== $t: $runs cases"
  "$out/fuzz_$t" -runs="$runs" -max_len=8192 -timeout=10 -print_final_stats=1 -artifact_prefix="$out/" \
      "${dict[@]}" "$work" 2>&1 | grep -E "stat::number_of_executed_units|stat::new_units_added|INITED|DONE|ERROR|SUMMARY|Done" || true
done
