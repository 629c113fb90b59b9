#!/usr/bin/env bash
# Installs what is needed, then builds and tests Plennix twice:
#   build/       gcc: program, unit tests and benchmarks; CTest runs every unit test.
#   build-fuzz/  clang with AddressSanitizer and UndefinedBehaviorSanitizer: unit tests and libFuzzer
#                targets; CTest runs every unit test and each fuzz target once over its seed corpus.
# Warnings in Plennix's own code are errors. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# A runtime folder of this run's own: Qt wants one that only this user can enter.
runtime=$(mktemp -d "${TMPDIR:-/tmp}/plennix-runtime-XXXXXX")
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
jobs=$(nproc)
status=0

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLENNIX_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs") || status=1

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLENNIX_FUZZ=ON \
  -DPLENNIX_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$jobs"
(cd build-fuzz && ctest --output-on-failure -j"$jobs") || status=1
exit $status
