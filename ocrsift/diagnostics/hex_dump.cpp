#include "ocrsift/diagnostics/hex_dump.h"

#include <cstdarg>

#include "common/numeric/wrapping_int32.h"
#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/stream/frf_stream.h"

namespace {

void Print(FILE* out, const char* format, ...) OCRSIFT_PRINTF(2, 3);

void Print(FILE* out, const char* format, ...) {
  if (out == nullptr)
    return;
  va_list args;
  va_start(args, format);
  std::vfprintf(out, format, args);
  va_end(args);
}

}  // namespace

void HexDump(FrfStream& stream, int32_t first, int32_t mark, int32_t last, bool align) {
  HexDumpTo(VerboseChannel(), stream, first, mark, last, align);
}

void HexDumpTo(FILE* out, FrfStream& stream, int32_t first, int32_t mark, int32_t last,
               bool align) {
  const int32_t restore = stream.Position();
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
  stream.Seek(static_cast<int32_t>(start));
  bool readable = true;
  int64_t pos = start;
  while (pos <= end && readable) {
    Print(out, "\n%06X: ", static_cast<unsigned>(pos));
    for (int i = 0; i < 16 && pos <= end; ++i) {
      uint8_t byte = 0;
      if (readable && !stream.ReadByte(byte))
        readable = false;
      Print(out, "%c", pos == mark ? '>' : ' ');
      if (readable && first <= pos && pos <= last) {
        Print(out, "%02X", byte);
      } else {
        Print(out, "%s", readable ? ".." : "--");
      }
      if (i == 7)
        Print(out, " ");
      ++pos;
    }
  }
  stream.Seek(restore);
}

void HexDumpAroundFailure(FrfStream& stream, int32_t elementStart) {
  HexDump(stream, WrapAdd(elementStart, -80), stream.LastReadStart(),
          WrapAdd(stream.Position(), 144), true);
}
