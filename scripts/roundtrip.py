#!/usr/bin/python3
"""What djvused stores must be what ocrsift says.

Runs ocrsift on FRF pages (and, with --mutations, on damaged copies of them), applies every
script that ended with 0 to a blank one-page DjVu document with the real djvused, reads the
page's text layer back with print-txt and compares it with the set-txt expression of the
script: the same zones, words and rectangles (djvused lists a rectangle with its lower edge
first, so each pair of edges is compared in order). A corrupt layer, a rejected script or
any difference is a failure.

    scripts/roundtrip.py build/default/ocrsift/driver/ocrsift tests/data/*.frf
    scripts/roundtrip.py --mutations 400 --seed 7 OCRSIFT tests/data/*.frf

Needs djvulibre-bin, netpbm and python3-djvu (Debian packages).
"""
import argparse
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile

import djvu.sexpr as sexpr

INTERESTING = [0, 1, 2, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 40000, 0xFFFF, 0x7FFFFFFF,
               0x80000000, 0xFFFFFFFF]


def plain(expression):
    if isinstance(expression, sexpr.ListExpression):
        return [plain(item) for item in expression]
    value = expression.value
    return str(value) if isinstance(value, sexpr.Symbol) else value


def normalized(zone):
    """A zone with each pair of edges in ascending order, and a word's text without the
    white space around it, as djvused lists them."""
    if isinstance(zone, str):
        return zone.strip(" \t\n\r\v\f")
    if not isinstance(zone, list):
        return zone
    kind, x0, y0, x1, y1 = zone[:5]
    rest = [normalized(item) for item in zone[5:]]
    return [kind, min(x0, x1), min(y0, y1), max(x0, x1), max(y0, y1)] + rest


def script_layer(script):
    match = re.search(r"\nset-txt\n(.*?)\n\.\n", script, re.S)
    if match is None:
        return None
    # Control bytes stay raw inside the script's strings; python-djvu reads them escaped.
    text = re.sub(r"[\x00-\x09\x0b-\x1f\x7f]", lambda c: "\\%03o" % ord(c.group()),
                  match.group(1))
    return normalized(plain(sexpr.Expression.from_string(text)))


def stored_layer(document):
    listing = subprocess.run(["djvused", "-e", "select 1; print-txt", document],
                             capture_output=True, text=True, encoding="utf-8",
                             errors="replace")
    if listing.returncode != 0 or listing.stderr or not listing.stdout.strip():
        return None, listing.stderr.strip() or "no text layer"
    try:
        return normalized(plain(sexpr.Expression.from_string(listing.stdout))), ""
    except (sexpr.ExpressionSyntaxError, sexpr.InvalidExpression):
        return None, "a listing python-djvu cannot read: " + repr(listing.stdout[:300])


def check(ocrsift, frf, blank, work):
    """None when the page is not ocrsift's to store (exit code not 0), else a failure text
    or ""."""
    run = subprocess.run([ocrsift, "-p", "1", frf], capture_output=True, timeout=20)
    if run.returncode != 0:
        return None
    script = run.stdout.decode("latin-1")
    try:
        expected = script_layer(script)
    except (sexpr.ExpressionSyntaxError, sexpr.InvalidExpression):
        return "the script's page is no expression python-djvu reads: " + repr(script[:2000])
    if expected is None:
        return "no page in a script that ended with 0"
    document = os.path.join(work, "page.djvu")
    shutil.copyfile(blank, document)
    applied = subprocess.run(["djvused", document], input=run.stdout, capture_output=True)
    if applied.returncode != 0:
        return "djvused rejected the script: " + applied.stderr.decode(errors="replace")
    stored, problem = stored_layer(document)
    if stored is None:
        return "djvused stored no readable layer: " + problem
    return "" if stored == expected else "stored layer differs from the script"


def mutate(data, rng):
    data = bytearray(data)
    at = rng.randrange(len(data))
    width = rng.choice([1, 2, 4])
    value = rng.choice(INTERESTING + [rng.randrange(1 << 32)]) & ((1 << (8 * width)) - 1)
    packed = struct.pack("<I", value)[:width]
    data[at:at + width] = packed[:max(0, len(data) - at)]
    return bytes(data), "offset %d = %#x (%d bytes)" % (at, value, width)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--mutations", type=int, default=0,
                        help="damaged copies to try besides the pages themselves")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("ocrsift")
    parser.add_argument("frf", nargs="+")
    args = parser.parse_args()
    rng = random.Random(args.seed)

    with tempfile.TemporaryDirectory() as work:
        pbm = os.path.join(work, "blank.pbm")
        with open(pbm, "wb") as out:
            out.write(b"P4\n100 100\n" + bytes(13 * 100))
        blank = os.path.join(work, "blank.djvu")
        subprocess.run(["cjb2", pbm, blank], check=True)

        cases = [(path, "as it is") for path in args.frf]
        originals = [open(path, "rb").read() for path in args.frf]
        for i in range(args.mutations):
            source = rng.randrange(len(args.frf))
            damaged, how = mutate(originals[source], rng)
            path = os.path.join(work, "mutant%d.frf" % i)
            with open(path, "wb") as out:
                out.write(damaged)
            cases.append((path, "%s, %s" % (args.frf[source], how)))

        stored = 0
        failures = []
        for path, how in cases:
            outcome = check(args.ocrsift, path, blank, work)
            if outcome is None:
                continue
            if outcome:
                failures.append("%s: %s" % (how, outcome))
            else:
                stored += 1
        print("%d pages, %d scripts ended with 0, %d stored exactly as written, %d failures"
              % (len(cases), stored + len(failures), stored, len(failures)))
        for failure in failures[:20]:
            print("  " + failure)
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
