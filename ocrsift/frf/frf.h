// Result codes and entry points of the FRF parsers. Every parser reads through
// gRunState.CurrentStream, advances the caller's step number as it goes, and stops at the
// first failure.
#pragma once

#include <cstdint>

constexpr int PARSE_OK = 10;          // element read completely
constexpr int PARSE_EOF = 11;         // the file ended inside the element
constexpr int PARSE_BAD_FORMAT = 12;  // the content violates the format

// The two codes of a failure; a parser stops at the first one.
inline bool IsParseFailure(int result) {
  return result == PARSE_EOF || result == PARSE_BAD_FORMAT;
}

// File header up to and including the frame types array; begins the page in the writer.
int ParseHeader(int32_t* step);
// The end-of-frames record and the end identifier after the last frame.
int ParseEnd(int32_t* step);

// Text frames: the common head, then the body with its blocks and end-of-frame record.
int ParseFrameHead(int32_t frameNumber, int32_t* step);
int ParseTextFrame(int32_t frameNumber, int32_t* step);

// Picture, table and barcode frames.
int ParsePictureHead(int32_t* step);
int ParsePictureFrame(int32_t frameNumber, int32_t* step);
int ParseTableFrame(int32_t frameNumber, int32_t* step);
int ParseBarcodeFrame(int32_t frameNumber, int32_t* step);

// One text block of a text frame (reports its own failures).
int ParseBlock(int32_t frameNumber, int32_t blockNumber);
