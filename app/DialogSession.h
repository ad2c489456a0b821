#pragma once
// A rename session: a script played in the "Component list" dialog, opened
// through the namer's Componenter property editor.

#include <memory>
#include <string>
#include <vector>

#include "Designer.h"
#include "Forms.h"
#include "Script.h"

namespace designer {

// Installs a presenter in the host's application for as long as it lives,
// and takes it out again however the session ends.
class PresenterScope {
 public:
  explicit PresenterScope(std::unique_ptr<host::IModalPresenter> presenter);
  ~PresenterScope();
  PresenterScope(const PresenterScope&) = delete;
  PresenterScope& operator=(const PresenterScope&) = delete;
};

// Opens the namer's Componenter in its property editor and plays `script`,
// resolved against the rows of the dialog it shows (see Resolve). The
// editor applies the names when the dialog closes with OK, and tells
// `designer`. Errors, a script's or a refused rename among them, pass
// through.
void PlayDialogSession(host::TFormDesigner& designer, host::TComponent& namer,
                       const Script& script);

}  // namespace designer
