#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the unit tests (ctest), then the
# fuzz targets built with clang, each run once over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
mkdir -p /tmp/plennix-runtime-test && chmod 700 /tmp/plennix-runtime-test
status=0
(cd build && ctest --output-on-failure -j"$(nproc)") || status=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLENNIX_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzz_all -j"$(nproc)"
(cd build-fuzz && ctest --output-on-failure -j"$(nproc)") || status=1
exit $status
