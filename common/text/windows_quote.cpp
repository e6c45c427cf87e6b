#include "common/text/windows_quote.h"

namespace text {

std::string QuoteWindowsArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
    return argument;
  std::string quoted = "\"";
  std::string::size_type backslashes = 0;  // the run of backslashes just written
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
    } else if (c == '"') {
      // The run so far doubled, then one more backslash for the quote itself.
      quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    } else {
      backslashes = 0;
    }
    quoted += c;
  }
  // Backslashes before the closing quote are doubled so that it stays a closing quote.
  quoted.append(backslashes, '\\');
  quoted += '"';
  return quoted;
}

std::string WindowsArgumentsText(const std::string& argumentText,
                                 const std::vector<std::string>& wholeArguments) {
  std::string line = argumentText;
  for (const std::string& argument : wholeArguments)
    line += " " + QuoteWindowsArgument(argument);
  return line;
}

}  // namespace text
