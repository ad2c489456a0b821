#include "StoredObject.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <stdexcept>

#include "FormChars.h"
#include "FormText.h"

namespace host {

using formtext::IsDelimiter;
using formtext::IsInlineBlank;
using formtext::IsLineEnd;

StoredProperty::StoredProperty(FormProperty whole) {
  head_.Whole = new FormProperty(std::move(whole));
}

StoredProperty StoredProperty::Spans(const FormProperty& read) {
  StoredProperty p;
  p.head_.Source = read.Source;
  p.valueEnd_ = read.Value.Source.End;
  p.valueLine_ = read.Value.Pos.Line;
  return p;
}

void StoredObject::AddProperties(std::span<StoredProperty> added) {
  if (added.empty()) return;
  const std::size_t count = propertyCount_ + added.size();
  if (count > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("an object holds at most 4,294,967,295 properties");
  std::unique_ptr<StoredProperty[]> all(new StoredProperty[count]);
  std::ranges::move(Properties(), all.get());
  std::ranges::move(added, all.get() + propertyCount_);
  properties_ = std::move(all);
  propertyCount_ = static_cast<std::uint32_t>(count);
}

StoredProperty::StoredProperty(const StoredProperty& other)
    : head_(other.head_), valueEnd_(other.valueEnd_), valueLine_(other.valueLine_) {
  if (IsWhole() && other.head_.Whole) head_.Whole = new FormProperty(*other.head_.Whole);
}

StoredProperty::StoredProperty(StoredProperty&& other) noexcept
    : head_(other.head_), valueEnd_(other.valueEnd_), valueLine_(other.valueLine_) {
  if (IsWhole()) other.head_.Whole = nullptr;
}

StoredProperty& StoredProperty::operator=(StoredProperty other) noexcept {
  std::swap(head_, other.head_);
  std::swap(valueEnd_, other.valueEnd_);
  std::swap(valueLine_, other.valueLine_);
  return *this;
}

StoredProperty::~StoredProperty() {
  if (IsWhole()) delete head_.Whole;
}

FormProperty& StoredProperty::Edit(std::string_view text) {
  if (!IsWhole()) {
    auto* whole = new FormProperty(Read(text));
    head_.Whole = whole;
    valueLine_ = 0;
  }
  return *head_.Whole;
}

SourcePos StoredProperty::PosOfName(std::string_view text) const {
  const std::size_t name = static_cast<std::size_t>(Name(text).data() - text.data());
  // The value may begin lines below the name; a CR LF ends one line.
  int line = valueLine_;
  for (std::size_t i = name; i < head_.Source.End; ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      --line;
  std::size_t lineStart = name;
  while (lineStart > 0 && !IsLineEnd(text[lineStart - 1])) --lineStart;
  int column = 1;
  for (std::size_t i = lineStart; i < name; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
  return {line, column};
}

std::string_view StoredProperty::Name(std::string_view text) const {
  if (IsWhole()) return head_.Whole->Name;
  const SourceSpan source = head_.Source;
  std::size_t begin = source.Begin;
  while (IsInlineBlank(text[begin]) || IsLineEnd(text[begin])) ++begin;
  std::size_t end = begin;
  while (end < source.End && !IsDelimiter(text[end])) ++end;
  return text.substr(begin, end - begin);
}

FormValue StoredProperty::Value(std::string_view text) const {
  return IsWhole() ? head_.Whole->Value : ReadFormValueAt(text, head_.Source.End, valueLine_);
}

namespace {

// Whether `value` is a decimal integer written plainly, as a component gives
// its numbers: then a number is equal to it exactly when its word is.
bool PlainInteger(const FormValue& value) {
  const std::string_view digits = std::string_view(value.Text).substr(value.Text.starts_with('-'));
  return value.Kind == FormValueKind::Integer && value.Items.empty() && value.Collection.empty() &&
         !digits.empty() && std::ranges::all_of(digits, formtext::IsDigit);
}

}  // namespace

bool StoredProperty::ValueIs(const FormValue& value, std::string_view text) const {
  if (IsWhole()) return head_.Whole->Value == value;
  // Most stored values are numbers, compared word to word here without
  // reading the value again.
  if (PlainInteger(value) && FirstWord(text) == value.Text) return true;
  return ReadFormValueAt(text, head_.Source.End, valueLine_) == value;
}

bool StoredProperty::IsWrittenAs(std::int64_t number, std::string_view text) const {
  if (IsWhole()) return false;
  char digits[24];
  const char* end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  return FirstWord(text) == std::string_view(digits, static_cast<std::size_t>(end - digits));
}

std::string_view StoredProperty::FirstWord(std::string_view text) const {
  std::size_t end = head_.Source.End;
  while (end < text.size() && !IsDelimiter(text[end])) ++end;
  return text.substr(head_.Source.End, end - head_.Source.End);
}

bool StoredProperty::EachListItem(std::string_view text,
                                  const std::function<bool(const FormValue&)>& each) const {
  if (!IsWhole()) return EachListItemAt(text, head_.Source.End, valueLine_, each);
  const FormValue& value = head_.Whole->Value;
  return value.Kind == FormValueKind::List && std::ranges::all_of(value.Items, each);
}

FormProperty StoredProperty::Read(std::string_view text) const {
  if (IsWhole()) return *head_.Whole;
  FormProperty p = Unvalued(text);
  p.Value = ReadFormValueAt(text, head_.Source.End, valueLine_);
  return p;
}

FormProperty StoredProperty::Unvalued(std::string_view text) const {
  FormProperty p;
  p.Name = Name(text);
  p.Source = Source();
  p.Pos = IsWhole() ? head_.Whole->Pos : PosOfName(text);
  return p;
}

}  // namespace host
