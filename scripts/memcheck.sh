#!/usr/bin/env bash
# The whole test suite under valgrind memcheck, without sanitizers (preset "valgrind"). Every
# test program runs under valgrind, and so do the ocrsift and rastrify processes the end-to-end
# tests start (--trace-children); the system tools (djvulibre, netpbm, the shell) and the
# decoder script are skipped. Any memory error or definite/indirect leak fails the test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-tools.sh --valgrind
cmake --preset valgrind >/dev/null
cmake --build --preset valgrind -j "$(nproc)"
ctest --preset valgrind -j "$(nproc)" "$@"
