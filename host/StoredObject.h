#pragma once
// What a component keeps of the object a form file held for it.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FormTree.h"

namespace host {

// Most properties keep only where their bytes lie in the file's text and
// read their value again when asked: a large form does not hold every value
// twice. A property made in code, or one that learned something while read
// (a value that may name a component, a note), keeps the whole FormProperty.
// Every call that takes `text` wants the text the property was read from.
class StoredProperty {
 public:
  // Keeps the whole property.
  explicit StoredProperty(FormProperty whole);
  // Keeps only the spans of `read`, a property read from a text whose value
  // is all in its bytes there (no reference, no note) and begins where the
  // property's source ends, as the reader reads it.
  static StoredProperty Spans(const FormProperty& read);

  StoredProperty(const StoredProperty& other);
  StoredProperty(StoredProperty&& other) noexcept;
  StoredProperty& operator=(StoredProperty other) noexcept;
  ~StoredProperty();

  // The whole property, where it is kept; null when only its spans are.
  const FormProperty* Whole() const { return IsWhole() ? head_.Whole : nullptr; }
  FormProperty* Whole() { return IsWhole() ? head_.Whole : nullptr; }
  // The whole property, kept from now on, to change it.
  FormProperty& Edit(std::string_view text);

  std::string_view Name(std::string_view text) const;
  FormValue Value(std::string_view text) const;
  // Whether the value is `value` (compared as FormValues are).
  bool ValueIs(const FormValue& value, std::string_view text) const;
  // Whether the value is written as `number`'s decimal digits, and so is
  // that number; false says nothing more: ValueIs compares in full.
  bool IsWrittenAs(std::int64_t number, std::string_view text) const;
  // Hands the items of a list value to `each` in turn, as EachListItemAt does.
  bool EachListItem(std::string_view text, const std::function<bool(const FormValue&)>& each) const;
  // The whole property, read again where only its spans are kept.
  FormProperty Read(std::string_view text) const;
  // The property's name, place and spans with no value, to be given a new
  // one: the old is not read.
  FormProperty Unvalued(std::string_view text) const;

  // The blanks before the name, the name and the `=`; the value's bytes.
  SourceSpan Source() const { return IsWhole() ? head_.Whole->Source : head_.Source; }
  SourceSpan ValueSource() const {
    return IsWhole() ? head_.Whole->Value.Source : SourceSpan{head_.Source.End, valueEnd_};
  }

  const FormValue* Loaded() const { return IsWhole() ? head_.Whole->Loaded() : nullptr; }
  std::string_view Refused() const {
    return IsWhole() ? head_.Whole->Refused() : std::string_view();
  }

 private:
  friend struct StoredObject;  // which holds its properties in an array
  // The empty whole property, to be assigned.
  StoredProperty() { head_.Whole = nullptr; }
  bool IsWhole() const { return valueLine_ == 0; }
  SourcePos PosOfName(std::string_view text) const;
  // The value's bytes up to its first delimiter: all of a plain number.
  std::string_view FirstWord(std::string_view text) const;

  // A large form keeps hundreds of thousands of properties, so one is 16
  // bytes: the property's source span, or where valueLine_ is 0 (no line of
  // a text is) the whole property, which this one owns.
  union Head {
    SourceSpan Source{};
    FormProperty* Whole;
  };
  Head head_;
  // The value begins where the source ends (the blanks after the `=` are
  // the property's) and ends here, on a line from 1 on.
  std::uint32_t valueEnd_ = 0;
  int valueLine_ = 0;
};

// What a component read from a form file keeps of its object there besides
// its name, class and children: how the object opened, its index, where its
// bytes lie, and its properties in their order. Smaller than the object
// itself, which a large form would otherwise hold once per component.
struct StoredObject {
  FormOpening Opening = FormOpening::Object;

 private:
  bool hasIndex_ = false;  // beside Opening, where the padding is

 public:
  SourceSpan Source{};
  SourceSpan NameSource{};
  SourceSpan EndSource{};

 private:
  // The properties in one allocation of exactly their number, the count
  // beside the spans, where the padding is: a vector would take a word more.
  std::uint32_t propertyCount_ = 0;
  std::unique_ptr<StoredProperty[]> properties_;

 public:
  // The text the properties were read from, which whoever read them keeps
  // for as long as the component (a form opened from its text holds it);
  // null for an object made in code.
  const std::string* Text = nullptr;

  std::span<StoredProperty> Properties() { return {properties_.get(), propertyCount_}; }
  std::span<const StoredProperty> Properties() const { return {properties_.get(), propertyCount_}; }
  // Moves `added` in after the properties there are.
  void AddProperties(std::span<StoredProperty> added);

  std::string_view TextView() const { return Text ? std::string_view(*Text) : std::string_view(); }

  // The `[n]` after the class name; kept in two fields, as an optional
  // would take a word more in every component.
  std::optional<std::int64_t> Index() const {
    return hasIndex_ ? std::optional<std::int64_t>(index_) : std::nullopt;
  }
  void SetIndex(std::optional<std::int64_t> index) {
    hasIndex_ = index.has_value();
    index_ = index.value_or(0);
  }

 private:
  std::int64_t index_ = 0;
};

}  // namespace host
