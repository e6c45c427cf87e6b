#include "ocrsift/textlayer/text_layer_writer.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <new>

TextLayerWriter::TextLayerWriter(FILE* scriptStream, bool suppressScript, bool joinHyphenated)
    : SuppressScript(suppressScript), ScriptStream(scriptStream), JoinHyphenated(joinHyphenated) {}

TextLayerWriter::~TextLayerWriter() {
  if (PageOpen)
    EndPage();
  WriteScript("\n\nsave\n");
}

void TextLayerWriter::BeginPage(int32_t page, int32_t width, int32_t height) {
  SelectPage = page;
  WriteScript("\n# -------------------------------------");
  if (SelectPage != -1)
    WriteScript("\nselect %d", SelectPage);
  WriteScript("\nremove-txt");
  WriteScript("\nset-txt");
  WriteScript("\n(page 0 0 %d %d", width, height);
  PageHeight = height;
  PageOpen = true;
}

void TextLayerWriter::EndPage() {
  if (PageOpen)
    WriteScript("\n)\n\n.\n");
  PageOpen = false;
}

void TextLayerWriter::SetText(const uint16_t* codes, int32_t count) {
  Text.reset();
  TextLength = 0;
  TextPos = 0;
  if (codes == nullptr || count < 0)
    count = 0;
  // A failed allocation leaves the block without text: its lines then write nothing.
  Text.reset(new (std::nothrow) uint16_t[static_cast<size_t>(count) + 1]);
  if (!Text)
    return;
  std::copy(codes, codes + count, Text.get());
  Text[count] = 0;
  TextLength = count;
}

void TextLayerWriter::ResetBoxes(int32_t count) {
  Boxes.reset();
  BoxCapacity = 0;
  BoxCount = 0;
  if (count <= 0)
    return;
  // A failed allocation leaves the block without boxes, as if it had declared none.
  Boxes.reset(new (std::nothrow) CharBox[static_cast<size_t>(count)]);
  if (Boxes)
    BoxCapacity = count;
}

void TextLayerWriter::AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
  if (BoxCount >= BoxCapacity)
    return;
  CharBox& box = Boxes[BoxCount++];
  box.left = left;
  box.top = top;
  box.right = right;
  box.bottom = bottom;
}

void TextLayerWriter::CloseLine(int32_t count) {
  if (count != 0 && LineOpen) {
    WriteScript(")");
    LineOpen = false;
  }
}

void TextLayerWriter::WriteScript(const char* format, ...) {
  if (SuppressScript || ScriptStream == nullptr)
    return;
  va_list args;
  va_start(args, format);
  vfprintf(ScriptStream, format, args);
  va_end(args);
}
