// The pages of a document kept until it ends, in a scratch file with an index, so that memory
// stays that of one page: each page is kept under its page number, a later page of the same
// number replacing the earlier one, and they are handed out in ascending number, as the book
// that the djvused script makes has them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "ocrsift/formats/document_output.h"

class PageSpool {
 public:
  PageSpool() = default;
  PageSpool(const PageSpool&) = delete;
  PageSpool& operator=(const PageSpool&) = delete;
  ~PageSpool();

  // Makes the scratch file; false (Error() set) when it cannot be made.
  bool Open();
  // Keeps the n bytes as the text of page `number` (none: the page writes nothing).
  void Keep(int32_t number, const char* bytes, size_t n);
  // Writes the kept pages to out in ascending page number.
  void WriteInOrder(DocumentOutput& out);

  bool Failed() const { return file_.Failed(); }
  int Error() const { return file_.Error(); }
  // The scratch file's name, or the name it was to have.
  const std::string& Name() const { return name_; }

 private:
  struct Extent {
    int64_t offset = 0;
    int64_t size = 0;
  };

  FILE* stream_ = nullptr;
  DocumentOutput file_{nullptr};
  std::string name_;
  int64_t end_ = 0;
  std::map<int32_t, Extent> pages_;
};
