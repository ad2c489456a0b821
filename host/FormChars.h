#pragma once
// Characters, words and UTF-8 of the text form format, shared by its reader
// and its writers (not for callers outside the form text units).

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "FormTree.h"
#include "Numerals.h"
#include "SysUtils.h"  // IsIdentStart, IsIdentChar

namespace host::formtext {

// Bounds that keep a hostile or broken file from exhausting the stack or memory.
constexpr int kMaxDepth = 200;
constexpr std::size_t kMaxTextSize = std::size_t{256} << 20;
constexpr const char* kMaxTextSizeText = "256 MiB";

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at `p` (storing its code point in
// `cp`), or 0 when the bytes there are not one.
std::size_t DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& cp);
void AppendUtf8(std::string& out, char32_t cp);

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks within a line; CR and LF end lines.
inline bool IsInlineBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
inline bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Ends a word: what stands between names, values and punctuation.
inline constexpr auto kDelimiters = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view(" \t\r\n\f\v:=[](){}<>,'#")) table[c] = true;
  return table;
}();
inline bool IsDelimiter(char c) { return kDelimiters[static_cast<unsigned char>(c)]; }

bool IsDottedIdentifier(std::string_view s);
std::optional<FormOpening> OpeningKeyword(std::string_view word);

// Whether `s` is a number literal; sets `isFloat` for a decimal one with a
// fraction or exponent.
bool IsNumber(std::string_view s, bool& isFloat);

// A word quoted for a one-line message: shortened, control bytes and broken
// UTF-8 shown as '?'.
std::string Quoted(std::string_view word);

}  // namespace host::formtext
