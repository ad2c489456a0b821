// Forms written by other tools: line endings, encodings and references
// between components must survive a rename and a save.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "CNamer.h"
#include "FormStreaming.h"
#include "FormText.h"
#include "Forms.h"

using namespace host;

namespace {

const std::string kData = TEST_DATA_DIR;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The tokens of a form text: quoted pieces and codes one each, identifiers
// with their dots, numbers, and single punctuation characters.
std::vector<std::string> Tokens(std::string_view s) {
  if (s.starts_with("\xEF\xBB\xBF")) s.remove_prefix(3);
  auto word = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$' ||
           c == '-';
  };
  std::vector<std::string> out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t start = i;
    if (std::isspace(static_cast<unsigned char>(s[i]))) {
      ++i;
      continue;
    }
    if (s[i] == '\'') {
      for (++i; i < s.size(); ++i)
        if (s[i] == '\'' && !(i + 1 < s.size() && s[i + 1] == '\''))
          break;
        else if (s[i] == '\'')
          ++i;
      ++i;
    } else if (s[i] == '#') {
      for (++i; i < s.size() && word(s[i]); ++i) {
      }
    } else if (word(s[i])) {
      while (i < s.size() && word(s[i])) ++i;
    } else {
      ++i;
    }
    out.emplace_back(s.substr(start, i - start));
  }
  return out;
}

struct Saved {
  FormDocument original;
  std::string text;
};

// Opens a form file, applies renames to its components, and writes it.
Saved OpenRenameSave(const std::string& path, const std::map<std::string, std::string>& renames) {
  FormDocument doc = ReadFormFile(path);
  LoadedForm loaded = LoadFormText(doc.Text, path);
  for (const auto& [from, to] : renames) loaded.Form->FindComponent(from)->SetName(to);
  return {doc, RewriteComponents(*loaded.Form, *doc.Text, loaded.Style)};
}

TEST(RealForms, UntouchedFormsComeBackAsTheyWere) {
  const std::string crlf = Slurp(kData + "/real_orders_crlf.form");
  EXPECT_EQ(OpenRenameSave(kData + "/real_orders_crlf.form", {}).text, crlf);

  // No line end after the last line, and none added.
  const std::string bom = Slurp(kData + "/real_settings_bom.form");
  ASSERT_NE(bom.back(), '\n');
  EXPECT_EQ(OpenRenameSave(kData + "/real_settings_bom.form", {}).text, bom);
}

TEST(RealForms, EncodingsReadAsCharacters) {
  FormDocument latin1 = ReadFormFile(kData + "/real_orders_crlf.form");
  EXPECT_EQ(latin1.Style.LineEnd, "\r\n");
  EXPECT_FALSE(latin1.Style.Bom);
  EXPECT_EQ(latin1.Root.Properties.at(4).Value.Text, "Caf\xC3\xA9 order entry");

  FormDocument utf8 = ReadFormFile(kData + "/real_settings_bom.form");
  EXPECT_TRUE(utf8.Style.Bom);
  EXPECT_EQ(utf8.Style.LineEnd, "\n");
  EXPECT_EQ(utf8.Root.Properties.at(0).Value.Text,
            "Einstellungen f\xC3\xBCr \xC3\x84nderungen \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC");
}

TEST(RealForms, RenamesReachEveryReferenceAndNothingElse) {
  const std::map<std::string, std::string> renames{
      {"ImageList1", "imgMain"}, {"actOpen", "actOpenOrder"}, {"PopupMenu1", "pmGrid"},
      {"Edit1", "edName"},       {"MainMenu1", "mmMain"},     {"Button1", "btnOpen"}};
  Saved saved = OpenRenameSave(kData + "/real_orders_crlf.form", renames);

  std::vector<std::string> expected = Tokens(Slurp(kData + "/real_orders_crlf.form"));
  for (std::string& token : expected)
    if (auto it = renames.find(token); it != renames.end()) token = it->second;
  EXPECT_EQ(Tokens(saved.text), expected);
  EXPECT_NE(saved.text.find("OnClick = Button1Click\r\n"), std::string::npos);
  EXPECT_NE(saved.text.find("DataSource = OrderData.Source\r\n"), std::string::npos);
}

