#include "Errors.h"

#include <iostream>

#include "FormText.h"

namespace designer {

namespace {
constexpr std::size_t kMaxMessageChars = 1000;
}  // namespace

EScriptError::EScriptError(const std::string& script, int line, int column,
                           const std::string& reason)
    : Exception(script + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
                reason) {}

std::string Located(const std::string& file, const std::exception& error) {
  if (dynamic_cast<const EScriptError*>(&error)) return error.what();
  if (auto* formError = dynamic_cast<const host::EFormError*>(&error);
      formError && formError->File() == file)
    return error.what();
  if (auto* fileError = dynamic_cast<const host::EFileError*>(&error))
    return fileError->Path() + ": " + fileError->Detail();
  return file + ": " + error.what();
}

void Report(const std::string& message) {
  // Values are cut where they are echoed; this keeps any message to one line.
  std::cerr << "designer: " << host::Excerpt(message, kMaxMessageChars) << '\n';
}

}  // namespace designer
