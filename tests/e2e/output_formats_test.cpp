// The other output formats read by the tools made for them: hOCR turned into a PDF text layer
// by OCRmyPDF's hocrtransform and read back word by word with poppler's pdftotext, ALTO
// validated against the ALTO 4.4 schema with xmllint, and plain text compared with djvutxt of
// the book that the djvused script of the same pages makes. The pages: the samples in
// tests/data and a generated book of both format versions with tables, pictures and barcodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/page_rules.h"
#include "tests/support/djvu_document.h"
#include "tests/support/frf_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace {

using namespace testing_support;

// Makes the PDF of one hOCR page with hocrtransform at the page's resolution, reads it back
// with pdftotext -bbox and finds there every word of the djvused script of the same page (the
// script as djvused has read it in the other end-to-end tests) at its box: left and right
// within a pixel of the image, its middle inside its line. OCRmyPDF 14 writes Latin-1 text
// only, so words with other letters are counted, not checked. Prints "<checked> <skipped>";
// every word not found goes to standard error and fails the run.
const char kHocrCheck[] = R"PY(
import html, re, subprocess, sys
from ocrmypdf.hocrtransform import HocrTransform

hocr, script, pdf, dpi = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
HocrTransform(hocr_filename=hocr, dpi=dpi).to_pdf(out_filename=pdf)
bbox = subprocess.run(['pdftotext', '-bbox', pdf, '-'], capture_output=True, text=True,
                      check=True).stdout
found = [(float(a), float(b), float(c), float(d), html.unescape(w)) for a, b, c, d, w in
         re.findall(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" '
                    r'yMax="([-\d.]+)">(.*?)</word>', bbox)]

def latin1(text):
    return all(0x20 <= ord(c) <= 0x7E or 0xA0 <= ord(c) <= 0xFF for c in text)

scale, checked, skipped, missing = 72.0 / dpi, 0, 0, []
text = open(script, 'rb').read()
height = int(re.search(rb'\(page 0 0 \d+ (\d+)', text).group(1))
top = bottom = 0
for kind, l, u, r, d, word in re.findall(
        rb'\((line|word) (-?\d+) (-?\d+) (-?\d+) (-?\d+)(?: "((?:[^"\\]|\\[0-7]{3})*)")?', text):
    if kind == b'line':
        top, bottom = (height - int(u)) * scale, (height - int(d)) * scale
        continue
    word = re.sub(rb'\\([0-7]{3})', lambda m: bytes([int(m.group(1), 8)]), word)
    word = word.decode('utf-8').rstrip(' ')
    if not latin1(word):
        skipped += 1
        continue
    left, right = int(l) * scale, int(r) * scale
    if not any(w == word and abs(x0 - left) <= scale and abs(x1 - right) <= scale and
               top - scale <= (y0 + y1) / 2 <= bottom + scale
               for x0, y0, x1, y1, w in found):
        missing.append((word, l, u, r, d))
    checked += 1
print(checked, skipped)
for where in missing:
    print('not found at its box:', where, file=sys.stderr)
sys.exit(1 if missing else 0)
)PY";

// Reads a PDF's text layer with every engine people read PDFs with and finds there every word
// of the djvused script of the same run (its pages are the PDF's pages of the same numbers):
// poppler (pdftotext -bbox-layout, plain pdftotext, pdfgrep), MuPDF (mutool draw -F stext
// through the display list, mutool convert -F stext, its search), Ghostscript's txtwrite, and
// pdf.js and PDFium (tests/e2e/pdf_engines.mjs). A word is found when the engine gives its text
// (NFC) on its page, and at its box when a unit of the engine's geometry (a word; for pdf.js a
// text item) holds just that text with left and right within 2 pixels at 300 dpi of the image's
// and its middle inside the word's line; Ghostscript gives whole points, so half a point more.
// A word broken at a line end must be found whole by every search, each part at its box as
// printed; no engine's plain text may hold a word the page does not have, and no engine may
// warn; the misses of the kinds README lists as each engine's limits are printed, not failed.
// With "bmp" (a PDF another program rewrote), only poppler's and MuPDF's word boxes are checked
// and words beyond U+FFFF are left out. Prints a row per engine, "<engine> <words> <found> <at
// box> <broken words found whole by its search>/<pairs>"; every other miss goes to standard
// error and fails the run.
const char kPdfCheck[] = R"PY(
import html, json, os, re, subprocess, sys, unicodedata
pdf, script, node, engines, reader = sys.argv[1:6]
bmp_only = sys.argv[6:] == ['bmp']
nfc = lambda t: unicodedata.normalize('NFC', t)
os.environ['LC_ALL'] = 'C.UTF-8'  # pdfgrep matches bytes in other locales
run = lambda *a: subprocess.run(a, capture_output=True, text=True, check=True)

