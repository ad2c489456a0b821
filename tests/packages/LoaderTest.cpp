// The package loader on fixture packages: the order in which it drives a
// package, what unloading takes out, and each refusal leaving nothing behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <elf.h>
#include <link.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string_view>

#include "DsgnIntf.h"
#include "FixtureLog.h"
#include "PackageTestSupport.h"

using namespace host;
using packagetests::HostState;
using packagetests::LoadError;
using packagetests::Mapped;
using packagetests::ScratchFolder;
using ::testing::HasSubstr;

namespace {

const TPropInfo FixtureProperty{"FixtureProperty", StringTypeInfo(), {}};

std::string FixtureEditorName() {
  return GetEditorClass(FixtureProperty, &TComponent::StaticClass())->Name;
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { FixtureLog().clear(); }
  void TearDown() override {
    for (auto packages = LoadedPackages(); !packages.empty(); packages.pop_back())
      UnloadPackage(*packages.back());
  }
};

TEST_F(LoaderTest, LoadsAndUnloadsInOrder) {
  const HostState before = HostState::Now();
  const TPackage& package = LoadPackage(FixtureGood_PATH);

  EXPECT_EQ(package.Name, "FixtureGood");
  EXPECT_EQ(package.FileName, FixtureGood_PATH);
  EXPECT_EQ(package.Requires, std::vector<std::string>{"vcl30"});
  EXPECT_EQ(package.Units, (std::vector<std::string>{"FixtureGood", "FxB", "SysInit", "FxA"}));
  EXPECT_EQ(package.Module->FileName, FixtureGood_PATH);
  // Registration follows the contained units, not the unit table.
  EXPECT_EQ(FixtureLog(),
            (std::vector<std::string>{"entry", "Initialize", "FxA initialization",
                                      "FxB initialization", "FxB.Register", "FxA.Register"}));
  EXPECT_TRUE(PackagePresent("fixturegood"));
  ASSERT_NE(GetClass("TFixtureAlpha"), nullptr);
  ASSERT_NE(GetClass("TFixtureGoodUnit"), nullptr);
  EXPECT_EQ(Palette().back().Name, "Fixtures");
  EXPECT_EQ(FixtureEditorName(), "TFixtureEditor");
  EXPECT_EQ(FindResource("FIXTURE"), "FixtureGood");

  FixtureLog().clear();
  UnloadPackage(package);
  EXPECT_EQ(FixtureLog(),
            (std::vector<std::string>{"Finalize", "FxB finalization", "FxA finalization", "exit"}));
  EXPECT_EQ(HostState::Now(), before);
  EXPECT_EQ(GetClass("TFixtureAlpha"), nullptr);
  EXPECT_EQ(GetClass("TFixtureGoodUnit"), nullptr);
  EXPECT_EQ(FixtureEditorName(), "TPropertyEditor");
  EXPECT_FALSE(FindResource("FIXTURE"));
  EXPECT_FALSE(PackagePresent("FixtureGood"));
  EXPECT_FALSE(Mapped(FixtureGood_PATH));
}

TEST_F(LoaderTest, EachRefusalNamesTheFileAndLeavesNothing) {
  const TPackage& good = LoadPackage(FixtureGood_PATH);
  const TClass alpha = GetClass("TFixtureAlpha");
  const HostState before = HostState::Now();
  struct Case {
    std::string path, error;
  };
  const Case cases[] = {
      {"/nonexistent/libNothing.so", "No such file"},
      {NotAPackage_PATH, "not a package: it exports no GetPackageInfoTable"},
      {FixtureNoFinalize_PATH, "missing entry point Finalize"},
      {FixtureNeedsAbsent_PATH, "it requires package NoSuchPackage, which is not loaded"},
      {FixtureRunOnly_PATH, "run-only package"},
      {FixtureGood_PATH, "already loaded as package FixtureGood"},
      {FixtureInitFails_PATH, "Initialize failed: FixtureInitFails cannot start"},
      {FixtureDuplicate_PATH,
       "FxA.Register failed: A class named TFixtureAlpha is already registered"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_THAT(LoadError(c.path), HasSubstr("Cannot load package " + c.path + ": "));
    EXPECT_THAT(LoadError(c.path), HasSubstr(c.error));
    EXPECT_EQ(HostState::Now(), before);
    if (c.path != FixtureGood_PATH) {
      EXPECT_FALSE(Mapped(c.path));
    }
  }
  // The failed packages' own classes and editors are gone; the loaded
  // package's are untouched.
  for (const char* name : {"TFixtureDupFirst", "TFixtureDuplicateUnit", "TFixtureInitFailsUnit"})
    EXPECT_EQ(GetClass(name), nullptr) << name;
  EXPECT_EQ(GetClass("TFixtureAlpha"), alpha);
  EXPECT_EQ(FindResource("FIXTURE"), "FixtureGood");
  EXPECT_EQ(LoadedPackages(), std::vector<const TPackage*>{&good});
  UnloadPackage(good);
  EXPECT_EQ(FixtureEditorName(), "TPropertyEditor");
}

TEST_F(LoaderTest, FailedPackagesAreFinalizedAsFarAsTheyStarted) {
  LoadPackage(FixtureGood_PATH);
  FixtureLog().clear();
  LoadError(FixtureDuplicate_PATH);
  EXPECT_EQ(FixtureLog(),
            (std::vector<std::string>{"entry", "Initialize", "FxA initialization",
                                      "FxB initialization", "FxB.Register", "FxA.Register",
                                      "Finalize", "FxB finalization", "FxA finalization", "exit"}));
  FixtureLog().clear();
  LoadError(FixtureInitFails_PATH);
  EXPECT_EQ(FixtureLog(),
            (std::vector<std::string>{"entry", "Initialize", "FxA initialization",
                                      "FxB initialization", "FxA finalization", "exit"}));
}

TEST_F(LoaderTest, RequiredPackagesMustStayLoaded) {
  EXPECT_THAT(LoadError(FixtureDependent_PATH), HasSubstr("requires package FixtureGood"));
  const TPackage& good = LoadPackage(FixtureGood_PATH);
  const TPackage& dependent = LoadPackage(FixtureDependent_PATH);
  EXPECT_EQ(dependent.Requires, (std::vector<std::string>{"FixtureGood", "vcl30"}));
  try {
    UnloadPackage(good);
    ADD_FAILURE() << "unloaded a required package";
  } catch (const EPackageError& e) {
    EXPECT_EQ(e.Message(), std::string("Cannot unload package FixtureGood (") + FixtureGood_PATH +
                               "): package FixtureDependent requires it");
  }
  EXPECT_NE(GetClass("TFixtureAlpha"), nullptr);
  UnloadPackage(dependent);
  UnloadPackage(good);
  EXPECT_TRUE(LoadedPackages().empty());
}

TEST_F(LoaderTest, ModuleLeftMappedIsReportedAndTakenOutOfTheTable) {
  const HostState before = HostState::Now();
  const TPackage& package = LoadPackage(FixtureNoDelete_PATH);
  try {
    UnloadPackage(package);
    ADD_FAILURE() << "a module that stayed mapped went unreported";
  } catch (const EPackageError& e) {
    EXPECT_THAT(e.Message(),
                HasSubstr("its module stayed registered after its shared object was closed"));
  }
  EXPECT_EQ(HostState::Now(), before);
  EXPECT_EQ(GetClass("TFixtureLingering"), nullptr);
  EXPECT_FALSE(FindResource("FIXTURE"));
}

TEST_F(LoaderTest, ProvidedPackagesSatisfyRequirements) {
  EXPECT_TRUE(PackagePresent("VCL30"));
  EXPECT_TRUE(PackagePresent("VclSmp30"));
  RegisterProvidedPackage("NoSuchPackage");
  const TPackage& package = LoadPackage(FixtureNeedsAbsent_PATH);
  EXPECT_NE(GetClass("TFixtureAbsent"), nullptr);
  UnloadPackage(package);
  UnregisterProvidedPackage("NoSuchPackage");
  EXPECT_FALSE(PackagePresent("NoSuchPackage"));
}

TEST_F(LoaderTest, ModuleEntryFindsAPathLongerThanAnyFixedBuffer) {
  ScratchFolder scratch("long-path");
  const std::string part(100, 'p');
  const std::string copy =
      scratch.CopyInto(std::filesystem::path(part) / part / part, FixtureGood_PATH);
  ASSERT_GT(copy.size(), 300u);
  const TPackage& package = LoadPackage(copy);
  EXPECT_EQ(package.Module->FileName, copy);
  EXPECT_EQ(FindResource("FIXTURE"), "FixtureGood");
  UnloadPackage(package);
  EXPECT_FALSE(Mapped(copy));
}

TEST_F(LoaderTest, ResourceModuleBesideThePackageReplacesItsResources) {
  ScratchFolder scratch("resource-module");
  const std::string copy = scratch.CopyInto("translated", FixtureGood_PATH);
  std::filesystem::create_directory(copy + ".res");
  std::ofstream(copy + ".res/FIXTURE") << "Fixture, translated";
  const TPackage& package = LoadPackage(copy);
  EXPECT_EQ(FindResource("fixture"), "Fixture, translated");
  UnloadPackage(package);

  const std::string broken = scratch.CopyInto("broken", FixtureGood_PATH);
  std::ofstream(broken + ".res") << "not a folder";
  const HostState before = HostState::Now();
  EXPECT_THAT(LoadError(broken), HasSubstr("Resource module " + broken + ".res: not a folder"));
  EXPECT_EQ(HostState::Now(), before);
}

// The bytes of the fixture module with `patch` applied at `offset`.
std::string PatchedModule(std::size_t offset, std::string_view patch) {
  std::ifstream in(FixtureGood_PATH, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), {}};
  return bytes.replace(offset, patch.size(), patch);
}

// Files the dynamic loader would map and crash on, or refuse with a message
// of its own, are refused before mapping with a reason, naming the file once.
TEST_F(LoaderTest, MalformedModulesAreRefusedBeforeMapping) {
  ScratchFolder scratch("malformed-modules");
  const std::string whole = PatchedModule(0, "");
  struct Case {
    std::string name, bytes, reason;
  };
  const Case cases[] = {
      {"empty.so", "", "the file is empty"},
      {"text.so", "not a module\n", "it is not a shared object (no ELF header)"},
      {"header.so", whole.substr(0, 40), "it is truncated: its ELF header is incomplete"},
      {"cut.so", whole.substr(0, 4096), "it is truncated: a loadable segment ends at byte "},
      {"class.so", PatchedModule(EI_CLASS, "\x01"), "it is a 32-bit object; "},
      {"order.so", PatchedModule(EI_DATA, "\x02"), "its byte order is not this machine's"},
      {"program.so", PatchedModule(16, "\x02"), "it is a program, not a shared object"},
      {"object.so", PatchedModule(16, "\x01"), "it is an object file that was never linked"},
      {"machine.so", PatchedModule(18, "\x16"), "it is built for another kind of machine"},
      {"headers.so", PatchedModule(offsetof(ElfW(Ehdr), e_phnum), std::string(2, '\0')),
       "its program headers are malformed"},
  };
  const HostState before = HostState::Now();
  for (const Case& c : cases) {
    const std::string path = (scratch.Path() / c.name).string();
    std::ofstream(path, std::ios::binary) << c.bytes;
    SCOPED_TRACE(c.name);
    EXPECT_THAT(LoadError(path),
                ::testing::StartsWith("Cannot load package " + path + ": " + c.reason));
    EXPECT_EQ(HostState::Now(), before);
    EXPECT_FALSE(Mapped(path));
  }
  EXPECT_EQ(LoadError(scratch.Path().string()), "Cannot load package " + scratch.Path().string() +
                                                    ": it is a folder, not a shared object");
  EXPECT_EQ(LoadError("/proc/self/exe"),
            "Cannot load package /proc/self/exe: it is a program, not a shared object");
  EXPECT_EQ(LoadError("/dev/null"), "Cannot load package /dev/null: it is not a regular file");
  EXPECT_EQ(LoadError("/nonexistent/libNothing.so"),
            "Cannot load package /nonexistent/libNothing.so: No such file or directory");
}

}  // namespace
