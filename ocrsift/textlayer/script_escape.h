// Which bytes of a word's UTF-8 form djvused must receive as an octal escape inside a quoted
// string.
#pragma once

// True for the bytes written as a backslash and three octal digits: every byte of 0x80 and
// above, the double quote, both parentheses, the backslash, and the line feed and carriage
// return (a raw one would end the text that "set-txt" reads).
constexpr bool NeedsOctalEscape(unsigned char byte) {
  return byte >= 0x80 || byte == '"' || byte == '(' || byte == ')' || byte == '\\' ||
         byte == 0x0A || byte == 0x0D;
}
