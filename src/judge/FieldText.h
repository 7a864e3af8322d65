#pragma once
// Reading a measurement row's fields fast: judging touches every row of a loaded
// archive, so the row is split once, in one pass, and the few fields judged are read
// without a detour.

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/TextRules.h"

namespace rxt4::judge {

using Fields = std::array<std::string_view, MeasurementRow::kColumnCount>;

// The fields of a line up to column last (0..29), the missing ones empty; columns
// after last are left as they were. The commas of each 64 bytes are found at once,
// eight bytes at a time without a branch (a byte of the word XOR ",,,,,,,," is zero
// exactly where the word holds a comma), then taken in order from the mask.
inline void SplitFields(std::string_view line, int last, Fields& fields) {
  constexpr std::uint64_t kCommas = 0x2C2C2C2C2C2C2C2CULL;
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  constexpr std::uint64_t kGather = 0x0102040810204080ULL;  // bit 8k to bit 56 + k
  const char* const begin = line.data();
  const std::size_t size = line.size();
  std::size_t start = 0;
  int column = 0;
  for (std::size_t base = 0; base < size; base += 64) {
    const std::size_t n = size - base < 64 ? size - base : 64;
    std::uint64_t commas = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t word;
      std::memcpy(&word, begin + base + i, 8);
      if constexpr (std::endian::native == std::endian::big) {
        std::uint64_t swapped = 0;
        for (int b = 0; b < 8; ++b) swapped |= ((word >> (8 * b)) & 0xFF) << (56 - 8 * b);
        word = swapped;
      }
      const std::uint64_t x = word ^ kCommas;
      const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);  // 0x80 in each comma byte
      commas |= (((zero >> 7) * kGather) >> 56) << i;
    }
    for (; i < n; ++i) commas |= static_cast<std::uint64_t>(begin[base + i] == ',') << i;
    for (; commas; commas &= commas - 1) {
      const std::size_t at = base + static_cast<std::size_t>(std::countr_zero(commas));
      fields[static_cast<std::size_t>(column)] = std::string_view(begin + start, at - start);
      start = at + 1;
      if (++column > last) return;
    }
  }
  fields[static_cast<std::size_t>(column++)] = std::string_view(begin + start, size - start);
  for (; column <= last; ++column) fields[static_cast<std::size_t>(column)] = {};
}

// The text without surrounding white space (TextRules' Trim), skipping the call for
// the usual field that has none.
inline std::string_view Trimmed(std::string_view text) {
  if (text.empty() || (static_cast<unsigned char>(text.front()) > ' ' && static_cast<unsigned char>(text.back()) > ' '))
    return text;
  return Trim(text);
}

// A code column (screen type, band number): its digits, blanks around them allowed.
// False for an empty column or one holding anything else.
inline bool ReadCode(std::string_view text, long long& code) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 9) return false;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  code = value;
  return true;
}

// A stored reading that is a number: an optional sign, digits and a decimal point, or
// any form from_chars reads (an exponent: "2.0E-4"). The text must be that number
// alone. Up to 15 digits with a point the number is the digits divided by a power of
// ten, which is exact, so the result is the nearest double as from_chars gives it.
inline bool ReadNumber(std::string_view text, double& value) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::size_t i = text.front() == '-' ? 1 : 0;
  std::uint64_t digits = 0;
  int count = 0, decimals = 0;
  bool point = false, simple = i < text.size();
  for (; simple && i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      decimals += point;
      simple = ++count <= 15;
    } else {
      simple = c == '.' && !point;
      point = true;
    }
  }
  if (simple && count > 0) {
    value = static_cast<double>(digits) / kPowersOfTen[decimals];
    if (text.front() == '-') value = -value;
    return true;
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace rxt4::judge
