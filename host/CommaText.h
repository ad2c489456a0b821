#pragma once
// Lists as one line of text: the items separated by a comma and a space, the
// way messages, package descriptions and the designer's output write them.

#include <ranges>
#include <string>
#include <string_view>
#include <utility>

namespace host {

// The items (each a text) in their order, separated by ", ".
template <std::ranges::input_range R>
std::string CommaText(R&& items) {
  std::string text;
  bool first = true;
  for (const auto& item : items) {
    if (!std::exchange(first, false)) text += ", ";
    text += std::string_view(item);
  }
  return text;
}

}  // namespace host