pages = {}
for block in open(script, 'rb').read().split(b'\n# -------------------------------------')[1:]:
    head = re.match(rb'\nselect (\d+)\nremove-txt\nset-txt\n\(page 0 0 (-?\d+) (-?\d+)', block)
    width, height, words, line = int(head.group(2)), int(head.group(3)), [], None
    for kind, l, u, r, d, text in re.findall(
            rb'\((line|word) (-?\d+) (-?\d+) (-?\d+) (-?\d+)(?: "((?:[^"\\]|\\[0-7]{3})*)")?', block):
        if kind == b'line':
            line, first = (height - int(u), height - int(d)), True
            continue
        text = re.sub(rb'\\([0-7]{3})', lambda m: bytes([int(m.group(1), 8)]), text)
        text = nfc(text.decode('utf-8').rstrip(' '))
        printed, whole = text, None
        # The part that completes a word broken at the line end before: the script gives it the
        # whole word, the page only its own letters.
        if first and words and words[-1][3] != line and words[-1][0].endswith('-') and \
                text.startswith(words[-1][0][:-1]):
            printed, whole = text[len(words[-1][0]) - 1:], text
            words[-1][5] = whole
        # A right-to-left word's box runs from its first letter's left to its last's right.
        words.append([printed, min(int(l), int(r)), max(int(l), int(r)), line, False, whole])
        first = False
    for w in range(len(words) - 1):  # a line's last word
        words[w][4] = words[w][3] != words[w + 1][3]
    pages[int(head.group(1))] = (width, words)

def boxes(items):  # (text, x0, y0, x1, y1) in points, y downward
    return [(nfc(t), float(a), float(b), float(c), float(d)) for t, a, b, c, d in items]

def poppler_words():
    out = run('pdftotext', '-bbox-layout', pdf, '-').stdout
    return [boxes((html.unescape(w), a, b, c, d) for a, b, c, d, w in
                  re.findall(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" '
                             r'yMax="([-\d.]+)">(.*?)</word>', page))
            for page in out.split('<page ')[1:]]

def stext(*command):
    result = subprocess.run(command, capture_output=True, text=True, check=True)
    out = open(pdf + '.stext', encoding='utf-8').read()
    pages, texts = [], []
    for page in out.split('<page ')[1:]:
        found, lines = [], []
        for line in page.split('<line ')[1:]:
            word, box, chars = '', None, ''
            for quad, c in re.findall(r'<char quad="([^"]*)"[^>]*? c="([^"]*)"', line) + [('', ' ')]:
                c = html.unescape(c)
                chars += c
                if c == ' ':
                    if word:
                        found.append((nfc(word),) + box)
                    word, box = '', None
                    continue
                q = [float(v) for v in quad.split()]
                xs, ys = q[0::2], q[1::2]
                box = (min(xs), min(ys), max(xs), max(ys)) if box is None else (
                    min(box[0], *xs), min(box[1], *ys), max(box[2], *xs), max(box[3], *ys))
                word += c
            lines.append(chars)
        pages.append(found)
        texts.append('\n'.join(lines))
    return pages, texts, result.stderr

def ghostscript():
    result = run('gs', '-q', '-dNOPAUSE', '-dBATCH', '-sDEVICE=txtwrite', '-dTextFormat=0',
                 '-sOutputFile=' + pdf + '.gs.xml', pdf)
    out = open(pdf + '.gs.xml', encoding='utf-8', errors='replace').read()
    pages, texts = [], []
    for page in out.split('<page>')[1:]:
        found, word, box, text, last = [], '', None, '', None
        # Its spans break words only where the next starts away from the last one's end.
        for b, c in re.findall(r'<char bbox="([-\d ]+)" c="([^"]*)"', page) + [('0 0 -9 0', ' ')]:
            c = html.unescape(c)
            x0, y0, x1, y1 = [float(v) for v in b.split()]
            if last is not None and (abs(x0 - last[2]) > 1 or y0 != last[1]):
                c = ' ' + c if c != ' ' else c
            last = (x0, y0, x1, y1)
            for c in c:
                text += c
                if c == ' ':
                    if word:
                        found.append((nfc(word),) + box)
                    word, box = '', None
                    continue
                # A right-to-left run's characters come with their boxes from right to left.
                x0, x1 = min(x0, x1), max(x0, x1)
                box = (x0, y0, x1, y1) if box is None else (min(box[0], x0), y0, max(box[2], x1), y1)
                word += c
        pages.append(found)
        texts.append(text)
    return pages, texts, result.stderr

queries = {str(n): sorted({w[0] for w in words} | {w[5] for w in words if w[5]})
           for n, (_, words) in pages.items()}
json.dump(queries, open(pdf + '.queries.json', 'w'))
browsers = json.loads(run(node, reader, engines, pdf, pdf + '.queries.json').stdout)
open(pdf + '.js', 'w').write(  # mutool run's JavaScript is ES5
    'var d = new Document(scriptArgs[0]), q = JSON.parse(scriptArgs[1]), r = {};\n'
    'for (var n in q) { var p = d.loadPage(Number(n) - 1); r[n] = {};\n'
    '  for (var i = 0; i < q[n].length; ++i) r[n][q[n][i]] = p.search(q[n][i]).length; }\n'
    'print(JSON.stringify(r));\n')
mupdf_search = json.loads(run('mutool', 'run', pdf + '.js', pdf,
                              json.dumps(queries, ensure_ascii=False)).stdout)
grep = {}  # word: the pages pdfgrep finds it on
for word in sorted({q for w in queries.values() for q in w}):
    found = subprocess.run(['pdfgrep', '-F', '-p', '-e', word, pdf], capture_output=True, text=True)
    grep[word] = {line.split(':')[0] for line in found.stdout.splitlines()}
plain = run('pdftotext', pdf, '-').stdout.split('\f')

warnings = [e + ': ' + w for e in ('pdfjs', 'pdfium') for w in browsers[e]['warnings']]
warnings += [e + ' failed: ' + browsers[e]['error'] for e in ('pdfjs', 'pdfium')
             if 'error' in browsers[e]]
