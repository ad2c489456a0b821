#include "HugePages.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace designer {

namespace {
constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr const char* kHugePages = "glibc.malloc.hugetlb=1";
}  // namespace

void RestartWithHugePages(char** argv) {
  const char* current = std::getenv(kTunables);
  const bool wasSet = current != nullptr;
  // A copy: setenv may free the text getenv pointed at.
  const std::string tunables = wasSet ? current : "";
  // Present, whatever its value, it is the user's (or the first start's) choice.
  if (tunables.find("glibc.malloc.hugetlb") != std::string::npos) return;
  const std::string wanted = tunables.empty() ? kHugePages : tunables + ":" + kHugePages;
  if (setenv(kTunables, wanted.c_str(), 1) != 0) return;
  execv("/proc/self/exe", argv);
  // Not started again: run on, and leave the environment as it was.
  if (wasSet) {
    setenv(kTunables, tunables.c_str(), 1);
  } else {
    unsetenv(kTunables);
  }
}

}  // namespace designer
