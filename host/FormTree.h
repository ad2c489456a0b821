#pragma once
// The tree of a form file in the text form format, as read and as written:
// objects holding properties and nested objects. A tree read from a file
// also knows where each node's bytes lie in that file's text, so that a save
// can give back every byte the edit did not touch.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct SourcePos {
  int Line = 0;  // 1-based; 0 when the value was not read from a file
  int Column = 0;
};

// A range of bytes of the text a node was read from; empty (End == 0) for a
// node made in code, which no text holds (no node of a form file ends at 0).
struct SourceSpan {
  std::uint32_t Begin = 0;
  std::uint32_t End = 0;
  bool Known() const { return End != 0; }
};

struct FormProperty;

// One item of a collection: `item … end`.
struct FormCollectionItem {
  std::vector<FormProperty> Properties;
  SourcePos Pos;
};

enum class FormValueKind { Integer, Float, Identifier, String, Set, List, Binary, Collection };

struct FormValue {
  FormValueKind Kind = FormValueKind::Integer;
  // Integer and Float: the literal as written ("$FF", "1.5E3").
  // Identifier: the identifier, dots included ("Data.Table1").
  // String: the characters, UTF-8 encoded.
  // Binary: the hexadecimal digits, upper case, without blanks.
  std::string Text;
  std::vector<FormValue> Items;                // Set (identifiers) and List
  std::vector<FormCollectionItem> Collection;  // Collection
  SourcePos Pos;
  // An identifier that named a component of the form when it was read: that
  // component's serial number, so that it is written with the component's
  // current name (0: not a reference).
  std::uint64_t ComponentRef = 0;
  // The value's own bytes in the text it was read from.
  SourceSpan Source{};

  static FormValue Integer(std::int64_t v);
  static FormValue Identifier(std::string name);
  static FormValue Boolean(bool v);
  static FormValue String(std::string s);
  static FormValue List(std::vector<FormValue> items);
  static FormValue Set(std::vector<FormValue> items);

  // Compares kind and content, not where the value was read.
  friend bool operator==(const FormValue& a, const FormValue& b);
};

struct FormProperty {
  std::string Name;  // may be dotted ("Font.Name", "Items.Strings")
  FormValue Value;
  SourcePos Pos;
  // The blanks and line ends before the name, the name and the `=`, up to
  // the value, in the text it was read from.
  SourceSpan Source{};

  // What reading a form learned of a property its class publishes, shared by
  // the copies of the property; most learn nothing and hold a null pointer.
  struct ReadNote {
    // The value the class gave back right after the form was read, where it
    // differs from the one read, so that writing can tell the value is
    // unchanged and keep the file's spelling of it ($10, TRUE).
    std::optional<FormValue> Loaded;
    // Why the component did not take the value written in the file (kept as
    // written, the component keeping its own).
    std::string Refused;
  };
  std::shared_ptr<const ReadNote> Note{};

  const FormValue* Loaded() const { return Note && Note->Loaded ? &*Note->Loaded : nullptr; }
  // Empty when the component took the value.
  std::string_view Refused() const { return Note ? std::string_view(Note->Refused) : ""; }

  friend bool operator==(const FormProperty& a, const FormProperty& b) {
    return a.Name == b.Name && a.Value == b.Value;
  }
};

// The word that opens an object: `object`, `inherited` or `inline`.
enum class FormOpening : std::uint8_t { Object, Inherited, Inline };

struct FormObject {
  FormOpening Opening = FormOpening::Object;
  std::string Name;  // may be empty
  std::string ClassName;
  std::optional<std::int64_t> Index;  // `[n]` after the class name
  std::vector<FormProperty> Properties;
  std::vector<FormObject> Children;
  SourcePos Pos;
  // In the text it was read from: the blanks and line ends before the
  // opening word through the end of the class name or index; the name (empty,
  // just after the opening word, for a nameless object); and the blanks
  // before `end` with the `end`.
  SourceSpan Source{};
  SourceSpan NameSource{};
  SourceSpan EndSource{};

  friend bool operator==(const FormObject& a, const FormObject& b) {
    return a.Opening == b.Opening && a.Name == b.Name && a.ClassName == b.ClassName &&
           a.Index == b.Index && a.Properties == b.Properties && a.Children == b.Children;
  }
};

inline bool operator==(const FormCollectionItem& a, const FormCollectionItem& b) {
  return a.Properties == b.Properties;
}

inline bool operator==(const FormValue& a, const FormValue& b) {
  return a.Kind == b.Kind && a.Text == b.Text && a.Items == b.Items && a.Collection == b.Collection;
}

// Defined once every type above is complete, as building a vector of
// collection items needs the properties they hold.
inline FormValue FormValue::Integer(std::int64_t v) {
  FormValue value;
  value.Text = std::to_string(v);
  return value;
}
inline FormValue FormValue::Identifier(std::string name) {
  FormValue value;
  value.Kind = FormValueKind::Identifier;
  value.Text = std::move(name);
  return value;
}
inline FormValue FormValue::Boolean(bool v) { return Identifier(v ? "True" : "False"); }
inline FormValue FormValue::String(std::string s) {
  FormValue value;
  value.Kind = FormValueKind::String;
  value.Text = std::move(s);
  return value;
}
inline FormValue FormValue::List(std::vector<FormValue> items) {
  FormValue value;
  value.Kind = FormValueKind::List;
  value.Items = std::move(items);
  return value;
}
inline FormValue FormValue::Set(std::vector<FormValue> items) {
  FormValue value;
  value.Kind = FormValueKind::Set;
  value.Items = std::move(items);
  return value;
}

}  // namespace host
