#include "Forms.h"

namespace host {

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info{.Name = "TCustomForm", .Parent = &TComponent::StaticClass()};
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info{
      .Name = "TForm",
      .Parent = &TCustomForm::StaticClass(),
      .Create = [](TComponent* owner) -> TComponent* { return new TForm(owner); },
  };
  return info;
}

}  // namespace host
