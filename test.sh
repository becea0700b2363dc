#!/usr/bin/env bash
# Builds everything and runs every test: once in a plain build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer with the fuzz targets. Each
# test runs alone, and each test program also runs once whole in one process.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest -j"$jobs" --timeout 300 --output-on-failure)

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DTALVORA_SANITIZE=ON -DTALVORA_FUZZ=ON >/dev/null
cmake --build build-asan -j"$jobs"
cd build-asan && ctest -j"$jobs" --timeout 300 --output-on-failure
