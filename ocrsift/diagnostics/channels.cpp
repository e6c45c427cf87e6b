#include "ocrsift/diagnostics/channels.h"

#include <cstdarg>
#include <cstdio>

#include "ocrsift/diagnostics/hex_dump.h"
#include "ocrsift/diagnostics/run_options.h"

namespace {

bool VerbosePrints() {
  return gRunOptions.Verbose && gRunOptions.VerboseStream != nullptr;
}

bool TagSelected(int32_t tag) {
  return gRunOptions.ListTags &&
         (gRunOptions.ListTagNumber == 0 || gRunOptions.ListTagNumber == tag);
}

}  // namespace

void ReportError(const char* format, ...) {
  if (gRunOptions.ErrorStream == nullptr)
    return;
  va_list args;
  va_start(args, format);
  std::vfprintf(gRunOptions.ErrorStream, format, args);
  va_end(args);
}

void ReportVerbose(const char* format, ...) {
  if (!VerbosePrints())
    return;
  va_list args;
  va_start(args, format);
  std::vfprintf(gRunOptions.VerboseStream, format, args);
  va_end(args);
}

void ReportTag(int32_t tag, const char* format, ...) {
  if (!TagSelected(tag))
    return;
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
}

void ListRegion(FrfStream& stream, int32_t tag, const char* title, int32_t first, int32_t last) {
  if (!TagSelected(tag))
    return;
  if (first == last)
    return;
  ReportTag(tag, "%s", title);
  gRunOptions.VerboseStream = stdout;
  HexDump(stream, first, 0, last, false);
  gRunOptions.VerboseStream = nullptr;
}
