// `designer add`: a component from the palette placed on a form file.
#include <iostream>
#include <string>
#include <utility>

#include "Commands.h"
#include "Errors.h"
#include "FormFile.h"
#include "Placing.h"

namespace designer {

int AddCommand(const std::string& path, const std::string& className,
               const std::optional<std::string>& name) {
  return Guarded(path, [&] {
    OpenForm form = ReadForm(path);
    const std::string placed = PlaceComponent(*form.Form, PaletteClass(className), name).GetName();
    SaveAndClose(std::move(form), path);
    std::cout << placed << '\n';
  });
}

}  // namespace designer
