#!/usr/bin/env bash
# Runs a libFuzzer campaign of one fuzz target for SECONDS and merges the inputs that reached new
# coverage into its seed corpus, fuzz/corpus/<target>/ (commit them). Uses fuzz/dict/<target>.dict
# when there is one. Inputs that crash or hang are kept in build-fuzz/fuzz-artifacts/<target>/.
#   scripts/fuzz.sh rtf 600
# Targets: the names of fuzz/*_fuzz.cpp without "_fuzz".
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS" >&2
  exit 2
fi
target=${1%_fuzz}
seconds=$2
if [ ! -f "fuzz/${target}_fuzz.cpp" ]; then
  echo "no fuzz target '$target'; there are: $(cd fuzz && ls ./*_fuzz.cpp | sed 's|^\./||; s|_fuzz\.cpp$||' | tr '\n' ' ')" >&2
  exit 2
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLENNIX_FUZZ=ON \
    "${launcher[@]}" >/dev/null
fi
cmake --build build-fuzz --target "${target}_fuzz"
binary=$(find build-fuzz/fuzz -maxdepth 1 -type f -name "${target}_fuzz" | head -n 1)

work=$(mktemp -d "${TMPDIR:-/tmp}/plennix-fuzz-XXXXXX")
chmod 700 "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/new" "$work/runtime" "build-fuzz/fuzz-artifacts/$target"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen PLENNIX_PPI=96
export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan.supp:print_suppressions=0"

corpus="fuzz/corpus/$target"
mkdir -p "$corpus"
options=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
         -artifact_prefix="build-fuzz/fuzz-artifacts/$target/")
if [ -f "fuzz/dict/$target.dict" ]; then options+=(-dict="fuzz/dict/$target.dict"); fi

# New inputs go to the first folder, a scratch one; the seeds are read from both.
status=0
"$binary" "${options[@]}" "$work/new" "$corpus" || status=$?
before=$(find "$corpus" -type f | wc -l)
"$binary" -merge=1 -rss_limit_mb=2048 -timeout=10 "$corpus" "$work/new"
after=$(find "$corpus" -type f | wc -l)
echo "fuzz.sh: $target: $((after - before)) new inputs merged into $corpus ($after in all)"
if [ $status -ne 0 ]; then
  echo "fuzz.sh: $target failed (exit $status); the input is in build-fuzz/fuzz-artifacts/$target/" >&2
fi
exit $status
