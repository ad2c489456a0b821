#include "SysUtils.h"

#include <algorithm>

#include "Numerals.h"

namespace host {

std::string Exception::AboutFile(const std::string& file) const {
  return Format("%s: %s", {file, Message()});
}

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  std::string out;
  auto next = args.begin();
  auto take = [&]() -> const FormatArg& {
    if (next == args.end())
      throw EConvertError(Format("Format '%s' has too few arguments", {std::string(pattern)}));
    return *next++;
  };
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i == pattern.size()) throw EConvertError("Format pattern ends with a lone '%'");
    char directive = pattern[i];
    if (directive == '%') {
      out += '%';
    } else if (directive == 's' || directive == 'S') {
      const auto* text = std::get_if<std::string>(&take());
      if (!text)
        throw EConvertError(Format("Format '%s' expects text for %%%s",
                                   {std::string(pattern), std::string(1, directive)}));
      out += *text;
    } else if (directive == 'd') {
      const auto* number = std::get_if<std::int64_t>(&take());
      if (!number)
        throw EConvertError(Format("Format '%s' expects a number for %%d", {std::string(pattern)}));
      out += IntToStr(*number);
    } else {
      throw EConvertError(Format("Format '%s' has the unknown directive %%%s",
                                 {std::string(pattern), std::string(1, directive)}));
    }
  }
  return out;
}

std::string Trim(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

namespace {
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool SameText(std::string_view a, std::string_view b) noexcept {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// FNV-1a over the lower-case bytes.
std::size_t TextHashNoCase::operator()(std::string_view text) const noexcept {
  std::uint64_t hash = 14695981039346656037u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211u;
  return static_cast<std::size_t>(hash);
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

bool IsValidIdent(std::string_view name) {
  return !name.empty() && IsIdentStart(name[0]) &&
         std::all_of(name.begin() + 1, name.end(), IsIdentChar);
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` that
// encodes a character from U+0080 on; 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || lead == 0xC0 || lead == 0xC1 || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
  const unsigned char second = byte(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
    return 0;
  return length;
}

}  // namespace

std::string Excerpt(std::string_view value, std::size_t maxChars) {
  std::string out;
  std::size_t shown = 0;
  for (std::size_t i = 0; i < value.size();) {
    if (shown == maxChars) return out + "...";
    const auto c = static_cast<unsigned char>(value[i]);
    if (c < 0x20 || c == 0x7F) {
      out += '#' + std::to_string(c);
      ++i;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
    } else if (std::size_t length = Utf8SequenceLength(value.substr(i))) {
      out.append(value.substr(i, length));
      i += length;
    } else {
      out += "#$";
      out += kUpperHexDigits[c >> 4];
      out += kUpperHexDigits[c & 15];
      ++i;
    }
    ++shown;
  }
  return out;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

}  // namespace host
