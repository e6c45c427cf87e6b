#!/usr/bin/env bash
# Installs the Release build into a temporary prefix and runs what a user gets: both programs
# once (usage, one real page through djvused, one page exported), the man pages through
# man --warnings, the Debian package (built, inspected, unpacked and run), and the archive
# recipe of README over three synthetic books, one of them damaged.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/ensure-tools.sh --install

fail() {
  echo "test-install: FAILED: $*" >&2
  exit 1
}

cmake --preset default >/dev/null
cmake --build --preset default -j 2 --target ocrsift rastrify make_frf_book man_ocrsift.1 \
  man_rastrify.1 >/dev/null
build=$root/build/default

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/ocrsift bin/rastrify bin/decoder/DjVuDecode.exe share/man/man1/ocrsift.1.gz \
  share/man/man1/rastrify.1.gz; do
  [ -e "$prefix/$file" ] || fail "the install lacks $file"
done

# A one-page document and the sample page's work file.
pbmmake -white 2480 3508 >"$work/blank.pbm"
cjb2 -dpi 300 "$work/blank.pbm" "$work/blank.djvu"

# check_programs <bin folder> <label>: usage, one page made searchable, one page exported.
check_programs() {
  local bin=$1 label=$2 code
  code=0
  "$bin/ocrsift" >"$work/out" 2>"$work/err" || code=$?
  [ "$code" = 1 ] && grep -q "Usage:" "$work/out" || fail "$label ocrsift usage (exit $code)"
  code=0
  "$bin/rastrify" >"$work/out" 2>"$work/err" || code=$?
  [ "$code" = 1 ] && grep -q "Usage:" "$work/out" || fail "$label rastrify usage (exit $code)"

  cp "$work/blank.djvu" "$work/page.djvu"
  "$bin/ocrsift" -p 1 "$root/tests/data/sample-v10.frf" | djvused "$work/page.djvu" ||
    fail "$label ocrsift | djvused"
  djvutxt "$work/page.djvu" >"$work/text"
  grep -q "world\\." "$work/text" && grep -q "Hello" "$work/text" ||
    fail "$label: the page has no text after djvused"

  rm -f "$work"/exported*
  "$bin/rastrify" -gpbm -p 1 "$work/page.djvu" "$work/exported" >"$work/out" ||
    fail "$label rastrify export"
  [ -s "$work/exported0001.pbm" ] && grep -q "Processed page #0001" "$work/out" ||
    fail "$label: page 1 was not exported"
  echo "$label: usage, one page through djvused, one page exported: ok"
}
check_programs "$prefix/bin" "installed"

# The man pages: no groff or man warnings, and man finds them in the prefix.
for page in ocrsift rastrify; do
  man --warnings -l "$prefix/share/man/man1/$page.1.gz" >/dev/null 2>"$work/warnings"
  [ ! -s "$work/warnings" ] || { cat "$work/warnings" >&2; fail "man --warnings $page.1"; }
  [ "$(MANPATH="$prefix/share/man" man -w "$page")" = "$prefix/share/man/man1/$page.1.gz" ] ||
    fail "man does not find $page in the prefix"
done
echo "man pages: ok"

# The Debian package: its dependencies, its files, and its programs unpacked and run.
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$build"/ocrsift_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for package in djvulibre-bin netpbm; do
  [[ ",$depends," == *", $package,"* || ",$depends," == *",$package,"* ]] ||
    fail "the package does not depend on $package: $depends"
done
dpkg-deb -x "$deb" "$work/deb"
for file in usr/bin/ocrsift usr/bin/rastrify usr/bin/decoder/DjVuDecode.exe \
  usr/share/man/man1/ocrsift.1.gz usr/share/man/man1/rastrify.1.gz; do
  [ -e "$work/deb/$file" ] || fail "the package lacks /$file"
done
check_programs "$work/deb/usr/bin" "$(basename "$deb")"

# The archive recipe of README, run as written over three books; the third has a damaged
# page, so the recipe must list it as failed and leave its document unchanged.
archive=$work/archive
for book in alpha beta gamma; do
  mkdir -p "$archive/$book/frf"
  "$build/bench/make_frf_book" -n 3 -w 40 -x page "$archive/$book/frf" >/dev/null
  djvm -c "$archive/$book/book.djvu" "$work/blank.djvu" "$work/blank.djvu" "$work/blank.djvu"
done
truncate -s 200 "$archive/gamma/frf/page0002.frf"
cp "$archive/gamma/book.djvu" "$work/gamma-before.djvu"
sed -n '/<!-- archive recipe -->/,/<!-- end of the archive recipe -->/p' README.md |
  sed -n '/^```/,/^```/p' | sed '1d;$d' >"$work/recipe.sh"
[ -s "$work/recipe.sh" ] || fail "README has no archive recipe"
(cd "$work" && PATH="$prefix/bin:$PATH" bash "$work/recipe.sh") >"$work/recipe.out" 2>"$work/recipe.err" ||
  true
cat "$work/recipe.out"
grep -q "^failed, exit [1-9][0-9]* signal 0: searchable archive/gamma/$" "$work/recipe.out" ||
  { cat "$work/recipe.err" >&2; fail "the damaged book is not listed"; }
! grep -q -e "alpha" -e "beta" "$work/recipe.out" || fail "a good book is listed as failed"
for book in alpha beta; do
  [ "$(djvused -e 'select 3; print-txt' "$archive/$book/book.djvu" | grep -c '(word')" -gt 0 ] ||
    fail "book $book has no text on page 3"
done
cmp -s "$archive/gamma/book.djvu" "$work/gamma-before.djvu" || fail "the damaged book was changed"
echo "archive recipe: ok"
