#include "Inspector.h"

#include "FormStreaming.h"
#include "FormText.h"

namespace host {

std::vector<TInspectorRow> InspectComponent(TFormDesigner& designer, TComponent& component) {
  std::vector<TInspectorRow> rows;
  component.ClassType()->ForEachProperty([&](const TPropInfo& prop) {
    auto editor = CreatePropertyEditor(designer, {&component}, prop);
    std::string value = editor->GetValue();
    // What the file says, so that nobody takes the control's own value for it.
    if (const FormProperty* refused = RefusedValue(component, prop))
      value = Format("%s (not taken: %s)",
                     {FormatFormValue(refused->Value), std::string(refused->Refused())});
    rows.push_back({editor->GetName(), std::move(value), editor->GetAttributes()});
  });
  return rows;
}

std::string InspectorLine(const TInspectorRow& row) {
  return row.Name + "  " + row.Value + "  " + AttributesText(row.Attributes);
}

void EditProperty(TFormDesigner& designer, TComponent& component, std::string_view propertyName) {
  const TPropInfo* prop = component.ClassType()->FindProperty(propertyName);
  if (!prop)
    throw EPropertyError(
        Format("%s (%s) has no property %s",
               {component.GetName(), component.ClassName(), std::string(propertyName)}));
  auto editor = CreatePropertyEditor(designer, {&component}, *prop);
  if (!editor->GetAttributes().Contains(paDialog))
    throw EPropertyError(
        Format("Property %s of %s has no dialog", {prop->Name, component.GetName()}));
  editor->Activate();
  editor->Edit();
}

}  // namespace host
