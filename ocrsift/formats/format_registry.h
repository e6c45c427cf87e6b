// The one list of document formats (format_rows.def): the command line, the usage text and
// the driver read it, so a new format is its file and one row.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "ocrsift/formats/document_format.h"
#include "ocrsift/formats/format_settings.h"

// What a page file's document takes from the run that writes it (page_file_settings.h).
struct PageFileSettings;

enum class FormatKind {
  kStream,    // the whole run as one document on standard output
  kPageFile,  // one document per page image
};

using StreamFormatFactory = std::unique_ptr<DocumentFormat> (*)(FILE*, const FormatSettings&);
using PageFileFormatFactory = std::unique_ptr<DocumentFormat> (*)(FILE*, const PageFileSettings&);

struct FormatRow {
  const char* name;  // as -o takes it
  FormatKind kind;
  bool binary;  // bytes a terminal must not receive, written without line-end translation
  // The factory of the row's kind; the other is null. Null results when memory ran out.
  StreamFormatFactory makeStream;
  PageFileFormatFactory makePageFile;
};

// The rows in the order of the usage text, for range-for.
struct FormatRows {
  const FormatRow* begin() const;
  const FormatRow* end() const;
};
FormatRows AllFormats();

// The first row: the djvused script.
const FormatRow& DefaultFormat();
// The row of that name, exactly as written; null when there is none.
const FormatRow* FindFormat(const char* name);
// The names joined by ", ", the default's followed by " (default)" when markDefault.
std::string FormatNames(bool markDefault);
