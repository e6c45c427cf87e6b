#include "ocrsift/textlayer/text_layer_writer.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <memory>
#include <new>

#include "ocrsift/textlayer/script_text.h"

TextLayerWriter::TextLayerWriter(DocumentOutput& output, bool suppressScript, bool joinHyphenated)
    : output_(output), suppressScript_(suppressScript), joinHyphenated_(joinHyphenated) {}

TextLayerWriter::TextLayerWriter(FILE* scriptStream, bool suppressScript, bool joinHyphenated)
    : ownOutput_(std::make_unique<DocumentOutput>(scriptStream)),
      output_(*ownOutput_),
      suppressScript_(suppressScript),
      joinHyphenated_(joinHyphenated) {}

TextLayerWriter::~TextLayerWriter() {
  if (pageOpen_ && !pageFailed_)
    EndPage();
  WriteScript("\n\nsave\n");
}

void TextLayerWriter::BeginPage(int32_t page, int32_t width, int32_t height) {
  selectPage_ = page;
  WriteScript("\n# -------------------------------------");
  if (selectPage_ != -1)
    WriteScript("\nselect %d", selectPage_);
  WriteScript("\nremove-txt");
  WriteScript("\nset-txt");
  WriteScript("\n(page 0 0 %d %d", width, height);
  pageWidth_ = width;
  pageHeight_ = height;
  pageOpen_ = true;
  pageFailed_ = false;
}

void TextLayerWriter::EndPage() {
  if (pageOpen_)
    WriteScript("\n)\n\n.\n");
  pageOpen_ = false;
}

void TextLayerWriter::FailPage() {
  pageFailed_ = pageOpen_;
}

void TextLayerWriter::SetText(const uint16_t* codes, int32_t count) {
  text_.reset();
  textLength_ = 0;
  textPos_ = 0;
  if (codes == nullptr || count < 0)
    count = 0;
  // A failed allocation leaves the block without text: its lines then write nothing.
  text_.reset(new (std::nothrow) uint16_t[static_cast<size_t>(count) + 1]);
  if (!text_)
    return;
  std::copy(codes, codes + count, text_.get());
  text_[count] = 0;
  textLength_ = count;
}

void TextLayerWriter::ResetBoxes(int32_t count) {
  boxes_.reset();
  boxCapacity_ = 0;
  boxCount_ = 0;
  if (count <= 0)
    return;
  // A failed allocation leaves the block without boxes, as if it had declared none.
  boxes_.reset(new (std::nothrow) CharBox[static_cast<size_t>(count)]);
  if (boxes_)
    boxCapacity_ = count;
}

void TextLayerWriter::AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
  if (boxCount_ >= boxCapacity_)
    return;
  CharBox& box = boxes_[boxCount_++];
  box.left = left;
  box.top = top;
  box.right = right;
  box.bottom = bottom;
}

void TextLayerWriter::CloseLine(int32_t count) {
  if (count != 0 && lineOpen_) {
    WriteScript(")");
    lineOpen_ = false;
  }
}

void TextLayerWriter::WriteScript(const char* format, ...) {
  if (suppressScript_)
    return;
  va_list args;
  va_start(args, format);
  output_.PrintfList(format, args);
  va_end(args);
}

void TextLayerWriter::WriteScriptText(const ScriptText& text) {
  if (suppressScript_)
    return;
  output_.Write(text.Data(), text.Size());
}
