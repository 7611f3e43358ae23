#!/usr/bin/env bash
# Configure and build into ./build (BUILD_DIR overrides it), one job per core.
# G7_SANITIZE=ON builds with AddressSanitizer and UBSan, e.g. BUILD_DIR=build-asan G7_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${G7_SANITIZE:+-DG7_SANITIZE=$G7_SANITIZE} "${launcher[@]}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
