#include "HugePages.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace designer {

namespace {
constexpr const char* kTunables = "GLIBC_TUNABLES";
// Blocks up to 32 MiB (the most the C library allows) come from the heap as
// well: on their own mappings the form's text and the name index took their
// pages 4 KB at a time. As much freed at the heap's top stays for the next
// blocks, which would otherwise take their pages anew.
constexpr const char* kHugePages =
    "glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=33554432:"
    "glibc.malloc.trim_threshold=33554432";
// Measured: below this the restart costs more than the huge pages save.
constexpr std::uintmax_t kWorthFromBytes = std::uintmax_t{1} << 20;

bool LargeEnough(const std::vector<std::string>& forms) {
  std::uintmax_t total = 0;
  for (const std::string& form : forms) {
    std::error_code error;  // a form that cannot be sized is reported when read
    const std::uintmax_t size = std::filesystem::file_size(form, error);
    if (!error) total += size;
  }
  return total >= kWorthFromBytes;
}
}  // namespace

void RestartWithHugePagesFor(char** argv, const std::vector<std::string>& forms) {
  const char* current = std::getenv(kTunables);
  const bool wasSet = current != nullptr;
  // A copy: setenv may free the text getenv pointed at.
  const std::string tunables = wasSet ? current : "";
  // Present, whatever its value, it is the user's (or the first start's) choice.
  if (tunables.find("glibc.malloc.hugetlb") != std::string::npos || !LargeEnough(forms)) return;
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
