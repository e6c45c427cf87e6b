#include "ocrsift/formats/document_format.h"

#include <cassert>

void DocumentFormat::Emit() {
  output_.Write(text_.Data(), text_.Size());
  text_.Clear();
}

void DocumentFormat::BeginDocument() {
  assert(text_.Size() == 0);
  WriteHead();
  Emit();
}

void DocumentFormat::AddPage(const RecordedPage& page) {
  ++pageSequence_;
  assert(text_.Size() == 0);
  WritePage(page);
  Emit();
}

void DocumentFormat::AddFailedPage(const RecordedPage& page) {
  assert(text_.Size() == 0);
  WriteFailedPage(page);
  Emit();
}

void DocumentFormat::EndDocument() {
  assert(text_.Size() == 0);
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
