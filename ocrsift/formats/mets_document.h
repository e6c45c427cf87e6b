// The METS file of a workspace (METS 1.12.1): the program as the creating agent, the file
// groups of the page images, the PAGE files and the ALTO files, and the physical structure map
// with a page division per page number, ascending, that points to its files.
//
// The table keeps a few bytes and the image's name per page received, so memory stays that of
// the table however large the book; the document is written entry by entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrsift/formats/document_output.h"

class MetsTable {
 public:
  // Page `number` with its image named `image`: with its PAGE and ALTO files (text true) or,
  // for a page that failed, the image alone. A later page of the same number replaces it.
  void Add(int32_t number, const std::string& image, bool text);
  // Writes the METS document to out: the pages in ascending number, the last received of
  // each number.
  void Write(DocumentOutput& out);

 private:
  struct Entry {
    int32_t number = 0;
    uint32_t nameOffset = 0;
    uint32_t nameSize = 0;
    bool text = false;
  };
  void Settle();
  std::string Name(const Entry& entry) const {
    return names_.substr(entry.nameOffset, entry.nameSize);
  }

  std::vector<Entry> entries_;
  std::string names_;  // the image names, one after the other
};
