#include "TabListBox.h"

#include <cstdint>
#include <limits>

#include "Packages.h"

namespace tablistbox {

using host::FormValue;
using host::FormValueKind;

namespace {
FormValue TabStopsValue(host::TObject& o) {
  std::vector<FormValue> stops;
  for (int stop : static_cast<TTabListBox&>(o).GetTabStops())
    stops.push_back(FormValue::Integer(stop));
  return FormValue::List(std::move(stops));
}

void SetTabStopsValue(host::TObject& o, const FormValue& value) {
  if (value.Kind != FormValueKind::List)
    throw host::EConvertError(
        host::Format("expected a list of tab stops, found '%s'", {value.Text}));
  std::vector<int> stops;
  for (const FormValue& stop : value.Items) {
    std::int64_t n = host::IntegerOf(stop);
    if (n > std::numeric_limits<int>::max())
      throw host::EConvertError(host::Format("tab stop %s is too large", {stop.Text}));
    stops.push_back(static_cast<int>(n));
  }
  static_cast<TTabListBox&>(o).SetTabStops(std::move(stops));
}

host::PTypeInfo TabStopsTypeInfo() {
  static const host::TTypeInfo info{host::TTypeKind::Class, "TTabStops"};
  return &info;
}

// Packages require "TabListPkg" to use the class; it is provided for as long
// as this library is loaded.
const host::TProvidedPackage package{"TabListPkg"};
}  // namespace

const host::TClassInfo& TTabListBox::StaticClass() {
  static const host::TClassInfo info{
      .Name = "TTabListBox",
      .Parent = &host::TCustomListBox::StaticClass(),
      .Create = host::NewComponent<TTabListBox>,
      .Properties = {{"TabStops", TabStopsTypeInfo(), TabStopsValue, SetTabStopsValue}},
  };
  return info;
}
const host::TClassRegistration registration{&TTabListBox::StaticClass()};

void TTabListBox::SetTabStops(std::vector<int> stops) {
  for (std::size_t i = 0; i < stops.size(); ++i)
    if (stops[i] < 0 || (i > 0 && stops[i] <= stops[i - 1]))
      throw host::EConvertError(host::Format("tab stops of %s must ascend from 0; %d does not",
                                             {GetName(), std::int64_t{stops[i]}}));
  tabStops_ = std::move(stops);
}

}  // namespace tablistbox
