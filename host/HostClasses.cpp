// The table of the host's own component classes, kept apart from the
// registry so that the component model does not depend on the controls.
#include "Buttons.h"
#include "Classes.h"
#include "Spin.h"
#include "StdCtrls.h"

namespace host {

const std::vector<TClass>& HostClasses() {
  static const std::vector<TClass> classes{
      &TLabel::StaticClass(),    &TButton::StaticClass(),      &TEdit::StaticClass(),
      &TListBox::StaticClass(),  &TSpeedButton::StaticClass(), &TBitBtn::StaticClass(),
      &TSpinEdit::StaticClass(),
  };
  return classes;
}

}  // namespace host