draw, draw_text, draw_err = stext('mutool', 'draw', '-F', 'stext', '-o', pdf + '.stext', pdf)
convert, convert_text, convert_err = stext('mutool', 'convert', '-F', 'stext', '-O',
                                           'preserve-ligatures', '-o', pdf + '.stext', pdf)
gs, gs_text, gs_err = ghostscript()
warnings += [e + ': ' + w for e, out in (('mutool', draw_err + convert_err), ('gs', gs_err))
             for w in out.splitlines()
             if w.strip() and not re.match(r'(page |warning: ICC support)', w)]
js = [boxes(u[:5] for u in p['units']) for p in browsers['pdfjs']['pages']]
fium = [boxes(p['units']) for p in browsers['pdfium']['pages']]
poppler = poppler_words()
# engine: (units by page, plain text by page, search)
engines = {
    'pdftotext-bbox': (poppler, None, None),
    'pdftotext': (None, plain, lambda n, w: w in plain[n - 1].replace('-\n', '')),
    'pdfgrep': (None, None, lambda n, w: str(n) in grep[w]),
    'mutool-draw': (draw, draw_text, None),
    'mutool-convert': (convert, convert_text, lambda n, w: mupdf_search[str(n)][w] > 0),
    'gs-txtwrite': (gs, gs_text, None),
    'pdfjs': (js, [p['text'] for p in browsers['pdfjs']['pages']],
              lambda n, w: browsers['pdfjs']['pages'][n - 1]['find'].get(w, 0) > 0),
    'pdfium': (fium, [p['text'] for p in browsers['pdfium']['pages']],
               lambda n, w: len(browsers['pdfium']['pages'][n - 1]['find'].get(w, [])) > 0),
}
# What the engines are known to get wrong whatever the layout, by kind of word (see README):
# right-to-left words in poppler's word boxes (a letter left of the one before starts a word)
# and in pdf.js (it reverses the letters of a run), words whose boxes touch (no blank between
# them survives), characters beyond U+FFFF, ligatures, PDFium's parts of a broken word (it has
# the whole word on the first part's line), and the searches that find only the parts of a
# broken word (pdfgrep; MuPDF's, across lines of two of its blocks). A miss of another kind
# fails the run.
limits = {'rtl': {'pdftotext-bbox', 'pdfjs'},
          'touch': {'pdftotext', 'pdfjs', 'pdfium'},
          'wide': {'gs-txtwrite', 'pdfium', 'pdfjs'},
          'ligature': {'mutool-convert', 'pdfium'},
          'broken': {'pdfium'},
          'parts': {'pdfgrep', 'mutool-convert'}}

def kinds(text, vocabulary=(), touching=False, broken=False):
    result = set()
    if re.search('[\u0590-\u08ff\ufb1d-\ufdff\ufe70-\ufeff]', text):
        result.add('rtl')
    if any(ord(c) > 0xFFFF or c == '\ufffd' for c in text):
        result.add('wide')
    if re.search('[\ufb00-\ufb06]', text) or unicodedata.normalize('NFKC', text) in \
            {unicodedata.normalize('NFKC', v) for v in vocabulary if re.search('[\ufb00-\ufb06]', v)}:
        result.add('ligature')
    if touching or any(text[:k] in vocabulary and text[k:] in vocabulary for k in range(1, len(text))):
        result.add('touch')
    if broken or '\x02' in text:
        result.add('broken')
    return result

if bmp_only:  # a PDF that another program wrote: its words at their boxes, as before
    engines = {'pdftotext-bbox': engines['pdftotext-bbox'],
               'mutool-convert': (engines['mutool-convert'][0], None, None)}
    warnings = []
known = []
def miss(name, what, kind):
    (known if any(name in limits[k] for k in kind) else missing).append(what)

missing, rows, pairs, whole_found = [], [], 0, 0
page_widths = {n: [float(v) for v in re.findall(r'<page width="([\d.]+)"', run(
    'pdftotext', '-bbox', pdf, '-').stdout)][n - 1] for n in pages}
for name, (units, texts, search) in engines.items():
    total = found = at_box = 0
    for number, (width, words) in sorted(pages.items()):
        s = page_widths[number] / abs(width)
        tolerance = 2 * 72 / 300 + (0.5 if name == 'gs-txtwrite' else 0)
        vocabulary = set()
        for index, (text, left, right, (top, bottom), _, whole) in enumerate(words):
            touching = any(0 <= k < len(words) and words[k][3] == words[index][3] and
                           (words[k][1] == right or words[k][2] == left) for k in (index - 1, index + 1))
            vocabulary.update([text, whole or text])
            if name == 'mutool-draw':  # its display list spells ligatures out
                text = unicodedata.normalize('NFKC', text) if re.search('[\ufb00-\ufb06]', text) else text
                vocabulary.add(text)
            if bmp_only and any(ord(c) > 0xFFFF for c in text):
                continue
            total += 1
            here = units[number - 1] if units is not None else []
            hit = units is not None and any(
                w == text and abs(x0 - left * s) <= tolerance and abs(x1 - right * s) <= tolerance
                and top * s - tolerance <= (y0 + y1) / 2 <= bottom * s + tolerance
                for w, x0, y0, x1, y1 in here)
            at_box += hit
            seen = (search(number, whole) or search(number, text)) if search and whole else \
                search(number, text) if search else \
                any(w == text for w, *_ in here) if units is not None else text in texts[number - 1]
            found += bool(seen)
            if whole and whole.startswith(text.rstrip('-')) and search:
                pairs += 1
                whole_found += bool(search(number, whole))
                if not search(number, whole):
                    miss(name, '%s: %r not found whole on page %d' % (name, whole, number), {'parts'})
            if not seen or (units is not None and not hit):
                miss(name, '%s: %r at %d-%d on page %d: %s' % (
                    name, text, left, right, number, 'not found' if not seen else 'not at its box'),
                    kinds(text, touching=touching, broken=whole is not None))
        if texts is not None and number <= len(texts):
            for token in texts[number - 1].split():
                # Without the marks of direction that poppler puts around a right-to-left run.
                token = nfc(re.sub('[\u200e\u200f\u202a-\u202e\u2066-\u2069]', '', token))
                if token not in vocabulary and not (bmp_only and any(ord(c) > 0xFFFF for c in token)):
                    miss(name, '%s: %r in the plain text of page %d' % (name, token, number),
                         kinds(token, vocabulary))
    rows.append('%s %d %d %s %s' % (name, total, found, at_box if units is not None else '-',
                                    '%d/%d' % (whole_found, pairs) if search else '-'))
    pairs = whole_found = 0
