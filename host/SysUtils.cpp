#include "SysUtils.h"

#include <algorithm>

namespace host {

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

bool IsValidIdent(std::string_view name) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (name.empty() || !letter(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

}  // namespace host
