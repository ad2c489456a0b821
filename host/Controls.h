#pragma once
// Controls: components that stand on a form and hold their state (position,
// size, text) as a model; a modal presenter shows them. Also the value types
// that controls and forms publish: symbolic values, small sets, fonts.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Classes.h"

namespace host {

// ---- symbolic values and sets, as form files write them ----

// The names of a property type's values: the members of an enumeration with
// their ordinals, or the named values of a number type such as a colour.
struct TIdentTable {
  TTypeInfo Type;
  std::vector<std::pair<std::string, std::int64_t>> Idents;
  // The numbers that are values too, written as numbers when they have no
  // name (none for an enumeration).
  std::optional<std::pair<std::int64_t, std::int64_t>> Numbers{};

  // The value's name, or the value as a number.
  FormValue ValueOf(std::int64_t value) const;
  // Raises EConvertError for a name not in the table, or a number where only
  // names are values.
  std::int64_t Parse(const FormValue& value) const;
};

// A property served by a getter and a setter whose values the table names.
template <class T, class V>
TPropInfo PublishedIdent(std::string name, const TIdentTable& table, V (T::*get)() const,
                         void (T::*set)(V)) {
  return {std::move(name), &table.Type,
          [&table, get](TObject& o) {
            return table.ValueOf(static_cast<std::int64_t>((static_cast<const T&>(o).*get)()));
          },
          [&table, set](TObject& o, const FormValue& v) {
            (static_cast<T&>(o).*set)(static_cast<V>(table.Parse(v)));
          }};
}

// A set of members of an enumeration with at most 32 members, bit n standing
// for ordinal n.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E m : members) bits_ |= Bit(m);
  }
  static constexpr TSet FromBits(std::uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
  constexpr std::uint32_t Bits() const { return bits_; }
  friend constexpr bool operator==(TSet, TSet) = default;

 private:
  static constexpr std::uint32_t Bit(E m) { return std::uint32_t{1} << static_cast<unsigned>(m); }
  std::uint32_t bits_ = 0;
};

// The set value of `bits`, with the names of `members` (an enumeration's
// table), and back; an unknown member raises EConvertError.
FormValue SetValueOf(const TIdentTable& members, std::uint32_t bits);
std::uint32_t ParseSet(const TIdentTable& members, const FormValue& value);

template <class T, class E>
TPropInfo PublishedSet(std::string name, const TIdentTable& members, TSet<E> (T::*get)() const,
                       void (T::*set)(TSet<E>)) {
  return {std::move(name), &members.Type,
          [&members, get](TObject& o) {
            return SetValueOf(members, (static_cast<const T&>(o).*get)().Bits());
          },
          [&members, set](TObject& o, const FormValue& v) {
            (static_cast<T&>(o).*set)(TSet<E>::FromBits(ParseSet(members, v)));
          }};
}

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
