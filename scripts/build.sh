#!/usr/bin/env bash
# Configure and build into ./build (BUILD_DIR overrides it), one job per core.
# G7_SANITIZE=ON builds with AddressSanitizer and UBSan, e.g. BUILD_DIR=build-asan G7_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
# BUILD_TYPE overrides RelWithDebInfo (CI builds Release: no debug info to write and link).
build_type="${BUILD_TYPE:-RelWithDebInfo}"
args=()
if command -v ccache >/dev/null 2>&1; then args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Ninja when it is there and the folder was not configured with another generator.
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build_dir/CMakeCache.txt" ]; then args+=(-G Ninja); fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="$build_type" ${G7_SANITIZE:+-DG7_SANITIZE=$G7_SANITIZE} "${args[@]}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
