#include "StdCtrls.h"

namespace host {

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info{
      .Name = "TButton",
      .Parent = &TControl::StaticClass(),
      .Create = [](TComponent* owner) -> TComponent* { return new TButton(owner); },
  };
  return info;
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info{
      .Name = "TEdit",
      .Parent = &TControl::StaticClass(),
      .Create = [](TComponent* owner) -> TComponent* { return new TEdit(owner); },
  };
  return info;
}

}  // namespace host
