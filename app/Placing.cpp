#include "Placing.h"

#include <memory>

#include "SysUtils.h"

namespace designer {

namespace {

// The class name without its leading T, and the first number that makes a
// name no component of the form holds: Button1, Button2, …
std::string DefaultName(const host::TForm& form, host::TClass c) {
  std::string base = c->Name.starts_with('T') ? c->Name.substr(1) : c->Name;
  for (int n = 1;; ++n)
    if (std::string name = base + std::to_string(n); !form.FindComponent(name)) return name;
}

}  // namespace

host::TClass PaletteClass(const std::string& name) {
  host::TClass found = host::GetClass(name);
  for (const host::TPalettePage& page : host::Palette())
    for (host::TClass c : page.Classes)
      if (c == found) return c;
  throw host::Exception(host::Format("class '%s' is not on the palette (see: designer palette)",
                                     {host::Excerpt(name)}));
}

host::TComponent& PlaceComponent(host::TForm& form, host::TClass c,
                                 const std::optional<std::string>& name) {
  // The owner takes the new component; until it is named, this holds it so
  // that a refused name leaves nothing behind.
  std::unique_ptr<host::TComponent> placed(c->Create(&form));
  placed->SetName(name.value_or(DefaultName(form, c)));
  return *placed.release();
}

}  // namespace designer
