#pragma once
// Reading a file whole, and saving one so that a failed save loses nothing.

#include <cstddef>
#include <string>

#include "SysUtils.h"

namespace host {

// Raised when a file cannot be read or written. The message names the file;
// Detail() says what failed without it ("cannot read: Permission denied"),
// for callers that name the file themselves.
class EFileError : public Exception {
 public:
  EFileError(const std::string& path, const std::string& action, const std::string& reason)
      : Exception("cannot " + action + " '" + path + "': " + reason),
        path_(path),
        detail_("cannot " + action + ": " + reason) {}
  const std::string& Path() const { return path_; }
  const std::string& Detail() const { return detail_; }

 private:
  std::string path_;
  std::string detail_;
};

// The bytes of the file at `path`; raises EFileError when it cannot be read
// or holds more than `maxSize` bytes.
std::string ReadWholeFile(const std::string& path, std::size_t maxSize);

// Writes `text` through a temporary file beside `path` renamed over it, so a
// failed save leaves the old file as it was; raises EFileError on failure.
void SaveFileAtomically(const std::string& path, const std::string& text);

}  // namespace host
