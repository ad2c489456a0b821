#include "StdCtrls.h"

#include <algorithm>
#include <numeric>

#include "Forms.h"

namespace host {

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info{
      .Name = "TLabel",
      .Parent = &TControl::StaticClass(),
      .Create = NewComponent<TLabel>,
      .Properties = {PublishedCaption(), PublishedEvent<TControl>("OnClick", &TControl::OnClick)},
  };
  return info;
}
const TClassRegistration labelRegistration{&TLabel::StaticClass()};

// ---- TButton ----

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info{
      .Name = "TButton",
      .Parent = &TWinControl::StaticClass(),
      .Create = NewComponent<TButton>,
      .Properties = {PublishedCaption(),
                     PublishedInteger<TButton>("ModalResult", &TButton::GetModalResult,
                                               &TButton::SetModalResult),
                     PublishedEvent<TControl>("OnClick", &TControl::OnClick)},
  };
  return info;
}
const TClassRegistration buttonRegistration{&TButton::StaticClass()};

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm* form = GetParentForm(*this)) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

// ---- TEdit ----

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info{
      .Name = "TEdit",
      .Parent = &TWinControl::StaticClass(),
      .Create = NewComponent<TEdit>,
      .Properties = {PublishedText()},
  };
  return info;
}
const TClassRegistration editRegistration{&TEdit::StaticClass()};

// ---- list boxes ----

int TListBoxItems::Add(std::string_view line) {
  marks_.push_back(false);
  return strings_.Add(line);
}

void TListBoxItems::Clear() {
  strings_.Clear();
  marks_.clear();
}

void TListBoxItems::Assign(const TStringList& source) {
  strings_.Assign(source);
  marks_.assign(strings_.Lines().size(), false);
}

bool TListBoxItems::Selected(int index) const {
  Get(index);  // bounds check
  return marks_[static_cast<std::size_t>(index)];
}

void TListBoxItems::SetSelected(int index, bool selected) {
  Get(index);  // bounds check
  marks_[static_cast<std::size_t>(index)] = selected;
}

void TListBoxItems::Sort() {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
  const PackedLines& lines = strings_.Lines();
  auto less = [&](std::size_t a, std::size_t b) {
    return std::ranges::lexicographical_compare(
        lines[a], lines[b], [&](char x, char y) { return lower(x) < lower(y); });
  };
  std::vector<std::size_t> order(lines.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), less);
  TStringList sorted;
  sorted.SetCapacity(strings_.Count());
  std::vector<bool> marks;
  marks.reserve(order.size());
  for (std::size_t i : order) {
    sorted.Add(lines[i]);
    marks.push_back(marks_[i]);
  }
  strings_.Assign(sorted);
  marks_ = std::move(marks);
}

namespace {
FormValue ItemsValue(TObject& o) {
  std::vector<FormValue> lines;
  for (std::string_view line : static_cast<TCustomListBox&>(o).Items().Strings())
    lines.push_back(FormValue::String(std::string(line)));
  return FormValue::List(std::move(lines));
}

void SetItemsValue(TObject& o, const FormValue& value) {
  TStringList lines;
  AddLinesOf(lines, value);
  static_cast<TCustomListBox&>(o).Items().Assign(lines);
}

void SetItems(TObject& o, const TObject& lines) {
  static_cast<TCustomListBox&>(o).Items().Assign(lines.As<TStringList>());
}
}  // namespace

const TClassInfo& TCustomListBox::StaticClass() {
  using T = TCustomListBox;
  static const TClassInfo info{
      .Name = "TCustomListBox",
      .Parent = &TWinControl::StaticClass(),
      .Properties = {{"Items", TypeInfo<TStringList>(), ItemsValue, SetItemsValue,
                      /*AlwaysStored=*/false, /*Event=*/{}, /*GetObject=*/{}, SetItems},
                     PublishedBoolean<T>("MultiSelect", &T::GetMultiSelect, &T::SetMultiSelect),
                     PublishedBoolean<T>("Sorted", &T::GetSorted, &T::SetSorted),
                     PublishedInteger<T>("ItemHeight", &T::GetItemHeight, &T::SetItemHeight)},
  };
  return info;
}

void TCustomListBox::SetSelected(int index, bool selected) {
  items_.SetSelected(index, selected);
  if (selected && !multiSelect_)
    for (int i = 0; i < items_.Count(); ++i)
      if (i != index) items_.SetSelected(i, false);
}

void TCustomListBox::SetMultiSelect(bool value) {
  multiSelect_ = value;
  if (value) return;
  bool kept = false;
  for (int i = 0; i < items_.Count(); ++i) {
    if (items_.Selected(i) && kept) items_.SetSelected(i, false);
    kept = kept || items_.Selected(i);
  }
}

void TCustomListBox::SetSorted(bool value) {
  if (value && !sorted_) items_.Sort();
  sorted_ = value;
}

void TCustomListBox::SetItemHeight(int value) {
  if (value < 1)
    throw EValueRefused(
        Format("item height of %s must be at least 1, not %d", {GetName(), std::int64_t{value}}));
  itemHeight_ = value;
}

const TClassInfo& TListBox::StaticClass() {
  static const TClassInfo info{
      .Name = "TListBox",
      .Parent = &TCustomListBox::StaticClass(),
      .Create = NewComponent<TListBox>,
  };
  return info;
}
const TClassRegistration listBoxRegistration{&TListBox::StaticClass()};

}  // namespace host
