#!/usr/bin/env bash
# The main job on a bundled sample: a small book of two DjVu pages with visible text, the
# FineReader work files of its pages (tests/data), ocrsift's script applied with djvused, the
# recovered text searched for a word that was hyphenated across lines, and two pages exported
# as images with rastrify. Everything is made in demo-out/, laid out as README's recipes expect
# a book: book.djvu, frf/ and scans/.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
scripts/ensure-tools.sh

echo "== Building ocrsift and rastrify (build/default)"
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target ocrsift rastrify >/dev/null
ocrsift=$root/build/default/ocrsift/driver/ocrsift
rastrify=$root/build/default/rastrify/rastrify

out=$root/demo-out
rm -rf "$out"
mkdir -p "$out/frf" "$out/scans" "$out/images"

# One text line rendered with netpbm's built-in font, scaled to the line's height and pasted
# where the work file says the line is.
paste_line() {  # page.pbm text left top height
  pbmtext -- "$2" | pamscale -height "$5" 2>/dev/null | pamthreshold -simple 2>/dev/null |
    pamtopnm >"$out/line.pbm"
  pnmpaste "$out/line.pbm" "$3" "$4" "$1" >"$out/page.tmp" && mv "$out/page.tmp" "$1"
}

echo "== Making a two-page book with visible text: $out/book.djvu"
for page in 1 2; do
  pbm=$out/page$page.pbm
  pbmmake -white 2480 3508 >"$pbm"
  paste_line "$pbm" "Hello wor-" 100 200 60
  paste_line "$pbm" "ld." 100 300 60
  paste_line "$pbm" "naive cafe" 100 400 60
  paste_line "$pbm" "Ubung" 100 500 60
  cjb2 "$pbm" "$out/page$page.djvu"
  # The scans as README's searchable-PDF recipe takes them: TIFF G4 at 300 dpi.
  pnmtotiff -g4 -xresolution 300 -yresolution 300 "$pbm" >"$out/scans/page000$page.tif"
done
djvm -c "$out/book.djvu" "$out/page1.djvu" "$out/page2.djvu"
rm -f "$out"/page?.pbm "$out"/page?.djvu "$out/line.pbm"

# The FineReader work files of the two pages: one of each format version.
cp tests/data/sample-v6.frf "$out/frf/page0001.frf"
cp tests/data/sample-v10.frf "$out/frf/page0002.frf"

echo "== Text layer before: $(djvutxt "$out/book.djvu" | wc -c) bytes of hidden text"
echo
echo "== ocrsift -t: which work files are readable"
"$ocrsift" -t "$out/frf/*.frf"
echo
echo
echo "== ocrsift -g \"frf/*.frf\" | djvused book.djvu   (page numbers from the file names)"
"$ocrsift" -g "$out/frf/*.frf" | djvused "$out/book.djvu"
echo
echo "== The recovered text (djvutxt book.djvu):"
djvutxt "$out/book.djvu"
echo
echo "== Searching for \"world\", hyphenated across lines on both pages:"
djvutxt "$out/book.djvu" | grep -n "world" || { echo "not found"; exit 1; }
echo
echo "== Page 1's words with their rectangles (djvused -e 'select 1; print-txt'):"
djvused -u "$out/book.djvu" -e 'select 1; print-txt'
echo
echo "== rastrify -p 1-2 -g pgm: exporting both pages as images"
"$rastrify" -p 1-2 -g pgm "$out/book.djvu" "$out/images/page"
echo
ls -l "$out/images"
echo
echo "Done. The book with its text layer is $out/book.djvu; README's recipes run in $out."
