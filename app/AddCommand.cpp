// `designer add`: a component from the palette placed on a form file.
#include <iostream>

#include "Commands.h"
#include "Errors.h"
#include "FormFile.h"
#include "Placing.h"

namespace designer {

int AddCommand(const std::string& path, const std::string& className,
               const std::optional<std::string>& name) {
  return Guarded(path, [&] {
    OpenForm form = ReadForm(path);
    host::TComponent& component = PlaceComponent(*form.Form, PaletteClass(className), name);
    WriteForm(form, path);
    std::cout << component.GetName() << '\n';
  });
}

}  // namespace designer
