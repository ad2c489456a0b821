#pragma once
// The spin box: an edit box for a whole number with up and down buttons.

#include <cstdint>

#include "Controls.h"

namespace host {

class TSpinEdit : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TSpinEdit(TComponent* AOwner) : TWinControl(AOwner) {}

  // The value as the user gave it, within MinValue..MaxValue; when both are
  // 0 there are no bounds but the 32-bit range. The bounds apply when the
  // value is read, so a form may give the value before its bounds.
  std::int32_t GetValue() const;
  // Values beyond the 32-bit range are taken as its nearest end.
  void SetValue(std::int64_t value);
  std::int32_t GetMinValue() const { return minValue_; }
  void SetMinValue(std::int32_t value) { minValue_ = value; }
  std::int32_t GetMaxValue() const { return maxValue_; }
  void SetMaxValue(std::int32_t value) { maxValue_ = value; }

 private:
  std::int32_t value_ = 0;
  std::int32_t minValue_ = 0;
  std::int32_t maxValue_ = 0;
};

}  // namespace host
