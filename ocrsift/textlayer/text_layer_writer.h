// Accumulates one page's text, character boxes and line records and writes them as a djvused
// script: per page a block that selects the page and sets its hidden text as lines and words
// with their rectangles, and a final "save" command.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "ocrsift/textlayer/document_output.h"
#include "ocrsift/textlayer/line_word_splitter.h"
#include "ocrsift/textlayer/page_text_sink.h"

class ScriptText;

class TextLayerWriter : public PageTextSink {
 public:
  // Capacity of the word and hyphenation buffers in code units, terminating zero included,
  // and of the UTF-8 form of a word in bytes.
  static constexpr int32_t kWordCapacity = LineWordSplitter::kWordCapacity;

  // The script goes to output, which is not owned and must outlive the writer. While
  // suppressScript is set, nothing at all reaches it.
  TextLayerWriter(DocumentOutput& output, bool suppressScript, bool joinHyphenated);
  // The same with an output of the writer's own on scriptStream (not owned; null means that
  // nothing is written).
  TextLayerWriter(FILE* scriptStream, bool suppressScript, bool joinHyphenated);
  // Ends a page that is still open, unless its parse failed, and writes the closing "save"
  // command.
  ~TextLayerWriter() override;
  TextLayerWriter(const TextLayerWriter&) = delete;
  TextLayerWriter& operator=(const TextLayerWriter&) = delete;

  void BeginPage(int32_t page, int32_t width, int32_t height) override;
  void EndPage() override;
  // The page stays open for good: djvused then rejects the whole script, so nothing half-read
  // reaches the document.
  void FailPage() override;
  // A null codes pointer or a negative count gives an empty text.
  void SetText(const uint16_t* codes, int32_t count) override;
  // A negative count is taken as 0.
  void ResetBoxes(int32_t count) override;
  void AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) override;
  // A count beyond the code units left in the block's text is cut to what is left; a code unit
  // without a stored box adds nothing to any rectangle.
  void EmitLine(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t count) override;
  void CloseLine(int32_t count) override;
  // The single gate of all script output.
  void WriteScript(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

 private:
  // Appends a word entry whose text is the size bytes of its UTF-8 form, and the parenthesis
  // that closes it.
  void AppendWordEntry(ScriptText& entry, int32_t left, int32_t upper, int32_t right, int32_t lower,
                       const char* utf8, int32_t size);
  // Moves each edge of a rectangle in script coordinates into the page, and keeps the
  // rectangle from collapsing there: djvused stores a text zone relative to its neighbours in
  // 16 bits and rejects one without extent when the layer is read, so either would leave the
  // page without a readable text layer.
  void ClipToPage(int32_t& left, int32_t& upper, int32_t& right, int32_t& lower) const;
  // The gate of the composed entries, as WriteScript is of the printf-style fragments.
  void WriteScriptText(const ScriptText& text);

  std::unique_ptr<DocumentOutput> ownOutput_;
  DocumentOutput& output_;
  int32_t selectPage_ = -1;
  bool suppressScript_ = false;
  int32_t pageWidth_ = 0;
  int32_t pageHeight_ = 0;
  bool pageOpen_ = false;
  bool pageFailed_ = false;
  bool lineOpen_ = false;
  LineWordSplitter words_;
};