TEST(RealForms, ReferencesInsideCollectionsFollowRenamesToo) {
  auto form = LoadForm(ParseFormText(R"(object F: TF
  object ActionBar1: TActionBar
    Items = <
      item
        Action = actSave
        Caption = 'actSave'
      end>
  end
  object actSave: TAction
  end
end
)",
                                     "t.form")
                           .Root,
                       "t.form");
  form->FindComponent("actSave")->SetName("actStore");
  const FormObject written = WriteComponents(*form);
  const FormValue& items = written.Children.at(0).Properties.at(0).Value;
  EXPECT_EQ(items.Collection.at(0).Properties.at(0).Value.Text, "actStore");
  EXPECT_EQ(items.Collection.at(0).Properties.at(1).Value.Text, "actSave");
}

TEST(RealForms, AReferenceToADeletedComponentKeepsItsName) {
  auto form = LoadForm(
      ParseFormText("object F: TF\n  object B: TButton\n    PopupMenu = P\n  end\n  object "
                    "P: TPopupMenu\n  end\nend\n",
                    "t.form")
          .Root,
      "t.form");
  delete form->FindComponent("P");
  (new TComponent(form.get()))->SetName("Q");
  EXPECT_EQ(WriteComponents(*form).Children.at(0).Properties.at(0).Value.Text, "P");
}

// A large form of the shape real projects have: panels of buttons, menus,
// actions, image lists with binary data and grids with collections.
std::string LargeForm(int blocks) {
  std::ostringstream f;
  f << "object Big: TBigForm\n  Caption = 'Big'\n  Menu = Menu1\n";
  f << "  object Menu1: TMainMenu\n";
  for (int b = 0; b < blocks; ++b)
    f << "    object mi" << b << ": TMenuItem\n      Action = act" << b << "\n    end\n";
  f << "  end\n  object Actions1: TActionList\n    Images = Images1\n";
  for (int b = 0; b < blocks; ++b)
    f << "    object act" << b << ": TAction\n      Caption = 'Action " << b
      << "'\n      ImageIndex = " << b << "\n      OnExecute = act" << b << "Execute\n    end\n";
  f << "  end\n  object Images1: TImageList\n    Bitmap = {\n";
  for (int line = 0; line < 20 * blocks; ++line)
    f << "      " << std::string(64, "0123456789ABCDEF"[line % 16]) << "\n";
  f << "      00}\n  end\n";
  for (int b = 0; b < blocks; ++b) {
    f << "  object Panel" << b << ": TPanel\n    Align = alTop\n";
    for (int k = 0; k < 3; ++k)
      f << "    object Button" << b * 3 + k << ": TButton\n      Action = act" << b
        << "\n      PopupMenu = Menu1\n"
        << "      Caption = 'Button " << k << " of panel " << b << "'\n    end\n";
    f << "    object Grid" << b << ": TStringGrid\n      Columns = <\n";
    for (int c = 0; c < 3; ++c)
      f << "        item\n          Title.Caption = 'Col " << c
        << "'\n          Width = 64\n        end";
    f << ">\n    end\n  end\n";
  }
  f << "end\n";
  return f.str();
}

void Rename(FormObject& obj, const std::map<std::string, std::string>& renames) {
  if (auto it = renames.find(obj.Name); it != renames.end()) obj.Name = it->second;
  for (FormProperty& p : obj.Properties)
    if (auto it = renames.find(p.Value.Text);
        it != renames.end() && p.Value.Kind == FormValueKind::Identifier)
      p.Value.Text = it->second;
  for (FormObject& child : obj.Children) Rename(child, renames);
}

TEST(RealForms, ALargeFormRenamesAndReadsBackToTheSameTree) {
  RegisterClass(&cnamer::TComponentNamer::StaticClass());
  const std::string text = LargeForm(520);
  ASSERT_GT(std::count(text.begin(), text.end(), '\n'), 30000);
  FormObject tree = ParseFormText(text, "big.form").Root;
  auto form = LoadForm(tree, "big.form");
  auto* namer = new cnamer::TComponentNamer(form.get());
  namer->SetName("ComponentNamer1");
  EXPECT_EQ(namer->GetFComponentList().Count(), form->GetComponentCount() + 9);  // nine types

  std::map<std::string, std::string> renames{{"Menu1", "mnuMain"}, {"Images1", "ilMain"}};
  for (int i = 0; i < 600; ++i)
    renames["Button" + std::to_string(i)] = "Btn" + std::to_string(i + 1);
  for (const auto& [from, to] : renames) form->FindComponent(from)->SetName(to);

  FormObject written = ParseFormText(FormatFormText(WriteComponents(*form)), "big.form").Root;
  written.Children.pop_back();  // the namer placed above
  Rename(tree, renames);
  EXPECT_EQ(written, tree);
  UnRegisterClass(&cnamer::TComponentNamer::StaticClass());
}

}  // namespace
