#pragma once
// The tabbed list box: a multi-select list box whose rows are drawn with tab
// stops, so that text after a tab lines up in columns.

#include <vector>

#include "StdCtrls.h"

namespace tablistbox {

class TTabListBox : public host::TCustomListBox {
 public:
  static const host::TClassInfo& StaticClass();
  host::TClass ClassType() const override { return &StaticClass(); }

  explicit TTabListBox(host::TComponent* AOwner) : host::TCustomListBox(AOwner) {}

  // Positions in the control's own units, ascending and not negative; a tab
  // in a row moves what follows to the next stop.
  const std::vector<int>& GetTabStops() const { return tabStops_; }
  void SetTabStops(std::vector<int> stops);

 private:
  std::vector<int> tabStops_;
};

}  // namespace tablistbox
