// The rename command: dialog sessions played from the command line and from
// scripts, and what happens to the form file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Run.h"
#include "SampleForms.h"

namespace designer_test {
namespace {

using ::testing::HasSubstr;

class Rename : public ::testing::Test {
 protected:
  Workspace ws;
  std::string form = ws.Write("f.form", kForm);

  Outcome Script(const std::string& text, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"rename", form, "--script", ws.Write("s.script", text)};
    args.insert(args.end(), extra.begin(), extra.end());
    return ws.Run(args);
  }
};

TEST_F(Rename, ShorthandRenamesTheBlockAndSavesTheForm) {
  Outcome o = ws.Run({"rename", form, "--type", "TButton", "--base", "Btn"});
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(o.Out, "Button1 -> Btn1\nButton2 -> Btn2\n");
  EXPECT_EQ(ws.Run({"list", form}).Out,
            "TButton\n\tBtn1\n\tBtn2\nTEdit\n\tEdit1\nTComponentNamer\n\tComponentNamer1\n");
  // What the host does not interpret is written back as it was.
  EXPECT_THAT(ws.Read("f.form"), HasSubstr("  object Btn1: TButton\n    Caption = 'One'\n"));
}

TEST_F(Rename, ScriptWithCommentsSelectionModeAndVerbatimBase) {
  // Rows 2 and 4 from 5 on; the base's leading blank is the user's, and the
  // editor trims it when it applies the names.
  Outcome o = Script("# a comment\n\n  select 2 4\r\nbase  X\nstart 5\nchange\n");
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(o.Out, "Button2 -> X5\nEdit1 -> X6\n");
  EXPECT_THAT(ws.Read("f.form"), HasSubstr("object X6: TEdit"));
}

TEST_F(Rename, ScriptFromStandardInput) {
  Outcome o =
      ws.Run({"rename", form, "--script", "-"}, "select-type TEdit\nbase Field\nchange\nok\n");
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(o.Out, "Edit1 -> Field0\n");
  // A form of a megabyte or more has the designer start again (for huge
  // pages), which must come before it reads standard input.
  std::string large = kForm;
  std::string pad;
  for (int i = 0; pad.size() < (1u << 20); ++i)
    pad += "  object Pad" + std::to_string(i) + ": TEdit\n  end\n";
  ws.Write("f.form", large.insert(large.rfind("end\n"), pad));
  o = ws.Run({"rename", form, "--script", "-"}, "select-type TButton\nbase B\nchange\nok\n");
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(o.Out, "Button1 -> B0\nButton2 -> B1\n");
}

TEST_F(Rename, CancelAndCancelChangeLeaveEverything) {
  Outcome cancelled = Script("select-type TButton\nbase B\nchange\ncancel\n");
  EXPECT_EQ(cancelled.Status, 0) << cancelled.Err;
  EXPECT_EQ(cancelled.Out, "");
  Outcome undone = Script("select-type TButton\nbase B\nchange\ncancel-change\nok\n");
  EXPECT_EQ(undone.Status, 0) << undone.Err;
  EXPECT_EQ(undone.Out, "");
  EXPECT_EQ(ws.Run({"list", form}).Out, kListing);
}

TEST_F(Rename, ScriptErrorsNameTheLineBeforeAnythingIsRenamed) {
  // Each script first plans a rename that would succeed.
  const std::string planned = "select-type TButton\nbase B\nchange\n";
  const std::vector<std::pair<std::string, std::string>> scripts{
      {"frobnicate\n", "4:1: unknown action 'frobnicate'"},
      {"select 1 7\n", "4:10: row 7 is not in the listing, whose rows are 0 to 6"},
      {"  select x\n", "4:10: 'x' is not a row number (rows count from 0)"},
      {"start 2147483648\n",
       "4:7: start value 2147483648 is beyond what the spin box holds (-2147483648 to 2147483647)"},
      {"select-type TMemo\n", "4:13: the listing has no type 'TMemo'"},
      {"ok\nchange\n", "5:1: 'change' after the dialog was closed on line 4"},
      {"change now\n", "4:8: 'change' takes no argument"},
  };
  for (const auto& [text, message] : scripts) {
    Outcome o = Script(planned + text);
    EXPECT_EQ(o.Status, 1) << text;
    EXPECT_EQ(o.Err, "designer: " + ws.Path("s.script") + ":" + message + "\n");
    EXPECT_EQ(o.Out, "");
  }
  EXPECT_EQ(ws.Read("f.form"), kForm);
}

TEST_F(Rename, RefusedRenameLeavesTheFileExactlyAsItWas) {
  // Button1 -> Button2 meets Button2, still on the form.
  Outcome o = ws.Run({"rename", form, "--type", "TButton", "--base", "Button", "--start", "2"});
  EXPECT_EQ(o.Status, 1);
  EXPECT_EQ(o.Out, "");
  EXPECT_EQ(o.Err, "designer: " + form + ": A component named Button2 already exists\n");
  EXPECT_EQ(ws.Read("f.form"), kForm);
}

TEST_F(Rename, DryRunPrintsTheSameAndWritesNothing) {
  Outcome o = ws.Run({"rename", form, "--type", "TButton", "--base", "Btn", "--dry-run"});
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(o.Out, "Button1 -> Btn1\nButton2 -> Btn2\n");
  Outcome refused = ws.Run({"rename", form, "--type", "TButton", "--base", "Edit", "--dry-run"});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_EQ(refused.Err, "designer: " + form + ": A component named Edit1 already exists\n");
  EXPECT_EQ(ws.Read("f.form"), kForm);
}

TEST_F(Rename, OutputTakesTheFormAndKeepsItsLayout) {
  std::string crlf = kForm;
  for (std::size_t i = 0; (i = crlf.find('\n', i)) != std::string::npos; i += 2)
    crlf.insert(i, "\r");
  ws.Write("f.form", crlf);
  std::string output = ws.Path("out.form");
  Outcome o = ws.Run({"rename", form, "--type", "TEdit", "--base", "E", "--output", output});
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(ws.Read("f.form"), crlf);
  std::string written = ws.Read("out.form");
  EXPECT_THAT(written, HasSubstr("  object E1: TEdit\r\n"));
  EXPECT_EQ(written.find("\n"), written.find("\r\n") + 1);
}

TEST_F(Rename, SeveralFormsGoOnPastOneThatFails) {
  std::string bare = ws.Write("bare.form", kFormWithoutNamer);
  std::string second = ws.Write("g.form", kForm);
  Outcome o = ws.Run({"rename", form, bare, second, "--type", "TButton", "--base", "B"});
  EXPECT_EQ(o.Status, 1);
  // Exactly one line per renamed component, form after form.
  EXPECT_EQ(o.Out, "Button1 -> B1\nButton2 -> B2\nButton1 -> B1\nButton2 -> B2\n");
  EXPECT_THAT(o.Err, HasSubstr("designer: " + bare + ": the form has no TComponentNamer"));
  EXPECT_THAT(ws.Read("g.form"), HasSubstr("object B2: TButton"));
  EXPECT_EQ(ws.Read("bare.form"), kFormWithoutNamer);
}

}  // namespace
}  // namespace designer_test
