#pragma once
// A rename session: a script played in the "Component list" dialog, opened
// through the namer's Componenter property editor.

#include <string>
#include <vector>

#include "Designer.h"
#include "Script.h"

namespace designer {

// Opens the namer's Componenter in its property editor and plays `actions`
// (resolved against the namer's listing) in the dialog it shows. The
// editor applies the names when the dialog closes with OK, and tells
// `designer`. Errors, a refused rename among them, pass through.
void PlayDialogSession(host::TFormDesigner& designer, host::TComponent& namer,
                       const std::vector<ScriptAction>& actions);

}  // namespace designer
