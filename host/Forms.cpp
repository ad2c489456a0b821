#include "Forms.h"

#include <algorithm>
#include <string>
#include <vector>

#include "FormStreaming.h"
#include "FormText.h"
#include "Packages.h"

namespace host {

namespace {

// The names of the handlers bound to events of `form` and its components.
std::vector<std::string> BoundHandlers(TComponent& form) {
  std::vector<std::string> names;
  auto collect = [&](TComponent& c) {
    c.ClassType()->ForEachProperty([&](const TPropInfo& p) {
      if (p.Event && p.Event(c).Bound()) names.push_back(p.Event(c).Name());
    });
  };
  collect(form);
  for (TComponent* c : form.Components()) collect(*c);
  return names;
}

// A resource replaced beside its module may lack a control or an event that
// the class's code relies on, which would leave a field null or a handler
// (the creation handler, say) never run: such a form is not built.
void CheckBindings(TComponent& form, const FormObject& root, const std::string& resource) {
  const std::string name = form.GetName().empty() ? root.Name : form.GetName();
  auto fail = [&](const std::string& reason) {
    throw ESourceError(resource, root.Pos,
                       Format("form %s (%s) %s", {name, form.ClassName(), reason}));
  };
  const std::vector<std::string> bound = BoundHandlers(form);
  for (TClass c = form.ClassType(); c; c = c->Parent) {
    for (const TFieldInfo& field : c->Fields)
      if (!form.FindComponent(field.Name))
        fail(Format("has no control for its field %s", {field.Name}));
    for (const TMethodInfo& method : c->Methods)
      if (std::ranges::find(bound, method.Name) == bound.end())
        fail(Format("has no event bound to its handler %s", {method.Name}));
  }
}
const TIdentTable& BorderStyleIdents() {
  static const TIdentTable table{
      .Type = {TTypeKind::Enumeration, "TFormBorderStyle"},
      .Idents = {{"bsNone", bsNone},
                 {"bsSingle", bsSingle},
                 {"bsSizeable", bsSizeable},
                 {"bsDialog", bsDialog},
                 {"bsToolWindow", bsToolWindow},
                 {"bsSizeToolWin", bsSizeToolWin}},
  };
  return table;
}

const TIdentTable& BorderIconIdents() {
  static const TIdentTable table{
      .Type = {TTypeKind::Set, "TBorderIcons"},
      .Idents = {{"biSystemMenu", biSystemMenu},
                 {"biMinimize", biMinimize},
                 {"biMaximize", biMaximize},
                 {"biHelp", biHelp}},
  };
  return table;
}

const TIdentTable& PositionIdents() {
  static const TIdentTable table{
      .Type = {TTypeKind::Enumeration, "TPosition"},
      .Idents = {{"poDesigned", poDesigned},
                 {"poDefault", poDefault},
                 {"poDefaultPosOnly", poDefaultPosOnly},
                 {"poDefaultSizeOnly", poDefaultSizeOnly},
                 {"poScreenCenter", poScreenCenter},
                 {"poDesktopCenter", poDesktopCenter},
                 {"poMainFormCenter", poMainFormCenter},
                 {"poOwnerFormCenter", poOwnerFormCenter}},
  };
  return table;
}

// A property of the form's font: `get` and `set` reach one member of it.
TPropInfo FontProperty(std::string name, PTypeInfo type, FormValue (*get)(const TFont&),
                       void (*set)(TFont&, const FormValue&)) {
  return {std::move(name), type,
          [get](TObject& o) { return get(static_cast<TCustomForm&>(o).Font()); },
          [set](TObject& o, const FormValue& v) { set(static_cast<TCustomForm&>(o).Font(), v); }};
}
}  // namespace

const TClassInfo& TCustomForm::StaticClass() {
  using T = TCustomForm;
  static const TClassInfo info{
      .Name = "TCustomForm",
      .Parent = &TWinControl::StaticClass(),
      .Properties =
          {PublishedCaption(),
           PublishedIdent<T>("BorderStyle", BorderStyleIdents(), &T::GetBorderStyle,
                             &T::SetBorderStyle),
           PublishedSet<T>("BorderIcons", BorderIconIdents(), &T::GetBorderIcons,
                           &T::SetBorderIcons),
           PublishedInteger<T>("ClientWidth", &T::GetClientWidth, &T::SetClientWidth),
           PublishedInteger<T>("ClientHeight", &T::GetClientHeight, &T::SetClientHeight),
           PublishedIdent<T>("Position", PositionIdents(), &T::GetPosition, &T::SetPosition),
           FontProperty(
               "Font.Charset", &CharsetIdents().Type,
               [](const TFont& f) { return CharsetIdents().ValueOf(f.Charset); },
               [](TFont& f, const FormValue& v) {
                 f.Charset = static_cast<TFontCharset>(CharsetIdents().Parse(v));
               }),
           FontProperty(
               "Font.Color", &ColorIdents().Type,
               [](const TFont& f) { return ColorIdents().ValueOf(f.Color); },
               [](TFont& f, const FormValue& v) {
                 f.Color = static_cast<TColor>(ColorIdents().Parse(v));
               }),
           FontProperty(
               "Font.Height", IntegerTypeInfo(),
               [](const TFont& f) { return FormValue::Integer(f.Height); },
               [](TFont& f, const FormValue& v) { f.Height = static_cast<int>(IntegerOf(v)); }),
           FontProperty(
               "Font.Name", StringTypeInfo(),
               [](const TFont& f) { return FormValue::String(f.Name); },
               [](TFont& f, const FormValue& v) { f.Name = StringOf(v); }),
           FontProperty(
               "Font.Style", &FontStyleIdents().Type,
               [](const TFont& f) { return SetValueOf(FontStyleIdents(), f.Style.Bits()); },
               [](TFont& f, const FormValue& v) {
                 f.Style = TFontStyles::FromBits(ParseSet(FontStyleIdents(), v));
               }),
           PublishedInteger<T>("PixelsPerInch", &T::GetPixelsPerInch, &T::SetPixelsPerInch),
           PublishedInteger<T>("TextHeight", &T::GetTextHeight, &T::SetTextHeight),
           PublishedEvent<T>("OnCreate", &T::OnCreate)},
  };
  return info;
}

void TCustomForm::ReadResource() {
  const std::string resource = UpperCase(ClassType()->Name);
  std::optional<std::string_view> text = FindResource(resource);
  if (!text) throw EResNotFound(Format("resource '%s' not found", {resource}));
  try {
    FormDocument document = ParseFormText(std::string(*text), resource);
    if (document.Root.ClassName != ClassType()->Name)
      throw ESourceError(
          resource, document.Root.Pos,
          Format("the resource holds %s, not %s", {document.Root.ClassName, ClassType()->Name}));
    ReadComponents(*this, document.Root, resource, /*bindToClass=*/true);
    CheckBindings(*this, document.Root, resource);
  } catch (const ESourceError& e) {
    // The readers take any text and name it as they would a file.
    throw e.InResource();
  }
  OnCreate(this);
}

TModalResult TCustomForm::ShowModal() {
  IModalPresenter* presenter = Application().ModalPresenter();
  if (!presenter)
    throw Exception(
        Format("cannot show form %s: the application has no modal presenter", {GetName()}));
  modalResult_ = mrNone;
  modalResult_ = presenter->Present(*this);
  return modalResult_;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info{
      .Name = "TForm",
      .Parent = &TCustomForm::StaticClass(),
      .Create = NewComponent<TForm>,
  };
  return info;
}

TCustomForm* GetParentForm(const TComponent& control) {
  for (TComponent* c = control.GetParentComponent(); c; c = c->GetParentComponent())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
  return nullptr;
}

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info{.Name = "TApplication", .Parent = &TComponent::StaticClass()};
  return info;
}

TApplication& Application() {
  static TApplication application(nullptr);
  return application;
}

std::unique_ptr<TForm> LoadForm(FormObject tree, const std::string& source) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetStoredClassName(tree.ClassName);
  ReadComponents(*form, std::move(tree), source, /*bindToClass=*/false);
  return form;
}

LoadedForm LoadFormText(std::shared_ptr<const std::string> text, const std::string& source) {
  auto form = std::make_unique<TForm>(nullptr);
  FormDocument document = ReadComponentsFromText(*form, std::move(text), source);
  form->SetStoredClassName(document.Root.ClassName);
  form->KeepSourceText(std::move(document.Text));
  return {std::move(form), std::move(document.Style)};
}

}  // namespace host
