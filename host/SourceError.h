#pragma once
// The error every reader of a text raises at the first fault it finds: in a
// form file, in a form resource, in a rename script.

#include <string>

#include "SysUtils.h"

namespace host {

struct SourcePos;

// What names the text: a file on disk, by its path, or a resource inside a
// loaded module, by its name (which says nothing about the file the user is
// working on, so a message about it names that file too).
enum class SourceKind { File, Resource };

// Where the fault is and what is wrong. The message reads
// "source:line:column: reason".
class ESourceError : public Exception {
 public:
  ESourceError(std::string source, int line, int column, std::string reason,
               SourceKind kind = SourceKind::File);
  ESourceError(std::string source, const SourcePos& pos, std::string reason,
               SourceKind kind = SourceKind::File);

  const std::string& Source() const { return source_; }
  int Line() const { return line_; }
  int Column() const { return column_; }
  const std::string& Reason() const { return reason_; }
  SourceKind Kind() const { return kind_; }

  // The same error, its source being a resource: for the code that reads a
  // resource through a reader that takes any text.
  ESourceError InResource() const;

  // A file's own place as it is; a resource's after the file it was used for.
  std::string AboutFile(const std::string& file) const override;

 private:
  std::string source_;
  int line_;
  int column_;
  std::string reason_;
  SourceKind kind_;
};

}  // namespace host
