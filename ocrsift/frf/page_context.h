// What every parser of one page works with: the page's stream, the text sink, the options,
// and the facts and text buffers of the file. ParsePage builds it from what it is given and
// hands it down; no parser reaches for a process-wide record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/platform/platform.h"
#include "ocrsift/page/page_text_sink.h"
#include "ocrsift/stream/frf_stream.h"

struct RunOptions;

// Capacities of the text buffers in UTF-16 code units. The narrow form takes up to
// platform::NarrowBytesPerUnit() bytes per code unit (the ANSI code page's longest character
// on Windows, three for UTF-8 elsewhere), known only when the program runs: the narrow buffers
// have room for the most any platform needs, and NarrowRoom gives the part of it in use, so
// no text that fits in code units fails for room in its narrow form.
constexpr int32_t WIDE_TEXT_CAPACITY = 40000;
constexpr int32_t NAME_CAPACITY = 260;  // names in the header
constexpr int32_t FONT_CAPACITY = 100;  // language and font names
constexpr int32_t NARROW_TEXT_SIZE = WIDE_TEXT_CAPACITY * platform::MAX_NARROW_BYTES_PER_UNIT;
constexpr int32_t NARROW_NAME_SIZE = NAME_CAPACITY * platform::MAX_NARROW_BYTES_PER_UNIT;
constexpr int32_t NARROW_FONT_SIZE = FONT_CAPACITY * platform::MAX_NARROW_BYTES_PER_UNIT;

// The bytes of a narrow buffer of `units` code units that this platform uses.
int NarrowRoom(int32_t units);

// The text of the last string read: its code units (with the text marks) and its narrow form.
// Both outlive the page, as a block's boxes show bytes of an earlier text: the driver keeps
// one pair for the run.
struct PageTextBuffers {
  uint16_t wide[WIDE_TEXT_CAPACITY] = {};
  char narrow[NARROW_TEXT_SIZE] = {};
};

struct PageContext {
  FrfStream& stream;
  PageTextSink* sink;  // the text sink; null: the page's text goes nowhere
  const RunOptions& options;
  const std::string& path;  // the file's name, as its messages quote it
  int32_t pageNumber;
  // The run's text buffers (PageTextBuffers).
  uint16_t (&wideText)[WIDE_TEXT_CAPACITY];
  char (&narrowText)[NARROW_TEXT_SIZE];
  // Recorded by the header.
  uint16_t formatVersion = 0;
  std::vector<uint8_t> frameTypes;

  bool IsVersion10() const { return formatVersion == 10; }
};

// Where the text marks go: recognised text carries them in wideText, for the word rule; a name
// (of the image, a language, a font) keeps its characters there, and only its narrow form, the
// one the trace shows, has the marks.
enum class TextMarks { InText, InNarrowFormOnly };

// Reads n UTF-16 code units from the page's stream into its wideText, replaces U+00AC by
// MARK_HYPHEN and U+2028 by MARK_LINE_END (in wideText only for TextMarks::InText), and
// converts the marked text into the narrow form in output. Returns the bytes written
// including the terminating zero, or 0 when the read failed, n lies outside
// 0..WIDE_TEXT_CAPACITY-1, or the text does not fit outputSize.
int ReadNarrowString(PageContext& page, char* output, int outputSize, int32_t n,
                     TextMarks marks = TextMarks::InText);

// The code units of the text that the last successful ReadNarrowString left in wideText, up
// to its first zero: read with TextMarks::InNarrowFormOnly, a name as the file holds it.
UnitText UnitsOfWideText(const PageContext& page);
