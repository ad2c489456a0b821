#pragma once
// Unit CFNamer: the rename dialog "Component list", in which the user plans
// new names for the rows of a component listing.

#include <memory>
#include <string_view>

#include "Buttons.h"
#include "Forms.h"
#include "Packages.h"
#include "Spin.h"
#include "StdCtrls.h"
#include "TabListBox.h"

namespace cfnamer {

// The dialog. It renames nothing itself: whoever shows it fills TabList and
// FSavedList with the same listing and, after OK, compares the two.
class PACKAGE_EXPORT TFCompon : public host::TForm {
 public:
  static const host::TClassInfo& StaticClass();
  host::TClass ClassType() const override { return &StaticClass(); }

  explicit TFCompon(host::TComponent* AOwner) : host::TForm(AOwner) {}

  // Published fields, pointed at the controls by the form resource.
  host::TBitBtn* BitBtn1 = nullptr;
  host::TBitBtn* BitBtn2 = nullptr;
  tablistbox::TTabListBox* TabList = nullptr;
  host::TEdit* NameVal = nullptr;
  host::TLabel* Label1 = nullptr;
  host::TSpinEdit* MaxValueIndex = nullptr;
  host::TLabel* Label2 = nullptr;
  host::TSpeedButton* btnChange = nullptr;
  host::TSpeedButton* CancelChangeBtn = nullptr;

  // The listing as it was when the dialog opened; created empty by
  // FormCreate, filled and released by the caller, never written here.
  std::unique_ptr<host::TStringList> FSavedList;

  // Published handlers, bound by the form resource.
  // Change: gives rows a tab, NameVal's text and a running number from
  // MaxValueIndex's value: every selected row from the first selected one on
  // when that is a component row, else the block of component rows under
  // that header row.
  void btnChangeClick(host::TObject* Sender);
  void FormCreate(host::TObject* Sender);
  // Cancel Change: restores the listing from FSavedList, unselected.
  void CancelChangeBtnClick(host::TObject* Sender);
};

// The text of the form resource "TFCOMPON", compiled in from FCompon.form.
std::string_view FComponResource();

// The unit's initialization and finalization, run from the package's unit
// table and exported under the unit's names; the unit has nothing to set up.
PACKAGE_EXPORT void Initialization() __asm__("CFNamer.CFNamer");
PACKAGE_EXPORT void Finalization() __asm__("CFNamer.Finalization");

}  // namespace cfnamer
