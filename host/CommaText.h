#pragma once
// Lists as one line of text: the items separated by a comma and a space, the
// way messages, package descriptions and the designer's output write them.

#include <functional>
#include <ranges>
#include <string>
#include <string_view>
#include <utility>

namespace host {

// The items in their order, each the text `part` takes from it, separated by
// ", ". (A projection rather than a view: clang 14 rejects the standard
// library's views.)
template <std::ranges::input_range R, class Part = std::identity>
std::string CommaText(const R& items, Part part = {}) {
  std::string text;
  bool first = true;
  for (const auto& item : items) {
    if (!std::exchange(first, false)) text += ", ";
    text += std::string_view(std::invoke(part, item));
  }
  return text;
}

}  // namespace host
