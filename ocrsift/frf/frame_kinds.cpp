#include "ocrsift/frf/frame_kinds.h"

#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"

namespace {

struct FrameKindRow {
  uint8_t type;
  FrameKind kind;
};

const FrameKindRow kFrameKinds[] = {
    {0, {"Text Frame:", 79, ParseFrameHead, 99, ParseTextFrame}},
    {1, {"Pict Frame:", 0, nullptr, 299, ParsePictureFrame}},
    {3, {"Table Frame:", 0, nullptr, 399, ParseTableFrame}},
    {4, {"BarCode Frame:", 0, nullptr, 499, ParseBarcodeFrame}},
};

const FrameKind kUnknownFrame = {"Unknow Frame:", 0, nullptr, 600, nullptr};

}  // namespace

const FrameKind& FrameKindOf(uint8_t type) {
  for (const FrameKindRow& row : kFrameKinds) {
    if (row.type == type)
      return row.kind;
  }
  return kUnknownFrame;
}

int ParseFrame(PageContext& page, int32_t k, uint8_t type, int32_t* step) {
  const FrameKind& kind = FrameKindOf(type);
  const int32_t frameNumber = k + 1;
  if (kind.parseHead != nullptr) {
    *step = kind.headStep;
    RETURN_UNLESS_OK(kind.parseHead(page, frameNumber, step));
  }
  *step = kind.bodyStep;
  return kind.parseBody != nullptr ? kind.parseBody(page, frameNumber, step) : PARSE_BAD_FORMAT;
}
