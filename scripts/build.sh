#!/usr/bin/env bash
# Builds the Windows program (MinGW-w64 cross build) and the native unit tests.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DCHW_BUILD_E2E=ON >/dev/null
cmake --build build/win -j"$JOBS"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$JOBS"
