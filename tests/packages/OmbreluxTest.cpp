// The real package module, loaded through the loader: its description, what
// it registers and exports, a rename through its editor, and unloading.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>

#include "Designer.h"
#include "DsgnIntf.h"
#include "Forms.h"
#include "PackageTestSupport.h"
#include "ScriptedPresenter.h"
#include "StdCtrls.h"

using namespace host;
using packagetests::HostState;
using packagetests::Mapped;
using packagetests::ScratchFolder;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const TPalettePage* FindPage(const std::string& name) {
  for (const TPalettePage& page : Palette())
    if (page.Name == name) return &page;
  return nullptr;
}

// The module's defined dynamic symbols, as the dynamic linker sees them.
std::set<std::string> ExportedSymbols(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> nm(
      popen(("nm -D --defined-only '" + path + "'").c_str(), "r"), pclose);
  std::set<std::string> symbols;
  char line[4096];
  while (nm && fgets(line, sizeof line, nm.get())) {
    std::string text(line);
    text.erase(text.find_last_not_of('\n') + 1);
    symbols.insert(text.substr(text.rfind(' ') + 1));
  }
  return symbols;
}

TEST(OmbreluxTest, LoadingPutsTheNamerOnItsPageAndInstallsItsEditor) {
  const HostState before = HostState::Now();
  const TPackage& package = LoadPackage(Ombrelux_PATH);
  EXPECT_EQ(package.Name, "Ombrelux");
  EXPECT_EQ(package.Requires, (std::vector<std::string>{"VCLSMP30", "TabListPkg", "vcl30"}));
  EXPECT_EQ(package.Units, (std::vector<std::string>{"Ombrelux", "CFNamer", "SysInit", "CNamer"}));

  TClass namer = GetClass("TComponentNamer");
  ASSERT_NE(namer, nullptr);
  const TPalettePage* quorth = FindPage("Quorth");
  ASSERT_NE(quorth, nullptr);
  EXPECT_EQ(quorth->Classes, std::vector<TClass>{namer});
  const TPropInfo* componenter = namer->FindProperty("Componenter");
  ASSERT_NE(componenter, nullptr);
  EXPECT_EQ(GetEditorClass(*componenter, namer)->Name, "TComponentPropertyEditor");

  EXPECT_EQ(FindResource("PACKAGEINFO"),
            "Name = Ombrelux\nFlags = DesignOnly\nRequires = VCLSMP30, TabListPkg, vcl30\n"
            "Contains = Ombrelux (main unit), CFNamer, SysInit, CNamer\n");
  const std::string options(FindResource("PACKAGEOPTIONS").value_or(""));
  EXPECT_THAT(options, HasSubstr("Standard = C++20\n"));
  EXPECT_THAT(options, HasSubstr("-fvisibility=hidden"));
  EXPECT_THAT(std::string(FindResource("TFCOMPON").value_or("")),
              StartsWith("object FCompon: TFCompon"));

  UnloadPackage(package);
  EXPECT_EQ(HostState::Now(), before);
  EXPECT_EQ(GetClass("TComponentNamer"), nullptr);
  EXPECT_FALSE(FindResource("TFCOMPON"));
  EXPECT_FALSE(Mapped(Ombrelux_PATH));
}

// The module lets out its entry points and its four classes' type
// information (type description, its name, and the virtual table, so that
// other modules can catch the errors and test the objects), and nothing of
// the units, the host or the standard library it was built from.
TEST(OmbreluxTest, ExportsExactlyItsEntryPointsAndClasses) {
  std::set<std::string> expected{"Initialize", "Finalize", "GetPackageInfoTable", "CNamer.Register",
                                 "CFNamer.Register"};
  for (const char* name : {"6CNamer15TComponentNamer", "6CNamer20EComponentNamerError",
                           "7CFNamer24TComponentPropertyEditor", "7CFNamer8TFCompon"})
    for (const char* kind : {"_ZTIN", "_ZTSN", "_ZTVN"})
      expected.insert(std::string(kind) + name + "E");
  EXPECT_EQ(ExportedSymbols(Ombrelux_PATH), expected);
}

TEST(OmbreluxTest, NamerPlacedThroughTheRegistryRenamesThroughItsDialog) {
  const TPackage& package = LoadPackage(Ombrelux_PATH);
  {
    TForm form(nullptr);
    for (const char* name : {"Button1", "Button2"}) (new TButton(&form))->SetName(name);
    TComponent* namer = GetClass("TComponentNamer")->Create(&form);
    TFormDesigner designer(form);
    std::unique_ptr<TPropertyEditor> editor =
        CreatePropertyEditor(designer, {namer}, *namer->ClassType()->FindProperty("Componenter"));
    EXPECT_EQ(editor->GetValue(), "TStringList");

    Application().SetModalPresenter(std::make_unique<TScriptedPresenter>(std::vector<TUserAction>{
        TSelectRow{"TabList", 0}, TTypeText{"NameVal", "Btn"}, TSetSpinValue{"MaxValueIndex", 1},
        TClickControl{"btnChange"}, TClickControl{"BitBtn1"}}));
    editor->Edit();
    Application().SetModalPresenter(nullptr);
    EXPECT_NE(form.FindComponent("Btn1"), nullptr);
    EXPECT_NE(form.FindComponent("Btn2"), nullptr);
    EXPECT_EQ(designer.ModifiedNotifications(), 1);
  }
  UnloadPackage(package);
}

TEST(OmbreluxTest, LoadsAndUnloadsAHundredTimes) {
  const HostState before = HostState::Now();
  for (int i = 0; i < 100; ++i) {
    const TPackage& package = LoadPackage(Ombrelux_PATH);
    ASSERT_NE(FindPage("Quorth"), nullptr);
    UnloadPackage(package);
    ASSERT_EQ(HostState::Now(), before) << "after unload " << i;
    ASSERT_EQ(FindPage("Quorth"), nullptr);
  }
}

TEST(OmbreluxTest, LoadsFromAPathLongerThanAnyFixedBuffer) {
  ScratchFolder scratch("long-path-ombrelux");
  const std::string part(110, 'q');
  const std::string copy =
      scratch.CopyInto(std::filesystem::path(part) / part / part, Ombrelux_PATH);
  ASSERT_GT(copy.size(), 300u);
  const TPackage& package = LoadPackage(copy);
  EXPECT_EQ(package.Module->FileName, copy);
  EXPECT_TRUE(FindResource("TFCOMPON"));
  UnloadPackage(package);
}

}  // namespace
