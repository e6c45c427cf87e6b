#!/usr/bin/env bash
# Runs every shell block of README as printed, in the order written, as the user who runs it:
# building, installing and the package in the checkout given (HOME a folder of this run, so
# that ~/.local is one too; apt and sudo are stand-ins that check what they are given and
# install nothing), then the recipes in a copy of the test book (its second work file missing)
# and of the test archive, here and over ssh. scripts/test-install.sh makes the fixtures and
# runs this as root and as an ordinary user.
#   scripts/readme-blocks.sh <checkout> <fixtures folder>
set -euo pipefail
checkout=$1
fixtures=$2
readme=$checkout/README.md
me=$(id -un)

fail() {
  echo "readme-blocks ($me): FAILED: $*" >&2
  exit 1
}

work=$(mktemp -d)
cleanup() {
  [ ! -e "$work/sshd.pid" ] || kill "$(cat "$work/sshd.pid")" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The blocks test-install knows how to run, in README's order; "quick start" is what a reader
# has done before (./demo.sh and ./test.sh, which CI runs by themselves).
known="quick start|build|install|package|djvused|scans|djvu|archive|archive over ssh|escriptorium|kitodo|ocrd|formats"

# Every shell block stands in a pair of markers of a known name, and every name is there.
awk -v known="$known" '
  /^<!-- end of the .* recipe -->$/ { name = ""; next }
  /^<!-- .* recipe -->$/ {
    name = $0; sub(/^<!-- /, "", name); sub(/ recipe -->$/, "", name)
    if (index("|" known "|", "|" name "|") == 0) { print "README: a block of unknown name: " name; bad = 1 }
    seen[name] = 1; next
  }
  /^```/ && !fenced {
    fenced = 1
    if ($0 ~ /^```(sh|bash|shell|console)?$/ && name == "") {
      print "README: a shell block outside a recipe pair, line " NR; bad = 1
    }
    next
  }
  /^```/ && fenced { fenced = 0; next }
  END {
    n = split(known, names, "|")
    for (i = 1; i <= n; ++i) if (!(names[i] in seen)) { print "README: no block " names[i]; bad = 1 }
    exit bad
  }' "$readme" || fail "README's blocks"

# block <name>: the shell code of README's block of that name.
block() {
  sed -n "/<!-- $1 recipe -->/,/<!-- end of the $1 recipe -->/p" "$readme" |
    sed -n '/^```/,/^```/p' | sed '1d;$d'
}

home=$work/home
shims=$work/shims
mkdir -p "$home" "$shims"
cat >"$shims/apt" <<EOF
#!/bin/sh
# apt's stand-in: takes "install ./<package>.deb" of a package that exists, installs nothing.
if [ "\$#" = 2 ] && [ "\$1" = install ] && [ "\${2#./}" != "\$2" ] && [ -f "\$2" ] &&
  dpkg-deb --info "\$2" >/dev/null; then
  echo "apt \$* as \$(id -u) in \$PWD" >>"$work/apt.log"
  exit 0
fi
echo "E: Unsupported file \$2 given on commandline" >&2
exit 100
EOF
cat >"$shims/sudo" <<EOF
#!/bin/sh
echo "sudo \$*" >>"$work/apt.log"
exec "\$@"
EOF
chmod +x "$shims/apt" "$shims/sudo"

# run_block <name> <folder> [bash option]: the block pasted into a shell in that folder.
run_block() {
  block "$1" >"$work/block.sh"
  [ -s "$work/block.sh" ] || fail "README's $1 block is empty"
  (cd "$2" && HOME=$home PATH="$shims:$home/.local/bin:$PATH" bash ${3:-} "$work/block.sh") \
    >"$work/block.out" 2>&1
}

# Building, installing, the package.
for name in build install package; do
  run_block "$name" "$checkout" -e || { cat "$work/block.out" >&2; fail "the $name block"; }
done
for file in bin/ocrsift bin/rastrify bin/decoder/DjVuDecode.exe share/man/man1/ocrsift.1.gz \
  share/man/man1/rastrify.1.gz share/doc/ocrsift/README.md share/doc/ocrsift/docs/options.md; do
  [ -e "$home/.local/$file" ] || fail "the install block left no ~/.local/$file"
done
# As root apt itself, as a user through sudo.
if [ "$(id -u)" = 0 ]; then sudo_lines=0; else sudo_lines=1; fi
[ "$(grep -c "^sudo apt install " "$work/apt.log" 2>/dev/null)" = "$sudo_lines" ] &&
  grep -q "^apt install ./ocrsift_[0-9.]*_[a-z0-9]*.deb as $(id -u) in $checkout/build/default$" \
    "$work/apt.log" || { cat "$work/apt.log" >&2; fail "the package block's apt install"; }
echo "build, install and package blocks ($me): ok"

# words <file>: the words of a text, one a line, sorted.
words() { tr -s ' \n\f' '\n\n\n' <"$1" | sed '/^$/d' | LC_ALL=C sort -u; }
# same_words <want> <have> <what>: every word of want is in have.
same_words() {
  words "$1" >"$work/want"
  words "$2" >"$work/have"
  [ -s "$work/want" ] || fail "$3: nothing to look for"
  LC_ALL=C comm -23 "$work/want" "$work/have" >"$work/lost"
  [ ! -s "$work/lost" ] || { head -3 "$work/lost" >&2; fail "$3 lacks words"; }
}
ocrsift=$home/.local/bin/ocrsift
# pdf_words <pdf> <page> <file>: the words of the page's text layer as pdftotext -bbox lists
# them and as plain pdftotext joins them.
pdf_words() {
  pdftotext -f "$2" -l "$2" -bbox "$1" - 2>/dev/null | sed -n 's/.*<word [^>]*>\(.*\)<\/word>.*/\1/p' |
    python3 -c 'import html, sys; sys.stdout.write(html.unescape(sys.stdin.read()))' >"$3"
  # A word broken at a line end is written as its printed parts; plain pdftotext joins them.
  pdftotext -f "$2" -l "$2" "$1" - 2>/dev/null >>"$3"
}

# The recipes of one book, whose second work file is missing: page 2 stays without text, and
# pages 1, 3 and 4 have their own.
book=$work/book
cp -r "$fixtures/book" "$book"
for page in 1 3 4; do
  "$ocrsift" -o text -p 1 "$book/frf/page000$page.frf" >"$work/page$page.txt"
done
run_block djvused "$book" -e || { cat "$work/block.out" >&2; fail "the djvused block"; }
for page in 1 3 4; do
  djvutxt --page="$page" "$book/book.djvu" >"$work/have.txt"
  same_words "$work/page$page.txt" "$work/have.txt" "the djvused block's page $page"
done
[ -z "$(djvutxt --page=2 "$book/book.djvu")" ] || fail "the djvused block gave page 2 text"
for name in scans djvu; do
  rm -f "$book/book.pdf"
  run_block "$name" "$book" -e || { cat "$work/block.out" >&2; fail "the $name block"; }
  [ "$(pdfinfo "$book/book.pdf" | awk '/^Pages:/ { print $2 }')" = 4 ] ||
    fail "the $name block's book has not 4 pages"
  for page in 1 3 4; do
    pdf_words "$book/book.pdf" "$page" "$work/have.txt"
    same_words "$work/page$page.txt" "$work/have.txt" "the $name block's page $page"
  done
  pdf_words "$book/book.pdf" 2 "$work/have.txt"
  [ -z "$(tr -d ' \n\f' <"$work/have.txt")" ] || fail "the $name block gave page 2 text"
done
# Scans at 150 dpi for FRF files at 300: the scans block stops, naming the page, and makes no
# book whose words would land off their pixels.
pbmmake -white 2480 3508 >"$work/blank.pbm"
for i in 1 2 3 4; do
  pnmtotiff -g4 -xresolution 150 -yresolution 150 "$work/blank.pbm" >"$book/scans/page000$i.tif"
done
rm -f "$book/book.pdf"
! run_block scans "$book" || fail "the scans block overlays 150 dpi scans"
grep -q "^page 1: the image is " "$work/block.out" || { cat "$work/block.out" >&2; fail "the scans block names no page"; }
[ ! -e "$book/book.pdf" ] || fail "the scans block made a book of 150 dpi scans"
cp "$fixtures/book/scans/"* "$book/scans/"
run_block formats "$book" -e || { cat "$work/block.out" >&2; fail "the formats block"; }
grep -q "class='ocr_page'\|class=\"ocr_page\"" "$book/book.hocr" || fail "the formats block's hOCR"
grep -q "<alto " "$book/book.xml" || fail "the formats block's ALTO"
grep -q "<PcGts " "$book/page0001.xml" || fail "the formats block's PAGE"
same_words "$work/page3.txt" "$book/book.txt" "the formats block's text"
[ -s "$book/page0001.tif" ] && [ -s "$book/page0002.tif" ] || fail "the formats block's images"
echo "djvused, scans, djvu and formats blocks ($me): ok"

# check_workspace <label> <folder> [images]: PAGE and ALTO files of pages 1, 3 and 4 (page 2's
# work file is missing), every document valid against its schema, the rule checker's rules
# kept, and with "images" the page images there under the names mets.xml gives them.
check_workspace() {
  local group
  for group in OCR-D-OCR-FR7:pagecontent-2019-07-15 FULLTEXT:alto-4-4-local; do
    [ "$(ls "$2/${group%%:*}"/*.xml | wc -l)" = 3 ] || fail "$1: not 3 files in ${group%%:*}"
    xmllint --noout --nonet --schema "$checkout/schemas/${group#*:}.xsd" "$2/${group%%:*}"/*.xml \
      2>/dev/null || fail "$1: ${group%%:*} not valid"
  done
  xmllint --noout --nonet --schema "$checkout/schemas/mets-1-12-1.xsd" "$2/mets.xml" 2>/dev/null ||
    fail "$1: mets.xml not valid"
  "$fixtures/workspace_rules" "$2" || fail "$1: the rule checker"
  [ "${3:-}" = images ] || return 0
  xmllint --xpath '//*[@USE="OCR-D-IMG"]/*/*/@*[local-name()="href"]' "$2/mets.xml" |
    sed 's/^ *[a-z:]*href="\(.*\)"$/\1/' >"$work/images"
  [ "$(wc -l <"$work/images")" = 3 ] || fail "$1: mets.xml names not 3 images"
  while read -r name; do
    [ -s "$2/$name" ] || fail "$1: image $name missing"
  done <"$work/images"
}
for name in escriptorium kitodo ocrd; do
  run_block "$name" "$book" -e || { cat "$work/block.out" >&2; fail "the $name block"; }
done
rm -rf "$work/unpacked" && mkdir -p "$work/unpacked/zip" "$work/unpacked/tar"
unzip -q "$book/book-escriptorium.zip" -d "$work/unpacked/zip"
tar -C "$work/unpacked/tar" -xzf "$book/book-delivery.tar.gz"
check_workspace "the escriptorium block" "$work/unpacked/zip" images
check_workspace "the kitodo block" "$work/unpacked/tar" images
check_workspace "the ocrd block" "$book/ocrd" images
# Work files whose headers name other images than rastrify's: the images go by those names.
named=$work/named
cp -r "$fixtures/named" "$named"
run_block escriptorium "$named" -e || { cat "$work/block.out" >&2; fail "the escriptorium block, named images"; }
mkdir -p "$work/unpacked/named"
unzip -q "$named/book-escriptorium.zip" -d "$work/unpacked/named"
check_workspace "the escriptorium block, named images" "$work/unpacked/named" images
[ -s "$work/unpacked/named/scan 0003.tif" ] ||
  fail "the escriptorium block, named images: no scan 0003.tif"
echo "escriptorium, kitodo and ocrd blocks ($me): ok"

# The archive: alpha and the Cyrillic book are good, gamma has a damaged page. The login
# shell of a machine need not set a locale, so the recipes run without one.
# check_archive <label> <exit status of the blocks>
check_archive() {
  [ "$2" = 1 ] || { cat "$work/block.out" >&2; fail "$1 ended with $2, not 1 failed book"; }
  [ "$(cat "$work/archive.expected")" = "$(sed -n 's/^failed: //p' "$work/block.out")" ] ||
    { cat "$work/block.out" >&2; fail "$1 did not list the damaged book alone"; }
  for name in alpha "Анна Каренина, том 2"; do
    for page in 1 2 3; do
      "$ocrsift" -o text -p 1 "$work/archive/$name/frf/page000$page.frf" >"$work/want.txt"
      djvutxt --page="$page" "$work/archive/$name/book.djvu" >"$work/have.txt"
      same_words "$work/want.txt" "$work/have.txt" "$1: $name's page $page"
      pdf_words "$work/archive/$name/book.pdf" "$page" "$work/have.txt"
      same_words "$work/want.txt" "$work/have.txt" "$1: $name's PDF page $page"
    done
    check_workspace "$1: $name's workspace" "$work/archive/$name/workspace"
  done
  [ ! -e "$work/archive/gamma/workspace" ] || fail "$1: the damaged book got a workspace"
  cmp -s "$work/archive/gamma/book.djvu" "$fixtures/archive/gamma/book.djvu" ||
    fail "$1: the damaged book was changed"
  [ ! -e "$work/archive/gamma/book.pdf" ] || fail "$1: the damaged book got a PDF"
  echo "$1 ($me): ok"
}
echo "archive/gamma/: ocrsift exit 2" >"$work/archive.expected"
block archive >"$work/archive.sh"
(cd "$work" && rm -rf archive && cp -r "$fixtures/archive" archive &&
  env -u LANG -u LC_ALL -u LC_CTYPE -u LANGUAGE HOME="$home" PATH="$home/.local/bin:$PATH" \
    bash "$work/archive.sh") >"$work/block.out" 2>&1 && code=0 || code=$?
check_archive "archive block" "$code"

# Over ssh: an ssh server of this user on 127.0.0.1 with a host key and a user key made here,
# which GNU parallel reaches through PARALLEL_SSH; the hosts file names that machine only.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/user_key"
cp "$work/user_key.pub" "$work/authorized_keys"
chmod 600 "$work/authorized_keys"
[ "$(id -u)" != 0 ] || mkdir -p /run/sshd
printf '%s\n' "Port $port" "ListenAddress 127.0.0.1" "HostKey $work/host_key" \
  "AuthorizedKeysFile $work/authorized_keys" "PidFile $work/sshd.pid" "StrictModes no" \
  "PasswordAuthentication no" "KbdInteractiveAuthentication no" "UsePAM no" \
  "PermitRootLogin prohibit-password" >"$work/sshd_config"
"$(command -v sshd || echo /usr/sbin/sshd)" -f "$work/sshd_config" -E "$work/sshd.log"
printf '%s\n' "Host 127.0.0.1" "  Port $port" "  User $me" "  IdentityFile $work/user_key" \
  "  IdentitiesOnly yes" "  StrictHostKeyChecking no" "  UserKnownHostsFile /dev/null" \
  "  LogLevel ERROR" >"$work/ssh_config"
echo 127.0.0.1 >"$work/hosts"
for _ in 1 2 3 4 5 6 7 8 9 10; do
  ssh -F "$work/ssh_config" 127.0.0.1 true 2>/dev/null && break
  sleep 0.5
done
ssh -F "$work/ssh_config" 127.0.0.1 true || { cat "$work/sshd.log" >&2; fail "the test's ssh server"; }
{
  block archive | sed '/^parallel /,$d'
  block "archive over ssh"
} >"$work/archive-ssh.sh"
(cd "$work" && rm -rf archive && cp -r "$fixtures/archive" archive &&
  env -u LANG -u LC_ALL -u LC_CTYPE -u LANGUAGE HOME="$home" PATH="$home/.local/bin:$PATH" \
    PARALLEL_SSH="ssh -F $work/ssh_config" bash "$work/archive-ssh.sh") >"$work/block.out" 2>&1 &&
  code=0 || code=$?
check_archive "archive over ssh block" "$code"
