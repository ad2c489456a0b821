#include "Spin.h"

#include <algorithm>
#include <limits>

namespace host {

namespace {
FormValue SpinValue(TObject& o) {
  return FormValue::Integer(static_cast<TSpinEdit&>(o).GetValue());
}

void SetSpinValue(TObject& o, const FormValue& value) {
  static_cast<TSpinEdit&>(o).SetValue(IntegerOf(value));
}
}  // namespace

const TClassInfo& TSpinEdit::StaticClass() {
  using T = TSpinEdit;
  static const TClassInfo info{
      .Name = "TSpinEdit",
      .Parent = &TWinControl::StaticClass(),
      .Create = NewComponent<TSpinEdit>,
      .Properties = {{"Value", IntegerTypeInfo(), SpinValue, SetSpinValue},
                     PublishedInteger<T>("MinValue", &T::GetMinValue, &T::SetMinValue),
                     PublishedInteger<T>("MaxValue", &T::GetMaxValue, &T::SetMaxValue)},
  };
  return info;
}
const TClassRegistration spinEditRegistration{&TSpinEdit::StaticClass()};

std::int32_t TSpinEdit::GetValue() const {
  if (minValue_ == 0 && maxValue_ == 0) return value_;
  // Max before min: with crossed bounds the minimum wins.
  return std::max(minValue_, std::min(maxValue_, value_));
}

void TSpinEdit::SetValue(std::int64_t value) {
  using Limits = std::numeric_limits<std::int32_t>;
  value_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, Limits::min(), Limits::max()));
}

}  // namespace host
