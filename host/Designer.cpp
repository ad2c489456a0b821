#include "Designer.h"

namespace host {

TFormDesigner::TFormDesigner(TComponent& form) : form_(form) {
  if (form.GetObserver())
    throw Exception(Format("Form %s is already open in a designer", {form.GetName()}));
  form.SetObserver(this);
}

TFormDesigner::~TFormDesigner() { form_.SetObserver(nullptr); }

void TFormDesigner::Modified() {
  ++notifications_;
  changed_ = true;
  for (const auto& listener : listeners_) listener();
}

void TFormDesigner::ComponentRenamed(TComponent& component, const std::string& oldName) {
  changed_ = true;
  for (const auto& listener : renameListeners_) listener(component, oldName);
}

}  // namespace host
