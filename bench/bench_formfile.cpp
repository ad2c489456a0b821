// Reading and writing a form file, in MB/s of its text, and destroying the
// form read: the one benchmark that calls the reader and the writer.
// Floors: reading the file's bytes and splitting them into lines; saving the
// bytes the way every form is saved (temporary file, sync, rename).
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CNamer.h"
#include "FormFile.h"
#include "FormText.h"
#include "GeneratedForm.h"
#include "SafeFile.h"
#include "Sizes.h"

namespace {

constexpr std::size_t kMaxFileSize = std::size_t{1} << 30;

// A generated form file in the temporary folder, removed afterwards; named
// after the process so that two runs at once do not share it.
struct FormOnDisk {
  explicit FormOnDisk(const benchmark::State& state)
      : Path((std::filesystem::temp_directory_path() /
              ("bench-" + std::to_string(::getpid()) + "-" +
               std::to_string(bench::Components(state)) + "-" +
               std::to_string(bench::Classes(state)) + ".form"))
                 .string()),
        Text(bench::GeneratedFormText(bench::Components(state), bench::Classes(state))) {
    host::SaveFileAtomically(Path, Text);
  }
  ~FormOnDisk() { std::filesystem::remove(Path); }

  void Count(benchmark::State& state) const {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Text.size()));
    state.counters["bytes"] = static_cast<double>(Text.size());
    bench::CountComponents(state, bench::Components(state));
  }

  std::string Path;
  std::string Text;
};

void FloorReadLines(benchmark::State& state) {
  FormOnDisk file(state);
  for (auto _ : state) {
    const std::string bytes = host::ReadWholeFile(file.Path, kMaxFileSize);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0, end; start < bytes.size(); start = end + 1) {
      end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      lines.emplace_back(bytes.data() + start, end - start);
    }
    benchmark::DoNotOptimize(lines.data());
  }
  file.Count(state);
}

// The text into its tree.
void ReadText(benchmark::State& state) {
  FormOnDisk file(state);
  for (auto _ : state) benchmark::DoNotOptimize(host::ReadFormFile(file.Path));
  file.Count(state);
}

// The text into live components, as the designer opens a form.
void ReadForm(benchmark::State& state) {
  FormOnDisk file(state);
  for (auto _ : state) benchmark::DoNotOptimize(designer::ReadForm(file.Path));
  file.Count(state);
}

// Destroying an opened form, as the designer does before it exits.
void DestroyForm(benchmark::State& state) {
  FormOnDisk file(state);
  for (auto _ : state) {
    std::optional<designer::OpenForm> form = designer::ReadForm(file.Path);
    const auto start = std::chrono::steady_clock::now();
    form.reset();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  file.Count(state);
}

void FloorWriteBytes(benchmark::State& state) {
  FormOnDisk file(state);
  for (auto _ : state) host::SaveFileAtomically(file.Path, file.Text);
  file.Count(state);
}

// The floor of writing a text: copying its bytes into a new string.
void FloorCopyBytes(benchmark::State& state) {
  FormOnDisk file(state);
  for (auto _ : state) {
    std::string copy = file.Text;
    benchmark::DoNotOptimize(copy.data());
  }
  file.Count(state);
}

// The tree read, unchanged, back into its text in memory: the lossless
// writer's own cost, which a save adds to the file system's.
void WriteText(benchmark::State& state) {
  FormOnDisk file(state);
  const host::FormDocument document = host::ReadFormFile(file.Path);
  for (auto _ : state) {
    std::string text = host::RewriteFormText(document.Root, *document.Text, document.Style);
    benchmark::DoNotOptimize(text.data());
  }
  file.Count(state);
}

// Live components back into text, saved, as the designer saves a form.
void WriteForm(benchmark::State& state) {
  FormOnDisk file(state);
  designer::OpenForm form = designer::ReadForm(file.Path);
  for (auto _ : state) {
    designer::WriteForm(form, file.Path);
    // The next save checks the file this one wrote, as the window does.
    state.PauseTiming();
    form.Lock = host::FileLock(file.Path);
    state.ResumeTiming();
  }
  file.Count(state);
}

BENCHMARK(FloorReadLines)->Apply(bench::FormSizes);
BENCHMARK(ReadText)->Apply(bench::FormSizes);
BENCHMARK(ReadForm)->Apply(bench::FormSizes);
BENCHMARK(DestroyForm)->Apply(bench::FormSizes)->UseManualTime();
BENCHMARK(FloorWriteBytes)->Apply(bench::FormSizes);
BENCHMARK(FloorCopyBytes)->Apply(bench::FormSizes);
BENCHMARK(WriteText)->Apply(bench::FormSizes);
BENCHMARK(WriteForm)->Apply(bench::FormSizes);

}  // namespace

// The namer's class is known, as when the designer has loaded the package.
int main(int argc, char** argv) {
  cnamer::Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
