// The BCP 47 tags of the recognition languages that FRF text areas name.
#pragma once

#include <string>
#include <vector>

// The tag of the first of the names that has one ("English" gives "en"), or null when none
// has: names such as "Digits" are no language.
const char* LanguageTag(const std::vector<std::string>& languageNames);
