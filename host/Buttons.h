#pragma once
// Buttons with pictures: speed buttons and bitmap buttons.

#include <cstdint>
#include <vector>

#include "StdCtrls.h"

namespace host {

// A flat button that takes no focus; its glyph is a bitmap holding NumGlyphs
// images side by side (normal, disabled, …).
class TSpeedButton : public TControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TSpeedButton(TComponent* AOwner) : TControl(AOwner) {}

  // The bitmap as stored: a bitmap file's bytes, headers included.
  const std::vector<std::uint8_t>& GetGlyphData() const { return glyph_; }
  void SetGlyphData(std::vector<std::uint8_t> data) { glyph_ = std::move(data); }
  int GetNumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);

 private:
  std::vector<std::uint8_t> glyph_;
  int numGlyphs_ = 1;
};

// What a bitmap button is for; its kind gives it its caption and modal result.
enum TBitBtnKind : std::uint8_t {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

class TBitBtn : public TButton {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

  TBitBtnKind GetKind() const { return kind_; }
  // Sets the caption and the modal result of the kind; bkCustom keeps both.
  void SetKind(TBitBtnKind value);

 private:
  TBitBtnKind kind_ = bkCustom;
};

}  // namespace host
