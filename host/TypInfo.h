#pragma once
// Run-time type information: class descriptions with their published
// properties, fields and handlers, as form files and the object inspector use
// them, and the symbolic values and small sets that properties publish.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "FormTree.h"
#include "System.h"

namespace host {

class TComponent;

enum class TTypeKind { Integer, Int64, Boolean, String, Enumeration, Set, Class, Method };

struct TTypeInfo {
  TTypeKind Kind;
  std::string Name;
};
using PTypeInfo = const TTypeInfo*;

using TNotifyEvent = std::function<void(TObject* Sender)>;

// An event property's value: the handler's name as stored in a form, and the
// call it is bound to when the form's class publishes that handler (a form
// opened for design keeps only the name). Every control has a slot and few
// have a handler: an empty slot is one pointer, where a name and a call
// would take 64 bytes in each of a large form's controls.
class TEventHandler {
 public:
  TEventHandler() = default;
  // A handler of that name, not bound; the empty name is no handler.
  explicit TEventHandler(std::string name);
  TEventHandler(const TEventHandler& other);
  TEventHandler& operator=(const TEventHandler& other);
  TEventHandler(TEventHandler&&) noexcept = default;
  TEventHandler& operator=(TEventHandler&&) noexcept = default;
  ~TEventHandler();

  // Empty when the slot holds no handler's name.
  const std::string& Name() const;
  bool Bound() const { return handler_ && handler_->Call; }
  // Binds the call, keeping the name.
  void Bind(TNotifyEvent call);

  void operator()(TObject* Sender) const {
    if (Bound()) handler_->Call(Sender);
  }

 private:
  struct Handler {
    std::string Name;
    TNotifyEvent Call;
  };
  std::unique_ptr<Handler> handler_;  // null: no handler
};

struct TPropInfo {
  std::string Name;  // may be dotted ("Font.Name")
  PTypeInfo PropType;
  std::function<FormValue(TObject&)> Get;                 // a read may rebuild the value
  std::function<void(TObject&, const FormValue&)> Set{};  // empty: read-only
  // Whether a value that no form file gave is written with the form anyway.
  bool AlwaysStored = false;
  // Event properties: the handler slot, which the form reader binds by name.
  std::function<TEventHandler&(TObject&)> Event{};
  // Class-typed properties: the object itself, which a caller reads without
  // the copy a FormValue of it would be.
  std::function<TObject*(TObject&)> GetObject{};
  // Class-typed properties: sets the value from an object of the type, which
  // a reader fills from the text without a FormValue of each item.
  std::function<void(TObject&, const TObject&)> SetObject{};
  // Integer properties: the value as a number, which a save compares with
  // the stored one without making a FormValue of it.
  std::function<std::int64_t(TObject&)> GetInteger{};
};

// A published field of a form class: pointed at the control of that name
// when the form is built from its resource.
struct TFieldInfo {
  std::string Name;
  std::function<void(TObject& form, TComponent& control)> Bind;
};

// A published handler of a form class, bound by name from its resource.
struct TMethodInfo {
  std::string Name;
  std::function<void(TObject& form, TObject* Sender)> Invoke;
};

struct TClassInfo {
  std::string Name;
  TClass Parent = nullptr;
  // Creates an instance owned by the owner; empty for classes that are not
  // created by name.
  std::function<TComponent*(TComponent* Owner)> Create{};
  std::vector<TPropInfo> Properties{};  // this class's own, in declaration order
  std::vector<TFieldInfo> Fields{};
  std::vector<TMethodInfo> Methods{};
  TTypeInfo TypeInfo{TTypeKind::Class, Name};

  bool InheritsFrom(TClass ancestor) const;
  // Looks through this class and its ancestors.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  // Calls `f` with each published property of the class and its ancestors,
  // ancestors first.
  template <class F>
  void ForEachProperty(F&& f) const {
    if (Parent) Parent->ForEachProperty(f);
    for (const TPropInfo& p : Properties) f(p);
  }
};

// The Create of a component class T, whose constructor takes the owner.
template <class T>
TComponent* NewComponent(TComponent* Owner) {
  return new T(Owner);
}

// Type information of the simple property types.
PTypeInfo IntegerTypeInfo();
PTypeInfo BooleanTypeInfo();
PTypeInfo StringTypeInfo();
PTypeInfo NotifyEventTypeInfo();

template <class T>
PTypeInfo TypeInfo() {
  return &T::StaticClass().TypeInfo;
}

// Conversions between property values and form values; a value of the wrong
// kind raises EValueRefused naming what was expected, a number too large for
// the type EConvertError (OutOfRange).
std::int64_t IntegerOf(const FormValue& value);
[[noreturn]] void OutOfRange(const FormValue& value);
bool BooleanOf(const FormValue& value);
const std::string& StringOf(const FormValue& value);
const std::vector<FormValue>& ListOf(const FormValue& value);
const std::string& IdentifierOf(const FormValue& value);

// An integer value that must fit the property's type; a hex literal may give
// the type's bit pattern ($FFFFFFFF is -1 for a 32-bit property).
template <class V>
V IntegerOf(const FormValue& value) {
  const std::int64_t n = IntegerOf(value);
  if (std::in_range<V>(n)) return static_cast<V>(n);
  using Bits = std::make_unsigned_t<V>;
  if (value.Text.find('$') != std::string::npos && std::in_range<Bits>(n))
    return static_cast<V>(static_cast<Bits>(n));
  OutOfRange(value);
}

// A published property served by a getter and a setter of the class.
template <class T, class V>
TPropInfo PublishedInteger(std::string name, V (T::*get)() const, void (T::*set)(V)) {
  auto number = [get](TObject& o) {
    return static_cast<std::int64_t>((static_cast<const T&>(o).*get)());
  };
  TPropInfo info{
      std::move(name), IntegerTypeInfo(),
      [number](TObject& o) { return FormValue::Integer(number(o)); },
      [set](TObject& o, const FormValue& v) { (static_cast<T&>(o).*set)(IntegerOf<V>(v)); }};
  info.GetInteger = number;
  return info;
}

template <class T>
TPropInfo PublishedBoolean(std::string name, bool (T::*get)() const, void (T::*set)(bool)) {
  return {std::move(name), BooleanTypeInfo(),
          [get](TObject& o) { return FormValue::Boolean((static_cast<const T&>(o).*get)()); },
          [set](TObject& o, const FormValue& v) { (static_cast<T&>(o).*set)(BooleanOf(v)); }};
}

template <class T>
TPropInfo PublishedString(std::string name, std::string (T::*get)() const,
                          void (T::*set)(const std::string&)) {
  return {std::move(name), StringTypeInfo(),
          [get](TObject& o) { return FormValue::String((static_cast<const T&>(o).*get)()); },
          [set](TObject& o, const FormValue& v) { (static_cast<T&>(o).*set)(StringOf(v)); }};
}

// An event property served by a handler slot of the class.
template <class T>
TPropInfo PublishedEvent(std::string name, TEventHandler T::*slot) {
  auto handler = [slot](TObject& o) -> TEventHandler& { return static_cast<T&>(o).*slot; };
  return {
      std::move(name),
      NotifyEventTypeInfo(),
      [handler](TObject& o) { return FormValue::Identifier(handler(o).Name()); },
      [handler](TObject& o, const FormValue& v) { handler(o) = TEventHandler(IdentifierOf(v)); },
      false,
      handler};
}

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
    for (E m : members) *this += m;
  }
  static constexpr TSet FromBits(std::uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
  constexpr TSet& operator+=(E member) {
    bits_ |= Bit(member);
    return *this;
  }
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

}  // namespace host
