#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "FormText.h"
#include "SysUtils.h"

using host::ESourceError;
using host::FormObject;
using host::FormOpening;
using host::FormValue;
using host::FormValueKind;
using host::ParseFormText;

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string DataPath(const std::string& name) { return std::string(TEST_DATA_DIR) + "/" + name; }

const FormValue& Prop(const FormObject& obj, const std::string& name) {
  for (const auto& p : obj.Properties)
    if (p.Name == name) return p.Value;
  throw std::runtime_error("no property " + name);
}

// The value of `Caption` in a one-property form.
std::string ReadCaption(const std::string& valueText) {
  const auto doc = ParseFormText("object A: TA\n  Caption = " + valueText + "\nend\n", "t");
  return Prop(doc.Root, "Caption").Text;
}

}  // namespace

TEST(FormTextRead, EveryValueKind) {
  const auto doc = host::ReadFormFile(DataPath("values.form"));
  const FormObject& root = doc.Root;
  EXPECT_EQ(root.Name, "Main");
  EXPECT_EQ(root.ClassName, "TMain");
  EXPECT_EQ(doc.Style.LineEnd, "\n");
  EXPECT_FALSE(doc.Style.Bom);

  EXPECT_EQ(Prop(root, "Left"), FormValue::Integer(-5));
  EXPECT_EQ(Prop(root, "Top").Text, "+7");
  EXPECT_EQ(Prop(root, "Color").Text, "$00ff");
  EXPECT_EQ(Prop(root, "Color").Kind, FormValueKind::Integer);
  for (const char* name : {"Ratio", "Small", "Big"})
    EXPECT_EQ(Prop(root, name).Kind, FormValueKind::Float) << name;
  EXPECT_EQ(Prop(root, "Small").Text, "-2.5E-3");
  EXPECT_EQ(Prop(root, "Visible"), FormValue::Boolean(true));
  EXPECT_EQ(Prop(root, "DataSource"), FormValue::Identifier("Data.Table1"));
  EXPECT_EQ(Prop(root, "Caption"), FormValue::String("It's continued\ttabA"));
  EXPECT_EQ(Prop(root, "Title").Text, "caf\u00e9 \u20ac \U0001F600");
  EXPECT_EQ(Prop(root, "Raw").Text, "caf\u00e9");
  EXPECT_EQ(Prop(root, "Empty"), FormValue::String(""));
  EXPECT_EQ(Prop(root, "Anchors"),
            FormValue::Set({FormValue::Identifier("akLeft"), FormValue::Identifier("akTop"),
                            FormValue::Integer(3)}));
  EXPECT_EQ(Prop(root, "None"), FormValue::Set({}));
  EXPECT_EQ(
      Prop(root, "Nested"),
      FormValue::List({FormValue::String("a"), FormValue::Integer(1), FormValue::Integer(-2),
                       FormValue::List({FormValue::Identifier("x"), FormValue::Identifier("y")}),
                       FormValue::List({}), FormValue::String("bc")}));
  EXPECT_EQ(Prop(root, "Blob").Text, "0A1BFF");
  EXPECT_TRUE(Prop(root, "Cols").Collection.empty());
  const auto& items = Prop(root, "Items").Collection;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].Properties.at(0).Name, "Width");
  EXPECT_EQ(items[1].Properties.at(0).Value, FormValue::String("x"));

  ASSERT_EQ(root.Children.size(), 2u);
  EXPECT_EQ(root.Children[0].Opening, FormOpening::Inherited);
  EXPECT_EQ(root.Children[0].Name, "");
  EXPECT_EQ(root.Children[0].ClassName, "TNameless");
  EXPECT_EQ(root.Children[0].Index, -3);
  EXPECT_EQ(root.Children[1].Opening, FormOpening::Inline);
  EXPECT_EQ(root.Children[1].Name, "Frame1");
}

TEST(FormTextRead, PositionsAreLineAndCharacterColumn) {
  const auto doc = ParseFormText(
      "object A: TA\n  Raw = '\u00e9\u00e9' \n  X = 1\n  object B: TB\n  end\nend", "t");
  EXPECT_EQ(doc.Root.Pos.Line, 1);
  EXPECT_EQ(doc.Root.Pos.Column, 1);
  EXPECT_EQ(doc.Root.Properties[1].Pos.Line, 3);
  EXPECT_EQ(doc.Root.Properties[1].Pos.Column, 3);
  EXPECT_EQ(doc.Root.Properties[1].Value.Pos.Column, 7);
  EXPECT_EQ(doc.Root.Children[0].Pos.Line, 4);
  EXPECT_EQ(doc.Root.Children[0].Pos.Column, 3);
  // Two-byte characters count once: the error after them is at column 14, not 16.
  try {
    ParseFormText("object A: TA\n  Raw = '\u00e9\u00e9' 5\nend", "t");
    FAIL() << "no error";
  } catch (const ESourceError& e) {
    EXPECT_EQ(e.Column(), 14);
  }
}

