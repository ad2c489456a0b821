#include "Numerals.h"

namespace host {

std::optional<std::int64_t> IntegerLiteral::Signed() const {
  if (State != Status::Ok) return std::nullopt;
  if (Magnitude > static_cast<std::uint64_t>(INT64_MAX) + (Negative ? 1 : 0)) return std::nullopt;
  return Negative ? static_cast<std::int64_t>(0 - Magnitude) : static_cast<std::int64_t>(Magnitude);
}

IntegerLiteral ReadIntegerLiteral(std::string_view text) {
  IntegerLiteral literal;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) literal.Negative = text[i++] == '-';
  if (i < text.size() && text[i] == '$') literal.Hex = true, ++i;
  if (i == text.size()) literal.State = IntegerLiteral::Status::Malformed;
  const std::uint64_t base = literal.Hex ? 16 : 10;
  for (; i < text.size() && literal.State == IntegerLiteral::Status::Ok; ++i) {
    const int digit = HexDigitValue(text[i]);
    if (digit < 0 || static_cast<std::uint64_t>(digit) >= base) {
      literal.State = IntegerLiteral::Status::Malformed;
    } else if (literal.Magnitude > (UINT64_MAX - digit) / base) {
      literal.State = IntegerLiteral::Status::TooLarge;
    } else {
      literal.Magnitude = literal.Magnitude * base + digit;
    }
  }
  return literal;
}

}  // namespace host
