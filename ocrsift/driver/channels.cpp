#include "ocrsift/driver/channels.h"

#include <cstdarg>
#include <cstdio>

#include "common/numeric/wrapping_int32.h"
#include "ocrsift/driver/run_options.h"
#include "ocrsift/frf/run_state.h"

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

void ListRegion(int32_t tag, const char* title, int32_t first, int32_t last) {
  if (!TagSelected(tag))
    return;
  if (first == last)
    return;
  ReportTag(tag, "%s", title);
  gRunOptions.VerboseStream = stdout;
  HexDump(first, 0, last, false);
  gRunOptions.VerboseStream = nullptr;
}

void HexDump(int32_t first, int32_t mark, int32_t last, bool align) {
  FrfStream* stream = gRunState.CurrentStream.get();
  if (stream == nullptr)
    return;
  const int32_t restore = stream->Position();
  if (first < 0)
    first = 0;
  if (last < 0)
    last = 0;
  // 64-bit positions: a range that ends near the top of the 32-bit offsets cannot overflow.
  int64_t start = first;
  int64_t end = last;
  if (align) {
    start = first & ~int64_t{0xF};
    end = static_cast<int64_t>(last) | 0xF;
  }
  stream->Seek(static_cast<int32_t>(start));
  bool readable = true;
  int64_t pos = start;
  while (pos <= end && readable) {
    ReportVerbose("\n%06X: ", static_cast<unsigned>(pos));
    for (int i = 0; i < 16 && pos <= end; ++i) {
      uint8_t byte = 0;
      if (readable && !stream->ReadByte(byte))
        readable = false;
      ReportVerbose("%c", pos == mark ? '>' : ' ');
      if (readable && first <= pos && pos <= last) {
        ReportVerbose("%02X", byte);
      } else {
        ReportVerbose("%s", readable ? ".." : "--");
      }
      if (i == 7)
        ReportVerbose(" ");
      ++pos;
    }
  }
  stream->Seek(restore);
}

void HexDumpAroundFailure(int32_t elementStart) {
  const FrfStream* stream = gRunState.CurrentStream.get();
  if (stream == nullptr)
    return;
  HexDump(WrapAdd(elementStart, -80), stream->LastReadStart(), WrapAdd(stream->Position(), 144),
          true);
}
