#pragma once
// The object inspector as a model: the published properties of a component,
// each shown through the editor the registry picks for it.

#include <string>
#include <string_view>
#include <vector>

#include "Designer.h"
#include "DsgnIntf.h"

namespace host {

struct TInspectorRow {
  std::string Name;
  std::string Value;
  TPropertyAttributes Attributes;
};

// One row per published property of `component`, ancestors' first. A value
// its form file gave that the component did not take is shown as written,
// with the reason: "0 (not taken: item height … must be at least 1, not 0)".
std::vector<TInspectorRow> InspectComponent(TFormDesigner& designer, TComponent& component);

// "Componenter  TStringList  [dialog, read-only]".
std::string InspectorLine(const TInspectorRow& row);

// What the property's dialog button does: runs its editor's Edit. Raises
// EPropertyError when the component has no such property or the property no
// dialog button.
void EditProperty(TFormDesigner& designer, TComponent& component, std::string_view propertyName);

}  // namespace host
