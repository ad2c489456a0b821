// What the host does for packages without loading one: the registration
// log, and the unit table's initialization and finalization.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Classes.h"
#include "Packages.h"
#include "RegistrationLog.h"

using namespace host;

namespace {

const TClassInfo& HostOwned() {
  static const TClassInfo info{.Name = "THostOwned", .Parent = &TComponent::StaticClass()};
  return info;
}

const TClassInfo& PackageOwned() {
  static const TClassInfo info{.Name = "TPackageOwned", .Parent = &TComponent::StaticClass()};
  return info;
}

TEST(RegistrationTest, ReplayTakesOutTheLoggedPaletteEntriesAndClassesOnly) {
  RegisterClass(&HostOwned());
  TRegistrationLog log;
  {
    TRegistrationScope scope(log);
    RegisterComponents("Tracked", {&HostOwned(), &PackageOwned()});
  }
  ASSERT_EQ(Palette().back().Classes.size(), 2u);

  log.Replay();
  for (const TPalettePage& page : Palette()) EXPECT_NE(page.Name, "Tracked");
  EXPECT_EQ(GetClass("TPackageOwned"), nullptr);
  EXPECT_EQ(GetClass("THostOwned"), &HostOwned());
  UnRegisterClass(&HostOwned());
}

TEST(RegistrationTest, ReplayUndoesTheLatestFirstFromTheLogThatWasOpen) {
  std::vector<int> undone;
  auto undo = [&](int step) { return [&undone, step] { undone.push_back(step); }; };
  TRegistrationLog outer, inner;
  RecordRegistration(undo(0));  // no log open: kept for good
  {
    TRegistrationScope outerScope(outer);
    RecordRegistration(undo(1));
    {
      TRegistrationScope innerScope(inner);
      RecordRegistration(undo(9));
    }
    RecordRegistration(undo(2));
  }
  outer.Replay();
  outer.Replay();  // a replayed log is empty
  EXPECT_TRUE(outer.Empty());
  inner.Replay();
  EXPECT_EQ(undone, (std::vector<int>{2, 1, 9}));
}

std::vector<std::string> steps;

void AInit() { steps.push_back("A init"); }
void AFinal() { steps.push_back("A final"); }
void BFinal() {
  steps.push_back("B final");
  throw std::runtime_error("B cannot stop");
}
void CInit() { throw std::runtime_error("C cannot start"); }

TEST(RegistrationTest, FinalizationRunsEveryUnitAndReportsTheFirstError) {
  constexpr TUnitEntry units[] = {{"A", AInit, AFinal}, {"B", nullptr, BFinal}, {"C"}};
  const TPackageInfoTable table{.Name = "Units", .Units = units};
  steps.clear();
  PackageLoad(table);
  EXPECT_THROW(PackageUnload(table), std::runtime_error);
  EXPECT_EQ(steps, (std::vector<std::string>{"A init", "B final", "A final"}));
}

TEST(RegistrationTest, FailedInitializationFinalizesTheUnitsBeforeIt) {
  constexpr TUnitEntry units[] = {{"A", AInit, AFinal}, {"C", CInit, AFinal}, {"D", AInit}};
  const TPackageInfoTable table{.Name = "Units", .Units = units};
  steps.clear();
  EXPECT_THROW(PackageLoad(table), std::runtime_error);
  EXPECT_EQ(steps, (std::vector<std::string>{"A init", "A final"}));
}

}  // namespace
