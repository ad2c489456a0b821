#pragma once
// Design time: property editors, the attributes the object inspector reads
// from them, and the registry that picks an editor for a property.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Classes.h"
#include "Designer.h"
#include "TypInfo.h"

namespace host {

struct TPropertyEditorClassInfo;

// Raised when a property editor cannot do what it is asked.
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

// What the object inspector offers for a property. The ordinals are fixed:
// packages store attribute sets as bit sets.
enum TPropertyAttribute : std::uint8_t {
  paValueList,      // a list of values to pick from (GetValues)
  paSubProperties,  // nested properties (GetProperties)
  paDialog,         // a button that calls Edit
  paMultiSelect,    // offered while several components are selected
  paAutoUpdate,     // every keystroke is sent to SetValue
  paSortList,       // the value list is shown sorted
  paReadOnly,       // the value cannot be typed
  paRevertable,     // the value can be reverted to the inherited one
};

using TPropertyAttributes = TSet<TPropertyAttribute>;

// "[dialog, read-only]": the members in ordinal order, as the designer
// program prints them.
std::string AttributesText(TPropertyAttributes attributes);

using TGetStrProc = std::function<void(const std::string& Value)>;

// Edits one published property of one or more components of a form. The
// base class is the editor of every property no registration covers: it shows
// simple values as text, class-typed ones as their type name in parentheses,
// and types integers, Booleans, strings, enumerations and handler names.
class TPropertyEditor {
 public:
  using TGetPropEditProc = std::function<void(std::unique_ptr<TPropertyEditor> Editor)>;

  static const TPropertyEditorClassInfo& StaticClass();

  // `components` are the edited components, the first one first; there is at
  // least one, and each publishes `prop`.
  TPropertyEditor(TFormDesigner& designer, std::vector<TComponent*> components,
                  const TPropInfo& prop);
  TPropertyEditor(const TPropertyEditor&) = delete;
  TPropertyEditor& operator=(const TPropertyEditor&) = delete;
  virtual ~TPropertyEditor() = default;

  // Slot order matters to packages: keep it.
  virtual void Activate() {}
  virtual bool AllEqual() const;
  virtual void Edit() {}
  virtual TPropertyAttributes GetAttributes() const;
  virtual int GetEditLimit() const { return 255; }
  virtual std::string GetName() const { return prop_.Name; }
  virtual void GetProperties(const TGetPropEditProc& /*Proc*/) const {}
  virtual std::string GetValue() const;
  virtual void GetValues(const TGetStrProc& Proc) const;
  virtual void Initialize() {}
  virtual void SetValue(const std::string& Value);

  TComponent* GetComponent(int index) const;
  int PropCount() const { return static_cast<int>(components_.size()); }
  PTypeInfo GetPropType() const { return prop_.PropType; }
  TFormDesigner& Designer() const { return designer_; }

 private:
  TFormDesigner& designer_;
  std::vector<TComponent*> components_;
  const TPropInfo& prop_;
};

// A property-editor class reference: its name and how to make one. Each
// editor class publishes one, like a component class its TClassInfo.
struct TPropertyEditorClassInfo {
  std::string Name;
  std::function<std::unique_ptr<TPropertyEditor>(
      TFormDesigner& designer, std::vector<TComponent*> components, const TPropInfo& prop)>
      Create;
};
using TPropertyEditorClass = const TPropertyEditorClassInfo*;

// The Create of an editor class E, whose constructor takes what
// TPropertyEditor's takes.
template <class E>
std::unique_ptr<TPropertyEditor> NewPropertyEditor(TFormDesigner& designer,
                                                   std::vector<TComponent*> components,
                                                   const TPropInfo& prop) {
  return std::make_unique<E>(designer, std::move(components), prop);
}

// Installs `EditorClass` for properties of type `PropertyType` of components
// of `ComponentClass` and its descendants (nullptr: of every class), named
// `PropertyName` (empty: every property of that type). A registration made
// while a package starts is undone when the package goes.
void RegisterPropertyEditor(PTypeInfo PropertyType, TClass ComponentClass,
                            const std::string& PropertyName, TPropertyEditorClass EditorClass);

// The editor class for `prop` of components of `componentClass`: of the
// registrations for the property's type that cover both, the one for the
// closest class, then one naming the property over one for all properties,
// then the latest. TPropertyEditor's own class when none covers them.
TPropertyEditorClass GetEditorClass(const TPropInfo& prop, TClass componentClass);

// Creates the editor that GetEditorClass picks for the first component's
// class, and initializes it.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TFormDesigner& designer,
                                                      std::vector<TComponent*> components,
                                                      const TPropInfo& prop);

}  // namespace host
