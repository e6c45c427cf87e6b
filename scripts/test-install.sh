#!/usr/bin/env bash
# Installs the Release build into a temporary prefix and runs what a user gets: both programs
# once (usage, one real page through djvused, one page exported), the man pages through
# man --warnings, the Debian package (built, inspected, unpacked and run), and every shell
# block of README as printed (scripts/readme-blocks.sh): as the user who runs this and, when
# that is root, as an ordinary user made for the test in a copy of the checkout.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/ensure-tools.sh --install

fail() {
  echo "test-install: FAILED: $*" >&2
  exit 1
}

cmake --preset default >/dev/null
cmake --build --preset default -j 2 --target ocrsift rastrify make_frf_book >/dev/null
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
  usr/share/man/man1/ocrsift.1.gz usr/share/man/man1/rastrify.1.gz usr/share/doc/ocrsift/README.md \
  usr/share/doc/ocrsift/docs/options.md; do
  [ -e "$work/deb/$file" ] || fail "the package lacks /$file"
done
check_programs "$work/deb/usr/bin" "$(basename "$deb")"

# The fixtures of README's recipes, readable by every user. A book of four pages whose second
# work file is missing (FineReader skipped it, or it was lost); an archive of three books, one
# with a folder name beyond ASCII holding blanks and a comma, one with a damaged page.
fixtures=$(mktemp -d)
userbase=
reader=ocrsift-readme
cleanup() {
  rm -rf "$work" "$fixtures"
  if [ -n "$userbase" ]; then
    rm -rf "$userbase"
    userdel "$reader" 2>/dev/null || true
  fi
}
trap cleanup EXIT
chmod 755 "$fixtures"
book=$fixtures/book
mkdir -p "$book/frf" "$book/scans"
"$build/bench/make_frf_book" -n 4 -w 60 -x page "$book/frf" >/dev/null
rm "$book/frf/page0002.frf"
for i in 1 2 3 4; do
  pnmtotiff -g4 -xresolution 300 -yresolution 300 "$work/blank.pbm" >"$book/scans/page000$i.tif"
done
djvm -c "$book/book.djvu" "$work/blank.djvu" "$work/blank.djvu" "$work/blank.djvu" "$work/blank.djvu"
# The same book from work files whose headers name other images ("C:\scans\scan 0001.tif"):
# the eScriptorium recipe must give the exported images those names.
mkdir -p "$fixtures/named/frf"
"$build/bench/make_frf_book" -n 4 -w 60 -x page -m 'C:\scans\scan ' "$fixtures/named/frf" >/dev/null
rm "$fixtures/named/frf/page0002.frf"
cp "$book/book.djvu" "$fixtures/named/"
seed=1
for name in alpha "Анна Каренина, том 2" gamma; do
  mkdir -p "$fixtures/archive/$name/frf"
  "$build/bench/make_frf_book" -n 3 -w 40 -s "$seed" -x page "$fixtures/archive/$name/frf" >/dev/null
  djvm -c "$fixtures/archive/$name/book.djvu" "$work/blank.djvu" "$work/blank.djvu" "$work/blank.djvu"
  seed=$((seed + 1))
done
truncate -s 200 "$fixtures/archive/gamma/frf/page0002.frf"
# The workspace rule checker, for the workspace recipes' results.
cmake --build --preset default -j 2 --target workspace_rules >/dev/null
cp "$build/workspace_rules" "$fixtures/"
chmod -R a+rX "$fixtures"

scripts/readme-blocks.sh "$root" "$fixtures"

# The same as an ordinary user in a copy of the checkout, which that user builds.
if [ "$(id -u)" = 0 ]; then
  userbase=$(mktemp -d)
  chmod 755 "$userbase"
  userdel "$reader" 2>/dev/null || true
  useradd --create-home --home-dir "$userbase/home" --shell /bin/bash "$reader"
  mkdir "$userbase/checkout"
  tar -C "$root" --exclude=./build --exclude=./demo-out -cf - . | tar -C "$userbase/checkout" -xf -
  chown -R "$reader": "$userbase/checkout"
  runuser -u "$reader" -- "$userbase/checkout/scripts/readme-blocks.sh" "$userbase/checkout" \
    "$fixtures"
fi
