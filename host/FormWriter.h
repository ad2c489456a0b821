#pragma once
// The canonical writer of the text form format, which the rewriter also uses
// for the nodes an edit added (not for callers outside the form text units).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FormTree.h"
#include "PackedLines.h"

namespace host::formtext {

class CanonicalWriter {
 public:
  CanonicalWriter(std::string& out, std::string_view lineEnd, std::string_view indentStep)
      : out_(out), eol_(lineEnd), step_(indentStep) {}

  // The object's lines, the first opened by `indent`, its members one step
  // deeper; stops after its `end`, before any line end.
  void WriteObject(const FormObject& obj, const std::string& indent);
  // `Name = value` after `indent`, with no line end.
  void WriteProperty(const FormProperty& prop, const std::string& indent);
  // The value from the current point of a line opened by `indent`; lines it
  // adds go one step deeper.
  void WriteValue(const FormValue& v, const std::string& indent);
  // A list of strings, as WriteValue writes one, from the strings
  // themselves. `written` is called each time lines have gone to the text,
  // at least every few kilobytes.
  void WriteStrings(const PackedLines& lines, const std::string& indent,
                    const std::function<void()>& written);

 private:
  void NewLine(const std::string& indent);
  void WriteString(std::string_view text, const std::string& indent);
  // `(`, each item on a line of its own one step deeper, `)`.
  template <class Items, class WriteItem>
  void WriteList(const Items& items, const std::string& indent, WriteItem writeItem) {
    const std::string inner = indent + std::string(step_);
    out_ += '(';
    for (const auto& item : items) {
      NewLine(inner);
      writeItem(item, inner);
    }
    out_ += ')';
  }

  std::string& out_;
  std::string_view eol_;
  std::string_view step_;
};

}  // namespace host::formtext
