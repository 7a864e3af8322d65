#pragma once
// The lenient text-to-number rules the instrument's files are read with.

#include <string>
#include <string_view>

namespace rxt4 {

// Decimal integer: leading blanks and a sign allowed, reading stops at the first
// character that is not a digit; a text without digits reads as 0. Saturates.
long long ParseInt(std::string_view text);

// The longest leading decimal number (optional sign, digits, decimal point,
// exponent; leading blanks skipped); 0 when the text does not begin with one.
double ParseReal(std::string_view text);

// The text without leading and trailing white space (blank, tab, CR, LF, VT, FF).
std::string_view Trim(std::string_view text);
std::string_view TrimRight(std::string_view text);

// The order of set folder names: ASCII letters compared without regard to case, runs
// of digits as the numbers they write ("2" before "10", "007" beside "7"), other bytes
// by value; names equal in that order fall back to plain byte order ("0412" before
// "412", "A" before "a").
bool NameOrderLess(std::string_view a, std::string_view b);

// A file or folder name (bytes, as the file system holds them) as valid UTF-8 text
// that tells every name apart: valid UTF-8 stays as it is, except that a backslash
// becomes "\\" and a byte that is no part of a valid character, or a control
// character (below 0x20, 0x7F), becomes "\xNN" (two upper-case hex digits).
std::string EscapedName(std::string_view name);

}  // namespace rxt4
