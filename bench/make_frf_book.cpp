// Writes a synthetic book of FRF work files: dense text pages of versions 6 and 10 with
// tables, pictures and barcodes where asked, the same files for the same seed on every
// machine. It feeds the benchmark and makes seeds for the fuzz corpora.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/frf_builder.h"

namespace {

using namespace testing_support;

const char kUsage[] =
    "usage: make_frf_book [options] <output folder>\n"
    "  -n <pages>   pages of the book (default 10)\n"
    "  -w <words>   words a page (default 600)\n"
    "  -v <6|10|mixed>  format version; mixed: 6 on odd pages, 10 on even (default mixed)\n"
    "  -t <k>       a table on every k-th page, 0 for none (default 8)\n"
    "  -i <k>       a picture frame on every k-th page, 0 for none (default 0)\n"
    "  -b <k>       a barcode frame on every k-th page, 0 for none (default 0)\n"
    "  -e <k>       every k-th page's text ends in a word broken by a hyphen, completed by\n"
    "               the next page's first word, 0 for none (default 0)\n"
    "  -s <seed>    seed of the text (default 1)\n"
    "  -x <prefix>  file name prefix (default \"page\"): <prefix>0001.frf, ...\n"
    "  -m <prefix>  image name prefix in the headers (default \"page\"): <prefix>0001.tif, ...\n"
    "Pages are 2480 x 3508 pixels at 300 dpi.\n";

struct BookSettings {
  long pages = 10;
  long words = 600;
  int version = 0;  // 0: mixed
  long tableEvery = 8;
  long pictureEvery = 0;
  long barcodeEvery = 0;
  long breakEvery = 0;
  uint64_t seed = 1;
  std::string prefix = "page";
  std::string imagePrefix = "page";
  std::string folder;
};

// splitmix64: the same sequence from the same seed with every compiler and library.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number in [0, n).
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(Next() % n); }

 private:
  uint64_t state_;
};

// Mostly plain words, with the characters that the script must escape or encode mixed in:
// accented and Cyrillic letters, quotes, parentheses, a backslash, digits.
const char16_t* const kVocabulary[] = {
    u"the",
    u"of",
    u"and",
    u"to",
    u"in",
    u"that",
    u"which",
    u"was",
    u"chapter",
    u"manuscript",
    u"library",
    u"reader",
    u"page",
    u"volume",
    u"printed",
    u"second",
    u"edition",
    u"author",
    u"history",
    u"together",
    u"however",
    u"between",
    u"1887,",
    u"p.",
    u"42.",
    u"caf\u00E9",
    u"na\u00EFve",
    u"\u00DCbung",
    u"Stra\u00DFe",
    u"\u00E9t\u00E9",
    u"\u043A\u043D\u0438\u0433\u0430",
    u"\u0441\u0442\u0440\u0430\u043D\u0438\u0446\u0430",
    u"(see",
    u"note)",
    u"\"quoted\"",
    u"a\\b",
    u"1,2",
    u"\u2014",
    u"section",
    u"remarks",
    u"account",
    u"observed",
    u"since",
    u"whose",
};
constexpr uint32_t kVocabularySize = sizeof(kVocabulary) / sizeof(kVocabulary[0]);

constexpr int32_t kLeft = 150;
constexpr int32_t kTop = 200;
constexpr int32_t kCharWidth = 20;
constexpr int32_t kLineHeight = 48;
constexpr int32_t kLineStep = 56;
constexpr int kLinesPerBlock = 10;

// One text frame of the page's words, kLinesPerBlock lines to a block; now and then a word is
// broken by a hyphen at a line end and its second part opens the next line. With opensPart2
// the frame begins with the second part of a word the page before broke; with endsInPart1 it
// ends in a first part.
TextFrame TextFrameOf(Random& random, long words, bool opensPart2, bool endsInPart1,
                      int32_t& lineTop) {
  TextFrame frame;
  long left = words;
  std::u16string next = opensPart2 ? u"tinued" : u"";
  while (left > 0) {
    TextBlock block;
    for (int line = 0; line < kLinesPerBlock && (left > 0 || !next.empty()); ++line) {
      std::u16string text = next;
      next.clear();
      const long wordsOnLine = 8 + static_cast<long>(random.Below(7));
      for (long w = 0; w < wordsOnLine && left > 0; ++w, --left) {
        if (!text.empty())
          text += u' ';
        text += kVocabulary[random.Below(kVocabularySize)];
      }
      if (left == 0 && next.empty() && endsInPart1) {
        text += u" con";
        text += kHyphenMark;
      } else if (line + 1 < kLinesPerBlock && left > 0) {
        if (random.Below(8) == 0) {
          text += u" con";
          text += kHyphenMark;
          next = u"tinued";
        }
        text += kLineEndMark;
      }
      const int32_t chars = static_cast<int32_t>(text.size());
      block.lines.push_back(
          Line(kLeft, lineTop, kLeft + kCharWidth * chars, lineTop + kLineHeight, chars));
      block.text += text;
      lineTop += kLineStep;
    }
    frame.body.blocks.push_back(block);
  }
  return frame;
}

