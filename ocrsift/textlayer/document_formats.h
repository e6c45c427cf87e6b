// The document formats besides the djvused script, each written page by page to output (not
// owned, outliving the format).
#pragma once

#include <memory>

#include "ocrsift/textlayer/document_output.h"
#include "ocrsift/textlayer/page_record.h"

// hOCR 1.2: one XHTML document, an ocr_page per page with its text areas, paragraphs, lines
// and words.
std::unique_ptr<PageFormat> MakeHocrFormat(DocumentOutput& output);
// ALTO 4: one document, a Page per page; text blocks, lines and strings.
std::unique_ptr<PageFormat> MakeAltoFormat(DocumentOutput& output);
// Plain text as djvutxt prints the pages that the djvused script makes.
std::unique_ptr<PageFormat> MakePlainTextFormat(DocumentOutput& output);
