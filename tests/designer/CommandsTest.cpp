// The designer's commands other than rename, and its command line, run as a
// separate process on files in a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "Run.h"
#include "SampleForms.h"

namespace designer_test {
namespace {

using ::testing::HasSubstr;

class Commands : public ::testing::Test {
 protected:
  Workspace ws;
};

TEST_F(Commands, HelpForTheProgramAndEachSubcommand) {
  Outcome help = ws.Run({"--help"});
  EXPECT_EQ(help.Status, 0);
  for (const char* sub : {"palette", "list", "add", "inspect", "rename", "--package"})
    EXPECT_THAT(help.Out, HasSubstr(sub));
  Outcome rename = ws.Run({"rename", "--help"});
  EXPECT_EQ(rename.Status, 0);
  EXPECT_THAT(rename.Out, HasSubstr("select-type TYPE"));
  EXPECT_THAT(rename.Out, HasSubstr("--dry-run"));
}

TEST_F(Commands, UsageErrorsExitWithTwoAndOneLine) {
  std::string form = ws.Write("f.form", kForm);
  const std::vector<std::vector<std::string>> usages{
      {},
      {"list"},
      {"frobnicate"},
      {"rename", form},
      {"rename", form, "--type", "TButton"},
      {"rename", form, "--base", "Btn"},
      {"rename", form, "--type", "TButton", "--base", "B", "--script", "s"},
      {"rename", form, "--type", "TButton", "--base", "B", "--start", "x"},
      {"rename", form, "--type", "TButton", "--base", "B", "--start", "2147483648"},
      {"rename", form, form, "--script", "s", "--output", "o.form"},
  };
  for (const auto& args : usages) {
    Outcome o = ws.Run(args);
    EXPECT_EQ(o.Status, 2) << ::testing::PrintToString(args);
    EXPECT_TRUE(o.Err.starts_with("designer: usage: ")) << o.Err;
    EXPECT_EQ(std::count(o.Err.begin(), o.Err.end(), '\n'), 1) << o.Err;
  }
  EXPECT_EQ(ws.Read("f.form"), kForm);
}

TEST_F(Commands, UnknownCommandIsNamed) {
  Outcome o = ws.Run({"--package", ws.Path("x.so"), "frobnicate"});
  EXPECT_EQ(o.Status, 2);
  EXPECT_EQ(o.Err, "designer: usage: unknown command 'frobnicate' (see --help)\n");
}

TEST_F(Commands, PaletteListsThePackagesPage) {
  Outcome o = ws.Run({"palette"});
  EXPECT_EQ(o.Status, 0);
  EXPECT_THAT(o.Out, HasSubstr("Quorth: TComponentNamer\n"));
}

TEST_F(Commands, PackageThatCannotBeLoadedIsAnErrorNamingItOnce) {
  std::string missing = ws.Path("libMissing.so");
  std::string form = ws.Write("f.form", kForm);
  // The option goes before or after the subcommand.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--package", missing, "palette"}, {"list", "--package", missing, form}}) {
    Outcome o = ws.Run(args);
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Err, "designer: Cannot load package " + missing + ": No such file or directory\n");
    EXPECT_EQ(o.Out, "");
  }
}

TEST_F(Commands, ListPrintsTheListingRowByRow) {
  std::string form = ws.Write("f.form", kForm);
  Outcome o = ws.Run({"list", form});
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(o.Out, kListing);
}

TEST_F(Commands, ListErrorsNameTheFile) {
  std::string bare = ws.Write("bare.form", kFormWithoutNamer);
  Outcome noNamer = ws.Run({"list", bare});
  EXPECT_EQ(noNamer.Status, 1);
  EXPECT_EQ(noNamer.Err, "designer: " + bare +
                             ": the form has no TComponentNamer; place one with: " +
                             "designer add " + bare + " TComponentNamer\n");

  std::string broken = ws.Write("broken.form", "object Form1: TForm1\n  Caption 'x'\nend\n");
  Outcome syntax = ws.Run({"list", broken});
  EXPECT_EQ(syntax.Status, 1);
  EXPECT_TRUE(syntax.Err.starts_with("designer: " + broken + ":2:")) << syntax.Err;

  std::string missing = ws.Path("missing.form");
  Outcome absent = ws.Run({"list", missing});
  EXPECT_EQ(absent.Status, 1);
  EXPECT_EQ(absent.Err, "designer: " + missing + ": cannot read: No such file or directory\n");
}

