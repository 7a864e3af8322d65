#pragma once
// Whether a text a user reads is in Japanese: the checks that English mode speaks
// English and Japanese mode Japanese.

#include <cstddef>
#include <string_view>

namespace rxt4::test {

// Whether a UTF-8 text holds kana, kanji, CJK punctuation or full-width forms.
inline bool HoldsJapanese(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t u = n == 1 ? c : c & (0x7F >> n);
    for (std::size_t k = 1; k < n && i + k < text.size(); ++k) u = (u << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += n;
    if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF9F)) return true;
  }
  return false;
}

}  // namespace rxt4::test
