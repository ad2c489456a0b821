#pragma once
// A form file opened for design, and the namer on it.

#include <memory>
#include <string>
#include <vector>

#include "FormText.h"
#include "Forms.h"
#include "SafeFile.h"

namespace designer {

// The designer finds the namer and its listing by name through the host: it
// knows the package only as loaded.
inline constexpr const char* kNamerClass = "TComponentNamer";
inline constexpr const char* kListingProperty = "Componenter";

struct OpenForm {
  std::unique_ptr<host::TForm> Form;
  // The text the form was read from, and its layout: a save changes only
  // the bytes of what was edited.
  std::shared_ptr<const std::string> Source;
  host::FormTextStyle Style;
  host::FileLock Lock;  // held until the form is written back or dropped
};

// Reads the form file at `path` into live components.
OpenForm ReadForm(const std::string& path);

// Writes the form to `path` (through a temporary file renamed over it) as the
// text it was read from, changed only where the form was edited;
// refuses when the file read was changed on disk meanwhile.
void WriteForm(const OpenForm& form, const std::string& path);

// The namer on the form; raises an error that says how to place one when
// there is none.
host::TComponent& FindNamer(const host::TForm& form, const std::string& path);

// The namer's listing: a read of its Componenter, row by row, read where the
// namer keeps it (valid until the namer lists again).
const host::TStringList& ReadListing(host::TComponent& namer);

// The owned component of that name; raises an error naming the form when
// there is none.
host::TComponent& FindComponent(const host::TForm& form, const std::string& name);

}  // namespace designer
