#include "ocrsift/formats/language_tags.h"

namespace {

struct LanguageTagEntry {
  const char* name;
  const char* tag;
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
    {"ChinesePRC", "zh-Hans"},
    {"ChineseTaiwan", "zh-Hant"},
    {"Croatian", "hr"},
    {"Czech", "cs"},
    {"Danish", "da"},
    {"Dutch", "nl"},
    {"DutchBelgian", "nl-BE"},
    {"English", "en"},
    {"Esperanto", "eo"},
    {"Estonian", "et"},
    {"Finnish", "fi"},
    {"French", "fr"},
    {"German", "de"},
    {"GermanNewSpelling", "de"},
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
    {"NorwegianBokmal", "nb"},
    {"NorwegianNynorsk", "nn"},
    {"Polish", "pl"},
    {"Portuguese", "pt"},
    {"PortugueseBrazilian", "pt-BR"},
    {"Romanian", "ro"},
    {"Russian", "ru"},
    {"RussianOldSpelling", "ru"},
    {"Serbian", "sr"},
    {"Slovak", "sk"},
    {"Slovenian", "sl"},
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

const char* LanguageTag(const std::vector<UnitText>& languageNames) {
  for (const UnitText& name : languageNames) {
    for (const LanguageTagEntry& entry : kLanguageTags) {
      if (SameName(name, entry.name))
        return entry.tag;
    }
  }
  return nullptr;
}