TEST(FormTextRead, LayoutStyle) {
  const auto doc = host::ReadFormFile(DataPath("crlf_bom.form"));
  EXPECT_EQ(doc.Style.LineEnd, "\r\n");
  EXPECT_TRUE(doc.Style.Bom);
  EXPECT_EQ(Prop(doc.Root, "Caption").Text, "Hello");  // no stray CR
  EXPECT_EQ(doc.Root.Children.at(0).Properties.at(0).Pos.Line, 4);
  EXPECT_EQ(ParseFormText("object A: TA\nend", "t").Root.ClassName, "TA");
  // The line end most lines close with; a tie goes to LF.
  const std::pair<std::string, std::string> majorities[] = {
      {"object A: TA\nend", "\n"},
      {"object A: TA\r\n  T = 1\r\nend\n", "\r\n"},
      {"object A: TA\r  T = 1\rend", "\r"},
      {"object A: TA\r\n  T = 1\n  U = 2\nend\r\n", "\n"}};
  for (const auto& [text, lineEnd] : majorities)
    EXPECT_EQ(ParseFormText(text, "t").Style.LineEnd, lineEnd) << host::Excerpt(text);
}

TEST(FormTextRead, StringEncoding) {
  EXPECT_EQ(ReadCaption("'a'#9'b'"), "a\tb");
  EXPECT_EQ(ReadCaption("#$41#66"), "AB");
  EXPECT_EQ(ReadCaption("#0"), std::string(1, '\0'));
  EXPECT_EQ(ReadCaption("'a' +\n    #10 + 'b'"), "a\nb");
  EXPECT_EQ(ReadCaption("#1114111"), "\U0010FFFF");
  // A signed number after a string in a list is the next item, not a continuation.
  const auto list = ParseFormText("object A: TA\n  L = ('a'\n    +4)\nend", "t").Root;
  EXPECT_EQ(list.Properties.at(0).Value.Items.size(), 2u);
  // Bytes that are not UTF-8 are Latin-1 characters; valid UTF-8 stays as it is.
  EXPECT_EQ(ReadCaption("'\xE9t\xE9'"), "\u00e9t\u00e9");
  EXPECT_EQ(ReadCaption("'\xC3\xA9\xC3'"), "\u00e9\u00c3");
  EXPECT_EQ(ReadCaption("'\xED\xA0\x80'"), "\u00ed\u00a0\u0080");  // encoded surrogate
}

TEST(FormTextRead, KeywordsAndNames) {
  const auto doc = ParseFormText("Inline TFrame\n  object End: TEnd END\nEnD\n", "t");
  EXPECT_EQ(doc.Root.Opening, FormOpening::Inline);
  EXPECT_EQ(doc.Root.Name, "");
  EXPECT_EQ(doc.Root.Children.at(0).Name, "End");
  EXPECT_EQ(ParseFormText("object _a1: T [$10] end", "t").Root.Index, 16);
  // A keyword followed by '=' is a property of that name.
  const auto props = ParseFormText("object A: TA\n  Object = 1\n  END = 2\nend", "t").Root;
  EXPECT_EQ(props.Properties.size(), 2u);
  EXPECT_TRUE(props.Children.empty());
}

struct BadCase {
  const char* text;
  int line, column;
  const char* reason;
};

