#include "Errors.h"

#include <iostream>

#include "SafeFile.h"
#include "SourceError.h"

namespace designer {

namespace {
constexpr std::size_t kMaxMessageChars = 1000;
}  // namespace

std::string Located(const std::string& file, const std::exception& error) {
  if (auto* sourceError = dynamic_cast<const host::ESourceError*>(&error);
      sourceError && sourceError->Kind() == host::SourceKind::File)
    return error.what();
  if (auto* fileError = dynamic_cast<const host::EFileError*>(&error))
    return host::Format("%s: %s", {fileError->Path(), fileError->Detail()});
  return host::Format("%s: %s", {file, std::string(error.what())});
}

void Report(const std::string& message) {
  // Values are cut where they are echoed; this keeps any message to one line.
  std::cerr << "designer: " << host::Excerpt(message, kMaxMessageChars) << '\n';
}

}  // namespace designer
