#include "LoadedPackages.h"

#include <filesystem>

#include "Errors.h"

namespace designer {

namespace {
constexpr const char* kPackageFile = "libOmbrelux.so";
}

std::string BesideDesigner(const std::string& fileName) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error)
    throw host::Exception(
        host::Format("cannot find the designer's own folder: %s", {error.message()}));
  return (self.parent_path() / fileName).string();
}

std::string DefaultPackagePath() { return BesideDesigner(kPackageFile); }

LoadedPackages::LoadedPackages(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    try {
      packages_.push_back(&host::LoadPackage(path));
    } catch (const host::Exception&) {
      Unload();
      throw;  // the loader's message names the file
    }
  }
}

LoadedPackages::~LoadedPackages() {
  while (!packages_.empty()) {
    try {
      host::UnloadPackage(*packages_.back());
    } catch (const host::Exception&) {
      // Already failing: the first error is the one to report.
    }
    packages_.pop_back();
  }
}

bool LoadedPackages::Unload() {
  bool ok = true;
  while (!packages_.empty()) {
    const host::TPackage* package = packages_.back();
    packages_.pop_back();
    try {
      host::UnloadPackage(*package);  // frees *package, also when it fails
    } catch (const host::Exception& e) {
      Report(e.Message());  // names the package and its file
      ok = false;
    }
  }
  return ok;
}

}  // namespace designer
