#pragma once
// The namer: the non-visual component a user places on a form, whose
// property Componenter lists the form's components grouped by type.

#include <memory>
#include <string>

#include "Classes.h"
#include "Listing.h"
#include "Packages.h"

namespace cnamer {

// The namer's own errors; carries the message and nothing else.
class PACKAGE_EXPORT EComponentNamerError : public host::Exception {
 public:
  using host::Exception::Exception;
};

class PACKAGE_EXPORT TComponentNamer : public host::TComponent {
 public:
  static const host::TClassInfo& StaticClass();
  host::TClass ClassType() const override { return &StaticClass(); }

  // Refuses an owner that is not a form and a form that already has a namer,
  // before entering the owner, so a refused construction changes nothing.
  explicit TComponentNamer(host::TComponent* AOwner);
  ~TComponentNamer() override;

  // The read accessor of Componenter: rebuilds the listing of the owner's
  // components into the namer's own list, and returns that same list.
  host::TStringList& GetFComponentList();
  // Replaces the listing's lines by a copy of `Value`'s; they last until the
  // next read.
  void SetComponenter(const host::TStringList& Value);

  // Whether some line of `List` is exactly `TypeName`.
  static bool TypeExist(const host::TStringList& List, const std::string& TypeName);

 private:
  std::unique_ptr<host::TStringList> FComponentList;
};

// Puts the namer on the palette page "Quorth".
void Register();

// The unit's initialization and finalization, run from the package's unit
// table and exported under the unit's names; the unit has nothing to set up.
PACKAGE_EXPORT void Initialization() __asm__("CNamer.CNamer");
PACKAGE_EXPORT void Finalization() __asm__("CNamer.Finalization");

}  // namespace cnamer
