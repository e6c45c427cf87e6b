#!/usr/bin/env bash
# Makes sure the tools the build, the tests and the demo need are present. As root it installs
# what is missing with apt-get; otherwise it names the packages to install and fails.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
# zlib compresses the PDF's streams.
[ -f /usr/include/zlib.h ] || need+=(zlib1g-dev)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
have djvused && have cjb2 && have djvm && have ddjvu || need+=(djvulibre-bin)
have pnmtopng && have pnmtojpeg || need+=(netpbm)
have clang-format-14 || have clang-format || need+=(clang-format-14)
# The readers of the other output formats, for the end-to-end tests: OCRmyPDF's hocrtransform
# (Debian's package, run by /usr/bin/python3), pdftotext and xmllint.
[ -f /usr/lib/python3/dist-packages/ocrmypdf/hocrtransform.py ] || need+=(ocrmypdf)
have pdftotext || need+=(poppler-utils)
have xmllint || need+=(libxml2-utils)
# The PDF's readers and the tools of its recipes: qpdf, MuPDF, img2pdf, pdfgrep, Ghostscript.
have qpdf || need+=(qpdf)
have mutool || need+=(mupdf-tools)
have img2pdf || need+=(img2pdf)
have pdfgrep || need+=(pdfgrep)
have gs || need+=(ghostscript)
# The browsers' PDF engines, pdf.js and PDFium, run by Debian's node (npm packages, below).
have node || need+=(nodejs)
# Further tools for one part of CI each, asked for by flag (any number of them):
#   --fuzz      fuzz/run: clang with libFuzzer and the sanitizers' runtime, and a symbolizer
#   --valgrind  the memcheck run of the tests
#   --windows   the Windows build, its tests under wine (with a Japanese locale) and the zip
#   --install   the install test: man pages, the Debian package, the archive recipe, bench
#   --roundtrip scripts/roundtrip.py: python3-djvu reads djvused's listing back
for part in "$@"; do
  case "$part" in
    --fuzz)
      have clang++-14 || need+=(clang-14)
      ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
        need+=(libclang-rt-14-dev)
      have llvm-symbolizer-14 || need+=(llvm-14)
      ;;
    --valgrind)
      have valgrind || need+=(valgrind)
      ;;
    --windows)
      have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64)
      have x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
      have wine || need+=(wine)
      [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
      [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
      [ -f /usr/share/i18n/locales/ja_JP ] && have localedef || need+=(locales)
      [ -f /usr/x86_64-w64-mingw32/lib/libz.a ] || need+=(libz-mingw-w64-dev)
      ;;
    --install)
      have parallel || need+=(parallel)
      [ -x /usr/sbin/sshd ] || need+=(openssh-server)
      have ssh-keygen || need+=(openssh-client)
      have man || need+=(man-db)
      have groff || need+=(groff-base)
      have dpkg-shlibdeps || need+=(dpkg-dev)
      have gzip || need+=(gzip)
      have zip || need+=(zip)
      have unzip || need+=(unzip)
      [ -x /usr/bin/time ] || need+=(time)
      ;;
    --roundtrip)
      [ -x /usr/bin/python3 ] && /usr/bin/python3 -c "import djvu.sexpr" 2>/dev/null ||
        need+=(python3-djvu)
      ;;
    *)
      echo "ensure-tools: unknown part $part" >&2
      exit 2
      ;;
  esac
done

# pdf.js and PDFium for the end-to-end PDF check, pinned by tests/e2e/engines/package-lock.json
# and installed once into a cache folder outside the source tree (the tests look there, or in
# $OCRSIFT_ENGINES): nothing is fetched at test time.
install_engines() {
  local source cache
  source="$(cd "$(dirname "$0")/.." && pwd)/tests/e2e/engines"
  cache="${OCRSIFT_ENGINES:-${XDG_CACHE_HOME:-$HOME/.cache}/ocrsift-engines}"
  if [ -d "$cache/node_modules" ] && cmp -s "$source/package-lock.json" "$cache/package-lock.json"; then
    return 0
  fi
  if ! have npm; then
    echo "ensure-tools: npm is needed once to install pdf.js and PDFium into $cache" >&2
    return 1
  fi
  echo "Installing pdf.js and PDFium into $cache"
  mkdir -p "$cache"
  cp "$source/package.json" "$source/package-lock.json" "$cache/"
  (cd "$cache" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
}

if [ ${#need[@]} -eq 0 ]; then
  install_engines
  exit 0
fi
if [ "$(id -u)" -eq 0 ] && have apt-get; then
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
  install_engines
else
  echo "Missing tools. Please install these Debian packages: ${need[*]}" >&2
  echo "  sudo apt-get install ${need[*]}" >&2
  exit 1
fi
