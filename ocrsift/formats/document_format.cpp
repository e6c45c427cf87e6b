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

void DocumentFormat::ExchangeRoom(ComposeRoom& room) {
  assert(text_.Size() == 0 && kept_.Size() == 0);
  text_.Swap(room.text);
  kept_.Swap(room.kept);
  text_.Clear();
  kept_.Clear();
}

void DocumentFormat::BeginDocument(PageArrival arrival) {
  assert(text_.Size() == 0);
  onePage_ = OnePageDocument() || (arrival == PageArrival::kOnePage && HeadFollowsPages());
  if (onePage_) {
    kept_.Clear();
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
    // A second page of a one-page document replaces the first, as in every document; a page
    // that composed nothing (one the format refused) leaves the first.
    if (text_.Size() != 0)
      text_.Swap(kept_);
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

void DocumentFormat::EndOnePage() {
  // The kept page takes the end after it, copying nothing.
  text_.Swap(kept_);
  WriteEnd();
  if (HeadFollowsPages()) {
    text_.Swap(kept_);
    WriteHead();
    Emit();
    output_.Write(kept_.Data(), kept_.Size());
    kept_.Clear();
  } else {
    Emit();
  }
}

void DocumentFormat::EndDocument() {
  assert(text_.Size() == 0);
  if (onePage_) {
    EndOnePage();
    return;
  }
  if (HeadFollowsPages()) {
    WriteHead();
    Emit();
  }
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
