#pragma once
// What a component keeps of the object a form file held for it.

#include <cstdint>
#include <memory>
#include <optional>
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
  // is all in its bytes there (no reference, no note).
  static StoredProperty Spans(const FormProperty& read);

  StoredProperty(const StoredProperty& other);
  StoredProperty& operator=(const StoredProperty& other);
  StoredProperty(StoredProperty&&) noexcept = default;
  StoredProperty& operator=(StoredProperty&&) noexcept = default;
  ~StoredProperty() = default;

  // The whole property, where it is kept; null when only its spans are.
  const FormProperty* Whole() const { return whole_.get(); }
  FormProperty* Whole() { return whole_.get(); }
  // The whole property, kept from now on, to change it.
  FormProperty& Edit(std::string_view text);

  std::string_view Name(std::string_view text) const;
  FormValue Value(std::string_view text) const;
  // Whether the value is `value` (compared as FormValues are).
  bool ValueIs(const FormValue& value, std::string_view text) const;
  // The whole property, read again where only its spans are kept.
  FormProperty Read(std::string_view text) const;

  // The blanks before the name, the name and the `=`; the value's bytes.
  SourceSpan Source() const { return whole_ ? whole_->Source : source_; }
  SourceSpan ValueSource() const { return whole_ ? whole_->Value.Source : value_; }

  const FormValue* Loaded() const { return whole_ ? whole_->Loaded() : nullptr; }
  std::string_view Refused() const { return whole_ ? whole_->Refused() : std::string_view(); }

 private:
  StoredProperty() = default;
  SourcePos PosOfName(std::string_view text) const;

  SourceSpan source_{};
  SourceSpan value_{};
  int valueLine_ = 0;
  std::unique_ptr<FormProperty> whole_;
};

// What a component read from a form file keeps of its object there besides
// its name, class and children: how the object opened, its index, where its
// bytes lie, and its properties in their order. Smaller than the object
// itself, which a large form would otherwise hold once per component.
struct StoredObject {
  FormOpening Opening = FormOpening::Object;
  std::optional<std::int64_t> Index;
  SourceSpan Source{};
  SourceSpan NameSource{};
  SourceSpan EndSource{};
  std::vector<StoredProperty> Properties;
  // The text the properties were read from; null for an object made in code.
  std::shared_ptr<const std::string> Text;

  std::string_view TextView() const { return Text ? std::string_view(*Text) : std::string_view(); }
};

}  // namespace host
