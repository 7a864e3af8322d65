#pragma once
// Shift-JIS (code page 932) texts. Texts read from data files stay the bytes that
// were stored; these helpers decode them for display and measure them in cells.

#include <cstddef>
#include <string>
#include <string_view>

namespace rxt4 {

// Decodes CP932 bytes to UTF-8. Bytes that are not valid CP932 become U+FFFD;
// decoding never fails.
std::string DecodeSjis(std::string_view sjis);

// Encodes UTF-8 to CP932. Characters without a CP932 form become '?'.
std::string EncodeSjis(std::string_view utf8);

// Width of a CP932 text in character cells: its byte count (half-width characters
// take one cell, full-width two).
inline int CellWidth(std::string_view sjis) { return static_cast<int>(sjis.size()); }

// Width in cells of a UTF-8 text once encoded as CP932.
int Utf8CellWidth(std::string_view utf8);

// Length in bytes (1 or 2) of the CP932 character that starts at pos.
std::size_t SjisCharLength(std::string_view sjis, std::size_t pos);

// Unicode code point of one CP932 character (1 or 2 bytes); U+FFFD when invalid.
char32_t DecodeSjisChar(std::string_view character);

}  // namespace rxt4
