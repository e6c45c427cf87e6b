// Result codes and entry points of the FRF parsers. Every parser reads through the page's
// stream, advances the caller's step number as it goes, and stops at the first failure.
#pragma once

#include <cstdint>

struct PageContext;

constexpr int PARSE_OK = 10;          // element read completely
constexpr int PARSE_EOF = 11;         // the file ended inside the element
constexpr int PARSE_BAD_FORMAT = 12;  // the content violates the format

// The two codes of a failure; a parser stops at the first one.
inline bool IsParseFailure(int result) {
  return result == PARSE_EOF || result == PARSE_BAD_FORMAT;
}

// File header up to and including the frame types array; records the format version and the
// frame types in the page and begins the page in the text sink.
int ParseHeader(PageContext& page, int32_t* step);
// The end-of-frames record and the end identifier after the last frame.
int ParseEnd(PageContext& page, int32_t* step);

// Text frames: the common head, then the body with its blocks and end-of-frame record.
int ParseFrameHead(PageContext& page, int32_t frameNumber, int32_t* step);
int ParseTextFrame(PageContext& page, int32_t frameNumber, int32_t* step);

// Picture, table and barcode frames. The picture head, which barcode frames share, counts as
// the one step headStep.
int ParsePictureHead(PageContext& page, int32_t headStep, int32_t* step);
int ParsePictureFrame(PageContext& page, int32_t frameNumber, int32_t* step);
int ParseTableFrame(PageContext& page, int32_t frameNumber, int32_t* step);
int ParseBarcodeFrame(PageContext& page, int32_t frameNumber, int32_t* step);

// One text block of a text frame (reports its own failures).
int ParseBlock(PageContext& page, int32_t frameNumber, int32_t blockNumber);
