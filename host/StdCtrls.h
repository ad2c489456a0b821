#pragma once
// Standard controls.

#include "Controls.h"

namespace host {

class TButton : public TControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TButton(TComponent* AOwner) : TControl(AOwner) {}
};

class TEdit : public TControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TEdit(TComponent* AOwner) : TControl(AOwner) {}
};

}  // namespace host
