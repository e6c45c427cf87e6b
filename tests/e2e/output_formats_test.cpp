// The other output formats read by the tools made for them: hOCR turned into a PDF text layer
// by OCRmyPDF's hocrtransform and read back word by word with poppler's pdftotext, ALTO
// validated against the ALTO 4.4 schema with xmllint, and plain text compared with djvutxt of
// the book that the djvused script of the same pages makes. The pages: the samples in
// tests/data and a generated book of both format versions with tables, pictures and barcodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/djvu_document.h"
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
                                        "-b", "5", "-x", "1-page", dir_.File("frf")});
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
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{"-o", "alto"}, {"-o", "alto", "-h"}}) {
    const std::string alto = dir_.Write("book.xml", Document(options));
    ProgramOutput valid = RunCaptured(
        FindTool("xmllint"),
        {"--noout", "--nonet", "--schema", TEST_SOURCE_DIR "/../schemas/alto-4-4-local.xsd", alto});
    EXPECT_EQ(valid.exitCode, 0) << valid.err;
    EXPECT_NE(valid.err.find("validates"), std::string::npos) << valid.err;
    const std::string text = ReadFile(alto);
    EXPECT_EQ(text.find("SUBS_CONTENT") != std::string::npos, options.size() == 2);
  }
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
}

}  // namespace
