#include "UiFont.h"

#include <QFontMetricsF>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace rxt4 {
namespace {

// Every text of the interface is Japanese, whatever the locale.
constexpr const char* kUiLanguage = "ja";

bool MonospacedDesign(const QFont& font) {
  const QFontMetricsF metrics(font);
  return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('M'));
}

// The first face fontconfig offers for sans-serif Japanese that is proportional (a
// face without a spacing is proportional; mono, dual and charcell faces have one).
QString FirstProportionalJapaneseFamily() {
  QString found;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return found;
  const auto* lang = reinterpret_cast<const FcChar8*>(kUiLanguage);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddString(pattern, FC_LANG, lang);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* fonts = FcFontSort(config, pattern, FcFalse, nullptr, &result);
  for (int i = 0; fonts != nullptr && i < fonts->nfont && found.isEmpty(); ++i) {
    FcPattern* font = fonts->fonts[i];
    int spacing = FC_PROPORTIONAL;
    FcLangSet* langs = nullptr;
    FcChar8* family = nullptr;
    if (FcPatternGetInteger(font, FC_SPACING, 0, &spacing) == FcResultMatch && spacing != FC_PROPORTIONAL) continue;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) != FcResultMatch || FcLangSetHasLang(langs, lang) != FcLangEqual)
      continue;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
      found = QString::fromUtf8(reinterpret_cast<const char*>(family));
  }
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return found;
}

}  // namespace

QFont ProportionalUiFont(const QFont& desktop) {
  if (!MonospacedDesign(desktop)) return desktop;
  const QString family = FirstProportionalJapaneseFamily();
  if (family.isEmpty()) return desktop;
  QFont font = desktop;
  font.setFamilies(QStringList{family});
  return font;
}

}  // namespace rxt4
