// Writes the seed corpus of every fuzz target, made with the FRF builder:
//   make_fuzz_seeds <directory>
// One folder per target: page (an option byte and a file), batch (an option byte and files
// cut at "--cut--"), options and rastrify (arguments separated by zero bytes), list_file
// (list files) and writer (a few bytes to start from).
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/frf_builder.h"

namespace {

using namespace testing_support;

bool ok = true;

void WriteSeed(const std::string& folder, const std::string& name, const std::string& bytes) {
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", path.c_str());
    ok = false;
  }
}

// A page whose one block is longer than the stream's buffer, so that reads cross a refill.
FrfPage LongPage(uint8_t version) {
  FrfPage page = TwoBlockPage(version);
  std::u16string text;
  while (text.size() < 9000)
    text += u"longword ";
  std::get<TextFrame>(page.frames[0]).body.blocks.push_back(MakeBlock(text));
  return page;
}

// Words at the limits of the word buffer: 498, 499 and 500 units, one broken by a hyphen.
FrfPage LimitPage(uint8_t version) {
  FrfPage page = TwoBlockPage(version);
  std::u16string text = std::u16string(499, u'x') + kHyphenMark + kLineEndMark + u"yz " +
                        std::u16string(498, u'w') + u" " + std::u16string(500, u'v');
  const int32_t first = 501;
  const int32_t second = static_cast<int32_t>(text.size()) - first;
  std::get<TextFrame>(page.frames[0])
      .body.blocks.push_back(
          MakeBlock(text, {Line(10, 10, 2000, 60, first), Line(10, 100, 2000, 160, second)}));
  return page;
}

std::string FileBytes(const FrfPage& page) {
  return Build(page).AsString();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds <directory>\n");
    return 1;
  }
  const std::string dir = argv[1];
  mkdir(dir.c_str(), 0755);

  std::vector<std::pair<std::string, std::string>> pages;
  for (uint8_t version : {6, 10}) {
    const std::string v = std::to_string(version);
    pages.emplace_back("two-block-v" + v, FileBytes(TwoBlockPage(version)));
    pages.emplace_back("frames-v" + v, FileBytes(FramesPage(version)));
    pages.emplace_back("long-v" + v, FileBytes(LongPage(version)));
    pages.emplace_back("limits-v" + v, FileBytes(LimitPage(version)));
    FrfPage named = TwoBlockPage(version);
    named.names = true;
    named.flagC = 2;
    named.flagD = 1;
    named.v10CountG = 2;
    pages.emplace_back("named-v" + v, FileBytes(named));
  }

  // Option bytes: script, -i, -h, -v, -l, -l2, -t, -d, -g.
  const unsigned char kOptionBytes[] = {0x00, 0x02, 0x01, 0x0C, 0x10, 0x34, 0x18, 0x1C, 0x88};
  for (const auto& page : pages) {
    for (unsigned char byte : kOptionBytes) {
      char name[16];
      std::snprintf(name, sizeof name, "-%02x", byte);
      WriteSeed(dir + "/page", page.first + name,
                std::string(1, static_cast<char>(byte)) + page.second);
    }
  }

  const std::string cut = "--cut--";
  for (size_t i = 0; i + 1 < pages.size(); ++i) {
    const std::string& a = pages[i].second;
    const std::string& b = pages[i + 1].second;
    // The middle file cut short, so that the page before the last stays open.
    const std::string damaged = a.substr(0, a.size() * 2 / 3);
    WriteSeed(dir + "/batch", "pair-" + std::to_string(i), std::string(1, '\0') + a + cut + b);
    WriteSeed(dir + "/batch", "triple-" + std::to_string(i),
              std::string(1, '\0') + a + cut + damaged + cut + b);
  }

  const std::vector<std::string> commandLines = {
      std::string("-p\0"
                  "1\0"
                  "page.frf",
                  13),
      std::string("-g\0"
                  "-i\0"
                  "*",
                  8),
      std::string("-l2\0"
                  "6\0"
                  "p.frf",
                  11),
      std::string("-\0"
                  "p\0"
                  "5\0"
                  "\"a b.frf\"",
                  16),
      std::string("-t\0"
                  "-q\0"
                  "@list",
                  11),
      std::string("-p12\0"
                  "-h\0"
                  "-dv\0"
                  "x",
                  12),
  };
  for (size_t i = 0; i < commandLines.size(); ++i)
    WriteSeed(dir + "/options", "args-" + std::to_string(i), commandLines[i]);

  const std::vector<std::string> rastrifyLines = {
      std::string("-p\0"
                  "1-5,10,11\0"
                  "book.djvu\0"
                  "/tmp/nm",
                  30),
      std::string("-gbmp\0"
                  "book.djvu\0"
                  "out\0"
                  "-p\0"
                  " 2 - 4 ,7",
                  30),
      std::string("-\0"
                  "g\0"
                  "jpeg\0"
                  "-a\0"
                  "--x\0"
                  "d\0"
                  "o",
                  20),
      std::string("-p\0"
                  "5-3,-3,2147483646-99999999999,1,,3\0"
                  "a\0"
                  "b",
                  41),
  };
  for (size_t i = 0; i < rastrifyLines.size(); ++i)
    WriteSeed(dir + "/rastrify", "args-" + std::to_string(i), rastrifyLines[i]);

  const std::vector<std::string> lists = {
      "a.frf\nB.frf\n",
      "# pages\r\n\r\n  a.frf  \r\n;none.frf\r\nsub/c.frf",
      "\ta.frf\t\nmissing.frf\n" + std::string(1, '\0') + "x\nB.frf\r",
  };
  for (size_t i = 0; i < lists.size(); ++i)
    WriteSeed(dir + "/list_file", "list-" + std::to_string(i), lists[i]);

  WriteSeed(dir + "/writer", "start", std::string(64, '\x55'));
  WriteSeed(dir + "/writer", "limits", std::string(256, '\xF7'));
  return ok ? 0 : 1;
}
