// The BCP 47 tags of the recognition languages that FRF text areas name, and PAGE's names of
// them.
#pragma once

#include <cstddef>
#include <vector>

#include "ocrsift/page/page_text_sink.h"

// The longest tag, so that a document's element heads know the room a tag takes.
constexpr size_t kMaxLanguageTagLength = 7;

// The tag of the first of the names that has one ("English" gives "en"), or null when none
// has: names such as "Digits" are no language.
const char* LanguageTag(const std::vector<UnitText>& languageNames);

// The name of the language in PAGE's list of languages (UTF-8, as one name has a letter
// beyond ASCII), or null when PAGE has none for it.
const char* PageLanguageName(const UnitText& languageName);
