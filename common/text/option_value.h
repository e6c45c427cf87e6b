// How both programs read an option from their command lines: the option's text (a lone dash
// takes the next argument as it) and its value, attached to its letter or in the next argument.
#pragma once

namespace text {

// The text of the option in argv[index], which begins with a dash: what follows the dash, or,
// for a lone "-", the whole next argument ("-" "g" "jpeg" reads as "-g" "jpeg"), and index
// moves onto it. Returns false, leaving index and option alone, when a lone dash ends the
// command line. A missing argument reads as empty text.
bool TakeOptionText(int argc, const char* const* argv, int& index, const char*& option);

// `attached` is what follows the option letter in its own argument. When it is not empty it is
// the value; otherwise the value is the next argument, argv[index + 1], and index moves onto it.
// Returns false, leaving index and value alone, when the value would be the next argument and
// there is none (index + 1 >= argc). A value is taken unchanged, even when it begins with a dash.
bool TakeOptionValue(const char* attached, int argc, const char* const* argv, int& index,
                     const char*& value);

}  // namespace text
