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

// The module lets out, by name, what other modules may use and nothing of
// the units, the host or the standard library it was built from.
TEST(OmbreluxTest, ExportsExactlyItsEntryPointsClassesAndMethods) {
  const std::set<std::string> expected{
      // Entry points, the units' own entries, and the main unit's names for
      // its entries.
      "Initialize", "Finalize", "GetPackageInfoTable", "CNamer.Register", "CFNamer.Register",
      "CNamer.CNamer", "CNamer.Finalization", "CFNamer.CFNamer", "CFNamer.Finalization",
      "Ombrelux.PackageLoad", "Ombrelux.PackageUnload", "Ombrelux.GetPackageInfoTable",
      // The classes: type description and virtual table.
      "_ZTIN6cnamer15TComponentNamerE", "_ZTVN6cnamer15TComponentNamerE",
      "_ZTIN6cnamer20EComponentNamerErrorE", "_ZTVN6cnamer20EComponentNamerErrorE",
      "_ZTIN7cfnamer24TComponentPropertyEditorE", "_ZTVN7cfnamer24TComponentPropertyEditorE",
      "_ZTIN7cfnamer8TFComponE", "_ZTVN7cfnamer8TFComponE",
      // TComponentNamer: constructor and destructor (base object), accessors
      // and TypeExist.
      "_ZN6cnamer15TComponentNamerC2EPN4host10TComponentE", "_ZN6cnamer15TComponentNamerD2Ev",
      "_ZN6cnamer15TComponentNamer17GetFComponentListEv",
      "_ZN6cnamer15TComponentNamer14SetComponenterERKN4host11TStringListE",
      "_ZN6cnamer15TComponentNamer9TypeExistERKN4host11TStringListERKNSt7__cxx1112basic_"
      "stringIcSt11char_traitsIcESaIcEEE",
      // TFCompon's handlers and TComponentPropertyEditor's overrides.
      "_ZN7cfnamer8TFCompon14btnChangeClickEPN4host7TObjectE",
      "_ZN7cfnamer8TFCompon10FormCreateEPN4host7TObjectE",
      "_ZN7cfnamer8TFCompon20CancelChangeBtnClickEPN4host7TObjectE",
      "_ZN7cfnamer24TComponentPropertyEditor4EditEv",
      "_ZNK7cfnamer24TComponentPropertyEditor13GetAttributesEv",
      "_ZNK7cfnamer24TComponentPropertyEditor8GetValueB5cxx11Ev"};
  EXPECT_EQ(expected.size(), 31u);
  EXPECT_EQ(ExportedSymbols(Ombrelux_PATH), expected);

  // The qualified names are the same entries, not copies.
  void* handle = dlopen(Ombrelux_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  for (const auto& [plain, qualified] : {std::pair{"Initialize", "Ombrelux.PackageLoad"},
                                         {"Finalize", "Ombrelux.PackageUnload"},
                                         {"GetPackageInfoTable", "Ombrelux.GetPackageInfoTable"}})
    EXPECT_EQ(dlsym(handle, plain), dlsym(handle, qualified)) << qualified;
  dlclose(handle);
}

// Renames the two buttons of `form` to Btn1 and Btn2 through the dialog of
// `namer`'s Componenter.
void RenameButtons(TForm& form, TComponent& namer) {
  TFormDesigner designer(form);
  std::unique_ptr<TPropertyEditor> editor =
      CreatePropertyEditor(designer, {&namer}, *namer.ClassType()->FindProperty("Componenter"));
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

TEST(OmbreluxTest, NamerPlacedThroughTheRegistryRenamesThroughItsDialog) {
  const TPackage& package = LoadPackage(Ombrelux_PATH);
  {
    TForm form(nullptr);
    for (const char* name : {"Button1", "Button2"}) (new TButton(&form))->SetName(name);
    RenameButtons(form, *GetClass("TComponentNamer")->Create(&form));
  }
  UnloadPackage(package);
}

// A second module derives its namer from TComponentNamer, linking against
// the exports; its namer lists, counts types through the inherited methods,
// keeps the one-namer rule with the base class, and renames through the
// base's editor.
TEST(OmbreluxTest, NamerDerivedInAnotherModuleListsAndRenames) {
  const HostState before = HostState::Now();
  const TPackage& ombrelux = LoadPackage(Ombrelux_PATH);
  const TPackage& kin = LoadPackage(KinNamer_PATH);
  EXPECT_THAT([&] { UnloadPackage(ombrelux); },
              ::testing::ThrowsMessage<EPackageError>(HasSubstr("package KinNamer requires it")));
  TClass kinNamer = GetClass("TKinNamer");
  ASSERT_NE(kinNamer, nullptr);
  EXPECT_TRUE(kinNamer->InheritsFrom(GetClass("TComponentNamer")));
  EXPECT_EQ(FindPage("Quorth")->Classes,
            (std::vector<TClass>{GetClass("TComponentNamer"), kinNamer}));
  {
    TForm form(nullptr);
    for (const char* name : {"Button1", "Button2"}) (new TButton(&form))->SetName(name);
    TComponent* namer = kinNamer->Create(&form);
    namer->SetName("Kin1");
    EXPECT_EQ(namer->ClassName(), "TKinNamer");
    const TPropInfo& componenter = *kinNamer->FindProperty("Componenter");
    EXPECT_EQ(componenter.Get(*namer).Items.size(), 5u);  // TButton, 2 rows, TKinNamer, 1 row
    EXPECT_EQ(kinNamer->FindProperty("Kinds")->Get(*namer).Text, "2");
    EXPECT_THAT([&] { GetClass("TComponentNamer")->Create(&form); },
                ::testing::ThrowsMessage<Exception>("Only one instance of ComponentNamer"));
    RenameButtons(form, *namer);
  }
  UnloadPackage(kin);
  UnloadPackage(ombrelux);
  EXPECT_EQ(HostState::Now(), before);
  EXPECT_EQ(GetClass("TKinNamer"), nullptr);
  EXPECT_EQ(GetClass("TComponentNamer"), nullptr);
  EXPECT_FALSE(Mapped(KinNamer_PATH));
  EXPECT_FALSE(Mapped(Ombrelux_PATH));
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
