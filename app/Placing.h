#pragma once
// Placing a component from the palette on a form, as the designer's drop does.

#include <optional>
#include <string>

#include "Forms.h"

namespace designer {

// The palette's class of that name; raises an error when no page holds it.
host::TClass PaletteClass(const std::string& name);

// Creates a component of `c` owned by the form and names it `name`, or the
// class name without its leading T and the first free number (Button1,
// Button2, …). A constructor that refuses the form raises before the new
// component enters it; a refused name takes the component out again.
host::TComponent& PlaceComponent(host::TForm& form, host::TClass c,
                                 const std::optional<std::string>& name = std::nullopt);

}  // namespace designer
