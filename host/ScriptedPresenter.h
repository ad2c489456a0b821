#pragma once
// The scripted modal presenter: performs a list of user actions on a form's
// controls, addressed by name, through the operations a person's clicks and
// keystrokes reach, so that the form's own handlers run.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "Forms.h"

namespace host {

// Selects or unselects one row of a list box.
struct TSelectRow {
  std::string ListBox;
  int Row = 0;
  bool Selected = true;
};

// Unselects every row of a list box, as clicking each selected one does.
struct TUnselectAllRows {
  std::string ListBox;
};

// Replaces the text of an edit box, as typing over it does.
struct TTypeText {
  std::string Edit;
  std::string Text;
};

// Sets the value of a spin box, as typing a number into it does.
struct TSetSpinValue {
  std::string SpinEdit;
  std::int64_t Value = 0;
};

// Clicks a control: a button runs its handler, and one with a modal result
// closes the form with it.
struct TClickControl {
  std::string Control;
};

// Closes the form with a result, as the keyboard's Enter and Escape do.
struct TCloseForm {
  TModalResult Result = mrOk;
};

using TUserAction =
    std::variant<TSelectRow, TUnselectAllRows, TTypeText, TSetSpinValue, TClickControl, TCloseForm>;

class TScriptedPresenter final : public IModalPresenter {
 public:
  explicit TScriptedPresenter(std::vector<TUserAction> script) : script_(std::move(script)) {}

  // Performs every action of the script in order, on each form it presents.
  // An action that cannot be performed, or one left after the form closed,
  // raises an error naming its step.
  TModalResult Present(TCustomForm& form) override;

 private:
  std::vector<TUserAction> script_;
};

}  // namespace host
