#!/usr/bin/env bash
# Install what is missing, build, and run every test twice: in the normal build
# (./build) and in the AddressSanitizer + UBSan build (./build-asan), the fuzz
# replay included. Ends with each configuration's CTest summary; fails when either fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

status=0
run_config() {
  local dir=$1
  echo "== $dir: build"
  BUILD_DIR=$dir G7_SANITIZE=$2 bash scripts/build.sh
  echo "== $dir: test"
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)" --timeout 300) || status=1
}
run_config build OFF
run_config build-asan ON
exit $status
