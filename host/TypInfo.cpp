#include "TypInfo.h"

#include <cstdint>

#include "Numerals.h"

namespace host {

// TObject's class queries, answered by its class description.
const std::string& TObject::ClassName() const { return ClassType()->Name; }

bool TObject::InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }

bool TClassInfo::InheritsFrom(TClass ancestor) const {
  for (TClass c = this; c; c = c->Parent)
    if (c == ancestor) return true;
  return false;
}

namespace {
template <class Info>
const Info* FindIn(TClass c, std::vector<Info> TClassInfo::*table, std::string_view name) {
  for (; c; c = c->Parent)
    for (const Info& info : c->*table)
      if (info.Name == name) return &info;
  return nullptr;
}
}  // namespace

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  return FindIn(this, &TClassInfo::Properties, name);
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  return FindIn(this, &TClassInfo::Fields, name);
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  return FindIn(this, &TClassInfo::Methods, name);
}

PTypeInfo IntegerTypeInfo() {
  static const TTypeInfo info{TTypeKind::Integer, "Integer"};
  return &info;
}

PTypeInfo BooleanTypeInfo() {
  static const TTypeInfo info{TTypeKind::Boolean, "Boolean"};
  return &info;
}

PTypeInfo StringTypeInfo() {
  static const TTypeInfo info{TTypeKind::String, "string"};
  return &info;
}

TEventHandler::TEventHandler(std::string name)
    : handler_(name.empty() ? nullptr : std::make_unique<Handler>(Handler{std::move(name), {}})) {}

TEventHandler::TEventHandler(const TEventHandler& other)
    : handler_(other.handler_ ? std::make_unique<Handler>(*other.handler_) : nullptr) {}

TEventHandler& TEventHandler::operator=(const TEventHandler& other) {
  if (&other != this) *this = TEventHandler(other);
  return *this;
}

TEventHandler::~TEventHandler() = default;

const std::string& TEventHandler::Name() const {
  static const std::string none;
  return handler_ ? handler_->Name : none;
}

void TEventHandler::Bind(TNotifyEvent call) {
  if (!handler_) handler_ = std::make_unique<Handler>();
  handler_->Call = std::move(call);
}

PTypeInfo NotifyEventTypeInfo() {
  static const TTypeInfo info{TTypeKind::Method, "TNotifyEvent"};
  return &info;
}

namespace {
[[noreturn]] void WrongKind(const FormValue& value, const char* expected) {
  throw EValueRefused(
      Format("expected %s, found '%s'", {std::string(expected), Excerpt(value.Text)}));
}
}  // namespace

void OutOfRange(const FormValue& value) {
  throw EConvertError(Format("%s is out of range", {Excerpt(value.Text)}));
}

std::int64_t IntegerOf(const FormValue& value) {
  if (value.Kind != FormValueKind::Integer) WrongKind(value, "an integer");
  const IntegerLiteral literal = ReadIntegerLiteral(value.Text);
  if (literal.State == IntegerLiteral::Status::Malformed) WrongKind(value, "an integer");
  if (literal.State == IntegerLiteral::Status::TooLarge) OutOfRange(value);
  // Hex literals are bit patterns: $FFFFFFFF is -1 for a 32-bit property.
  if (literal.Hex && !literal.Negative) return static_cast<std::int64_t>(literal.Magnitude);
  const std::optional<std::int64_t> signedValue = literal.Signed();
  if (!signedValue) OutOfRange(value);
  return *signedValue;
}

bool BooleanOf(const FormValue& value) {
  if (value.Kind == FormValueKind::Identifier) {
    if (SameText(value.Text, "True")) return true;
    if (SameText(value.Text, "False")) return false;
  }
  WrongKind(value, "True or False");
}

const std::string& StringOf(const FormValue& value) {
  if (value.Kind != FormValueKind::String) WrongKind(value, "a string");
  return value.Text;
}

const std::vector<FormValue>& ListOf(const FormValue& value) {
  if (value.Kind != FormValueKind::List) WrongKind(value, "a list");
  return value.Items;
}

const std::string& IdentifierOf(const FormValue& value) {
  if (value.Kind != FormValueKind::Identifier) WrongKind(value, "an identifier");
  return value.Text;
}

// ---- symbolic values and sets ----

FormValue TIdentTable::ValueOf(std::int64_t value) const {
  for (const auto& [name, v] : Idents)
    if (v == value) return FormValue::Identifier(name);
  return FormValue::Integer(value);
}

std::int64_t TIdentTable::Parse(const FormValue& value) const {
  if (Numbers && value.Kind == FormValueKind::Integer) {
    std::int64_t n = IntegerOf(value);
    if (n < Numbers->first || n > Numbers->second)
      throw EValueRefused(Format("%s is out of the range of %s", {value.Text, Type.Name}));
    return n;
  }
  const std::string& name = IdentifierOf(value);
  for (const auto& [ident, v] : Idents)
    if (ident == name) return v;
  throw EValueRefused(Format("'%s' is not a value of %s", {Excerpt(name), Type.Name}));
}

FormValue SetValueOf(const TIdentTable& members, std::uint32_t bits) {
  std::vector<FormValue> items;
  for (const auto& [name, ordinal] : members.Idents)
    if (bits >> ordinal & 1) items.push_back(FormValue::Identifier(name));
  return FormValue::Set(std::move(items));
}

std::uint32_t ParseSet(const TIdentTable& members, const FormValue& value) {
  if (value.Kind != FormValueKind::Set)
    throw EValueRefused(
        Format("expected a set of %s, found '%s'", {members.Type.Name, Excerpt(value.Text)}));
  std::uint32_t bits = 0;
  for (const FormValue& item : value.Items) bits |= std::uint32_t{1} << members.Parse(item);
  return bits;
}

}  // namespace host
