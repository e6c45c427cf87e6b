// The kinds of frame a page holds, one row each, looked up by the type byte of the header's
// frame types array: the label of its failure report, its step numbers and its parsers.
#pragma once

#include <cstdint>

struct PageContext;

// frameNumber is one-based; the parser advances *step as it reads.
using FrameParser = int (*)(PageContext& page, int32_t frameNumber, int32_t* step);

struct FrameKind {
  const char* label;      // opens the report of a failure inside the frame
  int32_t headStep;       // the step number before the frame head
  FrameParser parseHead;  // null: the kind has no head of its own
  int32_t bodyStep;       // the step number before the frame body
  FrameParser parseBody;  // null: a type without a parser, which fails at bodyStep
};

// The row of a type byte; a type without a row gets the unknown kind.
const FrameKind& FrameKindOf(uint8_t type);

// Parses frame k (zero-based) of the page by its type, from the step numbers of its kind; a
// type without a parser fails with PARSE_BAD_FORMAT at step 600.
int ParseFrame(PageContext& page, int32_t k, uint8_t type, int32_t* step);