TEST(FormTextRead, ErrorsNameTheFirstFault) {
  const BadCase cases[] = {
      {"", 1, 1, "unexpected end of file"},
      {"  thing A: TA end", 1, 3, "expected 'object'"},
      {"object A: TA\n  Left = 1", 2, 11, "unexpected end of file"},
      {"object A.B: TA end", 1, 8, "'A.B' is not a valid component name"},
      {"object A: 9T end", 1, 11, "'9T' is not a valid class name"},
      {"object A: TA [x] end", 1, 15, "'x' is not a valid index"},
      {"object A: TA [99999999999999999999] end", 1, 15,
       "'99999999999999999999' is not a valid index"},
      {"object A: TA\n  A;b = 1\nend", 2, 3, "'A;b' is not a valid property name"},
      {"object A: TA\n  A..b = 1\nend", 2, 3, "'A..b' is not a valid property name"},
      {"object A: TA\n  A.1 = 1\nend", 2, 3, "'A.1' is not a valid property name"},
      {"object A: TA\n  X = b.\nend", 2, 7, "'b.' is not a valid value"},
      {"object A: TA\n  X = )\nend", 2, 7, "expected a value"},
      {"object A: TA\n  X = end\nend", 2, 7, "expected a value"},
      {"object A: TA\n  X = 1.\nend", 2, 7, "'1.' is not a valid number"},
      {"object A: TA\n  X = 'a' + 5\nend", 2, 13, "expected a string after '+'"},
      {"object A: TA\n  X = #\nend", 2, 7, "expected a character code after '#'"},
      {"object A: TA\n  X = #55296\nend", 2, 7, "character code '#55296' is a surrogate"},
      {"object A: TA\n  X = [a b]\nend", 2, 10, "expected ',' or ']'"},
      {"object A: TA\n  X = [a, 'b']\nend", 2, 11, "expected a set element"},
      {"object A: TA\n  X = [a, 1.5]\nend", 2, 11, "'1.5' is not a valid set element"},
      {"object A: TA\n  X = { 0G }\nend", 2, 10, "expected a hex digit or '}'"},
      {"object A: TA\n  X = <item object B: TB end end>\nend", 2, 13,
       "a collection item holds no objects"},
      {"object A: TA\n  X = (1\n", 3, 1, "unexpected end of file"},
      // A value may start on the next line, but not when that line is the body's.
      {"object A: TA\n  X =\n  Y = 1\nend", 2, 6, "expected a value"},
      {"object A: TA\n  X =  \r\nend", 2, 8, "expected a value"},
      {"object A: TA\n  X =\n", 2, 6, "expected a value"},
      // A CR alone ends a line too.
      {"object A: TA\r  X = )\rend", 2, 7, "expected a value"},
      {"object A: TA\r\r\n  X = 'a\rb'\rend", 3, 7, "unterminated string"},
      {"object A: TA\r  X = 1\r  Y\rend", 3, 4, "expected '='"},
  };
  EXPECT_THROW(ParseFormText(std::string(), "t"), ESourceError);
  for (const BadCase& c : cases) {
    try {
      ParseFormText(c.text, "mem.form");
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const ESourceError& e) {
      EXPECT_EQ(e.Reason(), c.reason) << c.text;
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_EQ(e.Column(), c.column) << c.text;
      EXPECT_EQ(e.Source(), "mem.form");
    }
  }
}

TEST(FormTextRead, MalformedFixtures) {
  const std::pair<const char*, const char*> cases[] = {
      {"bad_name.form", "1:8: '1abc' is not a valid component name"},
      {"bad_unterminated.form", "2:13: unterminated string"},
      {"bad_missing_end.form", "5:1: unexpected end of file"},
      {"bad_equals.form", "2:8: expected '='"},
      {"bad_value.form", "2:12: expected a value"},
      {"bad_trailing.form", "3:1: text after the end of the object"},
      {"bad_extra_value.form", "2:12: expected 'end'"},
      {"bad_char_code.form", "2:16: character code '#1114112' is out of range"},
      {"bad_binary.form", "2:10: binary data has an odd number of hex digits"},
      {"bad_collection.form", "3:5: expected 'item' or '>'"},
      {"bad_number.form", "2:11: '12px' is not a valid number"},
  };
  for (const auto& [name, where] : cases) {
    const std::string path = DataPath(name);
    try {
      host::ReadFormFile(path);
      ADD_FAILURE() << "no error for " << name;
    } catch (const ESourceError& e) {
      EXPECT_STREQ(e.what(), (path + ":" + where).c_str());
    }
  }
}

TEST(FormTextRead, NestingIsBounded) {
  auto nestedObjects = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "object T\n";
    for (int i = 0; i < depth; ++i) text += "end\n";
    return text;
  };
  EXPECT_NO_THROW(ParseFormText(nestedObjects(200), "t"));
  EXPECT_THROW(ParseFormText(nestedObjects(201), "t"), ESourceError);

  // Far past the bound, for every nesting construct: an error, never a stack overflow.
  std::string deepCollections;
  for (int i = 0; i < 5000; ++i) deepCollections += "<item X = ";
  for (const std::string& value : {std::string(100000, '('), deepCollections}) {
    try {
      ParseFormText("object A: TA\n  X = " + value, "t");
      ADD_FAILURE() << "no error";
    } catch (const ESourceError& e) {
      EXPECT_EQ(e.Reason(), "nesting deeper than 200");
    }
  }
}

// Cut and damaged copies of a valid form must give an ESourceError or a tree, nothing else.
TEST(FormTextRead, DamagedInputNeverCrashes) {
  const std::string good = Slurp(DataPath("values.form"));
  ASSERT_FALSE(good.empty());
  for (std::size_t n = 0; n < good.size(); ++n) {
    try {
      ParseFormText(good.substr(0, n), "t");
    } catch (const ESourceError&) {
    }
  }
  std::mt19937 random(12345);
  const std::string alphabet = "'#+-$[](){}<>,:=.\n\r\t 0aZ\xC3\xFF";
  for (int round = 0; round < 3000; ++round) {
    std::string text = good;
    for (int k = 0; k < 3; ++k) text[random() % text.size()] = alphabet[random() % alphabet.size()];
    try {
      ParseFormText(text, "t");
    } catch (const ESourceError&) {
    }
  }
}