TEST_F(Commands, AddPlacesANamerUnderTheDefaultName) {
  std::string form = ws.Write("f.form", kFormWithoutNamer);
  Outcome added = ws.Run({"add", form, "TComponentNamer"});
  EXPECT_EQ(added.Status, 0) << added.Err;
  EXPECT_EQ(added.Out, "ComponentNamer1\n");
  EXPECT_THAT(ws.Read("f.form"), HasSubstr("  object ComponentNamer1: TComponentNamer\n"));
  EXPECT_EQ(ws.Run({"list", form}).Out, kListing);
}

TEST_F(Commands, AddTakesTheFirstFreeNumberOrTheGivenName) {
  std::string taken = ws.Write(
      "taken.form", "object Form1: TForm1\n  object ComponentNamer1: TButton\n  end\nend\n");
  EXPECT_EQ(ws.Run({"add", taken, "TComponentNamer"}).Out, "ComponentNamer2\n");
  std::string named = ws.Write("named.form", kFormWithoutNamer);
  EXPECT_EQ(ws.Run({"add", named, "tcomponentnamer", "--name", "Namer"}).Out, "Namer\n");
  EXPECT_THAT(ws.Read("named.form"), HasSubstr("object Namer: TComponentNamer"));
}

TEST_F(Commands, RefusedAddLeavesTheFileAsItWas) {
  std::string form = ws.Write("f.form", kForm);
  std::string bare = ws.Write("bare.form", kFormWithoutNamer);
  const std::vector<std::pair<std::vector<std::string>, std::string>> refusals{
      {{"add", form, "TComponentNamer"}, form + ": Only one instance of ComponentNamer"},
      {{"add", bare, "TComponentNamer", "--name", "button1"},
       bare + ": A component named button1 already exists"},
      {{"add", bare, "TComponentNamer", "--name", "1st"},
       bare + ": '1st' is not a valid component name"},
      {{"add", bare, "TButton"},
       bare + ": class 'TButton' is not on the palette (see: designer palette)"},
  };
  for (const auto& [args, message] : refusals) {
    Outcome o = ws.Run(args);
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Err, "designer: " + message + "\n");
  }
  EXPECT_EQ(ws.Read("f.form"), kForm);
  EXPECT_EQ(ws.Read("bare.form"), kFormWithoutNamer);
}

TEST_F(Commands, InspectShowsEachPublishedProperty) {
  std::string form = ws.Write("f.form", kForm);
  Outcome o = ws.Run({"inspect", form, "componentnamer1"});
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_THAT(o.Out, HasSubstr("Componenter  TStringList  [dialog, read-only]\n"));
  Outcome button = ws.Run({"inspect", form, "Button1"});
  EXPECT_THAT(button.Out, HasSubstr("Caption  One  ["));

  Outcome missing = ws.Run({"inspect", form, "Nothing"});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(missing.Err, "designer: " + form + ": the form has no component named 'Nothing'\n");
}

TEST_F(Commands, AValueAControlRefusesOpensAndIsShownAsNotTaken) {
  const std::string text =
      "object Form1: TForm1\n  Position = poWorkAreaCenter\n  object List1: TListBox\n"
      "    ItemHeight = 0\n  end\nend\n";
  std::string form = ws.Write("f.form", text);
  Outcome o = ws.Run({"inspect", form, "List1"});
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_THAT(o.Out, HasSubstr("ItemHeight  0 (not taken: item height of List1 must be at least "
                               "1, not 0)  ["));
  Outcome added = ws.Run({"add", form, "TComponentNamer"});
  EXPECT_EQ(added.Status, 0) << added.Err;
  EXPECT_TRUE(ws.Read("f.form").starts_with(text.substr(0, text.size() - 4))) << ws.Read("f.form");
}

}  // namespace
}  // namespace designer_test
