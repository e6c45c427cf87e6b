// What the run decides for one PAGE document before its page is written: the names the METS
// file gives it and its page image, the time it carries, and the options that shape it.
#pragma once

#include <cstdint>
#include <string>

// The METS file group of the PAGE documents, after OCR-D's naming of groups by their step.
constexpr char kPageFileGroup[] = "OCR-D-OCR-FR7";

struct PageFileSettings {
  // The document's pcGtsId, the METS file ID ("OCR-D-OCR-FR7_0001"); empty: the ID of the
  // page's number in kPageFileGroup (GroupFileId).
  std::string fileId;
  // The page image's name in UTF-8, as PageImageName gives it; empty: the page's own.
  std::string imageName;
  int64_t modifiedTime = 0;    // the FRF file's modification time, seconds since 1970 UTC
  bool glyphs = false;         // a Glyph per character (-c)
  bool joinHyphenated = true;  // the words of a broken word are tied by a join relation
};

// A METS file ID: the group, "_" and the page number with at least four digits
// ("OCR-D-OCR-FR7_0001"), which also names the file in the group's folder.
std::string GroupFileId(const char* group, int32_t pageNumber);
