// Loading and unloading the package module through the host's loader,
// against the floor of opening and closing the same shared object.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <stdexcept>

#include "Packages.h"
#include "Sizes.h"

namespace {

void FloorDlopen(benchmark::State& state) {
  for (auto _ : state) {
    void* handle = ::dlopen(PACKAGE, RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw std::runtime_error(::dlerror());
    ::dlclose(handle);
  }
}

void PackageLoadUnload(benchmark::State& state) {
  for (auto _ : state) host::UnloadPackage(host::LoadPackage(PACKAGE));
}

BENCHMARK(FloorDlopen)->Unit(benchmark::kMicrosecond)->Apply(bench::LeastOfRepetitions);
BENCHMARK(PackageLoadUnload)->Unit(benchmark::kMicrosecond)->Apply(bench::LeastOfRepetitions);

}  // namespace

BENCHMARK_MAIN();
