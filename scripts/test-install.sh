#!/usr/bin/env bash
# Installs the Release build into a temporary prefix and runs what a user gets: both programs
# once (usage, one real page through djvused, one page exported), the man pages through
# man --warnings, the Debian package (built, inspected, unpacked and run), README's
# searchable-PDF recipes (from the scans, from the DjVu book), its workspace recipes
# (eScriptorium, Kitodo, OCR-D), and its archive recipe over three synthetic books, one of them
# damaged, on this machine and over ssh.
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

# recipe <name>: the shell code of README's recipe of that name.
recipe() {
  sed -n "/<!-- $1 recipe -->/,/<!-- end of the $1 recipe -->/p" README.md |
    sed -n '/^```/,/^```/p' | sed '1d;$d'
}

# words_found <pdf> <frf folder>: every word of the book's text is a word of the PDF's text
# layer as pdftotext -bbox lists them.
words_found() {
  "$prefix/bin/ocrsift" -o text -p 1 "$2/*.frf" | tr -s ' \n\f' '\n' | LC_ALL=C sort -u >"$work/want"
  pdftotext -bbox "$1" - | sed -n 's/.*<word [^>]*>\(.*\)<\/word>.*/\1/p' |
    python3 -c 'import html, sys; sys.stdout.write(html.unescape(sys.stdin.read()))' |
    LC_ALL=C sort -u >"$work/have"
  [ -s "$work/want" ] || return 1
  LC_ALL=C comm -23 "$work/want" "$work/have" >"$work/lost" || true
  [ ! -s "$work/lost" ] || { head "$work/lost" >&2; return 1; }
}

# The searchable-PDF recipes as written: from the scans (TIFF G4 pages at 300 dpi) and from
# the DjVu book.
pdfbook=$work/pdfbook
mkdir -p "$pdfbook/scans"
"$build/bench/make_frf_book" -n 3 -w 60 -x page "$pdfbook/scans" >/dev/null
cp -r "$pdfbook/scans" "$pdfbook/frf"
for i in 1 2 3; do
  pnmtotiff -g4 -xresolution 300 -yresolution 300 "$work/blank.pbm" >"$pdfbook/scans/page000$i.tif"
done
djvm -c "$pdfbook/book.djvu" "$work/blank.djvu" "$work/blank.djvu" "$work/blank.djvu"
for name in scans djvu; do
  recipe "$name" >"$work/$name.sh"
  [ -s "$work/$name.sh" ] || fail "README has no $name recipe"
  rm -f "$pdfbook/book.pdf"
  (cd "$pdfbook" && PATH="$prefix/bin:$PATH" bash -e "$work/$name.sh") >"$work/$name.out" 2>&1 ||
    { cat "$work/$name.out" >&2; fail "the $name recipe"; }
  [ "$(pdfinfo "$pdfbook/book.pdf" | awk '/^Pages:/ { print $2 }')" = 3 ] ||
    fail "the $name recipe's book has not 3 pages"
  words_found "$pdfbook/book.pdf" "$pdfbook/frf" || fail "the $name recipe's book lacks words"
  echo "$name recipe: ok"
done

# The archive recipe of README, run as written over three books; the third has a damaged
# page, so the recipe must list it as failed, leave its document unchanged and make no PDF.
archive=$work/archive
make_archive() {
  rm -rf "$archive" "$work/books.log"
  for book in alpha beta gamma; do
    mkdir -p "$archive/$book/frf"
    "$build/bench/make_frf_book" -n 3 -w 40 -x page "$archive/$book/frf" >/dev/null
    djvm -c "$archive/$book/book.djvu" "$work/blank.djvu" "$work/blank.djvu" "$work/blank.djvu"
  done
  truncate -s 200 "$archive/gamma/frf/page0002.frf"
  cp "$archive/gamma/book.djvu" "$work/gamma-before.djvu"
}
# check_archive <label> <recipe script>
check_archive() {
  (cd "$work" && PATH="$prefix/bin:$PATH" bash "$2") >"$work/recipe.out" 2>"$work/recipe.err" ||
    true
  cat "$work/recipe.out"
  grep -q "^failed, exit [1-9][0-9]* signal 0: searchable archive/gamma/$" "$work/recipe.out" ||
    { cat "$work/recipe.err" >&2; fail "$1: the damaged book is not listed"; }
  ! grep -q -e "alpha" -e "beta" "$work/recipe.out" || fail "$1: a good book is listed as failed"
  for book in alpha beta; do
    [ "$(djvused -e 'select 3; print-txt' "$archive/$book/book.djvu" | grep -c '(word')" -gt 0 ] ||
      fail "$1: book $book has no text on page 3"
    words_found "$archive/$book/book.pdf" "$archive/$book/frf" ||
      fail "$1: the PDF of book $book lacks words"
  done
  cmp -s "$archive/gamma/book.djvu" "$work/gamma-before.djvu" ||
    fail "$1: the damaged book was changed"
  [ ! -e "$archive/gamma/book.pdf" ] || fail "$1: the damaged book got a PDF"
  echo "$1: ok"
}
make_archive
recipe archive >"$work/recipe.sh"
[ -s "$work/recipe.sh" ] || fail "README has no archive recipe"
check_archive "archive recipe" "$work/recipe.sh"

