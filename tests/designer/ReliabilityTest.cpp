// Hostile targets, inputs and timing as a careless user meets them: every
// refusal is one line, and the files on disk are as they were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <future>

#include "SampleForms.h"
#include "Run.h"

namespace designer_test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class Reliability : public ::testing::Test {
 protected:
  Workspace ws;
  std::string form = ws.Write("f.form", kForm);

  Outcome RenameButtons(const std::string& path, std::vector<std::string> extra = {}) const {
    std::vector<std::string> args{"rename", path, "--type", "TButton", "--base", "Btn"};
    args.insert(args.end(), extra.begin(), extra.end());
    return ws.Run(args);
  }
};

TEST_F(Reliability, SpecialFilesAreRefusedAndLeftAlone) {
  fs::create_directory(ws.Path("dir"));
  for (const std::string& target :
       {std::string("/dev/null"), std::string("/dev/full"), ws.Path("dir")}) {
    Outcome o = RenameButtons(form, {"--output", target});
    EXPECT_EQ(o.Status, 1) << target;
    EXPECT_THAT(o.Err,
                HasSubstr("designer: " + target + ": cannot write: not a regular file but "));
    EXPECT_EQ(o.Err.find('\n'), o.Err.size() - 1);
  }
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_TRUE(fs::is_empty(ws.Path("dir")));
  EXPECT_EQ(ws.Read("f.form"), kForm);
}

TEST_F(Reliability, LinksLeadToTheFileTheyName) {
  fs::create_symlink("f.form", ws.Path("link.form"));
  fs::create_hard_link(form, ws.Path("hard.form"));
  Outcome o = RenameButtons(ws.Path("link.form"));
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_TRUE(fs::is_symlink(ws.Path("link.form")));
  EXPECT_THAT(ws.Read("f.form"), HasSubstr("object Btn2: TButton"));
  EXPECT_EQ(ws.Read("hard.form"), ws.Read("f.form"));
}

TEST_F(Reliability, TheFormsOwnNameIsTaken) {
  Outcome renamed = ws.Run({"rename", form, "--type", "TEdit", "--base", "Form"});
  EXPECT_EQ(renamed.Status, 1);
  EXPECT_EQ(renamed.Err, "designer: " + form + ": A component named Form1 already exists\n");
  EXPECT_EQ(ws.Read("f.form"), kForm);
  const std::string bare = ws.Write("bare.form", kFormWithoutNamer);
  Outcome added = ws.Run({"add", bare, "TComponentNamer", "--name", "form1"});
  EXPECT_EQ(added.Status, 1);
  EXPECT_EQ(added.Err, "designer: " + bare + ": A component named form1 already exists\n");
  EXPECT_EQ(ws.Read("bare.form"), kFormWithoutNamer);
}

TEST_F(Reliability, EchoedValuesStayOnOneShortLine) {
  fs::create_directory(ws.Path("dir"));
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"rename", form, "--script", ws.Path("dir")},
       "designer: " + ws.Path("dir") + ": cannot read: Is a directory\n"},
      {{"add", form, "TButton\ndesigner: forged"},
       "designer: " + form +
           ": class 'TButton#10designer: forged' is not on the palette (see: "
           "designer palette)\n"},
      {{"inspect", form, std::string(5000, 'x') + "\xff"},
       "designer: " + form + ": the form has no component named '" + std::string(60, 'x') +
           "...'\n"},
  };
  for (const auto& [args, message] : cases) {
    Outcome o = ws.Run(args);
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Err, message);
  }
}

TEST_F(Reliability, DesignersRenamingOneFormAtOnceTakeTurns) {
  for (int round = 0; round < 5; ++round) {
    ws.Write("f.form", kForm);
    Workspace other;
    auto edits = std::async(std::launch::async, [&] {
      return other.Run({"rename", form, "--type", "TEdit", "--base", "Field"});
    });
    Outcome buttons = RenameButtons(form);
    Outcome fields = edits.get();
    EXPECT_EQ(buttons.Status, 0) << buttons.Err;
    EXPECT_EQ(fields.Status, 0) << fields.Err;
    const std::string saved = ws.Read("f.form");
    EXPECT_THAT(saved, HasSubstr("object Btn1: TButton"));
    EXPECT_THAT(saved, HasSubstr("object Field1: TEdit"));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(ws.Path(".")), {}), 4);  // f.form and stdio
}

}  // namespace
}  // namespace designer_test
