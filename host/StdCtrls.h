#pragma once
// Standard controls: labels, buttons, edit boxes and list boxes.

#include <string>
#include <vector>

#include "Controls.h"

namespace host {

class TLabel : public TControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TLabel(TComponent* AOwner) : TControl(AOwner) {}
};

class TButton : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TButton(TComponent* AOwner) : TWinControl(AOwner) {}

  // A button with a modal result closes its form with that result when
  // clicked; mrNone leaves the form open.
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  void Click() override;

 private:
  TModalResult modalResult_ = mrNone;
};

class TEdit : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TEdit(TComponent* AOwner) : TWinControl(AOwner) {}
};

class TCustomListBox;

// The rows of a list box, each with its selection mark, kept in step: a row
// whose text is replaced keeps its mark, and rows that come new (Add,
// Assign) come unselected. The marks are set through the list box, which
// knows whether more than one row may be selected.
class TListBoxItems {
 public:
  int Count() const { return strings_.Count(); }
  std::string_view Get(int index) const { return strings_.Get(index); }
  std::string_view operator[](int index) const { return Get(index); }
  void Put(int index, std::string_view line) { strings_.Put(index, line); }
  int Add(std::string_view line);
  void Clear();
  void Assign(const TStringList& source);
  // The rows as a string list, to copy or to read at once.
  const TStringList& Strings() const { return strings_; }

 private:
  friend class TCustomListBox;

  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  // Orders the rows by their text without regard to letter case; equal rows
  // keep their order, and every row keeps its mark.
  void Sort();

  TStringList strings_;
  std::vector<bool> marks_;
};

class TCustomListBox : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {}

  TListBoxItems& Items() { return items_; }
  const TListBoxItems& Items() const { return items_; }
  // Removes every row, and with them every mark.
  void Clear() { items_.Clear(); }

  bool GetSelected(int index) const { return items_.Selected(index); }
  // Without MultiSelect, selecting a row unselects every other one.
  void SetSelected(int index, bool selected);

  bool GetMultiSelect() const { return multiSelect_; }
  // Turning MultiSelect off keeps only the first selected row selected.
  void SetMultiSelect(bool value);
  bool GetSorted() const { return sorted_; }
  // The rows are sorted once, when Sorted turns on; rows given later stay
  // in the order they are given, since callers pair rows by index.
  void SetSorted(bool value);
  int GetItemHeight() const { return itemHeight_; }
  void SetItemHeight(int value);

 private:
  TListBoxItems items_;
  bool multiSelect_ = false;
  bool sorted_ = false;
  int itemHeight_ = 13;
};

class TListBox : public TCustomListBox {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

}  // namespace host
