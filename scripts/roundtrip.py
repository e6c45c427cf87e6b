#!/usr/bin/python3
"""What djvused stores must be what ocrsift says.

Runs ocrsift on FRF pages (and, with --mutations, on damaged copies of them), applies every
script that ended with 0 to a blank one-page DjVu document with the real djvused, reads the
page's text layer back with print-txt and compares it with the set-txt expression of the
script: the same zones, words and rectangles (djvused lists a rectangle with its lower edge
first, so each pair of edges is compared in order). A corrupt layer, a rejected script or
any difference is a failure.

With --batches, runs of three files each (originals and damaged copies mixed, numbered by -p
or by -g from names whose numbers descend and repeat, with and without -i) go to a blank
three-page document. A run that ended with 0, and every run whose script closes all its
pages, must be stored as written; a strict run that failed after a page began must leave
the document byte for byte unchanged, with djvused exiting non-zero. Each run is repeated
with -o text, hocr and alto: text must be what djvutxt prints of the document, and hOCR and
ALTO must hold the words djvused stored (the book's pages in ascending order, the words in
order), every box inside its page and every character box inside its word.

    scripts/roundtrip.py build/default/ocrsift/driver/ocrsift tests/data/*.frf
    scripts/roundtrip.py --mutations 400 --seed 7 OCRSIFT tests/data/*.frf
    scripts/roundtrip.py --mutations 0 --batches 100 --seed 3 OCRSIFT tests/data/*.frf

Needs djvulibre-bin, netpbm and python3-djvu (Debian packages).
"""
import argparse
import html
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


XML_FORBIDDEN = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\ud800-\udfff\ufffe\uffff]")


def layer_words(layer):
    """The words of a page's layer (a normalized zone tree), in order."""
    if not isinstance(layer, list):
        return []
    if layer[0] == "word":
        return [layer[5]] if len(layer) > 5 else []
    words = []
    for item in layer[5:]:
        words += layer_words(item)
    return words


def as_xml(word):
    return XML_FORBIDDEN.sub("\ufffd", word)


def inside(box, page):
    """A box within the page; a damaged header's negative side spans from it to 0, as the
    script's rectangles do."""
    x0, y0, x1, y1 = box
    return (min(0, page[0]) <= x0 <= x1 <= max(0, page[0]) and
            min(0, page[1]) <= y0 <= y1 <= max(0, page[1]))


def hocr_pages(document):
    """[(page number, [words])] of an hOCR document; a list of problems besides."""
    pages, problems = [], []
    for chunk in document.split('<div class="ocr_page"')[1:]:
        head = re.match(r' id="[^"]*" title="bbox 0 0 (-?\d+) (-?\d+); ppageno (-?\d+);', chunk)
        if head is None:
            problems.append("an ocr_page without bbox and ppageno")
            continue
        size = (int(head.group(1)), int(head.group(2)))
        words = []
        for title, text in re.findall(r'class="ocrx_word" id="[^"]*" title="([^"]*)">(.*?)</span>',
                                      chunk):
            numbers = [int(n) for n in re.findall(r"-?\d+", title)]
            box, boxes = numbers[:4], numbers[4:]
            if not inside(box, size):
                problems.append("a word box beyond its page: %s" % title)
            for k in range(0, len(boxes), 4):
                x0, y0, x1, y1 = boxes[k:k + 4]
                if not (box[0] <= x0 <= x1 <= box[2] and box[1] <= y0 <= y1 <= box[3]):
                    problems.append("a character box beyond its word's: %s" % title)
            words.append(html.unescape(text).strip(" \t\n\r\v\f"))
        for title in re.findall(r'class="ocr_(?:carea|par|line)" id="[^"]*" title="([^"]*)"', chunk):
            box = [int(n) for n in re.findall(r"-?\d+", title)][:4]
            if not inside(box, size):
                problems.append("a box beyond its page: %s" % title)
        pages.append((int(head.group(3)) + 1, words))
    return pages, problems


def alto_pages(document):
    pages, problems = [], []
    attribute = lambda line, name: re.search(" %s=\"([^\"]*)\"" % name, line)
    for chunk in document.split("<Page ")[1:]:
        head = re.match(r'ID="[^"]*" WIDTH="(-?\d+)" HEIGHT="(-?\d+)" PHYSICAL_IMG_NR="(-?\d+)"',
                        chunk)
        size = (int(head.group(1)), int(head.group(2)))
        words = []
        for line in chunk.split("\n"):
            element = re.match(r"\s*<(ComposedBlock|TextBlock|TextLine|String) ", line)
            if element is None:
                continue
            x, y, w, h = (int(attribute(line, n).group(1)) for n in ("HPOS", "VPOS", "WIDTH", "HEIGHT"))
            if not inside((x, y, x + w, y + h), size):
                problems.append("a box beyond its page: " + line.strip())
            if element.group(1) != "String":
                continue
            content = html.unescape(attribute(line, "CONTENT").group(1))
            if content == "":
                problems.append("a String without content: " + line.strip())
            kind = attribute(line, "SUBS_TYPE")
            if kind is not None and kind.group(1) == "HypPart2":
                content = html.unescape(attribute(line, "SUBS_CONTENT").group(1))
            elif '<HYP CONTENT="-"/>' in line:
                content += "-"
            words.append(content.strip(" \t\n\r\v\f"))
        pages.append((int(head.group(3)), words))
    return pages, problems


