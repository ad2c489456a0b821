#pragma once
// How integers are written in form text and property values: decimal and hex
// digits, and literals with an optional sign and '$' for hex.

#include <cstdint>
#include <optional>
#include <string_view>

namespace host {

inline constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";

// The value of a decimal or hex digit of either case, or -1 for any other
// character.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

// Binary data is written with upper-case hex digits whatever case it was read in.
constexpr char UpperHexDigit(char c) {
  return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
}

// An integer literal taken apart: [+|-][$]digits, the magnitude unsigned so
// that a hex bit pattern and the most negative value both fit.
struct IntegerLiteral {
  enum class Status { Ok, Malformed, TooLarge };
  Status State = Status::Ok;
  bool Negative = false;
  bool Hex = false;
  std::uint64_t Magnitude = 0;

  // The signed value, when it fits in 64 bits.
  std::optional<std::int64_t> Signed() const;
};

// Reads `text` whole. The first fault from the left decides the status: a
// character that is not a digit of the base (or no digit at all) is
// Malformed, a magnitude past 64 bits TooLarge.
IntegerLiteral ReadIntegerLiteral(std::string_view text);

}  // namespace host
