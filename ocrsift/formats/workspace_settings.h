// What the run decides for its workspace (-w): where it goes and what its page files hold.
#pragma once

#include <string>

struct WorkspaceSettings {
  std::string folder;          // missing or empty when the run starts
  bool glyphs = false;         // a Glyph per character in PAGE and ALTO (-c)
  bool joinHyphenated = true;  // a broken word's parts tied together (no -h)
};
