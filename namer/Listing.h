#pragma once
// The rows of the namer's listing, as the namer writes them and the dialog
// and the designer read them. Header only: the designer reads listings
// without linking the namer.

#include <string>
#include <string_view>

namespace cnamer {

// A row of the listing: a type's name, or a component's name after a tab.
inline std::string ComponentRow(std::string_view name) {
  std::string row(1 + name.size(), '\t');
  name.copy(row.data() + 1, name.size());
  return row;
}
inline bool IsComponentRow(std::string_view row) { return row.find('\t') != row.npos; }

}  // namespace cnamer
