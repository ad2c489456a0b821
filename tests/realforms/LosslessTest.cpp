// A save gives back every byte the edit did not touch: forms in each layout
// other tools write, and generated forms in random layouts, come back the
// same when unedited, and with only the namer's lines and the renamed names
// changed after a namer is placed and components are renamed.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <set>

#include "CNamer.h"
#include "FormStreaming.h"
#include "FormText.h"
#include "Forms.h"
#include "LineDiff.h"

using namespace host;
using namespace realforms_test;

namespace {

using Renames = std::map<std::string, std::string>;

std::string Slurp(const std::string& name) {
  std::ifstream in(std::string(TEST_DATA_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Lossless : public ::testing::Test {
 protected:
  void SetUp() override { RegisterClass(&cnamer::TComponentNamer::StaticClass()); }
  void TearDown() override { UnRegisterClass(&cnamer::TComponentNamer::StaticClass()); }

  struct Opened {
    std::shared_ptr<const std::string> Text;
    LoadedForm Loaded;
  };

  // As the designer opens a file: object by object from the text.
  static Opened Open(const std::string& text) {
    auto shared = std::make_shared<const std::string>(text);
    return {shared, LoadFormText(shared, "t.form")};
  }

  static std::string Save(const Opened& o) {
    return RewriteComponents(*o.Loaded.Form, *o.Text, o.Loaded.Style);
  }

  // Owned by the form or by a frame on it.
  static TComponent* FindAnywhere(const TComponent& owner, const std::string& name) {
    if (TComponent* c = owner.FindComponent(name)) return c;
    for (TComponent* c : owner.Components())
      if (TComponent* inner = FindAnywhere(*c, name)) return inner;
    return nullptr;
  }

  // The text after a namer is placed and saved, then components renamed and
  // saved again, each save on a form read from the last.
  static std::string AddNamerAndRename(const std::string& text, const Renames& renames) {
    std::string withNamer;
    {
      Opened o = Open(text);
      (new cnamer::TComponentNamer(o.Loaded.Form.get()))->SetName("ComponentNamer1");
      withNamer = Save(o);
    }
    Opened o = Open(withNamer);
    for (const auto& [from, to] : renames) {
      TComponent* c = FindAnywhere(*o.Loaded.Form, from);
      EXPECT_NE(c, nullptr) << from;
      if (c) c->SetName(to);
    }
    return Save(o);
  }

  static bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

  // `line` with every old name that stands as a whole word replaced.
  static std::string Renamed(const std::string& line, const Renames& renames) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
      std::size_t end = i;
      while (end < line.size() && IsNameChar(line[end])) ++end;
      if (end == i) {
        out += line[i++];
        continue;
      }
      const std::string word = line.substr(i, end - i);
      const auto it = renames.find(word);
      out += it == renames.end() ? word : it->second;
      i = end;
    }
    return out;
  }

  // The line diff from `original` to `edited` holds the namer's block and
  // the lines that hold renamed names, and nothing else.
  static void ExpectOnlyNamerAndRenames(const std::string& original, const std::string& edited,
                                        const Renames& renames) {
    const std::vector<std::string> before = Lines(original), after = Lines(edited);
    const LineDiff diff = DiffLines(before, after);
    std::size_t first = 0;
    while (first < after.size() &&
           after[first].find("ComponentNamer1: TComponentNamer") == std::string::npos)
      ++first;
    ASSERT_LT(first, after.size()) << edited;
    const std::string indent = after[first].substr(0, after[first].find('o'));
    std::size_t last = first;
    while (last < after.size() && after[last].rfind(indent + "end", 0) != 0) ++last;
    ASSERT_LT(last, after.size()) << edited;

    std::multiset<std::string> renamedLines;
    for (const std::string& line : diff.Removed) {
      const std::string renamed = Renamed(line, renames);
      EXPECT_NE(renamed, line) << "changed without a rename: " << line;
      renamedLines.insert(renamed);
    }
    // The diff may pair an `end` of the block with the one before it, so the
    // block is matched line by line, not by position.
    std::multiset<std::string> block(after.begin() + static_cast<std::ptrdiff_t>(first),
                                     after.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    for (std::size_t j : diff.Added) {
      if (auto it = renamedLines.find(after[j]); it != renamedLines.end()) {
        renamedLines.erase(it);
      } else {
        const auto inBlock = block.find(after[j]);
        ASSERT_NE(inBlock, block.end()) << "line not expected: " << after[j] << "\n" << edited;
        block.erase(inBlock);
      }
    }
    EXPECT_TRUE(renamedLines.empty()) << edited;
    EXPECT_TRUE(block.empty()) << edited;
    for (std::size_t j = first; j <= last; ++j)
      EXPECT_FALSE(after[j].ends_with(" \n") || after[j].ends_with(" \r\n")) << after[j];
  }
};

struct Fixture {
  const char* file;
  Renames renames;
};

TEST_F(Lossless, FixturesComeBackByteForByteAndChangeOnlyWhatWasEdited) {
  const Fixture fixtures[] = {
      {"lossless_next_line_values.form", {{"Button1", "btnGo"}, {"Menu1", "pmMain"}}},
      {"lossless_refused_values.form", {{"Button1", "btnGo"}, {"List1", "lstItems"}}},
      {"lossless_index_without_blank.form",
       {{"lblSaveTo", "lblTarget"}, {"Button1", "btnInFrame"}, {"Button2", "btnTwo"}}},
      {"lossless_trailing_blanks.form", {{"Button1", "btnGo"}, {"Grid1", "grdMain"}}},
      {"lossless_paren_own_line.form", {{"List1", "lstItems"}}},
      {"lossless_mixed_line_ends.form", {{"Button2", "btnTwo"}}},
      {"lossless_no_final_line_end.form", {{"Button1", "btnGo"}}},
      {"lossless_cr_only.form", {{"Button1", "btnGo"}}},
      {"lossless_property_after_child.form", {{"Button1", "btnGo"}, {"Panel1", "pnlMain"}}},
      {"crlf_bom.form", {{"Ok", "btnOk"}}},
  };
  for (const Fixture& f : fixtures) {
    SCOPED_TRACE(f.file);
    const std::string text = Slurp(f.file);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(Save(Open(text)), text);
    ExpectOnlyNamerAndRenames(text, AddNamerAndRename(text, f.renames), f.renames);
  }
}

TEST_F(Lossless, NewLinesTakeTheLineEndOfMostLines) {
  const std::string edited = AddNamerAndRename(Slurp("lossless_cr_only.form"), {});
  EXPECT_EQ(edited.find('\n'), std::string::npos) << edited;
  const std::string mixed = AddNamerAndRename(Slurp("lossless_mixed_line_ends.form"), {});
  EXPECT_NE(mixed.find("  object ComponentNamer1: TComponentNamer\r\n"), std::string::npos);
}

TEST_F(Lossless, ADeletedComponentTakesItsLinesAlong) {
  Opened o = Open(
      "object F: TF\r\n  object A: TButton\r\n  end\r\n  object B: TButton\r\n    Caption = "
      "'b'\r\n  end\r\nend\r\n");
  delete o.Loaded.Form->FindComponent("A");
  EXPECT_EQ(Save(o),
            "object F: TF\r\n  object B: TButton\r\n    Caption = 'b'\r\n  end\r\nend\r\n");
}

// A form in a random but valid layout: indentation, line ends, trailing
// blanks, blank runs, values on the line after their `=`, strings split over
// lines, lists closed on a line of their own, references between components.
class RandomForm {
 public:
  explicit RandomForm(unsigned seed) : random_(seed) {
    step_ = std::string(Pick(1, 4), Pick(0, 3) == 0 ? '\t' : ' ');
    Object("Main", "TMain", "", 0);
    if (Pick(0, 2) != 0) text_ += Eol();
  }
  const std::string& Text() const { return text_; }
  const std::vector<std::string>& Names() const { return names_; }
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 private:
  std::mt19937 random_;
  std::string text_, step_;
  std::vector<std::string> names_;

  std::string Eol() {
    static const char* kEnds[] = {"\n", "\r\n", "\r"};
    std::string eol = std::string(Pick(0, 3) == 0 ? " \t" + std::string(Pick(0, 2), ' ') : "") +
                      kEnds[Pick(0, 9) < 6 ? 0 : Pick(1, 2)];
    if (Pick(0, 8) == 0) eol += std::string(Pick(0, 3), ' ') + "\n";  // a blank run
    return eol;
  }

  void Line(const std::string& indent, const std::string& content) {
    text_ += Eol();
    text_ += indent;
    text_ += content;
  }

  std::string Value(const std::string& indent) {
    const std::string inner = indent + step_;
    switch (Pick(0, 6)) {
      case 0:
        return std::to_string(Pick(-50, 500));
      case 1: {
        std::string s = "'hello world'";
        for (int n = Pick(0, 2); n > 0; --n) s += " +" + Eol() + inner + "' and more'#13#10";
        return s;
      }
      case 2:
        return names_.empty() ? "True" : names_[Pick(0, static_cast<int>(names_.size()) - 1)];
      case 3: {
        std::string s = "(";
        for (int n = Pick(0, 3); n > 0; --n) s += Eol() + inner + "'item'";
        return s + (Pick(0, 1) ? Eol() + indent + ")" : ")");
      }
      case 4:
        return "[akLeft, akTop]";
      case 5:
        return "{" + Eol() + inner + "0A0B}";
      default:
        return "True";
    }
  }

  void Object(const std::string& name, const std::string& cls, const std::string& indent,
              int depth) {
    text_ += indent + "object " + name + ": " + cls;
    const std::string inner = indent + (Pick(0, 5) == 0 ? std::string(" ") : step_);
    static const char* kProps[] = {"Tag", "Hint", "Other", "Items.Strings", "Extra", "Data"};
    for (int n = Pick(0, 4); n > 0; --n) {
      const std::string prop = std::string(kProps[Pick(0, 5)]) + std::to_string(n);
      const std::string value = Value(inner);
      Line(inner, prop + (Pick(0, 3) == 0 ? " =" + Eol() + inner + step_ : " = ") + value);
    }
    for (int n = depth < 3 ? Pick(0, 3) : 0; n > 0; --n) {
      const std::string child = "Comp" + std::to_string(names_.size() + 1);
      names_.push_back(child);
      static const char* kClasses[] = {"TButton", "TLabel", "TFoo", "TBox"};
      text_ += Eol();
      Object(child, kClasses[Pick(0, 3)], inner, depth + 1);
    }
    Line(indent, "end");
  }
};

TEST_F(Lossless, RandomLayoutsAndRenames) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    RandomForm form(seed);
    SCOPED_TRACE(::testing::Message() << "seed " << seed << "\n" << form.Text());
    EXPECT_EQ(Save(Open(form.Text())), form.Text());
    Renames renames;
    for (const std::string& name : form.Names())
      if (form.Pick(0, 2) == 0) renames[name] = "Renamed" + name.substr(4);
    ExpectOnlyNamerAndRenames(form.Text(), AddNamerAndRename(form.Text(), renames), renames);
    if (HasFailure()) break;
  }
}

}  // namespace