TableFrame TableOf(Random& random, int32_t& lineTop) {
  TableFrame table;
  table.dimA = 1;
  table.dimB = 2;
  table.cells.resize(2);
  for (int c = 0; c < 2; ++c) {
    std::u16string text = kVocabulary[random.Below(kVocabularySize)];
    text += u' ';
    text += kVocabulary[random.Below(kVocabularySize)];
    const int32_t chars = static_cast<int32_t>(text.size());
    const int32_t left = kLeft + c * 1100;
    table.cells[static_cast<size_t>(c)].body.blocks.push_back(MakeBlock(
        text, {Line(left, lineTop, left + kCharWidth * chars, lineTop + kLineHeight, chars)}));
  }
  lineTop += kLineStep;
  return table;
}

bool Every(long k, long page) {
  return k > 0 && page % k == 0;
}

FrfPage BookPage(const BookSettings& settings, long page) {
  Random random(settings.seed * 1000003ULL + static_cast<uint64_t>(page));
  FrfPage frf;
  frf.version =
      static_cast<uint8_t>(settings.version != 0 ? settings.version : (page % 2 == 1 ? 6 : 10));
  char number[32];
  std::snprintf(number, sizeof number, "%04ld.tif", page);
  const std::string image = settings.imagePrefix + number;
  frf.imageName.assign(image.begin(), image.end());
  int32_t lineTop = kTop;
  frf.frames.push_back(TextFrameOf(random, settings.words, Every(settings.breakEvery, page - 1),
                                   Every(settings.breakEvery, page), lineTop));
  if (Every(settings.tableEvery, page))
    frf.frames.push_back(TableOf(random, lineTop));
  if (Every(settings.pictureEvery, page)) {
    PictureFrame picture;
    picture.recordCount = 1;
    frf.frames.push_back(picture);
  }
  if (Every(settings.barcodeEvery, page))
    frf.frames.push_back(BarcodeFrame{});
  return frf;
}

bool ParseCount(const char* text, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value >= 0;
}

// Returns false on a usage error.
bool ParseArguments(int argc, char** argv, BookSettings& settings) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.size() != 2 || arg[0] != '-') {
      if (!settings.folder.empty())
        return false;
      settings.folder = arg;
      continue;
    }
    if (i + 1 >= argc)
      return false;
    const char* value = argv[++i];
    long number = 0;
    switch (arg[1]) {
      case 'n':
        if (!ParseCount(value, settings.pages))
          return false;
        break;
      case 'w':
        if (!ParseCount(value, settings.words))
          return false;
        break;
      case 't':
        if (!ParseCount(value, settings.tableEvery))
          return false;
        break;
      case 'i':
        if (!ParseCount(value, settings.pictureEvery))
          return false;
        break;
      case 'b':
        if (!ParseCount(value, settings.barcodeEvery))
          return false;
        break;
      case 'e':
        if (!ParseCount(value, settings.breakEvery))
          return false;
        break;
      case 's':
        if (!ParseCount(value, number))
          return false;
        settings.seed = static_cast<uint64_t>(number);
        break;
      case 'x':
        settings.prefix = value;
        break;
      case 'm':
        settings.imagePrefix = value;
        break;
      case 'v':
        if (std::strcmp(value, "6") == 0)
          settings.version = 6;
        else if (std::strcmp(value, "10") == 0)
          settings.version = 10;
        else if (std::strcmp(value, "mixed") == 0)
          settings.version = 0;
        else
          return false;
        break;
      default:
        return false;
    }
  }
  return !settings.folder.empty();
}

}  // namespace

int main(int argc, char** argv) {
  BookSettings settings;
  if (!ParseArguments(argc, argv, settings)) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  unsigned long long total = 0;
  for (long page = 1; page <= settings.pages; ++page) {
    const BuiltFile built = Build(BookPage(settings, page));
    char name[32];
    std::snprintf(name, sizeof name, "%04ld.frf", page);
    const std::string path = settings.folder + "/" + settings.prefix + name;
    FILE* out = std::fopen(path.c_str(), "wb");
    const bool written = out != nullptr && std::fwrite(built.bytes.data(), 1, built.bytes.size(),
                                                       out) == built.bytes.size();
    if (out != nullptr && std::fclose(out) != 0) {
      std::fprintf(stderr, "make_frf_book: cannot write %s\n", path.c_str());
      return 2;
    }
    if (!written) {
      std::fprintf(stderr, "make_frf_book: cannot write %s\n", path.c_str());
      return 2;
    }
    total += built.bytes.size();
  }
  std::printf("%ld pages, %llu bytes in %s\n", settings.pages, total, settings.folder.c_str());
  return 0;
}
