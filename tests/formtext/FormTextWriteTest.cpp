#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "FormText.h"

using host::FormatFormText;
using host::FormObject;
using host::FormOpening;
using host::FormProperty;
using host::FormValue;
using host::FormValueKind;
using host::ParseFormText;

namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

FormObject Object(std::string name, std::string className, std::vector<FormProperty> props) {
  FormObject obj;
  obj.Name = std::move(name);
  obj.ClassName = std::move(className);
  obj.Properties = std::move(props);
  return obj;
}

FormValue Binary(std::string hex) {
  FormValue v;
  v.Kind = FormValueKind::Binary;
  v.Text = std::move(hex);
  return v;
}

}  // namespace

TEST(FormTextWrite, CanonicalTextComesBackByteForByte) {
  const std::string text = Slurp(std::filesystem::path(TEST_DATA_DIR) / "canonical.form");
  const auto doc = ParseFormText(text, "canonical.form");
  EXPECT_EQ(FormatFormText(doc.Root, doc.Style), text);
}

TEST(FormTextWrite, LayoutOfEveryConstruct) {
  FormValue emptyCollection;
  emptyCollection.Kind = FormValueKind::Collection;
  FormObject root =
      Object("", "TFoo",
             {
                 {"Empty", FormValue::List({}), {}},
                 {"Nested", FormValue::List({FormValue::List({FormValue::Integer(1)})}), {}},
                 {"Cols", emptyCollection, {}},
                 {"NoData", Binary(""), {}},
                 {"Data", Binary(std::string(64, 'a') + "0F"), {}},
                 {"Text", FormValue::String("\u00e9\t'x'\U0001F600"), {}},
             });
  FormObject child = Object("Sub", "TSub", {});
  child.Opening = FormOpening::Inherited;
  child.Index = -1;
  root.Children.push_back(child);

  EXPECT_EQ(FormatFormText(root),
            "object TFoo\n"
            "  Empty = ()\n"
            "  Nested = (\n"
            "    (\n"
            "      1))\n"
            "  Cols = <>\n"
            "  NoData = {}\n"
            "  Data = {\n"
            "    " +
                std::string(64, 'A') +
                "\n"
                "    0F}\n"
                "  Text = #233#9'''x'''#128512\n"
                "  inherited Sub: TSub [-1]\n"
                "  end\n"
                "end\n");
  EXPECT_EQ(FormatFormText(Object("A", "TA", {}), {.LineEnd = "\r\n", .Bom = true}),
            "\xEF\xBB\xBFobject A: TA\r\nend\r\n");
}

TEST(FormTextWrite, LongStringsBreakEverySixtyFourCharacters) {
  const std::string exact(63, 'x');
  const FormObject root =
      Object("A", "TA",
             {{"Fits", FormValue::String(exact + "'"), {}},
              {"Long", FormValue::String(exact + "\t" + "yy"), {}},
              {"Lines", FormValue::List({FormValue::String(std::string(130, 'z'))}), {}}});
  EXPECT_EQ(FormatFormText(root),
            "object A: TA\n"
            "  Fits = '" +
                exact +
                "'''\n"
                "  Long = '" +
                exact +
                "'#9 +\n"
                "    'yy'\n"
                "  Lines = (\n"
                "    '" +
                std::string(64, 'z') +
                "' +\n"
                "      '" +
                std::string(64, 'z') +
                "' +\n"
                "      'zz')\n"
                "end\n");
}

TEST(FormTextWrite, BytesThatAreNotUtf8AreWrittenAsTheReaderTakesThem) {
  const FormObject root = Object("A", "TA", {{"Raw", FormValue::String("\xE9!"), {}}});
  const std::string text = FormatFormText(root);
  EXPECT_NE(text.find("Raw = #233'!'"), std::string::npos) << text;
}

// Every valid fixture: reading what was written gives the same tree, and writing that again
// gives the same bytes.
TEST(FormTextWrite, RoundTripOverEveryValidFixture) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TEST_DATA_DIR)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".form" || name.rfind("bad_", 0) == 0) continue;
    SCOPED_TRACE(name);
    const auto first = ParseFormText(Slurp(entry.path()), name);
    const std::string written = FormatFormText(first.Root, first.Style);
    const auto second = ParseFormText(written, name + " (written)");
    EXPECT_EQ(second.Root, first.Root);
    EXPECT_EQ(second.Style.LineEnd, first.Style.LineEnd);
    EXPECT_EQ(second.Style.Bom, first.Style.Bom);
    EXPECT_EQ(FormatFormText(second.Root, second.Style), written);
    ++checked;
  }
  EXPECT_GE(checked, 4);
}
