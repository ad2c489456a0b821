#pragma once
// The tree of a form file in the text form format, as read and as written:
// objects holding properties and nested objects.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct SourcePos {
  int Line = 0;  // 1-based; 0 when the value was not read from a file
  int Column = 0;
};

struct FormProperty;

// One item of a collection: `item … end`.
struct FormCollectionItem {
  std::vector<FormProperty> Properties;
  SourcePos Pos;
};

struct FormValue {
  enum class Kind { Integer, Float, Identifier, String, Set, List, Binary, Collection };

  Kind kind = Kind::Integer;
  // Integer and Float: the literal as written ("$FF", "1.5E3").
  // Identifier: the identifier, dots included ("Data.Table1").
  // String: the characters, UTF-8 encoded.
  // Binary: the hexadecimal digits, upper case, without blanks.
  std::string text;
  std::vector<FormValue> items;                // Set (identifiers) and List
  std::vector<FormCollectionItem> collection;  // Collection
  SourcePos Pos;
  // An identifier that named a component of the form when it was read: that
  // component's serial number, so that it is written with the component's
  // current name (0: not a reference).
  std::uint64_t ComponentRef = 0;
  // Strings and binary data: the value exactly as it stood in the file (its
  // pieces, codes and line breaks), written back as it stood so that a form
  // another tool wrote keeps its spelling; empty for values made in code.
  std::string Spelling{};

  static FormValue Integer(std::int64_t v) {
    return {Kind::Integer, std::to_string(v), {}, {}, {}};
  }
  static FormValue Identifier(std::string name) {
    return {Kind::Identifier, std::move(name), {}, {}, {}};
  }
  static FormValue Boolean(bool v) { return Identifier(v ? "True" : "False"); }
  static FormValue String(std::string s) { return {Kind::String, std::move(s), {}, {}, {}}; }
  static FormValue List(std::vector<FormValue> items) {
    return {Kind::List, {}, std::move(items), {}, {}};
  }
  static FormValue Set(std::vector<FormValue> items) {
    return {Kind::Set, {}, std::move(items), {}, {}};
  }

  // Compares kind and content, not where the value was read.
  friend bool operator==(const FormValue& a, const FormValue& b);
};

struct FormProperty {
  std::string Name;  // may be dotted ("Font.Name", "Items.Strings")
  FormValue Value;
  SourcePos Pos;
  // A property its class publishes: the value the class gave back right after
  // the form was read, so that writing can tell the value is unchanged and
  // keep the file's spelling of it ($10, TRUE).
  std::optional<FormValue> Loaded{};

  friend bool operator==(const FormProperty& a, const FormProperty& b) {
    return a.Name == b.Name && a.Value == b.Value;
  }
};

struct FormObject {
  enum class Opening { Object, Inherited, Inline };

  Opening opening = Opening::Object;
  std::string Name;  // may be empty
  std::string ClassName;
  std::optional<std::int64_t> Index;  // `[n]` after the class name
  std::vector<FormProperty> Properties;
  std::vector<FormObject> Children;
  SourcePos Pos;

  friend bool operator==(const FormObject& a, const FormObject& b) {
    return a.opening == b.opening && a.Name == b.Name && a.ClassName == b.ClassName &&
           a.Index == b.Index && a.Properties == b.Properties && a.Children == b.Children;
  }
};

inline bool operator==(const FormCollectionItem& a, const FormCollectionItem& b) {
  return a.Properties == b.Properties;
}

inline bool operator==(const FormValue& a, const FormValue& b) {
  return a.kind == b.kind && a.text == b.text && a.items == b.items && a.collection == b.collection;
}

}  // namespace host
