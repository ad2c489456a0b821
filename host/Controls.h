#pragma once
// Controls: components that stand on a form and hold their state (position,
// size, text) as a model; the window presenter draws them.

#include "Classes.h"

namespace host {

class TControl : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TControl(TComponent* AOwner) : TComponent(AOwner) {}
};

}  // namespace host
