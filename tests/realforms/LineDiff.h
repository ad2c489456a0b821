#pragma once
// A tiny line diff for checking what a save changed: the lines of the old
// text that are gone and the lines of the new text that are new, each line
// with its own line end, after the longest run the two texts share.

#include <string>
#include <string_view>
#include <vector>

namespace realforms_test {

// The lines of `text`, each with its line end (CR LF, LF or a CR alone).
inline std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.emplace_back(text.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

struct LineDiff {
  std::vector<std::string> Removed;  // lines of the old text, in order
  std::vector<std::size_t> Added;    // indexes of lines of the new text
};

inline LineDiff DiffLines(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  // Longest common subsequence, filled from the ends.
  std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1));
  for (std::size_t i = a.size(); i-- > 0;)
    for (std::size_t j = b.size(); j-- > 0;)
      common[i][j] =
          a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  LineDiff diff;
  std::size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      ++i, ++j;
    } else if (j < b.size() && (i == a.size() || common[i][j + 1] >= common[i + 1][j])) {
      diff.Added.push_back(j++);
    } else {
      diff.Removed.push_back(a[i++]);
    }
  }
  return diff;
}

}  // namespace realforms_test
