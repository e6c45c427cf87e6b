// The format of the exploring modes: every page is parsed and recorded as in any run, and no
// document is written.
#include <new>

#include "ocrsift/formats/document_formats.h"

namespace {

class NoDocument : public DocumentFormat {
 public:
  NoDocument() : DocumentFormat(nullptr) {}

 protected:
  bool KeepsBookOrder() const override { return false; }
  void WritePage(const RecordedPage& /*page*/) override {}
};

}  // namespace

std::unique_ptr<DocumentFormat> MakeNoDocument() {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) NoDocument());
}
