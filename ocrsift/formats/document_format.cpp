#include "ocrsift/formats/document_format.h"

void DocumentFormat::Emit() {
  output_.Write(text_.Data(), text_.Size());
  text_.Clear();
}

void DocumentFormat::BeginDocument() {
  text_.Clear();
  WriteHead();
  Emit();
}

void DocumentFormat::AddPage(const RecordedPage& page) {
  ++pageSequence_;
  text_.Clear();
  WritePage(page);
  Emit();
}

void DocumentFormat::AddFailedPage(const RecordedPage& page) {
  text_.Clear();
  WriteFailedPage(page);
  Emit();
}

void DocumentFormat::EndDocument() {
  text_.Clear();
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
