#pragma once
// Run-time library: the host's error base class and text helpers.

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

using FormatArg = std::variant<std::int64_t, std::string>;

// Formats a pattern with %s and %S (text), %d (integer) and %%.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

// Strips leading and trailing characters with codes 0 to 32.
std::string Trim(std::string_view text);

// Compares without regard to the case of ASCII letters, as identifiers,
// keywords and resource names are compared.
bool SameText(std::string_view a, std::string_view b) noexcept;
std::string LowerCase(std::string_view text);

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

// Decimal text of a number: "-" for negatives, no leading zeros.
std::string IntToStr(std::int64_t value);

}  // namespace host
