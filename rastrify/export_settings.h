// The process-wide settings of one rastrify run: what the command line asked for and where the
// page iterator stands.
#pragma once

#include <cstdint>

struct ExportSettings {
  // The text fields point into the process's argument strings; null means "not given".
  const char* RangeText = nullptr;       // -p value; its presence switches the range mode on
  const char* Format = nullptr;          // -g value, "tif" when not given
  const char* DjvuFile = nullptr;        // first positional argument
  const char* OutputTemplate = nullptr;  // second positional argument
  const char* ExtraArguments = nullptr;  // -a value, passed on to the decoder unchanged
  int32_t CurrentPage = 0;               // the page being exported
  const char* RangeCursor = nullptr;     // where the next unread range item begins
  // 64-bit so that one past a last page of 2147483647 (and the step after yielding it) cannot
  // overflow; only values of the 32-bit range are ever yielded.
  int64_t RangeNext = 0;  // next page of the current range item
  int64_t RangeEnd = 0;   // one past the last page of the current range item
};

extern ExportSettings gExportSettings;

// Returns the settings, and the cached module directory, to their initial state (for tests).
void ResetExportSettings();
