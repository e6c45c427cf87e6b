#include "ocrsift/diagnostics/channels.h"

#include <cstdarg>
#include <cstdio>

#include "ocrsift/diagnostics/hex_dump.h"
#include "ocrsift/diagnostics/run_options.h"

namespace {

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

FILE* VerboseChannel() {
  return gRunOptions.Verbose ? gRunOptions.VerboseStream : nullptr;
}

void ReportVerbose(const char* format, ...) {
  FILE* verbose = VerboseChannel();
  if (verbose == nullptr)
    return;
  va_list args;
  va_start(args, format);
  std::vfprintf(verbose, format, args);
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
  // The listing's dump goes where its titles go, not to the verbose channel, which is none
  // while the listing is on.
  HexDumpTo(stdout, stream, first, 0, last, false);
}
