// The component model and the namer in one process, on forms built in
// memory: the name index, the listing, Change in both modes, and the apply
// step of Edit. The floor: copying the N names into a string list.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "CFNamer.h"
#include "CFNamerEditor.h"
#include "CNamer.h"
#include "Designer.h"
#include "GeneratedForm.h"
#include "Inspector.h"
#include "Packages.h"
#include "RegistrationLog.h"
#include "ScriptedPresenter.h"
#include "Sizes.h"

namespace {

using Clock = std::chrono::steady_clock;

host::TComponent& Namer(const host::TForm& form) { return *form.Components().back(); }

std::vector<int> ComponentRows(const host::TStringList& listing) {
  std::vector<int> rows;
  for (int i = 0; i < listing.Count(); ++i)
    if (listing[i].find('\t') != std::string::npos) rows.push_back(i);
  return rows;
}

void FloorCopyNames(benchmark::State& state) {
  auto form = bench::GeneratedForm(bench::Components(state), bench::Classes(state));
  for (auto _ : state) {
    host::TStringList names;
    for (const host::TComponent* c : form->Components()) names.Add(c->GetName());
    benchmark::DoNotOptimize(names.Count());
  }
  bench::CountComponents(state, form->GetComponentCount());
}

void Listing(benchmark::State& state) {
  auto form = bench::GeneratedForm(bench::Components(state), bench::Classes(state));
  auto& namer = Namer(*form).As<cnamer::TComponentNamer>();
  for (auto _ : state) benchmark::DoNotOptimize(namer.GetFComponentList().Count());
  bench::CountComponents(state, form->GetComponentCount());
}

void FindComponent(benchmark::State& state) {
  auto form = bench::GeneratedForm(bench::Components(state), bench::Classes(state));
  std::vector<std::string> names;
  for (const host::TComponent* c : form->Components()) names.push_back(c->GetName());
  for (auto _ : state)
    for (const std::string& name : names) benchmark::DoNotOptimize(form->FindComponent(name));
  bench::CountComponents(state, form->GetComponentCount());
}

// Every component renamed, back and forth between two bases.
void SetName(benchmark::State& state) {
  auto form = bench::GeneratedForm(bench::Components(state), bench::Classes(state));
  int round = 0;
  for (auto _ : state) {
    const std::string base = ++round % 2 ? "A" : "C";
    int i = 0;
    for (host::TComponent* c : form->Components()) c->SetName(base + std::to_string(i++));
  }
  bench::CountComponents(state, form->GetComponentCount());
}

// The dialog of the package, built from its resource, holding the listing.
struct DialogOnForm {
  explicit DialogOnForm(const benchmark::State& state)
      : Form(bench::GeneratedForm(bench::Components(state), bench::Classes(state))) {
    host::RegisterModule(&Module);
    Dialog = host::TCustomForm::Create<cfnamer::TFCompon>(&host::Application());
    Dialog->TabList->Items().Assign(Namer(*Form).As<cnamer::TComponentNamer>().GetFComponentList());
    Dialog->NameVal->SetText("Renamed");
  }
  ~DialogOnForm() {
    Dialog.reset();
    host::UnregisterModule(&Module);
  }

  host::TLibModule Module{"bench", {{"TFCOMPON", cfnamer::FComponResource()}}};
  std::unique_ptr<host::TForm> Form;
  std::unique_ptr<cfnamer::TFCompon> Dialog;
};

// Block mode: the first header row selected, its block rewritten.
void ChangeBlock(benchmark::State& state) {
  DialogOnForm session(state);
  session.Dialog->TabList->SetSelected(0, true);
  const int block = bench::Components(state) / bench::Classes(state);
  for (auto _ : state) session.Dialog->btnChangeClick(nullptr);
  bench::CountComponents(state, block);
}

// Selection mode: every component row selected and rewritten.
void ChangeSelection(benchmark::State& state) {
  DialogOnForm session(state);
  const std::vector<int> rows = ComponentRows(session.Dialog->TabList->Items().Strings());
  for (int row : rows) session.Dialog->TabList->SetSelected(row, true);
  for (auto _ : state) session.Dialog->btnChangeClick(nullptr);
  bench::CountComponents(state, static_cast<int>(rows.size()));
}

// Plays the script, then notes when the dialog closed.
class TimedPresenter final : public host::IModalPresenter {
 public:
  TimedPresenter(std::vector<host::TUserAction> script, Clock::time_point& closed)
      : script_(std::move(script)), closed_(closed) {}
  host::TModalResult Present(host::TCustomForm& form) override {
    const host::TModalResult result = script_.Present(form);
    closed_ = Clock::now();
    return result;
  }

 private:
  host::TScriptedPresenter script_;
  Clock::time_point& closed_;
};

// The property editor's Edit renaming every component: timed from the
// dialog's OK to the designer's modified notification, which Edit sends
// once the names are applied.
void ApplyRenames(benchmark::State& state) {
  host::TLibModule module{"bench", {{"TFCOMPON", cfnamer::FComponResource()}}};
  host::RegisterModule(&module);
  host::TRegistrationLog registrations;
  {
    host::TRegistrationScope scope(registrations);
    cnamer::Register();
    cfnamer::Register();
  }
  {
    auto form = bench::GeneratedForm(bench::Components(state), bench::Classes(state));
    host::TComponent& namer = Namer(*form);
    host::TFormDesigner designer(*form);
    Clock::time_point closed, applied;
    designer.AddModifiedListener([&] { applied = Clock::now(); });
    const std::vector<int> rows =
        ComponentRows(namer.As<cnamer::TComponentNamer>().GetFComponentList());
    int round = 0;
    for (auto _ : state) {
      std::vector<host::TUserAction> script;
      for (int row : rows) script.emplace_back(host::TSelectRow{"TabList", row, true});
      script.emplace_back(host::TTypeText{"NameVal", ++round % 2 ? "A" : "B"});
      script.emplace_back(host::TClickControl{"btnChange"});
      script.emplace_back(host::TClickControl{"BitBtn1"});
      host::Application().SetModalPresenter(std::make_unique<TimedPresenter>(script, closed));
      host::EditProperty(designer, namer, "Componenter");
      state.SetIterationTime(std::chrono::duration<double>(applied - closed).count());
    }
    host::Application().SetModalPresenter(nullptr);
    bench::CountComponents(state, static_cast<int>(rows.size()));
  }
  registrations.Replay();
  host::UnregisterModule(&module);
}

BENCHMARK(FloorCopyNames)->Apply(bench::FormSizes);
BENCHMARK(Listing)->Apply(bench::FormSizes);
BENCHMARK(FindComponent)->Apply(bench::FormSizes);
BENCHMARK(SetName)->Apply(bench::FormSizes);
BENCHMARK(ChangeBlock)->Apply(bench::FormSizes);
BENCHMARK(ChangeSelection)->Apply(bench::FormSizes);
BENCHMARK(ApplyRenames)->Apply(bench::FormSizes)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
