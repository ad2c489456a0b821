#pragma once
// Controls: components that stand on a form and hold their state (position,
// size, text) as a model; a modal presenter shows them. Also the fonts that
// controls and forms publish.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Classes.h"

namespace host {

// ---- fonts ----

// A colour: red in the lowest byte, then green, then blue; or, with the top
// bit set, one of the system's colours by number.
using TColor = std::int32_t;
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
const TIdentTable& ColorIdents();

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
const TIdentTable& CharsetIdents();

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
const TIdentTable& FontStyleIdents();

struct TFont {
  TFontCharset Charset = DEFAULT_CHARSET;
  TColor Color = clWindowText;
  int Height = -11;  // negative: the character height in pixels, without leading
  std::string Name = "MS Sans Serif";
  TFontStyles Style;
};

// ---- controls ----

// What a modal form returns; the buttons of a dialog carry one.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;

class TControl : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TControl(TComponent* AOwner) : TComponent(AOwner) {}

  int GetLeft() const { return left_; }
  void SetLeft(int value) { left_ = value; }
  int GetTop() const { return top_; }
  void SetTop(int value) { top_ = value; }
  int GetWidth() const { return width_; }
  void SetWidth(int value) { width_ = value; }
  int GetHeight() const { return height_; }
  void SetHeight(int value) { height_ = value; }
  bool GetVisible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }

  // One text per control: the caption of labels, buttons and forms, the text
  // of edit boxes; each class publishes it under its own name.
  std::string GetText() const { return text_; }
  void SetText(const std::string& value) { text_ = value; }

  // What a click on the control reaches; runs OnClick.
  virtual void Click();
  TEventHandler OnClick;

 private:
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
};

// A control that takes the keyboard focus, in its tab order.
class TWinControl : public TControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TWinControl(TComponent* AOwner) : TControl(AOwner) {}

  int GetTabOrder() const { return tabOrder_; }
  void SetTabOrder(int value) { tabOrder_ = value; }

 private:
  int tabOrder_ = 0;
};

// The published properties Caption and Text, both the control's one text.
TPropInfo PublishedCaption();
TPropInfo PublishedText();

}  // namespace host