def script_pages(script):
    """{page number: layer} of the pages a script closes, the last one of a number."""
    pages = {}
    for block in script.split("\n# -------------------------------------")[1:]:
        closed = re.match(r"\nselect (\d+)\nremove-txt\nset-txt\n(.*)\n\.\n\n?(?:\nsave\n)?$",
                          block, re.S)
        if closed is None:
            continue
        number, body = closed.groups()
        text = re.sub(r"[\x00-\x09\x0b-\x1f\x7f]", lambda c: "\\%03o" % ord(c.group()), body)
        pages[int(number)] = normalized(plain(sexpr.Expression.from_string(text)))
    return pages


def stored_page(document, number):
    listing = subprocess.run(["djvused", "-e", "select %d; print-txt" % number, document],
                             capture_output=True, text=True, encoding="utf-8", errors="replace")
    if listing.returncode != 0 or not listing.stdout.strip():
        return None
    return normalized(plain(sexpr.Expression.from_string(listing.stdout)))


def check_batch(ocrsift, files, options, blank, work):
    """Outcome of one batch: (kind, failure text or "")."""
    folder = os.path.join(work, "batch")
    shutil.rmtree(folder, ignore_errors=True)
    os.mkdir(folder)
    names = ["a0002.frf", "b0001.frf", "c0001.frf"] if "-g" in options else \
        ["p%d.frf" % (i + 1) for i in range(len(files))]
    for name, data in zip(names, files):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
    pattern = os.path.join(folder, "*.frf")
    run = subprocess.run([ocrsift] + options + [pattern], capture_output=True, timeout=60)
    script = run.stdout.decode("latin-1")
    document = os.path.join(work, "book.djvu")
    shutil.copyfile(blank, document)
    before = open(document, "rb").read()
    applied = subprocess.run(["djvused", document], input=run.stdout, capture_output=True)
    closes_all = script.count("\nselect ") == len(re.findall(r"\n\.\n", script))
    if run.returncode not in (0, 2):
        return "runs", "exit code %d" % run.returncode
    if run.returncode == 2 and not closes_all:
        if "-i" in options:
            return "runs", "-i left a page open"
        if applied.returncode == 0 or open(document, "rb").read() != before:
            return "strict failures", "djvused took a script with a page left open"
        kind = "strict failures"
        stored = {n: l for n, l in script_pages(script).items()}
    else:
        if applied.returncode != 0:
            return "runs", "djvused rejected the script: " + applied.stderr.decode(errors="replace")
        kind = "stored runs"
        stored = {}
        for number, layer in script_pages(script).items():
            stored[number] = stored_page(document, number)
            # djvused keeps a page without lines as an empty page layer of no size.
            if len(layer) == 5 and stored[number] == ["page", 0, 0, 0, 0, ""]:
                stored[number] = layer
            if stored[number] != layer:
                return kind, "page %d stored otherwise than written" % number
        text = subprocess.run([ocrsift, "-o", "text"] + options + [pattern], capture_output=True)
        djvutxt = subprocess.run(["djvutxt", document], capture_output=True)
        if text.stdout != djvutxt.stdout:
            return kind, "-o text is not what djvutxt prints"
    book = [(n, [as_xml(w) for w in layer_words(stored[n])]) for n in sorted(stored)]
    for form, read in (("hocr", hocr_pages), ("alto", alto_pages)):
        out = subprocess.run([ocrsift, "-o", form] + options + [pattern], capture_output=True)
        if out.returncode != run.returncode:
            return kind, "-o %s ended with %d, the script with %d" % (form, out.returncode,
                                                                       run.returncode)
        pages, problems = read(out.stdout.decode("utf-8"))
        if problems:
            return kind, "-o %s: %s" % (form, problems[0])
        if pages != book:
            return kind, "-o %s holds other words or pages than the book" % form
    return kind, ""


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
    parser.add_argument("--batches", type=int, default=0,
                        help="batches of three files to run with every format")
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

        batches = {}
        batch_failures = []
        if args.batches:
            pbm3 = os.path.join(work, "blank3.djvu")
            parts = []
            for i in range(3):
                part = os.path.join(work, "blank-part%d.djvu" % i)
                shutil.copyfile(blank, part)
                parts.append(part)
            subprocess.run(["djvm", "-c", pbm3] + parts, check=True)
        for i in range(args.batches):
            files, hows = [], []
            for k in range(3):
                source = rng.randrange(len(args.frf))
                data, how = originals[source], "as it is"
                if rng.random() < 0.5:
                    data, how = mutate(data, rng)
                files.append(data)
                hows.append("%s %s" % (args.frf[source], how))
            options = rng.choice([["-p", "1"], ["-g"]]) + rng.choice([[], ["-i"]]) + \
                rng.choice([[], ["-h"]])
            kind, failure = check_batch(args.ocrsift, files, options, pbm3, work)
            batches[kind] = batches.get(kind, 0) + 1
            if failure:
                batch_failures.append("%s on %s: %s" % (" ".join(options), "; ".join(hows),
                                                         failure))

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
        if args.batches:
            print("%d batches of three files (%s), each with text, hOCR and ALTO: %d failures"
                  % (args.batches, ", ".join("%d %s" % (n, k) for k, n in sorted(batches.items())),
                     len(batch_failures)))
            for failure in batch_failures[:20]:
                print("  " + failure)
        return 1 if failures or batch_failures else 0


if __name__ == "__main__":
    sys.exit(main())
