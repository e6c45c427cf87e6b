#include "ocrsift/textlayer/text_layer_writer.h"

#include <cstdarg>
#include <cstddef>
#include <memory>

#include "ocrsift/textlayer/script_text.h"

TextLayerWriter::TextLayerWriter(DocumentOutput& output, bool suppressScript, bool joinHyphenated)
    : output_(output), suppressScript_(suppressScript), words_(joinHyphenated, false) {}

TextLayerWriter::TextLayerWriter(FILE* scriptStream, bool suppressScript, bool joinHyphenated)
    : ownOutput_(std::make_unique<DocumentOutput>(scriptStream)),
      output_(*ownOutput_),
      suppressScript_(suppressScript),
      words_(joinHyphenated, false) {}

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
  words_.SetText(codes, count);
}

void TextLayerWriter::ResetBoxes(int32_t count) {
  words_.ResetBoxes(count);
}

void TextLayerWriter::AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
  words_.AddBox(left, top, right, bottom);
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
