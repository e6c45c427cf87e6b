// What the run decides for one PAGE document before its page is written: the names the METS
// file gives it and its page image, the time it carries, and the options that shape it.
#pragma once

#include <cstdint>
#include <string>

struct PageFileSettings {
  std::string fileId;          // the document's pcGtsId, the METS file ID ("OCR-D-OCR-FR7_0001")
  std::string imageName;       // the page image's name, as PageImageName gives it
  int64_t modifiedTime = 0;    // the FRF file's modification time, seconds since 1970 UTC
  bool glyphs = false;         // a Glyph per character (-c)
  bool joinHyphenated = true;  // the words of a broken word are tied by a join relation
};
