// The form reader on any bytes: it reads them or raises the host's error;
// what it reads the lossless writer gives back byte for byte, and the
// canonical writer writes so that reading it again gives the same tree,
// written the same way.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FormText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  host::FormDocument read;
  try {
    read = host::ParseFormText(std::string(text), "fuzz.form");
  } catch (const host::Exception&) {
    return 0;
  }
  if (host::RewriteFormText(read.Root, *read.Text, read.Style) != text) std::abort();
  const std::string written = host::FormatFormText(read.Root, read.Style);
  const host::FormDocument again = host::ParseFormText(written, "written.form");
  if (!(again.Root == read.Root)) std::abort();
  if (host::FormatFormText(again.Root, again.Style) != written) std::abort();
  return 0;
}
