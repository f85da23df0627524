#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit tests natively, then the end-to-end tests under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
bash scripts/build.sh || { echo "0 passed, 1 failed"; exit 1; }
cd build/native
ctest --output-on-failure -j2
