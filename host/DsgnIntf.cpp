#include "DsgnIntf.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "CommaText.h"
#include "RegistrationLog.h"

namespace host {

namespace {

std::string JoinedItems(const FormValue& set) {
  return "[" + CommaText(set.Items, &FormValue::Text) + "]";
}

// The form value typed text stands for, by the property's type.
FormValue TypedValue(const TPropInfo& prop, const std::string& text) {
  switch (prop.PropType->Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Int64: {
      FormValue value;
      value.Kind = FormValueKind::Integer;
      value.Text = Trim(text);
      IntegerOf(value);  // raises on text that is not a number
      return value;
    }
    case TTypeKind::Boolean:
      if (SameText(Trim(text), "True")) return FormValue::Boolean(true);
      if (SameText(Trim(text), "False")) return FormValue::Boolean(false);
      throw EConvertError(Format("expected True or False, found '%s'", {text}));
    case TTypeKind::String:
      return FormValue::String(text);
    case TTypeKind::Enumeration:
    case TTypeKind::Method: {
      std::string name = Trim(text);
      // An empty handler name unbinds the event.
      if (!IsValidIdent(name) && !(name.empty() && prop.PropType->Kind == TTypeKind::Method))
        throw EConvertError(Format("'%s' is not an identifier", {text}));
      return FormValue::Identifier(name);
    }
    case TTypeKind::Set:
    case TTypeKind::Class:
      break;
  }
  throw EConvertError(Format("a value of type %s cannot be typed", {prop.PropType->Name}));
}

}  // namespace

std::string AttributesText(TPropertyAttributes attributes) {
  static constexpr std::array<const char*, paRevertable + 1> names{
      "value list",  "sub-properties", "dialog",    "multi-select",
      "auto-update", "sorted list",    "read-only", "revertable"};
  std::vector<std::string_view> members;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (attributes.Contains(static_cast<TPropertyAttribute>(i))) members.emplace_back(names[i]);
  return "[" + CommaText(members) + "]";
}

// ---- TPropertyEditor ----

const TPropertyEditorClassInfo& TPropertyEditor::StaticClass() {
  static const TPropertyEditorClassInfo info{"TPropertyEditor", NewPropertyEditor<TPropertyEditor>};
  return info;
}

TPropertyEditor::TPropertyEditor(TFormDesigner& designer, std::vector<TComponent*> components,
                                 const TPropInfo& prop)
    : designer_(designer), components_(std::move(components)), prop_(prop) {
  if (components_.empty())
    throw EPropertyError(Format("No component to edit property %s of", {prop.Name}));
}

TComponent* TPropertyEditor::GetComponent(int index) const {
  if (index < 0 || index >= PropCount())
    throw EPropertyError(
        Format("Property %s: component index %d out of bounds", {prop_.Name, std::int64_t{index}}));
  return components_[static_cast<std::size_t>(index)];
}

bool TPropertyEditor::AllEqual() const {
  FormValue first = prop_.Get(*components_.front());
  return std::all_of(components_.begin() + 1, components_.end(),
                     [&](TComponent* c) { return prop_.Get(*c) == first; });
}

TPropertyAttributes TPropertyEditor::GetAttributes() const {
  TPropertyAttributes attributes{paMultiSelect};
  TTypeKind kind = prop_.PropType->Kind;
  if (!prop_.Set || kind == TTypeKind::Class || kind == TTypeKind::Set) attributes += paReadOnly;
  if (kind == TTypeKind::Boolean) attributes += paValueList;
  return attributes;
}

std::string TPropertyEditor::GetValue() const {
  // A class-typed value is an object of its own: its type name stands for it,
  // and it is not read, since reading may rebuild it.
  if (prop_.PropType->Kind == TTypeKind::Class) return "(" + prop_.PropType->Name + ")";
  FormValue value = prop_.Get(*components_.front());
  switch (value.Kind) {
    case FormValueKind::Integer:
    case FormValueKind::Float:
    case FormValueKind::Identifier:
    case FormValueKind::String:
      return value.Text;
    case FormValueKind::Set:
      return JoinedItems(value);
    case FormValueKind::List:
    case FormValueKind::Binary:
    case FormValueKind::Collection:
      break;
  }
  return "(" + prop_.PropType->Name + ")";
}

void TPropertyEditor::GetValues(const TGetStrProc& Proc) const {
  if (prop_.PropType->Kind != TTypeKind::Boolean) return;
  Proc("False");
  Proc("True");
}

void TPropertyEditor::SetValue(const std::string& Value) {
  if (GetAttributes().Contains(paReadOnly))
    throw EPropertyError(Format("Property %s is read-only", {prop_.Name}));
  FormValue value;
  try {
    value = TypedValue(prop_, Value);
  } catch (const EConvertError& e) {
    throw EPropertyError(Format("Property %s: %s", {prop_.Name, e.Message()}));
  }
  for (TComponent* c : components_) prop_.Set(*c, value);
  designer_.Modified();
}

// ---- registration ----

namespace {

struct Registration {
  PTypeInfo PropertyType;
  TClass ComponentClass;     // nullptr: every class
  std::string PropertyName;  // empty: every property of the type
  TPropertyEditorClass EditorClass;
  std::uint64_t Serial;  // tells the registration apart when it is undone
};

std::vector<Registration>& Registrations() {
  static std::vector<Registration> registrations;
  return registrations;
}

// How many steps up from `componentClass` the registration's class stands;
// nothing when it does not cover that class.
std::optional<int> ClassDistance(const Registration& r, TClass componentClass) {
  int distance = 0;
  for (TClass c = componentClass; c; c = c->Parent, ++distance)
    if (c == r.ComponentClass) return distance;
  if (!r.ComponentClass) return std::numeric_limits<int>::max();
  return std::nullopt;
}

}  // namespace

void RegisterPropertyEditor(PTypeInfo PropertyType, TClass ComponentClass,
                            const std::string& PropertyName, TPropertyEditorClass EditorClass) {
  if (!PropertyType || !EditorClass)
    throw EPropertyError(
        Format("RegisterPropertyEditor for property '%s' lacks %s",
               {PropertyName, std::string(PropertyType ? "an editor class" : "a property type")}));
  static std::uint64_t lastSerial = 0;
  const std::uint64_t serial = ++lastSerial;
  Registrations().push_back({PropertyType, ComponentClass, PropertyName, EditorClass, serial});
  RecordRegistration([serial] {
    std::erase_if(Registrations(), [&](const Registration& r) { return r.Serial == serial; });
  });
}

TPropertyEditorClass GetEditorClass(const TPropInfo& prop, TClass componentClass) {
  // Lower ranks win; a later registration wins a tie by replacing the best.
  struct Rank {
    int distance;
    bool unnamed;
    auto operator<=>(const Rank&) const = default;
  };
  TPropertyEditorClass best = &TPropertyEditor::StaticClass();
  std::optional<Rank> bestRank;
  for (const Registration& r : Registrations()) {
    if (r.PropertyType != prop.PropType) continue;
    if (!r.PropertyName.empty() && !SameText(r.PropertyName, prop.Name)) continue;
    std::optional<int> distance = ClassDistance(r, componentClass);
    if (!distance) continue;
    Rank rank{*distance, r.PropertyName.empty()};
    if (!bestRank || rank <= *bestRank) best = r.EditorClass, bestRank = rank;
  }
  return best;
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TFormDesigner& designer,
                                                      std::vector<TComponent*> components,
                                                      const TPropInfo& prop) {
  // Without components there is no class to look up; the editor refuses them.
  TPropertyEditorClass editorClass =
      GetEditorClass(prop, components.empty() ? nullptr : components.front()->ClassType());
  std::unique_ptr<TPropertyEditor> editor =
      editorClass->Create(designer, std::move(components), prop);
  editor->Initialize();
  return editor;
}

}  // namespace host
