#include "Controls.h"

#include <cstdint>
#include <limits>

namespace host {

// ---- fonts ----

const TIdentTable& ColorIdents() {
  auto system = [](std::int64_t index) -> std::int64_t {
    return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index));
  };
  // Bit patterns up to $FFFFFFFF are colours too, as hexadecimal literals.
  static const TIdentTable table{
      .Type = {TTypeKind::Integer, "TColor"},
      .Idents = {{"clBlack", 0x000000},
                 {"clMaroon", 0x000080},
                 {"clGreen", 0x008000},
                 {"clOlive", 0x008080},
                 {"clNavy", 0x800000},
                 {"clPurple", 0x800080},
                 {"clTeal", 0x808000},
                 {"clGray", 0x808080},
                 {"clSilver", 0xC0C0C0},
                 {"clRed", 0x0000FF},
                 {"clLime", 0x00FF00},
                 {"clYellow", 0x00FFFF},
                 {"clBlue", 0xFF0000},
                 {"clFuchsia", 0xFF00FF},
                 {"clAqua", 0xFFFF00},
                 {"clWhite", 0xFFFFFF},
                 {"clScrollBar", system(0)},
                 {"clBackground", system(1)},
                 {"clActiveCaption", system(2)},
                 {"clInactiveCaption", system(3)},
                 {"clMenu", system(4)},
                 {"clWindow", system(5)},
                 {"clWindowFrame", system(6)},
                 {"clMenuText", system(7)},
                 {"clWindowText", system(8)},
                 {"clCaptionText", system(9)},
                 {"clActiveBorder", system(10)},
                 {"clInactiveBorder", system(11)},
                 {"clAppWorkSpace", system(12)},
                 {"clHighlight", system(13)},
                 {"clHighlightText", system(14)},
                 {"clBtnFace", system(15)},
                 {"clBtnShadow", system(16)},
                 {"clGrayText", system(17)},
                 {"clBtnText", system(18)},
                 {"clInactiveCaptionText", system(19)},
                 {"clBtnHighlight", system(20)},
                 {"cl3DDkShadow", system(21)},
                 {"cl3DLight", system(22)},
                 {"clInfoText", system(23)},
                 {"clInfoBk", system(24)},
                 {"clNone", 0x1FFFFFFF},
                 {"clDefault", 0x20000000}},
      .Numbers = {{std::numeric_limits<TColor>::min(), std::numeric_limits<std::uint32_t>::max()}},
  };
  return table;
}

const TIdentTable& CharsetIdents() {
  static const TIdentTable table{
      .Type = {TTypeKind::Integer, "TFontCharset"},
      .Idents = {{"ANSI_CHARSET", 0},
                 {"DEFAULT_CHARSET", 1},
                 {"SYMBOL_CHARSET", 2},
                 {"MAC_CHARSET", 77},
                 {"SHIFTJIS_CHARSET", 128},
                 {"HANGEUL_CHARSET", 129},
                 {"JOHAB_CHARSET", 130},
                 {"GB2312_CHARSET", 134},
                 {"CHINESEBIG5_CHARSET", 136},
                 {"GREEK_CHARSET", 161},
                 {"TURKISH_CHARSET", 162},
                 {"VIETNAMESE_CHARSET", 163},
                 {"HEBREW_CHARSET", 177},
                 {"ARABIC_CHARSET", 178},
                 {"BALTIC_CHARSET", 186},
                 {"RUSSIAN_CHARSET", 204},
                 {"THAI_CHARSET", 222},
                 {"EASTEUROPE_CHARSET", 238},
                 {"OEM_CHARSET", 255}},
      .Numbers = {{0, 255}},
  };
  return table;
}

const TIdentTable& FontStyleIdents() {
  static const TIdentTable table{
      .Type = {TTypeKind::Set, "TFontStyles"},
      .Idents = {{"fsBold", fsBold},
                 {"fsItalic", fsItalic},
                 {"fsUnderline", fsUnderline},
                 {"fsStrikeOut", fsStrikeOut}},
  };
  return table;
}

// ---- controls ----

void TControl::Click() { OnClick(this); }

TPropInfo PublishedCaption() {
  return PublishedString<TControl>("Caption", &TControl::GetText, &TControl::SetText);
}

TPropInfo PublishedText() {
  return PublishedString<TControl>("Text", &TControl::GetText, &TControl::SetText);
}

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info{
      .Name = "TControl",
      .Parent = &TComponent::StaticClass(),
      .Properties =
          {PublishedInteger<TControl>("Left", &TControl::GetLeft, &TControl::SetLeft),
           PublishedInteger<TControl>("Top", &TControl::GetTop, &TControl::SetTop),
           PublishedInteger<TControl>("Width", &TControl::GetWidth, &TControl::SetWidth),
           PublishedInteger<TControl>("Height", &TControl::GetHeight, &TControl::SetHeight),
           PublishedBoolean<TControl>("Visible", &TControl::GetVisible, &TControl::SetVisible),
           PublishedBoolean<TControl>("Enabled", &TControl::GetEnabled, &TControl::SetEnabled)},
  };
  return info;
}

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info{
      .Name = "TWinControl",
      .Parent = &TControl::StaticClass(),
      .Properties = {PublishedInteger<TWinControl>("TabOrder", &TWinControl::GetTabOrder,
                                                   &TWinControl::SetTabOrder)},
  };
  return info;
}

}  // namespace host
