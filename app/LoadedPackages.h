#pragma once
// The packages the designer runs with, loaded through the host's loader for
// the program's whole run.

#include <string>
#include <vector>

#include "Packages.h"

namespace designer {

// The path of `fileName` in the designer's own folder, where the package and
// the window module are built.
std::string BesideDesigner(const std::string& fileName);

// The package module beside the designer's own executable.
std::string DefaultPackagePath();

class LoadedPackages {
 public:
  // Loads each package in order; when one fails, unloads those loaded before
  // it and raises the loader's error, which names the failing file.
  explicit LoadedPackages(const std::vector<std::string>& paths);
  // Unloads whatever Unload has not, quietly: this runs only when an error
  // is already on its way out.
  ~LoadedPackages();
  LoadedPackages(const LoadedPackages&) = delete;
  LoadedPackages& operator=(const LoadedPackages&) = delete;

  // Unloads in reverse order; reports each failure and returns whether all
  // went well.
  bool Unload();

 private:
  std::vector<const host::TPackage*> packages_;
};

}  // namespace designer
