#include "ocrsift/formats/language_tags.h"

namespace {

struct LanguageTagEntry {
  const char* name;
  const char* tag;
  // PAGE's English name (UTF-8) where it differs from the work files' name.
  const char* pageName = nullptr;
};

// The recognition languages of the OCR package as its work files name them.
constexpr LanguageTagEntry kLanguageTags[] = {
    {"Afrikaans", "af"},
    {"Albanian", "sq"},
    {"Arabic", "ar"},
    {"Armenian", "hy"},
    {"Basque", "eu"},
    {"Belarusian", "be"},
    {"Bulgarian", "bg"},
    {"Catalan", "ca"},
    {"ChinesePRC", "zh-Hans", "Chinese"},
    {"ChineseTaiwan", "zh-Hant", "Chinese"},
    {"Croatian", "hr"},
    {"Czech", "cs"},
    {"Danish", "da"},
    {"Dutch", "nl"},
    {"DutchBelgian", "nl-BE", "Dutch"},
    {"English", "en"},
    {"Esperanto", "eo"},
    {"Estonian", "et"},
    {"Finnish", "fi"},
    {"French", "fr"},
    {"German", "de"},
    {"GermanNewSpelling", "de", "German"},
    {"Greek", "el"},
    {"Hebrew", "he"},
    {"Hungarian", "hu"},
    {"Icelandic", "is"},
    {"Indonesian", "id"},
    {"Irish", "ga"},
    {"Italian", "it"},
    {"Japanese", "ja"},
    {"Kazakh", "kk"},
    {"Korean", "ko"},
    {"Latin", "la"},
    {"Latvian", "lv"},
    {"Lithuanian", "lt"},
    {"Macedonian", "mk"},
    {"Malay", "ms"},
    {"Norwegian", "no"},
    {"NorwegianBokmal", "nb", "Norwegian Bokm\xC3\xA5l"},
    {"NorwegianNynorsk", "nn", "Norwegian Nynorsk"},
    {"Polish", "pl"},
    {"Portuguese", "pt"},
    {"PortugueseBrazilian", "pt-BR", "Portuguese"},
    {"Romanian", "ro"},
    {"Russian", "ru"},
    {"RussianOldSpelling", "ru", "Russian"},
    {"Serbian", "sr"},
    {"Slovak", "sk"},
    {"Slovenian", "sl", "Slovene"},
    {"Spanish", "es"},
    {"Swahili", "sw"},
    {"Swedish", "sv"},
    {"Tatar", "tt"},
    {"Thai", "th"},
    {"Turkish", "tr"},
    {"Ukrainian", "uk"},
    {"Uzbek", "uz"},
    {"Vietnamese", "vi"},
    {"Welsh", "cy"},
};

constexpr bool TagsFitTheirRoom() {
  for (const LanguageTagEntry& entry : kLanguageTags) {
    size_t length = 0;
    while (entry.tag[length] != '\0')
      ++length;
    if (length > kMaxLanguageTagLength)
      return false;
  }
  return true;
}
static_assert(TagsFitTheirRoom(), "every tag fits kMaxLanguageTagLength");

// The table's names are ASCII: a name matches when each code unit is its byte.
bool SameName(const UnitText& name, const char* ascii) {
  size_t i = 0;
  for (; i < name.size() && ascii[i] != '\0'; ++i) {
    if (name[i] != static_cast<unsigned char>(ascii[i]))
      return false;
  }
  return i == name.size() && ascii[i] == '\0';
}

}  // namespace

const char* PageLanguageName(const UnitText& languageName) {
  for (const LanguageTagEntry& entry : kLanguageTags) {
    if (SameName(languageName, entry.name))
      return entry.pageName != nullptr ? entry.pageName : entry.name;
  }
  return nullptr;
}

const char* LanguageTag(const std::vector<UnitText>& languageNames) {
  for (const UnitText& name : languageNames) {
    for (const LanguageTagEntry& entry : kLanguageTags) {
      if (SameName(name, entry.name))
        return entry.tag;
    }
  }
  return nullptr;
}
