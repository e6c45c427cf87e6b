// What the FRF parsers hand on of a page, in file order: the page and its size, each text
// area (a text frame or a table cell) with its languages and fonts, each text block's code
// units, character boxes and line records. The page recorder receives it and hands each
// page, once it is complete or has failed, to the document format of the run.
#pragma once

#include <cstdint>
#include <vector>

// The rectangle of one character in pixels of the page image; y grows downward.
struct CharBox {
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t right = 0;
  uint16_t bottom = 0;
};

// A name as the file holds it: UTF-16 code units, without a terminating zero.
using UnitText = std::vector<uint16_t>;

// The names a text area declares (empty names left out).
struct AreaNames {
  std::vector<UnitText> languages;
  std::vector<UnitText> fonts;
};

class PageTextSink {
 public:
  virtual ~PageTextSink() = default;

  // The scanned image's file name (empty when the file names none) and resolution in dots
  // per inch; the header gives them just before the page begins.
  virtual void DescribePage(const UnitText& imageName, int32_t resolution) = 0;
  virtual void BeginPage(int32_t page, int32_t width, int32_t height) = 0;
  // The page was read to its end (or, under -i, as far as it could be read).
  virtual void EndPage() = 0;
  // The page's parse failed: what it delivered must never pass for a complete page.
  virtual void FailPage() = 0;

  // A text frame or a table cell opens and closes; its blocks come in between.
  virtual void BeginArea(const AreaNames& names) = 0;
  virtual void EndArea() = 0;

  // One text block: its code units (U+00AC and U+2028 already replaced by the text marks), a
  // box per code unit, and its line records, each of count code units.
  virtual void SetText(const uint16_t* codes, int32_t count) = 0;
  virtual void ResetBoxes(int32_t count) = 0;
  virtual void AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) = 0;
  virtual void EmitLine(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t count) = 0;
};