# The workspace recipes as written over a three-page DjVu book and its FRF files: the
# eScriptorium ZIP and the Kitodo archive hold mets.xml, every file it names and every image,
# each PAGE, ALTO and METS document valid against its schema and keeping the rule checker's
# rules; the OCR-D recipe copies the scans mets.xml names; the archive's good books got a
# workspace, the damaged one none.
cmake --build --preset default -j 2 --target workspace_rules >/dev/null
wsbook=$work/wsbook
mkdir -p "$wsbook/frf"
"$build/bench/make_frf_book" -n 3 -w 60 -x page "$wsbook/frf" >/dev/null
cp -r "$wsbook/frf" "$wsbook/scans"
for i in 1 2 3; do cp "$pdfbook/scans/page000$i.tif" "$wsbook/scans/"; done
cp "$pdfbook/book.djvu" "$wsbook/book.djvu"
# check_workspace <label> <folder> [images]: the documents valid, the rules kept, and with
# "images" the page images there.
check_workspace() {
  for group in OCR-D-OCR-FR7:pagecontent-2019-07-15 FULLTEXT:alto-4-4-local; do
    [ "$(ls "$2/${group%%:*}"/*.xml | wc -l)" = 3 ] || fail "$1: not 3 files in ${group%%:*}"
    xmllint --noout --nonet --schema "schemas/${group#*:}.xsd" "$2/${group%%:*}"/*.xml 2>/dev/null ||
      fail "$1: ${group%%:*} not valid"
  done
  xmllint --noout --nonet --schema schemas/mets-1-12-1.xsd "$2/mets.xml" 2>/dev/null ||
    fail "$1: mets.xml not valid"
  "$build/workspace_rules" "$2" || fail "$1: the rule checker"
  [ "${3:-}" != images ] || for i in 1 2 3; do
    [ -s "$2/page000$i.tif" ] || fail "$1: image $i missing"
  done
}
for name in escriptorium kitodo ocrd; do
  recipe "$name" >"$work/$name.sh"
  [ -s "$work/$name.sh" ] || fail "README has no $name recipe"
  (cd "$wsbook" && PATH="$prefix/bin:$PATH" bash -e "$work/$name.sh") >"$work/$name.out" 2>&1 ||
    { cat "$work/$name.out" >&2; fail "the $name recipe"; }
done
rm -rf "$work/unpacked" && mkdir -p "$work/unpacked/zip" "$work/unpacked/tar"
unzip -q "$wsbook/book-escriptorium.zip" -d "$work/unpacked/zip"
tar -C "$work/unpacked/tar" -xzf "$wsbook/book-delivery.tar.gz"
check_workspace "escriptorium recipe" "$work/unpacked/zip" images
check_workspace "kitodo recipe" "$work/unpacked/tar" images
check_workspace "ocrd recipe" "$wsbook/ocrd" images
for book in alpha beta; do
  check_workspace "archive recipe's workspace of $book" "$archive/$book/workspace"
done
[ ! -e "$archive/gamma/workspace" ] || fail "archive recipe: the damaged book got a workspace"
echo "workspace recipes (escriptorium, kitodo, ocrd) and the archive's workspaces: ok"

# The same over ssh: an ssh server on 127.0.0.1 with a host key and a user key made here, which
# GNU parallel reaches through PARALLEL_SSH; the hosts file names that machine only.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/user_key"
cp "$work/user_key.pub" "$work/authorized_keys"
chmod 600 "$work/authorized_keys"
mkdir -p /run/sshd
printf '%s\n' "Port $port" "ListenAddress 127.0.0.1" "HostKey $work/host_key" \
  "AuthorizedKeysFile $work/authorized_keys" "PidFile $work/sshd.pid" "StrictModes no" \
  "PasswordAuthentication no" "KbdInteractiveAuthentication no" "UsePAM no" \
  "PermitRootLogin prohibit-password" >"$work/sshd_config"
"$(command -v sshd || echo /usr/sbin/sshd)" -f "$work/sshd_config" -E "$work/sshd.log"
trap 'kill "$(cat "$work/sshd.pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$work"' EXIT
printf '%s\n' "Host 127.0.0.1" "  Port $port" "  User $(id -un)" "  IdentityFile $work/user_key" \
  "  IdentitiesOnly yes" "  StrictHostKeyChecking no" "  UserKnownHostsFile /dev/null" \
  "  LogLevel ERROR" >"$work/ssh_config"
echo 127.0.0.1 >"$work/hosts"
for _ in 1 2 3 4 5 6 7 8 9 10; do
  ssh -F "$work/ssh_config" 127.0.0.1 true 2>/dev/null && break
  sleep 0.5
done
ssh -F "$work/ssh_config" 127.0.0.1 true || { cat "$work/sshd.log" >&2; fail "the test's ssh server"; }
make_archive
{
  recipe archive | sed '/^parallel /,$d'
  recipe "archive over ssh"
} >"$work/recipe-ssh.sh"
grep -q -- "--sshloginfile hosts" "$work/recipe-ssh.sh" || fail "README has no archive over ssh recipe"
PARALLEL_SSH="ssh -F $work/ssh_config" check_archive "archive over ssh recipe" "$work/recipe-ssh.sh"
