// The designer on packages that are damaged, named loosely, fail to unload,
// or carry a broken dialog resource: one line naming the file, exit status 1,
// no crash, and the form file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Run.h"
#include "SampleForms.h"

namespace designer_test {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Packages : public ::testing::Test {
 protected:
  Workspace ws;
  std::string form = ws.Write("f.form", kForm);
  std::string module = FileText(Ombrelux_PATH);
};

TEST_F(Packages, TruncatedModuleIsRefusedNotMapped) {
  ws.Write("t.so", module.substr(0, 4096));
  Outcome o = ws.Run({"--package", "./t.so", "list", form});
  EXPECT_EQ(o.Status, 1);
  EXPECT_TRUE(o.Err.starts_with(
      "designer: Cannot load package ./t.so: it is truncated: a loadable segment ends at byte "))
      << o.Err;
  EXPECT_TRUE(o.Err.ends_with(", beyond the file's 4096 bytes\n")) << o.Err;
  EXPECT_EQ(ws.Read("f.form"), kForm);
}

TEST_F(Packages, PackageNamedWithoutAFolderIsAFileInTheCurrentOne) {
  ws.Write("copy.so", module);
  Outcome o = ws.Run({"--package", "copy.so", "palette"});
  EXPECT_EQ(o.Status, 0) << o.Err;
  EXPECT_EQ(o.Out, "Quorth: TComponentNamer\n");
}

TEST_F(Packages, FailingFinalizeIsReportedOnceWithThePackagesFile) {
  Outcome o = ws.Run({"--package", FixtureFinalizeFails_PATH, "palette"});
  EXPECT_EQ(o.Status, 1);
  EXPECT_EQ(o.Out, "Fixtures: TFixtureStubborn\n");
  EXPECT_EQ(o.Err, std::string("designer: Cannot unload package FixtureFinalizeFails (") +
                       FixtureFinalizeFails_PATH +
                       "): Finalize failed: FixtureFinalizeFails cannot stop\n");
}

// A dialog resource replaced beside a copy of the module, lacking a control
// or the creation handler, stops the rename with an error naming the form,
// the field or handler and the resource; the form file is untouched.
TEST_F(Packages, ReplacedDialogResourceLackingAPartIsAnError) {
  const std::string dialog = FileText(FCOMPON_FORM);
  auto without = [&](const std::string& start, const std::string& end) {
    const std::size_t from = dialog.find(start);
    return std::string(dialog).erase(from, dialog.find(end, from) + end.size() - from);
  };
  struct Case {
    std::string resource, reason;
  };
  const Case cases[] = {
      {without("  object NameVal: TEdit\n", "  end\n"),
       "form FCompon (TFCompon) has no control for its field NameVal"},
      {without("  OnCreate = FormCreate\n", "\n"),
       "form FCompon (TFCompon) has no event bound to its handler FormCreate"},
  };
  ws.Write("copy.so", module);
  std::filesystem::create_directory(ws.Path("copy.so.res"));
  for (const Case& c : cases) {
    ws.Write("copy.so.res/TFCOMPON", c.resource);
    Outcome o = ws.Run(
        {"--package", ws.Path("copy.so"), "rename", form, "--type", "TButton", "--base", "B"});
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Err, "designer: " + form + ": TFCOMPON:1:1: " + c.reason + "\n");
    EXPECT_EQ(ws.Read("f.form"), kForm);
  }
}

}  // namespace
}  // namespace designer_test
