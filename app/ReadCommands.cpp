// The commands that only look: the palette, a form's listing, and the object
// inspector's view of one component.
#include <iostream>

#include "CommaText.h"
#include "Commands.h"
#include "Errors.h"
#include "FormFile.h"
#include "Inspector.h"

namespace designer {

int PaletteCommand() {
  for (const host::TPalettePage& page : host::Palette()) {
    const auto name = [](host::TClass c) -> const std::string& { return c->Name; };
    std::cout << page.Name << ':' << (page.Classes.empty() ? "" : " ")
              << host::CommaText(page.Classes, name) << '\n';
  }
  return 0;
}

int ListCommand(const std::string& path) {
  return Guarded(path, [&] {
    OpenForm form = ReadForm(path);
    for (std::string_view row : ReadListing(FindNamer(*form.Form, path))) std::cout << row << '\n';
  });
}

int InspectCommand(const std::string& path, const std::string& component) {
  return Guarded(path, [&] {
    OpenForm form = ReadForm(path);
    host::TComponent& inspected = FindComponent(*form.Form, component);
    host::TFormDesigner designer(*form.Form);
    for (const host::TInspectorRow& row : host::InspectComponent(designer, inspected))
      std::cout << host::InspectorLine(row) << '\n';
  });
}

}  // namespace designer
