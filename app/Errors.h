#pragma once
// How the designer reports an error: one line naming the file it is about.

#include <exception>
#include <string>

#include "SysUtils.h"

namespace designer {

// The message of `error` as it reads after "designer: ": located in `file`,
// unless the error already names its own place (a line and column of a file
// on disk, or a file that cannot be read or written).
std::string Located(const std::string& file, const std::exception& error);

// Prints "designer: <message>" on standard error.
void Report(const std::string& message);

// Runs `body`, which works on `file`; reports an error it raises. Returns the
// exit status: 0, or 1 after an error.
template <class F>
int Guarded(const std::string& file, F&& body) {
  try {
    body();
    return 0;
  } catch (const std::exception& e) {
    Report(Located(file, e));
    return 1;
  }
}

}  // namespace designer