print('\n'.join(rows))
print('known limits: %d misses' % len(known))
for what in known:
    print('known:', what)
for what in warnings + missing:
    print(what, file=sys.stderr)
sys.exit(1 if missing or warnings else 0)
)PY";

class OutputFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"djvused", "djvutxt", "cjb2", "djvm", "xmllint", "pdftotext"}) {
      ASSERT_NE(FindTool(tool), "") << tool << " is not installed (scripts/ensure-tools.sh)";
    }
    for (const char* sample :
         {"sample-v6.frf", "sample-v10.frf", "sample-frames-v6.frf", "sample-frames-v10.frf"}) {
      pages_.push_back(dir_.Write(std::string("frf/0-") + sample,
                                  ReadFile(std::string(TEST_SOURCE_DIR "/data/") + sample)));
    }
    ProgramOutput book =
        RunCaptured(MAKE_FRF_BOOK_EXE, {"-n", "8", "-w", "150", "-v", "mixed", "-t", "3", "-i", "4",
                                        "-b", "5", "-e", "3", "-x", "1-page", dir_.File("frf")});
    ASSERT_EQ(book.exitCode, 0) << book.err;
    for (int i = 1; i <= 8; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "frf/1-page%04d.frf", i);
      pages_.push_back(dir_.File(name));
    }
  }

  // ocrsift over every page, numbered from 1; it must succeed silently.
  std::string Document(const std::vector<std::string>& options) {
    std::vector<std::string> args = options;
    args.insert(args.end(), {"-p", "1", dir_.File("frf/*.frf")});
    ProgramOutput run = RunCaptured(OCRSIFT_EXE, args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return run.rawOut;
  }

  TempDir dir_;
  std::vector<std::string> pages_;
};

TEST_F(OutputFormats, HocrBecomesAPdfWhoseWordsPdftotextFindsAtTheirBoxes) {
  std::string python = "/usr/bin/python3";  // Debian's, with Debian's ocrmypdf
  if (!std::ifstream(python).good())
    python = FindTool("python3");
  int checked = 0;
  int skipped = 0;
  for (const std::string& page : pages_) {
    ProgramOutput hocr = RunCaptured(OCRSIFT_EXE, {"-o", "hocr", "-p", "1", page});
    ASSERT_EQ(hocr.exitCode, 0) << hocr.err;
    const std::string hocrFile = dir_.Write("page.hocr", hocr.rawOut);
    ProgramOutput script = RunCaptured(OCRSIFT_EXE, {"-p", "1", page});
    ASSERT_EQ(script.exitCode, 0) << script.err;
    const std::string scriptFile = dir_.Write("page.djvused", script.rawOut);
    // The frames samples are scanned at 200 dpi, every other page at 300.
    const char* dpi = page.find("frames") != std::string::npos ? "200" : "300";
    ProgramOutput check =
        RunCaptured(python, {"-c", kHocrCheck, hocrFile, scriptFile, dir_.File("page.pdf"), dpi});
    ASSERT_EQ(check.exitCode, 0) << page << "\n" << check.err << hocr.out;
    std::istringstream counts(check.out);
    int pageChecked = 0;
    int pageSkipped = 0;
    counts >> pageChecked >> pageSkipped;
    checked += pageChecked;
    skipped += pageSkipped;
  }
  // The samples' 2 x 6 + 2 x 6 words and the book's 8 x 150 and its tables' words.
  EXPECT_GE(checked, 24 + 8 * 150 * 9 / 10);
  std::printf("hOCR: %zu pages, %d words found at their boxes, %d words beyond Latin-1\n",
              pages_.size(), checked, skipped);
}

TEST_F(OutputFormats, AltoIsValidAgainstTheSchema) {
  for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
           {"-o", "alto"}, {"-o", "alto", "-h"}, {"-o", "alto", "-c"}}) {
    const std::string alto = dir_.Write("book.xml", Document(options));
    ProgramOutput valid = RunCaptured(
        FindTool("xmllint"),
        {"--noout", "--nonet", "--schema", TEST_SOURCE_DIR "/../schemas/alto-4-4-local.xsd", alto});
    EXPECT_EQ(valid.exitCode, 0) << valid.err;
    EXPECT_NE(valid.err.find("validates"), std::string::npos) << valid.err;
    const std::string text = ReadFile(alto);
    EXPECT_EQ(text.find("SUBS_CONTENT") != std::string::npos, options.back() != "-h");
    EXPECT_EQ(text.find("<Glyph ") != std::string::npos, options.back() == "-c");
  }
}

