// The diagnostic channels of ocrsift: errors, the verbose trace and the tag listing, with the
// region listing of the tag listing. Every message carries its own line feeds; no channel adds
// one.
#pragma once

#include <cstdint>
#include <cstdio>

class FrfStream;

#if defined(__GNUC__)
#define OCRSIFT_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define OCRSIFT_PRINTF(fmt, args)
#endif

// Formatted output on the error channel (RunOptions::ErrorStream).
void ReportError(const char* format, ...) OCRSIFT_PRINTF(1, 2);

// Formatted output on the verbose channel, only while Verbose is on and VerboseStream is set.
void ReportVerbose(const char* format, ...) OCRSIFT_PRINTF(1, 2);

// Where the verbose channel prints: VerboseStream while Verbose is on, else null.
FILE* VerboseChannel();

// Formatted output on standard output, only while the listing is on and selects this tag.
void ReportTag(int32_t tag, const char* format, ...) OCRSIFT_PRINTF(2, 3);

// Lists the bytes first..last (inclusive) of the stream's file under a title when the listing
// selects the tag, the dump on standard output like the title. A region of exactly one byte is
// not listed.
void ListRegion(FrfStream& stream, int32_t tag, const char* title, int32_t first, int32_t last);

// An offset as the messages print it with "%08lX": always the 32-bit pattern, also where long
// is wider.
inline unsigned long OffsetValue(int32_t offset) {
  return static_cast<unsigned long>(static_cast<uint32_t>(offset));
}
