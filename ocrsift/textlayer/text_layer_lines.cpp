// A line entry and its word entries, from the words the splitter finds in the line.
#include "common/numeric/wrapping_int32.h"
#include "ocrsift/textlayer/script_text.h"
#include "ocrsift/textlayer/text_layer_writer.h"

void TextLayerWriter::EmitLine(int32_t left, int32_t top, int32_t right, int32_t bottom,
                               int32_t count) {
  lineOpen_ = false;
  TextRect line{left, top, right, bottom};
  if (!words_.BeginLine(line, count))
    return;

  // A word entry, with the line entry before the line's first written word, goes to the
  // stream in one write.
  ScriptText entry;
  SplitWord word;
  while (words_.NextWord(word)) {
    // The line entry opens only with its first word that is written: djvused rejects a line
    // without words, and with it the whole script.
    char utf8[kWordCapacity];
    const int32_t size = LineWordSplitter::WrittenForm(word, utf8);
    if (size == 0)
      continue;
    entry.Clear();
    if (!lineOpen_) {
      int32_t lineLeft = line.left;
      int32_t lineUpper = WrapSub(pageHeight_, line.top);
      int32_t lineRight = line.right;
      int32_t lineLower = WrapSub(pageHeight_, line.bottom);
      ClipToPage(lineLeft, lineUpper, lineRight, lineLower);
      entry.AppendLiteral("\n (line");
      entry.AppendBlankAndNumber(lineLeft);
      entry.AppendBlankAndNumber(lineUpper);
      entry.AppendBlankAndNumber(lineRight);
      entry.AppendBlankAndNumber(lineLower);
      lineOpen_ = true;
    }
    AppendWordEntry(entry, word.rect.left, WrapSub(pageHeight_, word.rect.top), word.rect.right,
                    WrapSub(pageHeight_, word.rect.bottom), utf8, size);
    WriteScriptText(entry);
  }
}
