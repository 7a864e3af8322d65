#include "rxt4/data/TextRules.h"

#include <charconv>
#include <limits>
#include <string>

namespace rxt4 {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

long long ParseInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  constexpr long long kMax = std::numeric_limits<long long>::max() / 10 - 10;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (value < kMax) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

double ParseReal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      end = j;
    }
  }
  std::string number(text.substr(start, end - start));
  if (!number.empty() && number[0] == '+') number.erase(0, 1);
  double value = 0.0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

std::string_view Trim(std::string_view text) {
  std::size_t b = 0;
  while (b < text.size() && IsSpace(text[b])) ++b;
  return TrimRight(text.substr(b));
}

std::string_view TrimRight(std::string_view text) {
  std::size_t e = text.size();
  while (e > 0 && IsSpace(text[e - 1])) --e;
  return text.substr(0, e);
}

namespace {

unsigned char Folded(char c) {
  return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// The digit run of text starting at i, without its leading zeros (one zero is kept).
std::string_view DigitRun(std::string_view text, std::size_t& i) {
  std::size_t end = i;
  while (end < text.size() && IsDigit(text[end])) ++end;
  std::size_t begin = i;
  while (begin + 1 < end && text[begin] == '0') ++begin;
  i = end;
  return text.substr(begin, end - begin);
}

// Negative, zero or positive as a comes before, beside or after b, ignoring case and
// reading digit runs as numbers.
int CompareNames(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::string_view x = DigitRun(a, i);
      const std::string_view y = DigitRun(b, j);
      // Without leading zeros, the longer run is the larger number.
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (const int c = x.compare(y)) return c;
      continue;
    }
    const unsigned char x = Folded(a[i++]);
    const unsigned char y = Folded(b[j++]);
    if (x != y) return x < y ? -1 : 1;
  }
  return (i < a.size()) - (j < b.size());
}

}  // namespace

bool NameOrderLess(std::string_view a, std::string_view b) {
  const int c = CompareNames(a, b);
  return c != 0 ? c < 0 : a < b;
}

namespace {

// Length of the valid UTF-8 sequence at text[i] (shortest form, no surrogates, at
// most U+10FFFF); 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  std::size_t n;
  unsigned char low = 0x80, high = 0xBF;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return n;
}

}  // namespace

std::string EscapedName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const auto b = static_cast<unsigned char>(name[i]);
    const std::size_t n = Utf8SequenceLength(name, i);
    if (b == '\\') {
      out += "\\\\";
    } else if (n == 0 || b < 0x20 || b == 0x7F) {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    } else {
      out.append(name, i, n);
      i += n;
      continue;
    }
    ++i;
  }
  return out;
}

}  // namespace rxt4
