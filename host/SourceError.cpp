#include "SourceError.h"

#include "FormTree.h"

namespace host {

ESourceError::ESourceError(std::string source, int line, int column, std::string reason,
                           SourceKind kind)
    : Exception(source + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + reason),
      source_(std::move(source)),
      line_(line),
      column_(column),
      reason_(std::move(reason)),
      kind_(kind) {}

ESourceError::ESourceError(std::string source, const SourcePos& pos, std::string reason,
                           SourceKind kind)
    : ESourceError(std::move(source), pos.Line, pos.Column, std::move(reason), kind) {}

std::string ESourceError::AboutFile(const std::string& file) const {
  return kind_ == SourceKind::File ? what() : Exception::AboutFile(file);
}

ESourceError ESourceError::InResource() const {
  return {source_, line_, column_, reason_, SourceKind::Resource};
}

}  // namespace host
