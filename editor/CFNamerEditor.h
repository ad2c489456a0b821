#pragma once
// Unit CFNamer, second part: the object inspector's editor of the namer's
// Componenter property, which runs the rename dialog.

#include <string>

#include "CFNamer.h"
#include "DsgnIntf.h"

namespace cfnamer {

// The object inspector's editor of TComponentNamer's Componenter: shows the
// property's type name, allows no typing, and its dialog button runs the
// rename dialog and renames the form's components as planned there.
class PACKAGE_EXPORT TComponentPropertyEditor : public host::TPropertyEditor {
 public:
  static const host::TPropertyEditorClassInfo& StaticClass();
  using host::TPropertyEditor::TPropertyEditor;

  void Edit() override;
  host::TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
};

// Installs TComponentPropertyEditor for the Componenter property of namers.
void Register();

}  // namespace cfnamer
