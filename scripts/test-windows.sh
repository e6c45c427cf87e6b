#!/usr/bin/env bash
# Builds the Windows programs and their tests with MinGW-w64, runs the tests under wine and
# makes the Windows zip (build/mingw/ocrsift-*-win64.zip). As root it installs what is missing
# with apt-get; otherwise it names the packages to install and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-tools.sh --windows

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
cmake --preset mingw-tests >/dev/null
cmake --build --preset mingw-tests -j "$jobs"

# One wine server for the whole run, its prefix in the build tree. Its services start here,
# so that none of them holds the output of the first test that ctest lists.
export WINEPREFIX="$PWD/build/mingw-tests/wineprefix" WINEDEBUG=-all
wineserver -p || true  # exits 2 when the prefix's server already runs
trap 'wineserver -k || true' EXIT
wineboot -i >/dev/null 2>&1
# Now and then wine loses a test process before it starts ("wine client error:0: recvmsg:
# Connection reset by peer", the test failing in a few milliseconds). A failing test is run up to
# twice more; one that fails every time still fails the run. The Linux runs never repeat.
ctest --preset mingw-tests --repeat until-pass:3 "$@"
# The Windows script through the real (Linux) djvused, when the Linux build is there too.
if [ -x build/asan/ocrsift/driver/ocrsift ]; then
  scripts/windows-djvused-e2e.sh
fi

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs" --target package

# What the zip must hold, and the manifest and version resources in both programs.
zip=build/mingw/ocrsift-*-win64.zip
listing=$(cmake -E tar tf $zip)
for entry in WINDOWS.txt README.md docs/options.md bin/ocrsift.exe bin/rastrify.exe bin/decoder/README.txt; do
  grep -q "/$entry\$" <<<"$listing" || { echo "the zip lacks $entry" >&2; exit 1; }
done
for exe in build/mingw/ocrsift/driver/ocrsift.exe build/mingw/rastrify/rastrify.exe; do
  grep -ac '<longPathAware' "$exe" >/dev/null || { echo "$exe has no long-path manifest" >&2; exit 1; }
  if grep -ac '<activeCodePage' "$exe" >/dev/null; then echo "$exe sets a code page" >&2; exit 1; fi
  # Version strings are UTF-16 in the resources.
  ver=$(grep -F 'project(ocrsift VERSION' CMakeLists.txt | sed 's/.*VERSION \([0-9.]*\).*/\1/')
  LC_ALL=C grep -acP "P\x00r\x00o\x00d\x00u\x00c\x00t\x00V\x00e\x00r\x00s\x00i\x00o\x00n\x00(\x00\x00)+$(echo -n "$ver" | sed 's/./&\\x00/g')" "$exe" >/dev/null ||
    { echo "$exe has no product version $ver" >&2; exit 1; }
done
echo "Windows zip: $(ls $zip)"
