// The process-wide options and output channels of ocrsift. The command line fills them; the
// channels and the parsers read them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// A row of the format registry (ocrsift/formats/format_registry.h), which lives above this
// library: the options only point at it.
struct FormatRow;

struct RunOptions {
  std::string InputSpec;  // file name, wildcard pattern, or "@" and a list file
  int32_t FirstPage = -1;
  bool AutoPageNumbers = false;
  bool JoinHyphenated = true;
  bool IgnoreBadPages = false;
  bool Verbose = false;
  bool ListTags = false;
  int32_t ListTagNumber = 0;
  bool HexDumpMode = false;
  bool TestOnly = false;
  bool Quiet = false;
  bool Glyphs = false;  // -c: a glyph per character, with its box, where a format has them
  const FormatRow* Format = nullptr;  // the document a plain run writes (-o); null: the default
  std::string WorkspaceFolder;        // -w: the page files and mets.xml go there, not to stdout
  FILE* ErrorStream = stderr;
  FILE* VerboseStream = stdout;  // null: the verbose channel prints nothing
  FILE* OutputStream = nullptr;  // where the document goes
};

extern RunOptions gRunOptions;

// Returns the options to their initial values (used by tests).
void ResetRunOptions();
