#!/usr/bin/env bash
# Builds the programs and shows them at work on a bundled sample.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-tools.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" >/dev/null
echo "== ocrsift without arguments shows its usage:"
build/default/ocrsift/driver/ocrsift || true
echo
