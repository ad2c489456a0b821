// The rename script reader on any bytes, then its resolution against a small
// listing: a script is read or refused with one short line naming its place.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "OneLine.h"
#include "Script.h"
#include "SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static host::TStringList listing;
  if (listing.Count() == 0)
    listing.SetLines({"TButton", "\tButton1", "\tButton2", "TEdit", "\tEdit1"});
  try {
    const designer::Script script = designer::ParseScript(text, "fuzz.script");
    designer::Resolve(script, listing);
  } catch (const host::Exception& e) {
    fuzz::CheckOneLine(e.what());
  }
  return 0;
}
