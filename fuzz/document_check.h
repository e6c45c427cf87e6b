// Checks that a document of another format tells the book's story as the djvused script of the
// same run does: the pages djvused would store (each closed page, the last one of a page
// number, in ascending number), with the same words in the same order, every rectangle inside
// its page and, in hOCR, every character box inside its word's.
#pragma once

#include <string>
#include <vector>

#include "fuzz/batch_harness.h"
#include "fuzz/script_check.h"

namespace fuzz_support {

// The pages of the book that the script makes, in the order of their page numbers.
std::vector<const ScriptPage*> BookPages(const Script& script);

// Stops the process when the document (format "hocr", "alto" or "text") does not tell the
// story of the script's book, or when the PDF (format "pdf") is not sound: every object where
// the cross-reference table says, stream lengths, BT and ET balanced, every code covered by
// its ToUnicode map, a page for every number of the book.
void RequireSameStory(const std::string& format, const std::string& document, const Script& script);

// Runs the files again in one of the other formats (picked by `pick`): the run must end as the
// script's did, hOCR and ALTO must be well-formed XML, and the document must tell the story of
// the script's book.
void CheckOtherFormat(const std::vector<std::string>& files, BatchOptions options,
                      const BatchResult& scriptRun, size_t pick);

}  // namespace fuzz_support
