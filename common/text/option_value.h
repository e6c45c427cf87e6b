// The value of a command-line option, attached to its letter or in the next argument: the rule
// that ocrsift's -p and rastrify's -g and -p follow.
#pragma once

namespace text {

// `attached` is what follows the option letter in its own argument. When it is not empty it is
// the value; otherwise the value is the next argument, argv[index + 1], and index moves onto it.
// Returns false, leaving index and value alone, when the value would be the next argument and
// there is none (index + 1 >= argc). A value is taken unchanged, even when it begins with a dash.
bool TakeOptionValue(const char* attached, int argc, const char* const* argv, int& index,
                     const char*& value);

}  // namespace text