// Every page's PAGE document, plain, with -h and with -c, and the golden ones, valid against the
// schema and keeping the rules the schema cannot state.
TEST_F(OutputFormats, PageIsValidAgainstTheSchemaAndTheRules) {
  std::vector<std::string> documents = {TEST_SOURCE_DIR "/data/golden/page3.page.xml",
                                        TEST_SOURCE_DIR "/data/golden/page3-glyphs.page.xml"};
  for (const std::string& page : pages_) {
    for (const char* join : {"", "-h", "-c"}) {
      std::vector<std::string> args = {"-o", "page", "-p", "1", page};
      if (*join != '\0')
        args.insert(args.begin(), join);
      ProgramOutput run = RunCaptured(OCRSIFT_EXE, args);
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(fuzz_support::PageRuleProblems(run.rawOut), std::vector<std::string>()) << page;
      documents.push_back(
          dir_.Write("page" + std::to_string(documents.size()) + ".xml", run.rawOut));
    }
  }
  std::vector<std::string> args = {"--noout", "--nonet", "--schema",
                                   TEST_SOURCE_DIR "/../schemas/pagecontent-2019-07-15.xsd"};
  args.insert(args.end(), documents.begin(), documents.end());
  ProgramOutput valid = RunCaptured(FindTool("xmllint"), args);
  EXPECT_EQ(valid.exitCode, 0) << valid.err;
  EXPECT_EQ(static_cast<size_t>(std::count(valid.err.begin(), valid.err.end(), '\n')),
            documents.size())
      << valid.err;
  std::printf("PAGE: %zu documents valid and keeping the rules\n", documents.size());
}

// The workspace of every page, with -i and with -h: nothing on standard output, every PAGE,
// ALTO and METS document valid against its schema, and the rules kept.
TEST_F(OutputFormats, WorkspaceIsValidAgainstTheSchemasAndTheRules) {
  const std::string schemas = TEST_SOURCE_DIR "/../schemas/";
  int documents = 0;
  for (const char* join : {"-i", "-h"}) {
    const std::string folder = dir_.File(std::string("ws") + join);
    const std::string out = Document({join, "-w", folder});
    EXPECT_EQ(out, "");
    EXPECT_EQ(fuzz_support::WorkspaceRuleProblems(folder), std::vector<std::string>()) << join;
    const struct {
      const char* schema;
      std::string files;
    } kinds[] = {{"pagecontent-2019-07-15.xsd", folder + "/OCR-D-OCR-FR7/OCR-D-OCR-FR7_00*.xml"},
                 {"alto-4-4-local.xsd", folder + "/FULLTEXT/FULLTEXT_00*.xml"},
                 {"mets-1-12-1.xsd", folder + "/mets.xml"}};
    for (const auto& kind : kinds) {
      // The shell expands the names, as a user's would.
      ProgramOutput valid = RunCaptured(
          "/bin/sh", {"-c", "xmllint --noout --nonet --schema '" + schemas + kind.schema + "' " +
                                kind.files + " 2>&1 | grep -c ' validates$'"});
      const int count = std::atoi(valid.out.c_str());
      EXPECT_EQ(count, kind.schema[0] == 'm' ? 1 : static_cast<int>(pages_.size()))
          << kind.files << valid.out;
      documents += count;
    }
  }
  std::printf("workspace: %d documents valid and keeping the rules\n", documents);
}

TEST_F(OutputFormats, TextIsWhatDjvutxtReadsFromTheBookTheScriptMakes) {
  std::vector<PageSize> sizes;
  for (const std::string& page : pages_) {
    // The frames samples are 1700 x 2200 pixels, every other page 2480 x 3508.
    const bool frames = page.find("frames") != std::string::npos;
    sizes.push_back(frames ? PageSize{1700, 2200} : PageSize{2480, 3508});
  }
  for (const std::vector<std::string>& join : std::vector<std::vector<std::string>>{{}, {"-h"}}) {
    const std::string document = MakeDjvuDocument(dir_, sizes, "book.djvu");
    ProgramOutput applied = RunCaptured(FindTool("djvused"), {document}, Document(join));
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    ProgramOutput djvutxt = RunCaptured(FindTool("djvutxt"), {document});
    ASSERT_EQ(djvutxt.exitCode, 0) << djvutxt.err;
    std::vector<std::string> options = join;
    options.insert(options.end(), {"-o", "text"});
    const std::string text = Document(options);
    EXPECT_EQ(text, djvutxt.rawOut);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), static_cast<long>(pages_.size()));
  }

  // Under -g the files come in name order, 0 and 1 both as page 1, page10 before page2: the
  // text lists the book's pages 1, 2 and 10, page 1 from the later file.
  const char* const files[][2] = {{"0.frf", "sample-v6.frf"},
                                  {"1.frf", "sample-v10.frf"},
                                  {"page10.frf", "sample-frames-v6.frf"},
                                  {"page2.frf", "sample-frames-v10.frf"}};
  for (const auto& file : files)
    dir_.Write(std::string("g/") + file[0],
               ReadFile(std::string(TEST_SOURCE_DIR "/data/") + file[1]));
  std::vector<PageSize> numbered(10, PageSize{1700, 2200});
  numbered[0] = PageSize{2480, 3508};
  const std::string document = MakeDjvuDocument(dir_, numbered, "numbered.djvu");
  ProgramOutput script = RunCaptured(OCRSIFT_EXE, {"-g", dir_.File("g/*.frf")});
  ASSERT_EQ(script.exitCode, 0) << script.err;
  ASSERT_EQ(RunCaptured(FindTool("djvused"), {document}, script.rawOut).exitCode, 0);
  ProgramOutput djvutxt = RunCaptured(FindTool("djvutxt"), {document});
  ProgramOutput text = RunCaptured(OCRSIFT_EXE, {"-g", "-o", "text", dir_.File("g/*.frf")});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.rawOut, djvutxt.rawOut);
  EXPECT_EQ(std::count(text.rawOut.begin(), text.rawOut.end(), '\f'), 3);
  // Two files of one number, in ascending name order otherwise: the later one is page 1.
  dir_.Write("same/a1.frf", ReadFile(TEST_SOURCE_DIR "/data/sample-v6.frf"));
  dir_.Write("same/b1.frf", ReadFile(TEST_SOURCE_DIR "/data/sample-frames-v10.frf"));
  ProgramOutput same = RunCaptured(OCRSIFT_EXE, {"-g", "-o", "text", dir_.File("same/*.frf")});
  EXPECT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(std::count(same.rawOut.begin(), same.rawOut.end(), '\f'), 1) << same.rawOut;
}

