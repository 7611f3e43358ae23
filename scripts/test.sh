#!/usr/bin/env bash
# Install what is missing, build, and run every test. Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 300
