#!/usr/bin/env bash
# Makes sure the tools the build, the tests and the demo need are present. As root it installs
# what is missing with apt-get; otherwise it names the packages to install and fails.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
have djvused && have cjb2 && have djvm && have ddjvu || need+=(djvulibre-bin)
have pnmtopng && have pnmtojpeg || need+=(netpbm)
have clang-format-14 || have clang-format || need+=(clang-format-14)
# fuzz/run: clang with libFuzzer and the sanitizers' runtime, and a symbolizer for the reports.
if [ "${1:-}" = "--fuzz" ]; then
  have clang++-14 || need+=(clang-14)
  ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
    need+=(libclang-rt-14-dev)
  have llvm-symbolizer-14 || need+=(llvm-14)
fi
# The memcheck run of the tests.
if [ "${1:-}" = "--valgrind" ]; then
  have valgrind || need+=(valgrind)
fi

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -eq 0 ] && have apt-get; then
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
else
  echo "Missing tools. Please install these Debian packages: ${need[*]}" >&2
  echo "  sudo apt-get install ${need[*]}" >&2
  exit 1
fi
