// The djvused format fed through the page recorder: pages, blocks of text with their character
// boxes, and line records, as the block parser hands them over, with words made at and around the
// limits of the word buffer (499 and 500 code units) and hyphen marks there. Every coordinate the
// input gives lies inside the page, so every coordinate written must too (one pixel more where a
// rectangle of no width or height is widened); the script must be well formed, every page
// closed, every word valid UTF-8 without a blank except the "- " of a broken word.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/script_check.h"
#include "ocrsift/formats/document_formats.h"
#include "ocrsift/page/page_recorder.h"
#include "ocrsift/page/text_marks.h"

namespace {

using fuzz_support::Require;

uint16_t PickUnit(FuzzedDataProvider& in) {
  static const uint16_t kUnits[] = {
      'a',    'Z',    '0',    ' ',  '\t', MARK_HYPHEN, MARK_LINE_END, '(',    ')',
      '"',    '\\',   '\n',   '\r', 0,    0x00E9,      0x0416,        0x20AC, 0xD83D,
      0xDE00, 0xDC00, 0xFFFF, '-',  0x7F, 0x00AC,      0x2028};
  if (in.ConsumeBool())
    return kUnits[in.ConsumeIntegralInRange<size_t>(0, sizeof kUnits / sizeof kUnits[0] - 1)];
  return in.ConsumeIntegral<uint16_t>();
}

// A word length at or around the buffer limits, or a short one.
size_t PickWordLength(FuzzedDataProvider& in) {
  static const size_t kLengths[] = {1, 2, 3, 248, 249, 250, 497, 498, 499, 500, 501, 998};
  if (in.ConsumeBool())
    return in.ConsumeIntegralInRange<size_t>(0, 12);
  return kLengths[in.ConsumeIntegralInRange<size_t>(0, sizeof kLengths / sizeof kLengths[0] - 1)];
}

std::vector<uint16_t> MakeText(FuzzedDataProvider& in) {
  std::vector<uint16_t> text;
  const size_t words = in.ConsumeIntegralInRange<size_t>(0, 8);
  for (size_t w = 0; w < words && text.size() < 4000; ++w) {
    const size_t length = PickWordLength(in);
    const uint16_t fill = PickUnit(in);
    for (size_t i = 0; i < length; ++i)
      text.push_back(in.ConsumeIntegralInRange<int>(0, 7) == 0 ? PickUnit(in) : fill);
    // A hyphen mark and a line end at the end of a word, as a broken word has them.
    if (in.ConsumeBool())
      text.push_back(MARK_HYPHEN);
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        text.push_back(MARK_LINE_END);
        break;
      case 1:
        text.push_back(' ');
        break;
      default:
        break;
    }
  }
  return text;
}

