#include "Controls.h"

namespace host {

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info{.Name = "TControl", .Parent = &TComponent::StaticClass()};
  return info;
}

}  // namespace host
