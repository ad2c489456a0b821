#include "ScriptedPresenter.h"

#include "Spin.h"
#include "StdCtrls.h"

namespace host {

namespace {

class Performer {
 public:
  Performer(TCustomForm& form, std::size_t step) : form_(form), step_(step) {}

  void operator()(const TSelectRow& a) const {
    auto& list = Control<TCustomListBox>(a.ListBox, "a list box");
    if (a.Row < 0 || a.Row >= list.Items().Count())
      Fail(Format("%s has no row %d", {a.ListBox, std::int64_t{a.Row}}));
    list.SetSelected(a.Row, a.Selected);
  }
  void operator()(const TUnselectAllRows& a) const {
    auto& list = Control<TCustomListBox>(a.ListBox, "a list box");
    for (int row = 0; row < list.Items().Count(); ++row)
      if (list.GetSelected(row)) list.SetSelected(row, false);
  }
  void operator()(const TTypeText& a) const {
    Control<TEdit>(a.Edit, "an edit box").SetText(a.Text);
  }
  void operator()(const TSetSpinValue& a) const {
    Control<TSpinEdit>(a.SpinEdit, "a spin box").SetValue(a.Value);
  }
  void operator()(const TClickControl& a) const {
    Control<TControl>(a.Control, "a control").Click();
  }
  void operator()(const TCloseForm& a) const { form_.SetModalResult(a.Result); }

  [[noreturn]] void Fail(const std::string& reason) const {
    throw Exception(Format("script step %d on form %s: %s",
                           {static_cast<std::int64_t>(step_), form_.GetName(), reason}));
  }

 private:
  // The enabled, visible control of that name and kind; a person reaches no
  // other.
  template <class T>
  T& Control(const std::string& name, const char* kind) const {
    TComponent* c = form_.FindComponent(name);
    if (!c) Fail(Format("no control named %s", {Excerpt(name)}));
    auto* control = dynamic_cast<T*>(c);
    if (!control) Fail(Format("%s is not %s", {name, std::string(kind)}));
    if (!control->GetVisible() || !control->GetEnabled())
      Fail(Format("%s is hidden or disabled", {name}));
    return *control;
  }

  TCustomForm& form_;
  std::size_t step_;
};

}  // namespace

TModalResult TScriptedPresenter::Present(TCustomForm& form) {
  for (std::size_t i = 0; i < script_.size(); ++i) {
    Performer performer(form, i + 1);
    if (form.GetModalResult() != mrNone) performer.Fail("the form is already closed");
    std::visit(performer, script_[i]);
  }
  // A script that ends with the form still open closes it with OK, so a
  // session need not spell out its last click.
  if (form.GetModalResult() == mrNone) form.SetModalResult(mrOk);
  return form.GetModalResult();
}

}  // namespace host
