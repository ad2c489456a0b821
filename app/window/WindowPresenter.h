#pragma once
// The host's modal presenter that shows forms in windows.

#include "Forms.h"

namespace window {

class WindowPresenter final : public host::IModalPresenter {
 public:
  // Shows the form as a modal dialog until a control or the keyboard closes
  // it with a result.
  host::TModalResult Present(host::TCustomForm& form) override;
};

}  // namespace window
