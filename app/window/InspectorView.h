#pragma once
// The object inspector: the published properties of one component, each
// shown and edited through the editor the host picks for it.

#include <QTableWidget>
#include <functional>
#include <string>

#include "Designer.h"

namespace window {

struct InspectorActions {
  // The property's dialog button was pressed.
  std::function<void(const std::string& property)> Edit;
  // A value was typed into the property.
  std::function<void(const std::string& property, const std::string& value)> SetValue;
};

class InspectorView final : public QTableWidget {
 public:
  InspectorView(InspectorActions actions, QWidget* parent = nullptr);

  // Shows the component's properties; none for nullptr.
  void Inspect(host::TFormDesigner* designer, host::TComponent* component);

 private:
  InspectorActions actions_;
};

}  // namespace window