// The pages of the PDF tests: every script and the characters the documents must escape, a
// word broken at a line end, words with gaps of 0 and 3 pixels, a table cell, and 200, 300 and
// 400 dpi; with the samples.
std::vector<std::string> PdfPages(const TempDir& dir) {
  using testing_support::Line;
  using testing_support::MakeBlock;
  FrfPage scripts;
  TextFrame frame;
  const std::u16string lines[] = {u"\u00C7a d\u00E9j\u00E0 vu \uFB01nance \u0153uvre \u010Dap",
                                  u"\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440 "
                                  u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1",
                                  u"\u65E5\u672C\u8A9E \u4E2D\u6587 \u5C0F",
                                  u"\U0001D518\U0001D52B\U0001D526 \U0001F600x",
                                  u"a(b) c\\d e&f <g> \"h\" 'i'"};
  int32_t top = 200;
  for (const std::u16string& text : lines) {
    frame.body.blocks.push_back(
        MakeBlock(text, {Line(100, top, 100 + 60 * static_cast<int32_t>(text.size()), top + 60,
                              static_cast<int32_t>(text.size()))}));
    top += 100;
  }
  frame.body.blocks.push_back(
      MakeBlock(u"Hello wor\u00AC\u2028ld.",
                {Line(100, top, 600, top + 60, 11), Line(100, top + 100, 300, top + 160, 3)}));
  top += 200;
  // A long word squeezed into a short second part: 5 pixels a letter on a line of 60; not all
  // of it ASCII, as the whole word marked for PDFium is written in UTF-16 then.
  frame.body.blocks.push_back(
      MakeBlock(u"Miss\u00EDssip\u00AC\u2028pi",
                {Line(100, top, 760, top + 60, 11), Line(100, top + 100, 110, top + 160, 2)}));
  top += 200;
  // Right to left, in logical order, each letter's box left of the one before.
  for (const std::u16string& text :
       {std::u16string(u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD"),
        std::u16string(u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0643")}) {
    const int32_t n = static_cast<int32_t>(text.size());
    TextBlock rtl = MakeBlock(text, {Line(100, top, 100 + 60 * n, top + 60, n)});
    std::vector<testing_support::Box16> letters;
    for (int32_t i = 0; i < n; ++i)
      letters.push_back({static_cast<uint16_t>(100 + 60 * (n - i - 1)), static_cast<uint16_t>(top),
                         static_cast<uint16_t>(100 + 60 * (n - i)),
                         static_cast<uint16_t>(top + 60)});
    letters.push_back({0, 0, 0, 0});
    rtl.boxes = letters;
    frame.body.blocks.push_back(rtl);
    top += 100;
  }
  // "ab" and "cd" touch, "ef" follows 3 pixels after.
  TextBlock gaps = MakeBlock(u"ab cd ef", {Line(100, top, 223, top + 60, 8)});
  const uint16_t t = static_cast<uint16_t>(top);
  const uint16_t b = static_cast<uint16_t>(top + 60);
  gaps.boxes = std::vector<testing_support::Box16>{
      {100, t, 120, b}, {120, t, 140, b}, {140, t, 140, b}, {140, t, 160, b}, {160, t, 180, b},
      {180, t, 183, b}, {183, t, 203, b}, {203, t, 223, b}, {0, 0, 0, 0}};
  frame.body.blocks.push_back(gaps);
  scripts.frames.push_back(frame);
  FrfPage dense = testing_support::TwoBlockPage(6);
  dense.resolution = 400;
  // A page whose words all stand on one baseline: its number alone.
  FrfPage number;
  TextFrame numberFrame;
  numberFrame.body.blocks.push_back(MakeBlock(u"42", {Line(1200, 3300, 1280, 3360, 2)}));
  number.frames.push_back(numberFrame);
  std::vector<std::string> files = {
      testing_support::Build(scripts).Write(dir, "pdf/1-scripts.frf"),
      testing_support::Build(number).Write(dir, "pdf/1-number.frf"),
      testing_support::Build(testing_support::FramesPage(6)).Write(dir, "pdf/2-table.frf"),
      testing_support::Build(dense).Write(dir, "pdf/3-dense.frf")};
  for (const char* sample :
       {"sample-v6.frf", "sample-v10.frf", "sample-frames-v6.frf", "sample-frames-v10.frf"}) {
    files.push_back(dir.Write(std::string("pdf/4-") + sample,
                              ReadFile(std::string(TEST_SOURCE_DIR "/data/") + sample)));
  }
  // In the order of "*.frf", the book's.
  std::sort(files.begin(), files.end());
  return files;
}

// Where scripts/ensure-tools.sh installs pdf.js and PDFium.
std::string EnginesFolder() {
  if (const char* chosen = std::getenv("OCRSIFT_ENGINES"))
    return chosen;
  if (const char* cache = std::getenv("XDG_CACHE_HOME"))
    return std::string(cache) + "/ocrsift-engines";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.cache/ocrsift-engines";
}

// The PDF's words at their boxes for every engine, after what the text went through.
void ExpectWordsFound(const TempDir& dir, const std::string& pdf, const std::string& script,
                      const char* what, bool bmpOnly = false) {
  // Debian's python and node: the memcheck run traces every program outside /usr and /bin.
  const std::string python =
      std::ifstream("/usr/bin/python3").good() ? "/usr/bin/python3" : FindTool("python3");
  const std::string node =
      std::ifstream("/usr/bin/node").good() ? "/usr/bin/node" : FindTool("node");
  ASSERT_NE(node, "") << "node is not installed (scripts/ensure-tools.sh)";
  ASSERT_TRUE(std::ifstream(EnginesFolder() + "/package-lock.json").good())
      << "pdf.js and PDFium are not installed in " << EnginesFolder()
      << " (scripts/ensure-tools.sh)";
  std::vector<std::string> args = {"-c",
                                   kPdfCheck,
                                   pdf,
                                   script,
                                   node,
                                   EnginesFolder() + "/node_modules",
                                   TEST_SOURCE_DIR "/e2e/pdf_engines.mjs"};
  if (bmpOnly)
    args.push_back("bmp");
  ProgramOutput check = RunCaptured(python, args, "", dir.path());
  EXPECT_EQ(check.exitCode, 0) << what << "\n" << check.err;
  std::printf("PDF %s: engine, words, found, at their box:\n%s", what, check.out.c_str());
  ProgramOutput qpdf = RunCaptured(FindTool("qpdf"), {"--check", pdf});
  EXPECT_EQ(qpdf.exitCode, 0) << what << "\n" << qpdf.out << qpdf.err;
  EXPECT_EQ(qpdf.out.find("WARNING"), std::string::npos) << what << "\n" << qpdf.out;
}

TEST_F(OutputFormats, PdfWordsAreFoundByEveryReaderInEveryScript) {
  for (const char* tool : {"qpdf", "pdffonts", "mutool", "pdfgrep", "pdftoppm", "img2pdf", "ddjvu",
                           "gs", "pnmtotiff"}) {
    ASSERT_NE(FindTool(tool), "") << tool << " is not installed (scripts/ensure-tools.sh)";
  }
  const std::vector<std::string> files = PdfPages(dir_);
  ProgramOutput script = RunCaptured(OCRSIFT_EXE, {"-p", "1", dir_.File("pdf/*.frf")});
  ASSERT_EQ(script.exitCode, 0) << script.err;
  const std::string scriptFile = dir_.Write("pdf.djvused", script.rawOut);
  ProgramOutput text = RunCaptured(OCRSIFT_EXE, {"-o", "pdf", "-p", "1", dir_.File("pdf/*.frf")});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const std::string pdf = dir_.Write("text.pdf", text.rawOut);
  ExpectWordsFound(dir_, pdf, scriptFile, "alone");

  // Every font embedded with its ToUnicode map; both scripts found by a search; nothing drawn.
  ProgramOutput fonts = RunCaptured(FindTool("pdffonts"), {pdf});
  std::istringstream rows(fonts.out);
  int fontRows = 0;
  for (std::string row; std::getline(rows, row);) {
    if (row.rfind("OcrsiftInvisible", 0) != 0)
      continue;
    ++fontRows;
    EXPECT_NE(row.find("Identity-H       yes no  yes"), std::string::npos) << row;
  }
  EXPECT_EQ(fontRows, 2) << fonts.out;
  for (const char* word : {"\u041F\u0440\u0438\u0432\u0435\u0442", "\u65E5\u672C\u8A9E"}) {
    ProgramOutput grep = RunCaptured(FindTool("pdfgrep"), {"-c", word, pdf});
    EXPECT_EQ(grep.exitCode, 0) << word;
  }
  ProgramOutput trace = RunCaptured(FindTool("mutool"), {"trace", pdf});
  EXPECT_NE(trace.out.find("<ignore_text"), std::string::npos);
  for (const char* drawn :
       {"<fill_text", "<stroke_text", "<clip_text", "<fill_path", "<stroke_path", "<fill_image"}) {
    EXPECT_EQ(trace.out.find(drawn), std::string::npos) << drawn;
  }
  ASSERT_EQ(
      RunCaptured(FindTool("pdftoppm"), {"-r", "10", "-gray", pdf, dir_.File("white")}).exitCode,
      0);
  for (size_t page = 1; page <= files.size(); ++page) {
    const std::string image = ReadFile(dir_.File("white-" + std::to_string(page) + ".pgm"));
    ASSERT_FALSE(image.empty()) << page;
    const size_t pixels = image.find("255\n") + 4;
    EXPECT_EQ(image.find_first_not_of('\xff', pixels), std::string::npos) << "page " << page;
  }

  // Laid over the scans (img2pdf of TIFF G4 pages) and over ddjvu's PDF of the DjVu book.
  std::vector<PageSize> sizes;
  std::vector<std::string> images = {"-o", dir_.File("images.pdf")};
  for (size_t i = 0; i < files.size(); ++i) {
    const bool frames =
        files[i].find("frames") != std::string::npos || files[i].find("table") != std::string::npos;
    const bool dense = files[i].find("dense") != std::string::npos;
    const PageSize size =
        frames ? PageSize{1700, 2200, 200} : PageSize{2480, 3508, dense ? 400 : 300};
    sizes.push_back(size);
    const std::string pbm = dir_.Write("scan" + std::to_string(i) + ".pbm", PbmPage(size));
    const std::string tif = dir_.File("scan" + std::to_string(i) + ".tif");
    ProgramOutput g4 = RunCaptured(
        "/bin/sh", {"-c", "pnmtotiff -g4 -xresolution $1 -yresolution $1 \"$2\" > \"$3\"", "sh",
                    std::to_string(size.dpi), pbm, tif});
    ASSERT_EQ(g4.exitCode, 0) << g4.err;
    images.push_back(tif);
  }
  ProgramOutput scans = RunCaptured(FindTool("img2pdf"), images);
  ASSERT_EQ(scans.exitCode, 0) << scans.err;
  const std::string djvu = MakeDjvuDocument(dir_, sizes, "scans.djvu");
  ProgramOutput pages =
      RunCaptured(FindTool("ddjvu"), {"-format=pdf", djvu, dir_.File("djvu.pdf")});
  ASSERT_EQ(pages.exitCode, 0) << pages.err;
  for (const char* under : {"images.pdf", "djvu.pdf"}) {
    const std::string book = dir_.File(std::string("over-") + under);
    ProgramOutput overlay =
        RunCaptured(FindTool("qpdf"), {dir_.File(under), "--overlay", pdf, "--", book});
    ASSERT_EQ(overlay.exitCode, 0) << overlay.err;
    ExpectWordsFound(dir_, book, scriptFile, under);
  }
  // Sound after a failed page, under -i, and for a run without a page.
  BuiltFile damaged = testing_support::Build(testing_support::TwoBlockPage(10));
  damaged.SetField("end.identifier", 0);
  damaged.Write(dir_, "bad/p2.frf");
  testing_support::Build(testing_support::TwoBlockPage(6)).Write(dir_, "bad/p1.frf");
  for (const std::vector<std::string>& run :
       std::vector<std::vector<std::string>>{{"-p", "1", dir_.File("bad/*.frf")},
                                             {"-i", "-p", "1", dir_.File("bad/*.frf")},
                                             {"-p", "1", dir_.File("bad/none.frf")}}) {
    std::vector<std::string> args = {"-o", "pdf"};
    args.insert(args.end(), run.begin(), run.end());
    ProgramOutput odd = RunCaptured(OCRSIFT_EXE, args);
    const std::string file = dir_.Write("odd.pdf", odd.rawOut);
    ProgramOutput qpdf = RunCaptured(FindTool("qpdf"), {"--check", file});
    EXPECT_EQ(qpdf.exitCode, 0) << run[0] << "\n" << qpdf.out << qpdf.err;
    EXPECT_EQ(qpdf.out.find("WARNING"), std::string::npos) << qpdf.out;
    // A page for every number the run used: p2 failed, none.frf could not be opened.
    EXPECT_NE(ReadFile(file).find(run.back().find("none") != std::string::npos ? "/Count 1 "
                                                                               : "/Count 2 "),
              std::string::npos);
  }
  // A date-named file under -g is left out with a message; the book before it is written.
  testing_support::Build(testing_support::TwoBlockPage(6)).Write(dir_, "dated/1.frf");
  testing_support::Build(testing_support::TwoBlockPage(10)).Write(dir_, "dated/20261209.frf");
  ProgramOutput dated = RunCaptured(OCRSIFT_EXE, {"-o", "pdf", "-g", dir_.File("dated/*.frf")});
  EXPECT_EQ(dated.exitCode, 2);
  EXPECT_NE(dated.err.find("Page number 20261209 of file \"" + dir_.File("dated/20261209.frf") +
                           "\" is beyond the document's last page (1000000)"),
            std::string::npos)
      << dated.err;
  EXPECT_NE(dated.rawOut.find("/Count 1 "), std::string::npos);
  EXPECT_EQ(RunCaptured(FindTool("pdftotext"), {dir_.Write("dated.pdf", dated.rawOut), "-"}).out,
            "Hello world.\nna\u00EFve caf\u00E9\n\u00DCbung\n\n\f");
  // Ghostscript rewrites the fonts: the words of the Basic Multilingual Plane stay found.
  const std::string rewritten = dir_.File("gs.pdf");
  ProgramOutput gs = RunCaptured(FindTool("gs"), {"-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite",
                                                  "-sOutputFile=" + rewritten, pdf});
  ASSERT_EQ(gs.exitCode, 0) << gs.err;
  ExpectWordsFound(dir_, rewritten, scriptFile, "after pdfwrite", true);
}

}  // namespace
