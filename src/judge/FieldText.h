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

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/TextRules.h"

namespace rxt4::judge {

using Fields = std::array<std::string_view, MeasurementRow::kColumnCount>;

// A mask of the commas among the n (at most 64) bytes at p: bit k for byte k. Sixteen
// bytes to an instruction where the processor compares vectors (SSE2, on every x86-64);
// elsewhere eight bytes at a time without a branch: a byte of the word XOR ",,,,,,,,"
// is zero exactly where the word holds a comma.
inline std::uint64_t CommaMask(const char* p, std::size_t n) {
  std::uint64_t mask = 0;
  std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i commas = _mm_set1_epi8(',');
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    mask |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, commas))))
            << i;
  }
#endif
  constexpr std::uint64_t kCommas = 0x2C2C2C2C2C2C2C2CULL;
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  constexpr std::uint64_t kGather = 0x0102040810204080ULL;  // the top bit of byte k to bit 56 + k
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if constexpr (std::endian::native == std::endian::big) {
      std::uint64_t swapped = 0;
      for (int b = 0; b < 8; ++b) swapped |= ((word >> (8 * b)) & 0xFF) << (56 - 8 * b);
      word = swapped;
    }
    const std::uint64_t x = word ^ kCommas;
    const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);  // 0x80 in each comma byte
    mask |= (((zero >> 7) * kGather) >> 56) << i;
  }
  for (; i < n; ++i) mask |= static_cast<std::uint64_t>(p[i] == ',') << i;
  return mask;
}

// The fields of a line up to column last (0..29), the missing ones empty; columns
// after last are left as they were. The commas of each 64 bytes are found at once,
// then taken in order from the mask.
inline void SplitFields(std::string_view line, int last, Fields& fields) {
  const char* const begin = line.data();
  const std::size_t size = line.size();
  std::size_t start = 0;
  int column = 0;
  for (std::size_t base = 0; base < size; base += 64) {
    for (std::uint64_t commas = CommaMask(begin + base, size - base < 64 ? size - base : 64); commas;
         commas &= commas - 1) {
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

// A stored reading that is a number: the text must be that number alone, as
// from_chars reads it after an optional "+". The instrument's forms ("68.2", "-3.5",
// "2.0E-4": up to 15 digits, a point, an exponent that keeps the power of ten within
// 10^22) are read here: the digits times or over an exact power of ten is one
// correctly rounded operation, so the result is the nearest double, as from_chars
// gives it. Any other form goes to from_chars.
inline bool ReadNumber(std::string_view text, double& value) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool negative = text.front() == '-';
  std::size_t i = negative ? 1 : 0;
  std::uint64_t digits = 0;
  int count = 0, decimals = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++count > 15) break;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      decimals += point;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  int exponent = 0;
  bool simple = count > 0 && count <= 15;
  if (simple && i < text.size()) {
    // An exponent: e or E, an optional sign and one or two digits.
    simple = (text[i] == 'e' || text[i] == 'E') && ++i < text.size();
    const bool minus = simple && text[i] == '-';
    if (simple && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t first = i;
    for (; simple && i < text.size() && i - first < 2 && text[i] >= '0' && text[i] <= '9'; ++i)
      exponent = exponent * 10 + (text[i] - '0');
    simple = simple && i == text.size() && i > first;
    if (minus) exponent = -exponent;
  }
  const int power = exponent - decimals;
  if (simple && power >= -22 && power <= 22) {
    const double d = static_cast<double>(digits);
    value = power < 0 ? d / kPowersOfTen[-power] : d * kPowersOfTen[power];
    if (negative) value = -value;
    return true;
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace rxt4::judge
