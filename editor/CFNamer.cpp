#include "CFNamer.h"

#include <cstdint>
#include <string>

#include "CNamer.h"

namespace cfnamer {

using cnamer::IsComponentRow;
using host::PublishedField;
using host::PublishedMethod;

const host::TClassInfo& TFCompon::StaticClass() {
  using T = TFCompon;
  static const host::TClassInfo info{
      .Name = "TFCompon",
      .Parent = &host::TForm::StaticClass(),
      .Fields = {PublishedField("BitBtn1", &T::BitBtn1), PublishedField("BitBtn2", &T::BitBtn2),
                 PublishedField("TabList", &T::TabList), PublishedField("NameVal", &T::NameVal),
                 PublishedField("Label1", &T::Label1),
                 PublishedField("MaxValueIndex", &T::MaxValueIndex),
                 PublishedField("Label2", &T::Label2), PublishedField("btnChange", &T::btnChange),
                 PublishedField("CancelChangeBtn", &T::CancelChangeBtn)},
      .Methods = {PublishedMethod("btnChangeClick", &T::btnChangeClick),
                  PublishedMethod("FormCreate", &T::FormCreate),
                  PublishedMethod("CancelChangeBtnClick", &T::CancelChangeBtnClick)},
  };
  return info;
}

void TFCompon::btnChangeClick(host::TObject* /*Sender*/) {
  host::TListBoxItems& rows = TabList->Items();
  int first = 0;
  while (first < rows.Count() && !TabList->GetSelected(first)) ++first;
  if (first == rows.Count()) return;

  const std::string base = NameVal->GetText();
  // Read once per press and never written back. Counting in 64 bits lets the
  // numbers go on past the 32-bit maximum instead of wrapping to negatives.
  std::int64_t counter = MaxValueIndex->GetValue();
  auto nextName = [&] { return cnamer::ComponentRow(base + host::IntToStr(counter++)); };

  if (IsComponentRow(rows[first])) {
    for (int i = first; i < rows.Count(); ++i)
      if (TabList->GetSelected(i)) rows.Put(i, nextName());
  } else {
    for (int i = first + 1; i < rows.Count() && IsComponentRow(rows[i]); ++i)
      rows.Put(i, nextName());
  }
}

void TFCompon::FormCreate(host::TObject* /*Sender*/) {
  FSavedList = std::make_unique<host::TStringList>();
}

void TFCompon::CancelChangeBtnClick(host::TObject* /*Sender*/) {
  TabList->Clear();
  TabList->Items().Assign(*FSavedList);
}

void Initialization() {}

void Finalization() {}

}  // namespace cfnamer
