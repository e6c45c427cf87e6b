// The document formats, each writing to stream (not owned; null writes nothing). The registry
// (format_registry.h) names them; a format ignores the settings it has no use for.
#pragma once

#include <cstdio>
#include <memory>

#include "ocrsift/formats/document_format.h"
#include "ocrsift/formats/format_settings.h"
#include "ocrsift/formats/page_file_settings.h"
#include "ocrsift/formats/workspace_settings.h"

// The djvused script: per page a block that selects the page and sets its hidden text as
// lines and words with their rectangles, and a final "save" command.
std::unique_ptr<DocumentFormat> MakeDjvusedFormat(FILE* stream, const FormatSettings& settings);
// hOCR 1.2: one XHTML document, an ocr_page per page with its text areas, paragraphs, lines
// and words.
std::unique_ptr<DocumentFormat> MakeHocrFormat(FILE* stream, const FormatSettings& settings);
// ALTO 4: one document, a Page per page; text blocks, lines and strings.
std::unique_ptr<DocumentFormat> MakeAltoFormat(FILE* stream, const FormatSettings& settings);
// PAGE 2019-07-15: the document of one page (the schema allows one Page), with its regions,
// lines, words and, with settings.glyphs, glyphs. A run hands it one page; a later page of
// the same number replaces the earlier one.
std::unique_ptr<DocumentFormat> MakePageXmlFormat(FILE* stream, const PageFileSettings& settings);
// ALTO 4 for one page file: the document of that page alone, naming its image as
// settings.imageName does.
std::unique_ptr<DocumentFormat> MakeAltoPageFile(FILE* stream, const PageFileSettings& settings);
// The workspace of -w: per page a PAGE and an ALTO file, and mets.xml for the book, in the
// settings' folder; nothing on the stream.
std::unique_ptr<DocumentFormat> MakeWorkspace(const WorkspaceSettings& settings);
// PDF: the invisible text layer of the book's pages, to lay over the page images.
std::unique_ptr<DocumentFormat> MakePdfFormat(FILE* stream, const FormatSettings& settings);
// Plain text as djvutxt prints the pages that the djvused script makes.
std::unique_ptr<DocumentFormat> MakePlainTextFormat(FILE* stream, const FormatSettings& settings);
// No document at all: the exploring modes (-v, -l, -d, -t) parse the pages and write nothing.
std::unique_ptr<DocumentFormat> MakeNoDocument();
