#!/usr/bin/env bash
# End to end across platforms: the sample FRF pages through the Windows ocrsift (under wine,
# text-mode CR LF lines, a "/" wildcard) and through the Linux one; the real djvused must
# accept both scripts, and the saved documents must be byte for byte the same.
# Needs build/mingw-tests, build/asan and djvulibre-bin; WINEPREFIX set by the caller.
set -euo pipefail
cd "$(dirname "$0")/.."
windows=build/mingw-tests/ocrsift/driver/ocrsift.exe
linux=build/asan/ocrsift/driver/ocrsift
work=build/mingw-tests/djvused-e2e
rm -rf "$work"
mkdir -p "$work"

{ printf 'P4\n2480 3508\n'; head -c $((310 * 3508)) /dev/zero; } >"$work/blank.pbm"
cjb2 "$work/blank.pbm" "$work/page.djvu"
djvm -c "$work/book.djvu" "$work/page.djvu" "$work/page.djvu" "$work/page.djvu" "$work/page.djvu"
cp "$work/book.djvu" "$work/windows.djvu"
cp "$work/book.djvu" "$work/linux.djvu"

wine "$windows" -p 1 "tests/data/sample*.frf" >"$work/windows.dsed"
"$linux" -p 1 "tests/data/sample*.frf" >"$work/linux.dsed"

fail() { echo "windows-djvused-e2e: $*" >&2; exit 1; }
grep -q $'\r$' "$work/windows.dsed" || fail "the Windows script has no CR LF line ends"
tr -d '\r' <"$work/windows.dsed" | cmp -s - "$work/linux.dsed" ||
  fail "the two scripts differ in more than their line ends"
grep -q '^select 4' "$work/linux.dsed" || fail "not every sample became a page"
djvused "$work/windows.djvu" -f "$work/windows.dsed" || fail "djvused refused the Windows script"
djvused "$work/linux.djvu" -f "$work/linux.dsed" || fail "djvused refused the Linux script"
cmp -s "$work/windows.djvu" "$work/linux.djvu" || fail "the saved documents differ"
[ -n "$(djvutxt "$work/windows.djvu" | tr -d '[:space:]')" ] || fail "the document has no text"
echo "windows-djvused-e2e: both scripts give the same searchable document"