bool ValidUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    uint32_t value = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      value = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size())
      return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80)
        return false;
      value = (value << 6) | (d & 0x3F);
    }
    if ((extra == 2 && (value < 0x800 || (value >= 0xD800 && value <= 0xDFFF))) ||
        (extra == 3 && (value < 0x10000 || value > 0x10FFFF)))
      return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  char* buffer = nullptr;
  size_t length = 0;
  FILE* stream = open_memstream(&buffer, &length);
  if (stream == nullptr)
    std::abort();
  std::vector<int32_t> widths;
  std::vector<int32_t> heights;
  {
    std::unique_ptr<DocumentFormat> format = MakeDjvusedFormat(stream, FormatSettings());
    PageRecorder writer(*format, format->Recording(in.ConsumeBool()));
    format->BeginDocument(PageArrival::kAnyOrder);
    const int pages = in.ConsumeIntegralInRange<int>(0, 3);
    for (int p = 0; p < pages; ++p) {
      const int32_t width = in.ConsumeIntegralInRange<int32_t>(1, 65535);
      const int32_t height = in.ConsumeIntegralInRange<int32_t>(1, 65535);
      widths.push_back(width);
      heights.push_back(height);
      writer.BeginPage(p + 1, width, height);
      const int blocks = in.ConsumeIntegralInRange<int>(0, 3);
      for (int b = 0; b < blocks && in.remaining_bytes() > 0; ++b) {
        const std::vector<uint16_t> text = MakeText(in);
        writer.SetText(text.data(), static_cast<int32_t>(text.size()));
        // Usually one box per code unit and one more, as the files have them; sometimes
        // fewer or none.
        int32_t boxes = static_cast<int32_t>(text.size()) + 1;
        if (in.ConsumeIntegralInRange<int>(0, 5) == 0)
          boxes = in.ConsumeIntegralInRange<int32_t>(0, boxes);
        writer.ResetBoxes(boxes);
        // Usually inside the page; sometimes anywhere a box's 16 bits reach.
        const bool anywhere = in.ConsumeIntegralInRange<int>(0, 7) == 0;
        const uint16_t boxWidth = anywhere ? 65535 : static_cast<uint16_t>(width);
        const uint16_t boxHeight = anywhere ? 65535 : static_cast<uint16_t>(height);
        for (int32_t i = 0; i < boxes; ++i) {
          const uint16_t left = in.ConsumeIntegralInRange<uint16_t>(0, boxWidth);
          const uint16_t top = in.ConsumeIntegralInRange<uint16_t>(0, boxHeight);
          const uint16_t right = in.ConsumeIntegralInRange<uint16_t>(left, boxWidth);
          const uint16_t bottom = in.ConsumeIntegralInRange<uint16_t>(top, boxHeight);
          writer.AddBox(left, top, right, bottom);
        }
        // Line records splitting the text, sometimes asking for more than is left.
        int32_t left = static_cast<int32_t>(text.size());
        while (left > 0 && in.remaining_bytes() > 0) {
          int32_t count = in.ConsumeIntegralInRange<int32_t>(1, left + 2);
          const bool fromBoxes = in.ConsumeBool();
          const int32_t lineWidth = anywhere ? INT32_MAX : width;
          const int32_t lineHeight = anywhere ? INT32_MAX : height;
          const int32_t x0 = fromBoxes ? 0 : in.ConsumeIntegralInRange<int32_t>(0, lineWidth);
          const int32_t x1 = fromBoxes ? 0 : in.ConsumeIntegralInRange<int32_t>(x0, lineWidth);
          const int32_t y0 = in.ConsumeIntegralInRange<int32_t>(0, lineHeight);
          const int32_t y1 = in.ConsumeIntegralInRange<int32_t>(y0, lineHeight);
          writer.EmitLine(x0, y0, x1, y1, count);
          left -= count;
        }
      }
      writer.EndPage();
    }
    writer.Finish();
    format->EndDocument();
    format->Flush();
  }
  std::fclose(stream);
  const std::string text(buffer, length);
  std::free(buffer);

  const fuzz_support::Script script = fuzz_support::RequireScript(text);
  Require(script.saved, "the script does not end with save", text);
  Require(script.pages.size() == widths.size(), "a page is missing", text);
  for (size_t p = 0; p < script.pages.size(); ++p) {
    const fuzz_support::ScriptPage& page = script.pages[p];
    Require(page.closed, "a page left open", text);
    Require(page.hasSelect && page.select == static_cast<int32_t>(p) + 1, "wrong page number",
            text);
    Require(page.width == widths[p] && page.height == heights[p], "wrong page size", text);
    for (const fuzz_support::ScriptLine& line : page.lines) {
      Require(fuzz_support::KeepableRect(line.rect, page.width, page.height),
              "a line djvused cannot keep", text);
      Require(!line.words.empty(), "a line without a word", text);
      for (const fuzz_support::ScriptWord& word : line.words) {
        Require(fuzz_support::KeepableRect(word.rect, page.width, page.height),
                "a word djvused cannot keep", text);
        Require(!word.text.empty() && word.text.size() < 500, "a word of impossible length", text);
        Require(ValidUtf8(word.text), "a word that is not UTF-8", text);
        Require(word.text.find('\0') == std::string::npos, "a zero byte in a word", text);
        std::string body = word.text;
        if (body.size() >= 2 && body.compare(body.size() - 2, 2, "- ") == 0)
          body.resize(body.size() - 2);
        Require(body.find_first_of(" \t") == std::string::npos, "a blank inside a word", text);
      }
    }
  }
  return 0;
}
