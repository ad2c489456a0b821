#include "StoredObject.h"

#include "FormChars.h"
#include "FormText.h"

namespace host {

using formtext::IsDelimiter;
using formtext::IsInlineBlank;
using formtext::IsLineEnd;

StoredProperty::StoredProperty(FormProperty whole)
    : whole_(std::make_unique<FormProperty>(std::move(whole))) {}

StoredProperty StoredProperty::Spans(const FormProperty& read) {
  StoredProperty p;
  p.source_ = read.Source;
  p.value_ = read.Value.Source;
  p.valueLine_ = read.Value.Pos.Line;
  return p;
}

StoredProperty::StoredProperty(const StoredProperty& other)
    : source_(other.source_),
      value_(other.value_),
      valueLine_(other.valueLine_),
      whole_(other.whole_ ? std::make_unique<FormProperty>(*other.whole_) : nullptr) {}

StoredProperty& StoredProperty::operator=(const StoredProperty& other) {
  if (this != &other) *this = StoredProperty(other);
  return *this;
}

FormProperty& StoredProperty::Edit(std::string_view text) {
  if (!whole_) whole_ = std::make_unique<FormProperty>(Read(text));
  return *whole_;
}

SourcePos StoredProperty::PosOfName(std::string_view text) const {
  const std::size_t name = static_cast<std::size_t>(Name(text).data() - text.data());
  // The value may begin lines below the name; a CR LF ends one line.
  int line = valueLine_;
  for (std::size_t i = name; i < value_.Begin; ++i)
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
  if (whole_) return whole_->Name;
  std::size_t begin = source_.Begin;
  while (IsInlineBlank(text[begin]) || IsLineEnd(text[begin])) ++begin;
  std::size_t end = begin;
  while (end < source_.End && !IsDelimiter(text[end])) ++end;
  return text.substr(begin, end - begin);
}

FormValue StoredProperty::Value(std::string_view text) const {
  return whole_ ? whole_->Value : ReadFormValueAt(text, value_.Begin, valueLine_);
}

bool StoredProperty::ValueIs(const FormValue& value, std::string_view text) const {
  return whole_ ? whole_->Value == value : ReadFormValueAt(text, value_.Begin, valueLine_) == value;
}

FormProperty StoredProperty::Read(std::string_view text) const {
  if (whole_) return *whole_;
  FormProperty p;
  p.Name = Name(text);
  p.Value = ReadFormValueAt(text, value_.Begin, valueLine_);
  p.Source = source_;
  p.Pos = PosOfName(text);
  return p;
}

}  // namespace host
