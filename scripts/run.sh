#!/usr/bin/env bash
# Installs what is needed, builds, and starts Plennix on the bundled sample calendar. Without a
# display it says so and renders the sample to PDF and PNG instead, printing their paths.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
sample="$PWD/data/samples/Sample.PXF"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: rendering the sample calendar instead of opening a window."
  out="$PWD/build/sample-output"
  mkdir -p "$out"
  runtime=${XDG_RUNTIME_DIR:-/tmp/plennix-runtime-$(id -u)}
  mkdir -p "$runtime" && chmod 700 "$runtime" 2>/dev/null || true
  export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime"
  build/src/app/plennix --print-pdf "$out/Sample.pdf" "$sample"
  build/src/app/plennix --export-png "$out/Sample.png" "$sample"
  echo "PDF: $out/Sample.pdf"
  echo "PNG: $out/Sample.png"
else
  exec build/src/app/plennix "$sample"
fi
