#pragma once
// Forms.

#include <string>

#include "Classes.h"

namespace host {

class TCustomForm : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TCustomForm(TComponent* AOwner) : TComponent(AOwner) {}

  // A form read from a file is an instance of the host's form class that
  // reports the class name stored in the file (TForm1, TMainForm, …).
  std::string ClassName() const override {
    return storedClassName_.empty() ? TComponent::ClassName() : storedClassName_;
  }
  void SetStoredClassName(std::string name) { storedClassName_ = std::move(name); }

 private:
  std::string storedClassName_;
};

class TForm : public TCustomForm {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

}  // namespace host
