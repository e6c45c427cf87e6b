#include "rastrify/command_line.h"

#include <cstdio>

#include "common/text/option_value.h"
#include "rastrify/export_settings.h"

namespace {

const char* const kUsageLines[] = {
    "",
    "This program automated extraction of multiple pages from",
    "DjVu document to graphics BMP/TIF format with program DjVuDecode.EXE",
    "",
    "Usage:  rastrify [options] <DjVu file> <out template name> [options]",
    "",
    "Options are:",
    "  -g <name>        -- graphics type format:",
    "                       pnm,pgm,pbm,bmp,tif,jpeg,ps,pict",
    "                       Default value: TIF",
    "  -p <range>       -- Specify the ranges of pages to convert.",
    "                       Ranges are specified like \"1-5,10,11\"",
    "                       Default value: all pages",
    "",
    " <DjVu file>         -- input DjVu file",
    " <out template name> -- base name to create output files",
    "                       Example: \"nm\" ->nm0001.bmp, nm0002.bmp...",
};

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv) {
  ExportSettings& s = gExportSettings;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-') {
      if (s.DjvuFile == nullptr) {
        s.DjvuFile = arg;
      } else if (s.OutputTemplate == nullptr) {
        s.OutputTemplate = arg;
      } else {
        return false;
      }
      continue;
    }
    const char* option = nullptr;
    if (!text::TakeOptionText(argc, argv, i, option))
      return false;
    const char letter = option[0];
    const char* rest = (letter == '\0') ? option : option + 1;
    switch (letter) {
      case 'a':
        // The value is always the next argument; anything after the letter is dropped.
        if (i + 1 >= argc)
          return false;
        s.ExtraArguments = argv[++i];
        break;
      case 'g':
      case 'p': {
        const char* value = nullptr;
        if (!text::TakeOptionValue(rest, argc, argv, i, value))
          return false;
        if (letter == 'g') {
          s.Format = value;
        } else {
          s.RangeText = value;
          s.RangeCursor = value;
        }
        break;
      }
      default:
        break;  // letters without meaning are ignored and take no value
    }
  }
  if (s.DjvuFile == nullptr || s.OutputTemplate == nullptr) {
    std::fflush(stdout);
    std::fputs("\n**** file name or template not specified ***", stderr);
    std::fflush(stderr);
    return false;
  }
  if (s.Format == nullptr)
    s.Format = "tif";
  return true;
}

void PrintUsage() {
  std::fputs("\nFront-end for DjVuDecode.EXE: Convert DjVu file in standard graphics format\n",
             stdout);
  std::fputs("Copyright (C) 2026 the rastrify developers; free to use, copy and change.\n", stdout);
  for (const char* line : kUsageLines) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
  }
  std::fflush(stdout);
}
