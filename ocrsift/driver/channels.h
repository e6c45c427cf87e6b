// The diagnostic channels of ocrsift: errors, the verbose trace and the tag listing, plus the
// region listing and the hex dump of the current FRF file. Every message carries its own line
// feeds; no channel adds one.
#pragma once

#include <cstdint>

#if defined(__GNUC__)
#define OCRSIFT_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define OCRSIFT_PRINTF(fmt, args)
#endif

// Formatted output on the error channel (RunOptions::ErrorStream).
void ReportError(const char* format, ...) OCRSIFT_PRINTF(1, 2);

// Formatted output on the verbose channel, only while Verbose is on and VerboseStream is set.
void ReportVerbose(const char* format, ...) OCRSIFT_PRINTF(1, 2);

// Formatted output on standard output, only while the listing is on and selects this tag.
void ReportTag(int32_t tag, const char* format, ...) OCRSIFT_PRINTF(2, 3);

// Lists the bytes first..last (inclusive) of the current file under a title when the listing
// selects the tag. A region of exactly one byte is not listed.
void ListRegion(int32_t tag, const char* title, int32_t first, int32_t last);

// Dumps the bytes first..last (inclusive) of the current file in hex on the verbose channel,
// 16 a line, flagging the byte at mark with ">". With align, whole 16-byte lines are shown.
// The stream's position is restored afterwards.
void HexDump(int32_t first, int32_t mark, int32_t last, bool align);

// The dump that follows a failure report: whole lines from 80 bytes before the start of the
// element that failed to 144 bytes past the current position, the failing read marked.
void HexDumpAroundFailure(int32_t elementStart);

// An offset as the messages print it with "%08lX": always the 32-bit pattern, also where long
// is wider.
inline unsigned long OffsetValue(int32_t offset) {
  return static_cast<unsigned long>(static_cast<uint32_t>(offset));
}
