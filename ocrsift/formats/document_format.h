// The one interface of every document format, the djvused script included. The run calls
// BeginDocument once, hands on each page as it ends (AddPage for a complete page,
// AddFailedPage for one whose parse failed), calls EndDocument once and then Flush. Each call
// lets its hook compose into the format's buffer and writes what the hook left there, so
// nothing is written from a constructor or a destructor and every write failure is seen in
// the call that made it.
//
// Every document but the script lists its pages as the book has them: one page per page
// number, ascending, a later page of a number replacing the earlier one. When the pages may
// come in another order, they wait in a page spool (a scratch file) until the end.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "common/numeric/decimal_format.h"
#include "ocrsift/formats/compose_buffer.h"
#include "ocrsift/formats/document_output.h"
#include "ocrsift/formats/page_spool.h"
#include "ocrsift/page/page_recorder.h"
#include "ocrsift/page/recorded_page.h"

// How the pages of a run come: each with a higher page number than the one before, or in any
// order (numbers taken from file names, which may repeat or descend), or a single page (the
// document of one page file, which waits for a head that follows it in memory, not in a
// scratch file).
enum class PageArrival { kAscending, kAnyOrder, kOnePage };

// The room a document composes in: the buffer of its hooks and the one that keeps the page of
// a one-page document. A caller that makes a document per page file lends each the room the
// one before grew (DocumentFormat::ExchangeRoom), so the files reuse one piece of memory
// instead of growing, and faulting in, their own.
struct ComposeRoom {
  ComposeBuffer text;
  ComposeBuffer kept;
};

class DocumentFormat : public RecordedPageReceiver {
 public:
  // The document goes to stream (not owned; null writes nothing).
  explicit DocumentFormat(FILE* stream) : output_(stream) {}
  DocumentFormat(const DocumentFormat&) = delete;
  DocumentFormat& operator=(const DocumentFormat&) = delete;

  void BeginDocument(PageArrival arrival);
  void AddPage(const RecordedPage& page);
  // The page was not read whole. Only the djvused script writes it (without closing it, so
  // that djvused rejects the script); every other format leaves it out.
  void AddFailedPage(const RecordedPage& page);
  // The file of this page number gave no page (it failed before its page began): a format
  // with a page for every number keeps the number, as the script's numbering does.
  void AddUnreadPage(int32_t number) {
    assert(text_.Size() == 0);
    WriteUnreadPage(number);
    Emit();
  }
  // The highest page number the document can hold; a file of a higher number is left out.
  virtual int32_t MostPageNumber() const { return INT32_MAX; }
  void EndDocument();
  // Hands the document to the system; false when any write of it failed.
  bool Flush() { return output_.Flush(); }
  bool Failed() const { return output_.Failed(); }
  int Error() const { return output_.Error(); }
  // Empty when the document's own stream failed, else the scratch file that did.
  const std::string& FailedPlace() const { return output_.FailedPlace(); }
  bool FailedPlaceIsScratch() const { return output_.FailedPlaceIsScratch(); }
  // Exchanges the document's compose room with `room`, before BeginDocument and after
  // EndDocument, when nothing composed waits in either.
  void ExchangeRoom(ComposeRoom& room);

  // True once after each complete page that this format cannot hold (a PAGE page without a
  // positive width and height), with its number: the run reports it and fails.
  bool TakeRefusedPage(int32_t& number) {
    if (!pageRefused_)
      return false;
    number = refusedPage_;
    pageRefused_ = false;
    return true;
  }

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
  // The document lists its pages in the book's order; the djvused script, whose pages djvused
  // places by their select commands, keeps the order of the files.
  virtual bool KeepsBookOrder() const { return true; }
  // The head is known only once every page has been read: WriteHead runs at the end, before
  // the pages, which wait in the spool.
  virtual bool HeadFollowsPages() const { return false; }
  // The document holds one page, whatever the pages' arrival: the last complete page handed
  // on waits in memory and is written at the end.
  virtual bool OnePageDocument() const { return false; }
  // The hooks compose into Text(); what they leave there is written to the document. A
  // one-page document composes its end right after its page, and then its head, if it
  // follows the pages, so that the page and the end go out in one write.
  virtual void WriteHead() {}
  virtual void WritePage(const RecordedPage& page) = 0;
  virtual void WriteFailedPage(const RecordedPage& /*page*/) {}
  virtual void WriteUnreadPage(int32_t /*number*/) {}
  virtual void WriteEnd() {}

  // In WritePage: the page cannot be written in this format; nothing of it may be composed.
  void RefusePage(const RecordedPage& page) {
    pageRefused_ = true;
    refusedPage_ = page.number;
  }
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

  // What has been composed is the whole text of page `number`: written, or kept in the spool
  // until the end. Empties the buffer.
  void FinishPage(int32_t number);

  // Records a failure of the spool in the document's output, naming the scratch file.
  void CheckSpool();
  // EndDocument of a one-page document.
  void EndOnePage();

  DocumentOutput output_;
  ComposeBuffer text_;
  int32_t pageSequence_ = 0;
  std::unique_ptr<PageSpool> spool_;  // null while pages are written as they come
  bool onePage_ = false;              // the page waits for the end in kept_
  ComposeBuffer kept_;
  bool pageRefused_ = false;  // since the last TakeRefusedPage
  int32_t refusedPage_ = 0;
};
