#!/usr/bin/env bash
# Runs two ocrsift programs on the same large set of inputs in every mode and every output
# format (-o with each name of scripts/format-names.sh) and compares their standard output,
# standard error and exit code byte for byte: the check of a change that must not change
# behaviour. Inputs: the samples of tests/data, a generated book (make_frf_book, every sixth
# page ending in a word the next page completes, built by the default preset when missing),
# every cut of each sample, and damaged copies (every byte of the two text samples set to 00, FF
# and itself + 1, random bytes of the rest; two book pages cut and damaged at random places).
# The samples and book pages run alone in every mode, the cut and damaged copies in lists of 40
# in every mode and, 4000 of them chosen at random, alone in the plain mode; each of these in
# every format.
#   scripts/compare-ocrsift.sh OLD NEW [-n pages] [-k folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 2 ] || { sed -n '2,12p' "$0" >&2; exit 2; }
old=$(realpath "$1") new=$(realpath "$2")
shift 2
pages=300 work=""
while getopts n:k: opt; do
  case $opt in n) pages=$OPTARG ;; k) work=$OPTARG ;; *) exit 2 ;; esac
done
[ -n "$work" ] || { work=$(mktemp -d); trap 'rm -rf "$work"' EXIT; }
make_book=$root/build/default/bench/make_frf_book
[ -x "$make_book" ] || cmake --build --preset default --target make_frf_book -j2 >/dev/null

mkdir -p "$work/in/book" && cd "$work/in"
cp "$root"/tests/data/*.frf .
"$make_book" -n "$pages" -w 120 -v mixed -t 8 -i 5 -b 7 -e 6 book >/dev/null
python3 - <<'EOF'
import glob, os, random
random.seed(17)
os.makedirs("cut", exist_ok=True); os.makedirs("bad", exist_ok=True)
for name in sorted(glob.glob("sample*.frf")) + ["book/page0003.frf", "book/page0008.frf"]:
    data = open(name, "rb").read()
    stem = os.path.basename(name)[:-4]
    cuts = range(len(data)) if "book" not in name else random.sample(range(len(data)), 800)
    for n in cuts:
        open(f"cut/{stem}-{n:05d}.frf", "wb").write(data[:n])
    spots = [(i, v) for i in range(len(data)) for v in (0, 255, (data[i] + 1) % 256)]
    if "frames" in name or "book" in name:
        spots = random.sample(spots, 1500)
    for i, v in spots:
        open(f"bad/{stem}-{i:05d}-{v:02X}.frf", "wb").write(data[:i] + bytes([v]) + data[i + 1:])
for kind in ("cut", "bad"):
    files = sorted(glob.glob(kind + "/*.frf"))
    for k in range(0, len(files), 40):
        open(f"{kind}-{k // 40:04d}.lst", "w").write("\n".join(os.path.abspath(f) for f in files[k:k + 40]) + "\n")
copies = sorted(glob.glob("cut/*.frf") + glob.glob("bad/*.frf"))
open("alone.txt", "w").write("\n".join(random.sample(copies, min(4000, len(copies)))) + "\n")
EOF

# One comparison per line "mode|input": both programs in the same folder with the same words.
compare() {
  local tmp line mode input side rc
  tmp=$(mktemp -d)
  mkdir "$tmp/old" "$tmp/new"
  for line in "$@"; do
    mode=${line%|*} input=${line#*|}
    for side in old new; do
      rc=0
      # shellcheck disable=SC2086 # the mode is several words
      "${!side}" $mode "$input" >"$tmp/$side/out" 2>"$tmp/$side/err" || rc=$?
      echo "$rc" >"$tmp/$side/rc"
    done
    echo run
    diff -rq "$tmp/old" "$tmp/new" >/dev/null || echo "differs: ocrsift $mode $input"
  done
  rm -rf "$tmp"
}
export -f compare
export old new

modes=("-p 1" "-i -p 1" "-h -p 1" "-v -p 1" "-l" "-l2 6" "-d" "-t" "-t -q" "-g")
mapfile -t formats < <("$root/scripts/format-names.sh")
{
  for format in "${formats[@]}"; do
    for mode in "${modes[@]}"; do
      for input in sample*.frf book/*.frf "book/*.frf"; do echo "-o $format $mode|$input"; done
      for list in *.lst; do echo "-o $format $mode|@$list"; done
    done
    while read -r input; do echo "-o $format -p 1|$input"; done <alone.txt
  done
} | xargs -d '\n' -n 50 -P 2 bash -c 'compare "$@"' _ >"$work/results"
runs=$(grep -c '^run$' "$work/results" || true)
differences=$(grep -c '^differs' "$work/results" || true)
grep '^differs' "$work/results" | head -20 || true
echo "compare-ocrsift: $runs runs, $differences differences"
[ "$differences" -eq 0 ]
