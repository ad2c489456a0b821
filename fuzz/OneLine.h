#pragma once
// What every error message the designer prints must be: one line, short,
// made of printable characters.

#include <cstdlib>
#include <string_view>

namespace fuzz {

inline void CheckOneLine(std::string_view message) {
  constexpr std::size_t kLongest = 1000;
  if (message.size() > kLongest) std::abort();
  for (const char c : message)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
}

}  // namespace fuzz
