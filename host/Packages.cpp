#include "Packages.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "CommaText.h"
#include "RegistrationLog.h"
#include "SharedObjectFile.h"

namespace host {

namespace {
std::vector<TLibModule*>& Modules() {
  static std::vector<TLibModule*> modules;
  return modules;
}
}  // namespace

// ---- the module table ----

void RegisterModule(TLibModule* module) { Modules().push_back(module); }

void UnregisterModule(TLibModule* module) { std::erase(Modules(), module); }

const std::vector<TLibModule*>& LibModules() { return Modules(); }

std::optional<std::string_view> FindResource(std::string_view name) {
  const auto& modules = Modules();
  for (auto m = modules.rbegin(); m != modules.rend(); ++m)
    for (const TResource& r : (*m)->Resources)
      if (SameText(r.Name, name)) return r.Data;
  return std::nullopt;
}

// ---- resource modules and the module entry ----

std::vector<TResource> TResourceModule::Resources() const {
  std::vector<TResource> resources;
  for (const auto& [name, text] : Texts) resources.push_back({name, text});
  return resources;
}

std::unique_ptr<TResourceModule> LoadResourceModule(const std::string& modulePath) {
  namespace fs = std::filesystem;
  if (modulePath.empty()) return nullptr;
  fs::path folder = modulePath + ".res";
  std::error_code error;
  if (!fs::exists(folder, error)) return nullptr;
  auto fail = [&](const fs::path& where, const std::string& what) -> EPackageError {
    return EPackageError(Format("Resource module %s: %s", {where.string(), what}));
  };
  if (!fs::is_directory(folder, error)) throw fail(folder, "not a folder");
  auto module = std::make_unique<TResourceModule>(TResourceModule{folder.string(), {}});
  fs::directory_iterator files(folder, error);
  if (error) throw fail(folder, error.message());
  for (const fs::directory_entry& file : files) {
    if (!file.is_regular_file(error)) continue;
    std::ifstream in(file.path(), std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in.good() && !in.eof()) throw fail(file.path(), "cannot be read");
    module->Texts[file.path().filename().string()] = std::move(text);
  }
  return module;
}

TModuleEntry::TModuleEntry(std::vector<TResource> resources) {
  // The entry is a static object of its module, so its own address tells
  // which file the module was loaded from, however long that path is.
  Dl_info info{};
  if (dladdr(this, &info) != 0 && info.dli_fname) module_.FileName = info.dli_fname;
  // Running while the module is mapped, the entry cannot raise; the loader
  // reports what went wrong.
  try {
    resourceModule_ = LoadResourceModule(module_.FileName);
  } catch (const Exception& e) {
    module_.EntryError = e.Message();
  }
  module_.Resources = resourceModule_ ? resourceModule_->Resources() : std::move(resources);
  RegisterModule(&module_);
}

TModuleEntry::~TModuleEntry() { UnregisterModule(&module_); }

// ---- the package description ----

namespace {
// Runs the finalizations of `units` in reverse; the first error, if any.
std::exception_ptr FinalizeUnits(std::span<const TUnitEntry> units) {
  std::exception_ptr first;
  for (auto u = units.rbegin(); u != units.rend(); ++u) {
    if (!u->Finalization) continue;
    try {
      u->Finalization();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  return first;
}
}  // namespace

void PackageLoad(const TPackageInfoTable& table) {
  std::size_t done = 0;
  try {
    for (; done < table.Units.size(); ++done)
      if (auto initialization = table.Units[done].Initialization) initialization();
  } catch (...) {
    // The failed initialization is the error to report; one from undoing the
    // units before it would only hide it.
    FinalizeUnits(table.Units.first(done));
    throw;
  }
}

void PackageUnload(const TPackageInfoTable& table) {
  if (std::exception_ptr error = FinalizeUnits(table.Units)) std::rethrow_exception(error);
}

std::string PackageInfoText(const TPackageInfoTable& table) {
  std::vector<std::string> flags, required, contained;
  if (table.Flags & pfDesignOnly) flags.emplace_back("DesignOnly");
  if (table.Flags & pfRunOnly) flags.emplace_back("RunOnly");
  for (std::string_view r : table.Requires) required.emplace_back(r);
  for (const TContainedUnit& u : table.Contains)
    contained.push_back(std::string(u.Name) + (u.MainUnit ? " (main unit)" : ""));
  return Format(
      "Name = %s\nFlags = %s\nRequires = %s\nContains = %s\n",
      {std::string(table.Name), CommaText(flags), CommaText(required), CommaText(contained)});
}

// ---- the package loader ----

namespace {

std::vector<std::string>& ProvidedPackages() {
  static std::vector<std::string> names{"vcl30", "VCLSMP30"};
  return names;
}

// A package's shared object while it is open. Closing it runs the module's
// exit, which unregisters the module; a module still registered afterwards is
// taken out here, since its memory may be gone.
class OpenLibrary {
 public:
  explicit OpenLibrary(void* handle) : handle_(handle) {}
  OpenLibrary(const OpenLibrary&) = delete;
  OpenLibrary& operator=(const OpenLibrary&) = delete;
  ~OpenLibrary() { Close(); }

  void* Handle() const { return handle_; }
  const TLibModule* Module() const { return module_; }
  void SetModule(TLibModule* module) { module_ = module; }

  template <class F>
  F* Entry(const std::string& name) const {
    return reinterpret_cast<F*>(dlsym(handle_, name.c_str()));
  }

  // Whether the module's exit took its module out of the table.
  bool Close() {
    if (!handle_) return true;
    dlclose(std::exchange(handle_, nullptr));
    if (!module_ || std::ranges::find(Modules(), module_) == Modules().end()) return true;
    UnregisterModule(module_);
    return false;
  }

 private:
  void* handle_;
  TLibModule* module_ = nullptr;
};

struct LoadedPackage {
  TPackage Package;
  void (*Finalize)();
  TRegistrationLog Registrations;  // undone before the library closes
  std::unique_ptr<OpenLibrary> Library;
};

std::vector<std::unique_ptr<LoadedPackage>>& Loaded() {
  static std::vector<std::unique_ptr<LoadedPackage>> loaded;
  return loaded;
}

// The module whose entry lives in the shared object of `handle`.
TLibModule* ModuleOf(void* handle) {
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
  for (TLibModule* module : Modules()) {
    Dl_info info{};
    link_map* owner = nullptr;
    if (dladdr1(module, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) != 0 &&
        owner == map)
      return module;
  }
  return nullptr;
}

EPackageError CannotLoad(const std::string& path, const std::string& what) {
  return EPackageError(Format("Cannot load package %s: %s", {path, what}));
}

// Runs one of a package's procedures. Only the message leaves: an error
// object of the package's own class must not outlive its shared object.
std::optional<std::string> FailureOf(const std::string& step, void (*procedure)()) {
  try {
    procedure();
  } catch (const std::exception& e) {
    return Format("%s failed: %s", {step, std::string(e.what())});
  } catch (...) {
    return Format("%s failed", {step});
  }
  return std::nullopt;
}

// Maps the shared object at `path`, which is a path, never a name for the
// dynamic loader to search for.
std::unique_ptr<OpenLibrary> MapLibrary(const std::string& path) {
  std::error_code noFolder;
  std::string file = std::filesystem::absolute(path, noFolder).string();
  if (noFolder) file = path;
  if (std::optional<std::string> fault = SharedObjectFault(file)) throw CannotLoad(path, *fault);
  dlerror();
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* error = dlerror();
    // The loader's message starts with the file, which ours already names.
    std::string_view reason = error ? error : "cannot open the file";
    if (reason.starts_with(file + ": ")) reason.remove_prefix(file.size() + 2);
    throw CannotLoad(path, std::string(reason));
  }
  for (const auto& p : Loaded())
    if (p->Library->Handle() == handle) {
      dlclose(handle);  // only the count that this call added
      throw CannotLoad(path, Format("it is already loaded as package %s", {p->Package.Name}));
    }
  auto library = std::make_unique<OpenLibrary>(handle);
  library->SetModule(ModuleOf(handle));
  return library;
}

// A package mapped and checked, not yet started.
struct OpenedPackage {
  std::unique_ptr<OpenLibrary> Library;
  TPackage Package;
  void (*Initialize)();
  void (*Finalize)();
  // The "<Unit>.Register" procedures of the contained units, in their order.
  std::vector<std::pair<std::string, void (*)()>> Registrations;
};

// The package's description, when it is one this loader reads.
const TPackageInfoTable& DescriptionOf(const OpenLibrary& library, const std::string& path) {
  auto* getInfo = library.Entry<const TPackageInfoTable*()>("GetPackageInfoTable");
  if (!getInfo) throw CannotLoad(path, "not a package: it exports no GetPackageInfoTable");
  const TPackageInfoTable* table = getInfo();
  if (!table || table->Version != PackageInfoVersion)
    throw CannotLoad(path, "its package description is of an unknown version");
  return *table;
}

// Refuses a package the designer does not load, or one whose name is taken
// or whose required packages are missing.
void CheckLoadable(const TPackageInfoTable& table, const std::string& path) {
  if (table.Flags & pfRunOnly)
    throw CannotLoad(path, "it is a run-only package, which the designer does not load");
  std::string name(table.Name);
  if (PackagePresent(name))
    throw CannotLoad(path, Format("a package named %s is already loaded", {name}));
  for (std::string_view required : table.Requires)
    if (!PackagePresent(required))
      throw CannotLoad(
          path, Format("it requires package %s, which is not loaded", {std::string(required)}));
}

// Maps the package and checks its description, module entry and entry points.
OpenedPackage OpenPackage(const std::string& path) {
  OpenedPackage opened{MapLibrary(path), {}, nullptr, nullptr, {}};
  const OpenLibrary& library = *opened.Library;
  const TPackageInfoTable& table = DescriptionOf(library, path);
  const TLibModule* module = library.Module();
  if (!module) throw CannotLoad(path, "its module entry registered no module");
  if (!module->EntryError.empty()) throw CannotLoad(path, module->EntryError);
  opened.Initialize = library.Entry<void()>("Initialize");
  opened.Finalize = library.Entry<void()>("Finalize");
  if (!opened.Initialize || !opened.Finalize)
    throw CannotLoad(path, Format("missing entry point %s",
                                  {std::string(opened.Initialize ? "Finalize" : "Initialize")}));
  CheckLoadable(table, path);
  opened.Package = {
      std::string(table.Name), path, {table.Requires.begin(), table.Requires.end()}, {}, module};
  for (const TContainedUnit& unit : table.Contains) {
    std::string symbol = opened.Package.Units.emplace_back(unit.Name) + ".Register";
    if (auto* procedure = library.Entry<void()>(symbol))
      opened.Registrations.emplace_back(symbol, procedure);
  }
  return opened;
}

// Runs Initialize and then the registration procedures, logging what they
// register. A failure undoes the registrations, finalizes a package that was
// initialized, and raises.
TRegistrationLog StartPackage(const OpenedPackage& opened, const std::string& path) {
  TRegistrationLog log;
  std::optional<std::string> failure;
  bool initialized = false;
  {
    TRegistrationScope scope(log);
    failure = FailureOf("Initialize", opened.Initialize);
    initialized = !failure;
    for (const auto& [symbol, procedure] : opened.Registrations)
      if (!failure) failure = FailureOf(symbol, procedure);
  }
  if (!failure) return log;
  log.Replay();
  // The failed step is the error to report, not one from finalizing.
  if (initialized) FailureOf("Finalize", opened.Finalize);
  throw CannotLoad(path, *failure);
}

}  // namespace

void RegisterProvidedPackage(std::string_view name) { ProvidedPackages().emplace_back(name); }

void UnregisterProvidedPackage(std::string_view name) {
  auto& names = ProvidedPackages();
  auto it = std::ranges::find(names, name);
  if (it != names.end()) names.erase(it);
}

bool PackagePresent(std::string_view name) {
  auto same = [&](std::string_view other) { return SameText(other, name); };
  return std::ranges::any_of(ProvidedPackages(), same) ||
         std::ranges::any_of(Loaded(), [&](const auto& p) { return same(p->Package.Name); });
}

const TPackage& LoadPackage(const std::string& path) {
  OpenedPackage opened = OpenPackage(path);
  TRegistrationLog registrations = StartPackage(opened, path);
  Loaded().push_back(std::make_unique<LoadedPackage>(
      LoadedPackage{std::move(opened.Package), opened.Finalize, std::move(registrations),
                    std::move(opened.Library)}));
  return Loaded().back()->Package;
}

void UnloadPackage(const TPackage& package) {
  auto& loaded = Loaded();
  auto it = std::ranges::find_if(loaded, [&](const auto& p) { return &p->Package == &package; });
  if (it == loaded.end()) throw EPackageError("Cannot unload a package that is not loaded");
  auto fail = [&](const std::string& what) {
    return EPackageError(
        Format("Cannot unload package %s (%s): %s", {package.Name, package.FileName, what}));
  };
  for (const auto& other : loaded)
    if (std::ranges::any_of(other->Package.Requires,
                            [&](const std::string& r) { return SameText(r, package.Name); }))
      throw fail(Format("package %s requires it", {other->Package.Name}));

  std::unique_ptr<LoadedPackage> unloading = std::move(*it);
  loaded.erase(it);
  std::optional<std::string> failure = FailureOf("Finalize", unloading->Finalize);
  unloading->Registrations.Replay();
  bool clean = unloading->Library->Close();
  if (failure) throw fail(*failure);
  if (!clean) throw fail("its module stayed registered after its shared object was closed");
}

std::vector<const TPackage*> LoadedPackages() {
  std::vector<const TPackage*> packages;
  for (const auto& p : Loaded()) packages.push_back(&p->Package);
  return packages;
}

}  // namespace host
