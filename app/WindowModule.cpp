#include "WindowModule.h"

#include <dlfcn.h>

#include "Errors.h"
#include "LoadedPackages.h"
#include "SysUtils.h"

namespace designer {

namespace {

using Entry = int (*)(const char* path);

// The window module's entry; the module stays loaded for the rest of the
// run, as the toolkit it brings expects to live until the process ends.
Entry WindowEntry(const char* name) {
  const std::string path = BesideDesigner(kWindowModuleFile);
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module)
    throw host::Exception(host::Format("cannot open the window module: %s", {dlerror()}));
  auto entry = reinterpret_cast<Entry>(dlsym(module, name));
  if (!entry) throw host::Exception(host::Format("%s has no entry %s", {path, name}));
  return entry;
}

int RunInWindow(const char* entry, const char* path) {
  Entry run = nullptr;
  try {
    run = WindowEntry(entry);
  } catch (const std::exception& e) {
    Report(e.what());
    return 1;
  }
  return run(path);
}

}  // namespace

int EditInWindow(const std::string& path) { return RunInWindow(kEditEntry, path.c_str()); }

int OpenDesignerWindow(const std::optional<std::string>& path) {
  return RunInWindow(kGuiEntry, path ? path->c_str() : nullptr);
}

}  // namespace designer
