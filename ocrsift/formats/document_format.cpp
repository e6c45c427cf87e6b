#include "ocrsift/formats/document_format.h"

#include <cassert>
#include <cerrno>
#include <new>

void DocumentFormat::Emit() {
  output_.Write(text_.Data(), text_.Size());
  text_.Clear();
}

void DocumentFormat::CheckSpool() {
  if (spool_ && spool_->Failed())
    output_.RecordFailure(spool_->Error(), spool_->Name());
}

void DocumentFormat::BeginDocument(PageArrival arrival) {
  assert(text_.Size() == 0);
  onePage_ = arrival == PageArrival::kOnePage && HeadFollowsPages();
  if (onePage_) {
    onePageText_.clear();
  } else if (HeadFollowsPages() || (arrival == PageArrival::kAnyOrder && KeepsBookOrder())) {
    spool_.reset(new (std::nothrow) PageSpool());
    if (!spool_) {
      output_.RecordFailure(ENOMEM);
      return;
    }
    spool_->Open();
    CheckSpool();
  }
  if (!HeadFollowsPages()) {
    WriteHead();
    Emit();
  }
}

void DocumentFormat::FinishPage(int32_t number) {
  if (onePage_) {
    // A second page of a one-page document replaces the first, as in every document.
    onePageText_.assign(text_.Data(), text_.Size());
    text_.Clear();
  } else if (spool_) {
    spool_->Keep(number, text_.Data(), text_.Size());
    text_.Clear();
    CheckSpool();
  } else {
    Emit();
  }
}

void DocumentFormat::AddPage(const RecordedPage& page) {
  ++pageSequence_;
  assert(text_.Size() == 0);
  WritePage(page);
  FinishPage(page.number);
  assert(text_.Size() == 0);
}

void DocumentFormat::AddFailedPage(const RecordedPage& page) {
  assert(text_.Size() == 0);
  WriteFailedPage(page);
  Emit();
}

void DocumentFormat::EndDocument() {
  assert(text_.Size() == 0);
  if (HeadFollowsPages()) {
    WriteHead();
    Emit();
  }
  if (onePage_)
    output_.Write(onePageText_.data(), onePageText_.size());
  if (spool_) {
    spool_->WriteInOrder(output_);
    CheckSpool();
  }
  WriteEnd();
  Emit();
}

void DocumentFormat::ReceivePage(const RecordedPage& page, bool complete) {
  if (complete) {
    AddPage(page);
  } else {
    AddFailedPage(page);
  }
}
