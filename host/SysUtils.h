#pragma once
// Run-time library: the host's error base class and text helpers.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace host {

// Every error of the host and of the packages derives from Exception; it
// carries the message text shown to the user.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
  // The message as a report about `file` reads it: `file` in front, unless
  // the error names its own place (a file's line, a file that failed).
  virtual std::string AboutFile(const std::string& file) const;
};

// Raised when a checked conversion to a class fails.
class EInvalidCast : public Exception {
 public:
  using Exception::Exception;
};

// Raised by Format on a pattern that does not fit its arguments.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Raised by a property on a value its control does not take: one of another
// kind than the property's, or one the control refuses (an item height of 0,
// an enumeration value it lacks). A form file holding one still opens, the
// value kept as written; a number too large for the property's type is
// malformed for it and stays an EConvertError.
class EValueRefused : public EConvertError {
 public:
  using EConvertError::EConvertError;
};

using FormatArg = std::variant<std::int64_t, std::string>;

// Formats a pattern with %s and %S (text), %d (integer) and %%.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

// Strips leading and trailing characters with codes 0 to 32.
std::string Trim(std::string_view text);

// Compares without regard to the case of ASCII letters, as identifiers,
// keywords and resource names are compared.
bool SameText(std::string_view a, std::string_view b) noexcept;
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

// Hash and equality that agree with SameText, for tables keyed by views of
// names held elsewhere: a look-up then needs no lower-case copy of its key.
struct TextHashNoCase {
  std::size_t operator()(std::string_view text) const noexcept;
};
struct TextEqualNoCase {
  bool operator()(std::string_view a, std::string_view b) const noexcept { return SameText(a, b); }
};

// Whether `name` is an identifier: an ASCII letter or underscore, then
// letters, digits and underscores.
bool IsValidIdent(std::string_view name);
// The bytes that may open an identifier, and those that may go on in one.
// Looked up rather than compared: reading a large form checks every name it
// holds more than once.
inline constexpr auto kIdentChars = [] {
  std::array<std::uint8_t, 256> table{};  // 2: may open one, 1: may go on
  for (int c = 0; c < 26; ++c) table['a' + c] = table['A' + c] = 2;
  table['_'] = 2;
  for (int c = '0'; c <= '9'; ++c) table[c] = 1;
  return table;
}();
inline bool IsIdentStart(char c) { return kIdentChars[static_cast<unsigned char>(c)] == 2; }
inline bool IsIdentChar(char c) { return kIdentChars[static_cast<unsigned char>(c)] != 0; }

// A value as an error message may echo it: on one line, whatever it holds.
// Control characters show as #10, bytes that are not UTF-8 as #$FF (a NUL
// as #0, so it cuts nothing), and text beyond `maxChars` shown characters is
// cut and marked with "...".
inline constexpr std::size_t kExcerptChars = 60;
std::string Excerpt(std::string_view value, std::size_t maxChars = kExcerptChars);

// Decimal text of a number: "-" for negatives, no leading zeros.
std::string IntToStr(std::int64_t value);

}  // namespace host
