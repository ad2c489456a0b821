// Renaming every component of a form one by one, and building the namer's
// listing, must stay linear in the number of components.
#include <benchmark/benchmark.h>

#include <string>

#include "CNamer.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace {

void RenameEveryComponent(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  host::TForm form(nullptr);
  for (int i = 0; i < n; ++i) (new host::TButton(&form))->SetName("Button" + std::to_string(i + 1));
  int round = 0;
  for (auto _ : state) {
    const std::string base = (++round % 2) ? "Btn" : "Button";
    for (int i = 0; i < n; ++i) form.GetComponent(i)->SetName(base + std::to_string(i + 1));
  }
  state.SetComplexityN(n);
}
BENCHMARK(RenameEveryComponent)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity(benchmark::oN);

void BuildListing(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  host::TForm form(nullptr);
  for (int i = 0; i < n; ++i) {
    host::TComponent* c =
        i % 2 ? static_cast<host::TComponent*>(new host::TButton(&form)) : new host::TEdit(&form);
    c->SetName("C" + std::to_string(i));
  }
  auto* namer = new CNamer::TComponentNamer(&form);
  for (auto _ : state) benchmark::DoNotOptimize(namer->GetFComponentList().Count());
  state.SetComplexityN(n);
}
BENCHMARK(BuildListing)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
