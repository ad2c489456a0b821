// The form reader on any bytes: it reads them or raises the host's error,
// and what it reads the writer writes so that reading it again gives the
// same tree, written the same way.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FormText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  host::FormDocument read;
  try {
    read = host::ParseFormText(text, "fuzz.form");
  } catch (const host::Exception&) {
    return 0;
  }
  const std::string written = host::FormatFormText(read.Root, read.Style);
  const host::FormDocument again = host::ParseFormText(written, "written.form");
  if (!(again.Root == read.Root)) std::abort();
  if (host::FormatFormText(again.Root, again.Style) != written) std::abort();
  return 0;
}
