// Unit CFNamer, second part: the property editor of Componenter, which runs
// the rename dialog and applies the names planned in it.

#include <memory>
#include <string>

#include "CFNamerEditor.h"
#include "CNamer.h"

namespace cfnamer {

namespace {

// One Edit call owns the dialog and its saved list; whatever way the call
// ends, the saved list goes first, then the dialog.
struct ReleaseDialog {
  void operator()(TFCompon* dialog) const {
    dialog->FSavedList.reset();
    delete dialog;
  }
};
using DialogPtr = std::unique_ptr<TFCompon, ReleaseDialog>;

}  // namespace

const host::TPropertyEditorClassInfo& TComponentPropertyEditor::StaticClass() {
  static const host::TPropertyEditorClassInfo info{
      "TComponentPropertyEditor", host::NewPropertyEditor<TComponentPropertyEditor>};
  return info;
}

std::string TComponentPropertyEditor::GetValue() const {
  return host::Format("%S", {GetPropType()->Name});
}

host::TPropertyAttributes TComponentPropertyEditor::GetAttributes() const {
  return {host::paDialog, host::paReadOnly};
}

void TComponentPropertyEditor::Edit() {
  DialogPtr dialog(host::TCustomForm::Create<TFCompon>(&host::Application()).release());
  auto& namer = GetComponent(0)->As<cnamer::TComponentNamer>();
  // Two separate builds: the list box is edited, the saved copy is not.
  dialog->TabList->Items().Assign(namer.GetFComponentList());
  dialog->FSavedList->Assign(namer.GetFComponentList());
  if (dialog->ShowModal() != host::mrOk) return;

  // The saved copy decides which rows name components and what they were
  // called; the list box row at the same index holds the new name. Renames
  // go one at a time in listing order, and a refused one ends the apply.
  const host::TStringList& saved = *dialog->FSavedList;
  const host::TListBoxItems& rows = dialog->TabList->Items();
  host::TComponent& form = *namer.GetOwner();
  for (int i = 0; i < saved.Count(); ++i) {
    if (!cnamer::IsComponentRow(saved[i])) continue;
    std::string newName = host::Trim(rows[i]);
    if (host::TComponent* component = form.FindComponent(host::Trim(saved[i])))
      component->SetName(newName);
  }
  Designer().Modified();
}

void Register() {
  host::RegisterPropertyEditor(host::TypeInfo<host::TStringList>(),
                               &cnamer::TComponentNamer::StaticClass(), "Componenter",
                               &TComponentPropertyEditor::StaticClass());
}

}  // namespace cfnamer
