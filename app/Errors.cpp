#include "Errors.h"

#include <iostream>

#include "SysUtils.h"

namespace designer {

namespace {
constexpr std::size_t kMaxMessageChars = 1000;
}  // namespace

std::string Located(const std::string& file, const std::exception& error) {
  if (auto* hostError = dynamic_cast<const host::Exception*>(&error))
    return hostError->AboutFile(file);
  return host::Format("%s: %s", {file, std::string(error.what())});
}

void Report(const std::string& message) {
  // Values are cut where they are echoed; this keeps any message to one line.
  std::cerr << "designer: " << host::Excerpt(message, kMaxMessageChars) << '\n';
}

}  // namespace designer
