// Checks a djvused script written by ocrsift against the shape djvused needs: page blocks made
// of the writer's fragments only, parentheses balanced outside strings, every string escape a
// backslash and three octal digits, no raw line feed or carriage return inside a string, the
// "." line only where a page ends, and "save" once at the very end. The fuzz targets stop the
// process on any violation, so a finding always names the input that broke the script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fuzz_support {

struct ScriptRect {
  int32_t left = 0;
  int32_t upper = 0;
  int32_t right = 0;
  int32_t lower = 0;
};

struct ScriptWord {
  ScriptRect rect;
  std::string text;  // the bytes between the quotes with the escapes decoded
};

struct ScriptLine {
  ScriptRect rect;
  std::vector<ScriptWord> words;
};

struct ScriptPage {
  bool hasSelect = false;
  int32_t select = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<ScriptLine> lines;
  bool closed = false;  // ended by ")", an empty line and the "." line
};

struct Script {
  std::vector<ScriptPage> pages;
  bool saved = false;
};

// Reads the script; false with a reason in error when it is not the writer's shape. A page
// left open (no "." line) is accepted here, followed by the next page block or by "save":
// the callers decide when that is allowed.
bool ParseScript(const std::string& text, Script& script, std::string& error);

// Stops the process with the message and the script when the condition is false.
void Require(bool condition, const char* what, const std::string& script);

// ParseScript, stopping the process on a malformed script.
Script RequireScript(const std::string& text);

// A rectangle that djvused stores as written on a page of width by height: every edge within
// the page (a negative side spans from the side to 0), and width and height not zero.
bool KeepableRect(const ScriptRect& rect, int32_t width, int32_t height);

}  // namespace fuzz_support
