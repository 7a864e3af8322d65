#include "Labels.h"

#include <array>
#include <string_view>

#include "rxt4/data/Sjis.h"

namespace rxt4 {

const std::string& LabelText(Label label) {
  static constexpr std::array<std::string_view, static_cast<std::size_t>(Label::Count)> kUtf8 = {
      "バンド名", "衛星名", "周波数", "MHz", "GHz", "ﾚﾍﾞﾙ", "C/N", "dB", "MER", "BER", "以下", "以上", "補正",
      "\u3000\u3000", "ch", "BSパススルー"};
  // Encoded once; read-only afterwards.
  static const std::array<std::string, static_cast<std::size_t>(Label::Count)> kSjis = [] {
    std::array<std::string, static_cast<std::size_t>(Label::Count)> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = EncodeSjis(kUtf8[i]);
    return texts;
  }();
  const auto i = static_cast<std::size_t>(label);
  return kSjis[i < kSjis.size() ? i : 0];
}

}  // namespace rxt4
