#include "rxt4/data/LocaleLanguage.h"

#include <cstdlib>
#include <string_view>

namespace rxt4 {

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* locale : {lcAll, lcMessages, lang}) {
    if (locale == nullptr || *locale == '\0') continue;
    const std::string_view name = locale;
    const bool english =
        name.substr(0, 2) == "en" && (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@');
    return english ? Language::English : Language::Japanese;
  }
  return Language::Japanese;
}

Language LanguageOfEnvironment() {
  return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace rxt4
