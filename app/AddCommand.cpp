// Placing a component from the palette on a form, as the designer's drop does.
#include <iostream>

#include "Commands.h"
#include "Errors.h"
#include "FormFile.h"

namespace designer {

namespace {

host::TClass PaletteClass(const std::string& name) {
  host::TClass found = host::GetClass(name);
  for (const host::TPalettePage& page : host::Palette())
    for (host::TClass c : page.Classes)
      if (c == found) return c;
  throw host::Exception("class '" + host::Excerpt(name) +
                        "' is not on the palette (see: designer palette)");
}

// The class name without its leading T, and the first number that makes a
// name no component of the form holds: Button1, Button2, …
std::string DefaultName(const host::TForm& form, host::TClass c) {
  std::string base = c->Name.starts_with('T') ? c->Name.substr(1) : c->Name;
  for (int n = 1;; ++n)
    if (std::string name = base + std::to_string(n); !form.FindComponent(name)) return name;
}

}  // namespace

int AddCommand(const std::string& path, const std::string& className,
               const std::optional<std::string>& name) {
  return Guarded(path, [&] {
    OpenForm form = ReadForm(path);
    host::TClass c = PaletteClass(className);
    // The new component's owner takes it; a constructor that refuses the
    // form raises before it enters.
    host::TComponent* component = c->Create(form.Form.get());
    component->SetName(name.value_or(DefaultName(*form.Form, c)));
    WriteForm(form, path);
    std::cout << component->GetName() << '\n';
  });
}

}  // namespace designer
