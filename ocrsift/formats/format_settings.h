// What the command line decides for every stream document besides its stream: one value per
// option a format may honour, so that a new option reaches the formats that read it without
// another factory signature.
#pragma once

struct FormatSettings {
  bool glyphs = false;  // -c: a glyph per character, with its box, where the format has them
};
