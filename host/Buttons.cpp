#include "Buttons.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "Numerals.h"

namespace host {

// ---- TSpeedButton ----

namespace {
FormValue GlyphValue(TObject& o) {
  std::string hex;
  for (std::uint8_t byte : static_cast<TSpeedButton&>(o).GetGlyphData()) {
    hex += kUpperHexDigits[byte >> 4];
    hex += kUpperHexDigits[byte & 15];
  }
  return {FormValueKind::Binary, std::move(hex), {}, {}, {}};
}

void SetGlyphValue(TObject& o, const FormValue& value) {
  if (value.Kind != FormValueKind::Binary || value.Text.size() % 2 != 0 ||
      !std::all_of(value.Text.begin(), value.Text.end(), IsHexDigit))
    throw EValueRefused(Format("expected binary data, found '%s'", {value.Text}));
  std::vector<std::uint8_t> data;
  data.reserve(value.Text.size() / 2);
  for (std::size_t i = 0; i < value.Text.size(); i += 2)
    data.push_back(static_cast<std::uint8_t>(HexDigitValue(value.Text[i]) << 4 |
                                             HexDigitValue(value.Text[i + 1])));
  static_cast<TSpeedButton&>(o).SetGlyphData(std::move(data));
}

PTypeInfo BitmapTypeInfo() {
  static const TTypeInfo info{TTypeKind::Class, "TBitmap"};
  return &info;
}
}  // namespace

const TClassInfo& TSpeedButton::StaticClass() {
  using T = TSpeedButton;
  static const TClassInfo info{
      .Name = "TSpeedButton",
      .Parent = &TControl::StaticClass(),
      .Create = NewComponent<TSpeedButton>,
      .Properties = {PublishedCaption(),
                     {"Glyph.Data", BitmapTypeInfo(), GlyphValue, SetGlyphValue},
                     PublishedInteger<T>("NumGlyphs", &T::GetNumGlyphs, &T::SetNumGlyphs),
                     PublishedEvent<TControl>("OnClick", &TControl::OnClick)},
  };
  return info;
}
const TClassRegistration speedButtonRegistration{&TSpeedButton::StaticClass()};

void TSpeedButton::SetNumGlyphs(int value) {
  if (value < 1 || value > 4)
    throw EValueRefused(
        Format("NumGlyphs of %s must be from 1 to 4, not %d", {GetName(), std::int64_t{value}}));
  numGlyphs_ = value;
}

// ---- TBitBtn ----

namespace {
struct KindDefaults {
  const char* Caption;
  TModalResult ModalResult;
};

// By kind ordinal. A modal form that is closed returns mrCancel, so that is
// what the Close kind gives.
constexpr std::array<KindDefaults, bkAll + 1> kKinds{{{"", mrNone},
                                                      {"OK", mrOk},
                                                      {"Cancel", mrCancel},
                                                      {"&Help", mrNone},
                                                      {"&Yes", mrYes},
                                                      {"&No", mrNo},
                                                      {"&Close", mrCancel},
                                                      {"Abort", mrAbort},
                                                      {"&Retry", mrRetry},
                                                      {"&Ignore", mrIgnore},
                                                      {"&All", mrAll}}};

const TIdentTable& KindIdents() {
  static const TIdentTable table{
      .Type = {TTypeKind::Enumeration, "TBitBtnKind"},
      .Idents = {{"bkCustom", bkCustom},
                 {"bkOK", bkOK},
                 {"bkCancel", bkCancel},
                 {"bkHelp", bkHelp},
                 {"bkYes", bkYes},
                 {"bkNo", bkNo},
                 {"bkClose", bkClose},
                 {"bkAbort", bkAbort},
                 {"bkRetry", bkRetry},
                 {"bkIgnore", bkIgnore},
                 {"bkAll", bkAll}},
  };
  return table;
}
}  // namespace

const TClassInfo& TBitBtn::StaticClass() {
  static const TClassInfo info{
      .Name = "TBitBtn",
      .Parent = &TButton::StaticClass(),
      .Create = NewComponent<TBitBtn>,
      .Properties = {PublishedIdent<TBitBtn>("Kind", KindIdents(), &TBitBtn::GetKind,
                                             &TBitBtn::SetKind)},
  };
  return info;
}
const TClassRegistration bitBtnRegistration{&TBitBtn::StaticClass()};

void TBitBtn::SetKind(TBitBtnKind value) {
  kind_ = value;
  if (value == bkCustom) return;
  SetText(kKinds[value].Caption);
  SetModalResult(kKinds[value].ModalResult);
}

}  // namespace host
