#pragma once
// What the package tests share: the state of the host's registries to compare
// before and after a load, and scratch folders for copies of package modules.

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "Classes.h"
#include "Packages.h"

namespace packagetests {

// The palette by names, and how many modules and packages the host holds.
struct HostState {
  std::vector<std::pair<std::string, std::vector<std::string>>> palette;
  std::size_t modules = 0;
  std::size_t packages = 0;

  static HostState Now() {
    HostState state{{}, host::LibModules().size(), host::LoadedPackages().size()};
    for (const host::TPalettePage& page : host::Palette()) {
      std::vector<std::string> classes;
      for (host::TClass c : page.Classes) classes.push_back(c->Name);
      state.palette.emplace_back(page.Name, std::move(classes));
    }
    return state;
  }
  bool operator==(const HostState&) const = default;
};

// Whether the shared object at `path` is mapped in the process.
inline bool Mapped(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

// The message of the EPackageError that loading `path` raises; empty when
// the load succeeds (the package is then unloaded again).
inline std::string LoadError(const std::string& path) {
  try {
    host::UnloadPackage(host::LoadPackage(path));
  } catch (const host::EPackageError& e) {
    return e.Message();
  }
  return {};
}

// A folder of its own under the system's temporary folder, removed with
// everything in it at the end of the test.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : root_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return root_; }

  // Copies the file at `source` into `folder` (under the scratch folder,
  // created as needed), keeping its name; the copy's path.
  std::string CopyInto(const std::filesystem::path& folder, const std::string& source) const {
    std::filesystem::path target = root_ / folder;
    std::filesystem::create_directories(target);
    target /= std::filesystem::path(source).filename();
    std::filesystem::copy_file(source, target);
    return target.string();
  }

 private:
  std::filesystem::path root_;
};

}  // namespace packagetests
