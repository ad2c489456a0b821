// The designer as a whole process, the way a person runs it, on a generated
// form of 10,000 components of five classes: listing it, renaming one type's
// block, and renaming every component through a script selecting each row.
// Real time, since the work happens in the child process.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "Run.h"

namespace {

constexpr int kComponents = 10000;
constexpr const char* kClasses[] = {"TButton", "TEdit", "TLabel", "TPanel", "TCheckBox"};
constexpr int kClassCount = std::size(kClasses);

std::string GeneratedForm() {
  std::string text = "object BigForm: TBigForm\n  Caption = 'Generated'\n";
  for (int i = 0; i < kComponents; ++i) {
    std::string className = kClasses[i % kClassCount];
    text += "  object " + className.substr(1) + std::to_string(i / kClassCount + 1) + ": " +
            className + "\n    Left = " + std::to_string(i % 600) +
            "\n    Top = " + std::to_string(i / 600 * 24) + "\n  end\n";
  }
  return text + "  object ComponentNamer1: TComponentNamer\n  end\nend\n";
}

// Selects every component row of the listing (each class's block, then the
// namer's) and renames them all with `base`.
std::string RenameEverythingScript(const std::string& base) {
  std::string select = "select";
  int row = 0;
  for (int c = 0; c < kClassCount; ++c) {
    ++row;  // the header
    for (int i = 0; i < kComponents / kClassCount; ++i) select += " " + std::to_string(row++);
  }
  select += " " + std::to_string(row + 1);  // the namer, under its own header
  return select + "\nbase " + base + "\nstart 1\nchange\nok\n";
}

void Check(const designer_test::Outcome& outcome) {
  if (outcome.Status != 0) throw std::runtime_error("designer failed: " + outcome.Err);
}

class DesignerFixture : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override { form = ws.Write("big.form", GeneratedForm()); }

  designer_test::Workspace ws;
  std::string form;
};

BENCHMARK_DEFINE_F(DesignerFixture, List)(benchmark::State& state) {
  for (auto _ : state) Check(ws.Run({"list", form}));
}

BENCHMARK_DEFINE_F(DesignerFixture, RenameBlock)(benchmark::State& state) {
  int round = 0;
  for (auto _ : state)
    Check(ws.Run({"rename", form, "--type", "TButton", "--base", ++round % 2 ? "Btn" : "Button"}));
}

BENCHMARK_DEFINE_F(DesignerFixture, RenameEverything)(benchmark::State& state) {
  const std::string scripts[] = {ws.Write("a.script", RenameEverythingScript("A")),
                                 ws.Write("b.script", RenameEverythingScript("B"))};
  int round = 0;
  for (auto _ : state) Check(ws.Run({"rename", form, "--script", scripts[++round % 2]}));
}

BENCHMARK_REGISTER_F(DesignerFixture, List)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(DesignerFixture, RenameBlock)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(DesignerFixture, RenameEverything)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
