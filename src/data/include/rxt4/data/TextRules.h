#pragma once
// The lenient text-to-number rules the instrument's files are read with.

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

}  // namespace rxt4
