// One argument written into a Windows command line so that the Microsoft C runtime of the
// program started reads it back as exactly that one argument.
#pragma once

#include <string>
#include <vector>

namespace text {

// The argument unchanged when it is not empty and holds no blank, tab or double quote.
// Otherwise it is wrapped in double quotes; inside them a double quote is written as \", the
// backslashes just before a double quote are doubled, and so are the backslashes at the end
// (before the closing quote). Other backslashes stay single: "C:\my dir\" becomes
// "C:\my dir\\" in quotes, a"b becomes "a\"b", an empty argument "".
std::string QuoteWindowsArgument(const std::string& argument);

// The arguments of a Windows command line after the program: `argumentText` byte for byte (its
// words are the child's to split), then for each whole argument a blank and the argument as
// QuoteWindowsArgument writes it.
std::string WindowsArgumentsText(const std::string& argumentText,
                                 const std::vector<std::string>& wholeArguments);

}  // namespace text
