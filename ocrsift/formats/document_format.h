// The one interface of every document format, the djvused script included. The run calls
// BeginDocument once, hands on each page as it ends (AddPage for a complete page,
// AddFailedPage for one whose parse failed), calls EndDocument once and then Flush. Each call
// lets its hook compose into the format's buffer and writes what the hook left there, so
// nothing is written from a constructor or a destructor and every write failure is seen in
// the call that made it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "common/numeric/decimal_format.h"
#include "ocrsift/formats/compose_buffer.h"
#include "ocrsift/formats/document_output.h"
#include "ocrsift/page/page_recorder.h"
#include "ocrsift/page/recorded_page.h"

class DocumentFormat : public RecordedPageReceiver {
 public:
  // The document goes to stream (not owned; null writes nothing).
  explicit DocumentFormat(FILE* stream) : output_(stream) {}
  DocumentFormat(const DocumentFormat&) = delete;
  DocumentFormat& operator=(const DocumentFormat&) = delete;

  void BeginDocument();
  void AddPage(const RecordedPage& page);
  // The page was not read whole. Only the djvused script writes it (without closing it, so
  // that djvused rejects the script); every other format leaves it out.
  void AddFailedPage(const RecordedPage& page);
  void EndDocument();
  // Hands the document to the system; false when any write of it failed.
  bool Flush() { return output_.Flush(); }
  bool Failed() const { return output_.Failed(); }
  int Error() const { return output_.Error(); }

  // How the recorder must record the pages for this format.
  RecorderSettings Recording(bool joinHyphenated) const {
    RecorderSettings settings;
    settings.joinHyphenated = joinHyphenated;
    settings.keepUnitBoxes = NeedsUnitBoxes();
    return settings;
  }

 protected:
  // The recorder keeps a box per code unit for the formats that write them.
  virtual bool NeedsUnitBoxes() const { return false; }
  // The hooks compose into Text(); what they leave there is written to the document.
  virtual void WriteHead() {}
  virtual void WritePage(const RecordedPage& page) = 0;
  virtual void WriteFailedPage(const RecordedPage& /*page*/) {}
  virtual void WriteEnd() {}

  ComposeBuffer& Text() { return text_; }
  DocumentOutput& Output() { return output_; }
  // Writes what has been composed and empties the buffer.
  void Emit();
  template <size_t N>
  void PutText(const char (&literal)[N]) {
    text_.Commit(PutLiteral(text_.Room(N), literal));
  }
  // The complete pages handed on so far, this one included: the first number of an
  // element's identifier.
  int32_t PageSequence() const { return pageSequence_; }
  // An element's identifier attribute: `head` (the attribute's name, quote and the kind of
  // element, such as ` id="word_`), the page's sequence and, for a part of the page, "_" and
  // the part's number (0 for the page itself), and the closing quote. Unique in the document,
  // also when two files give the same page number. At most N + 2 * numeric::kDecimalRoom + 1
  // bytes.
  template <size_t N>
  char* PutId(char* cursor, const char (&head)[N], int32_t part) const {
    cursor = PutLiteral(cursor, head);
    cursor = numeric::PutDecimal(cursor, pageSequence_);
    if (part > 0) {
      *cursor++ = '_';
      cursor = numeric::PutDecimal(cursor, part);
    }
    *cursor++ = '"';
    return cursor;
  }

 private:
  void ReceivePage(const RecordedPage& page, bool complete) final;

  DocumentOutput output_;
  ComposeBuffer text_;
  int32_t pageSequence_ = 0;
};
