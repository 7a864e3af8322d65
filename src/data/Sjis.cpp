#include "rxt4/data/Sjis.h"

#include <iconv.h>

#include <cerrno>

namespace rxt4 {
namespace {

// One iconv conversion descriptor, owned. iconv_t is not safe to share between
// threads, so each thread keeps its own pair (see Converters()).
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts the whole input; false when any byte sequence is invalid.
  bool Convert(std::string_view in, std::string& out) {
    out.clear();
    if (!valid()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

struct ThreadConverters {
  Converter decode{"UTF-8", "CP932"};
  Converter encode{"CP932", "UTF-8"};
};

ThreadConverters& Converters() {
  thread_local ThreadConverters converters;
  return converters;
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsPlainAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Decodes one UTF-8 sequence at pos; advances pos. Invalid bytes give U+FFFD.
char32_t NextUtf8(std::string_view s, std::size_t& pos) {
  unsigned char c = static_cast<unsigned char>(s[pos++]);
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t cp = c & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
  }
  return cp;
}

}  // namespace

std::size_t SjisCharLength(std::string_view sjis, std::size_t pos) {
  if (pos + 1 < sjis.size() && IsLeadByte(static_cast<unsigned char>(sjis[pos])) &&
      IsTrailByte(static_cast<unsigned char>(sjis[pos + 1])))
    return 2;
  return 1;
}

char32_t DecodeSjisChar(std::string_view character) {
  if (character.empty()) return 0xFFFD;
  unsigned char c = static_cast<unsigned char>(character[0]);
  if (character.size() == 1 && c < 0x80) return c;
  std::string out;
  if (!Converters().decode.Convert(character, out) || out.empty()) return 0xFFFD;
  std::size_t pos = 0;
  char32_t cp = NextUtf8(out, pos);
  return pos == out.size() ? cp : 0xFFFD;
}

std::string DecodeSjis(std::string_view sjis) {
  if (IsPlainAscii(sjis)) return std::string(sjis);
  std::string out;
  if (Converters().decode.Convert(sjis, out)) return out;
  // Some bytes are not CP932: decode character by character.
  out.clear();
  std::string piece;
  for (std::size_t pos = 0; pos < sjis.size();) {
    std::size_t n = SjisCharLength(sjis, pos);
    std::string_view ch = sjis.substr(pos, n);
    if (n == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
      out += ch[0];
    } else if (Converters().decode.Convert(ch, piece) && !piece.empty()) {
      out += piece;
    } else {
      AppendUtf8(out, 0xFFFD);
    }
    pos += n;
  }
  return out;
}

std::string EncodeSjis(std::string_view utf8) {
  if (IsPlainAscii(utf8)) return std::string(utf8);
  std::string out;
  if (Converters().encode.Convert(utf8, out)) return out;
  out.clear();
  std::string piece, unit;
  for (std::size_t pos = 0; pos < utf8.size();) {
    std::size_t start = pos;
    NextUtf8(utf8, pos);
    unit.assign(utf8.substr(start, pos - start));
    if (Converters().encode.Convert(unit, piece) && !piece.empty())
      out += piece;
    else
      out += '?';
  }
  return out;
}

int Utf8CellWidth(std::string_view utf8) { return static_cast<int>(EncodeSjis(utf8).size()); }

}  // namespace rxt4
