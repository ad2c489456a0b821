#include "FormChars.h"

#include "SysUtils.h"

namespace host::formtext {

std::size_t DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& cp) {
  const unsigned char b = p[0];
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  std::size_t n;
  char32_t min;
  if ((b & 0xE0) == 0xC0) {
    n = 2, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, cp = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (static_cast<std::size_t>(end - p) < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

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

// One pass over the bytes: every part between dots an identifier.
bool IsDottedIdentifier(std::string_view s) {
  bool partStart = true;
  for (char c : s) {
    if (c == '.') {
      if (partStart) return false;
    } else if (partStart ? !IsIdentStart(c) : !IsIdentChar(c)) {
      return false;
    }
    partStart = c == '.';
  }
  return !partStart;
}

std::optional<FormOpening> OpeningKeyword(std::string_view word) {
  if (SameText(word, "object")) return FormOpening::Object;
  if (SameText(word, "inherited")) return FormOpening::Inherited;
  if (SameText(word, "inline")) return FormOpening::Inline;
  return std::nullopt;
}

// Whether `s` is a number literal; sets `isFloat` for a decimal one with a fraction or exponent.
bool IsNumber(std::string_view s, bool& isFloat) {
  isFloat = false;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i < s.size() && s[i] == '$') {
    if (++i == s.size()) return false;
    for (; i < s.size(); ++i)
      if (!IsHexDigit(s[i])) return false;
    return true;
  }
  auto digits = [&] {
    const std::size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i > start;
  };
  if (!digits()) return false;
  if (i < s.size() && s[i] == '.') {
    ++i;
    if (!digits()) return false;
    isFloat = true;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (!digits()) return false;
    isFloat = true;
  }
  return i == s.size();
}

std::string Quoted(std::string_view word) { return "'" + Excerpt(word) + "'"; }

}  // namespace host::formtext
