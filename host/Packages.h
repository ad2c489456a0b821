#pragma once
// Modules and packages: the module table (the modules the host knows, through
// which it finds resources by name), the module entry every package holds, the
// package description a package exports, and the loader that loads packages
// into the designer and unloads them again.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SysUtils.h"

// Marks what a package module exports: its entry points, and the classes
// whose type information other modules need to catch its errors and test its
// objects.
#define PACKAGE_EXPORT __attribute__((visibility("default")))

namespace host {

// ---- the module table ----

// Raised when a module or package cannot be loaded or unloaded; the message
// names the file and what is wrong.
class EPackageError : public Exception {
 public:
  using Exception::Exception;
};

struct TResource {
  std::string Name;
  std::string_view Data;
};

struct TLibModule {
  std::string FileName;
  std::vector<TResource> Resources;
  // Why the module entry could not set the module up (empty when it could);
  // the loader refuses a package whose entry failed.
  std::string EntryError{};
};

void RegisterModule(TLibModule* module);
void UnregisterModule(TLibModule* module);
// The registered modules, in registration order.
const std::vector<TLibModule*>& LibModules();

// The resource of that name (compared without regard to case) in the most
// recently registered module that holds one.
std::optional<std::string_view> FindResource(std::string_view name);

// ---- resource modules and the module entry ----

// Resources kept beside a module that replace the module's own (a translated
// dialog, say): the files of the folder "<module file>.res", each one
// resource named after its file.
struct TResourceModule {
  std::string Folder;
  std::map<std::string, std::string> Texts;  // by resource name

  // Views of the texts, valid while this object lives.
  std::vector<TResource> Resources() const;
};

// The resource module of the module at `modulePath`; nullptr when there is
// none. Raises EPackageError when the folder exists but cannot be read.
std::unique_ptr<TResourceModule> LoadResourceModule(const std::string& modulePath);

// A module's entry: a static object of the module, constructed when the
// module is mapped and destroyed when it is unmapped. It finds the module's
// file from its own address, takes its resources from the resource module
// beside that file (the module's own `resources` when there is none), and
// keeps the module registered with the host while the module is mapped.
class TModuleEntry {
 public:
  explicit TModuleEntry(std::vector<TResource> resources);
  ~TModuleEntry();
  TModuleEntry(const TModuleEntry&) = delete;
  TModuleEntry& operator=(const TModuleEntry&) = delete;

  const TLibModule& Module() const { return module_; }

 private:
  std::unique_ptr<TResourceModule> resourceModule_;
  TLibModule module_;
};

// ---- the package description ----

inline constexpr std::uint32_t PackageInfoVersion = 1;

enum TPackageFlag : std::uint32_t {
  pfDesignOnly = 1,  // loaded by the designer only
  pfRunOnly = 2,     // never loaded by the designer
};

// One entry of a package's unit table: what the unit does when the package
// is initialized and finalized (nullptr: nothing).
struct TUnitEntry {
  std::string_view Name;
  void (*Initialization)() = nullptr;
  void (*Finalization)() = nullptr;
};

struct TContainedUnit {
  std::string_view Name;
  bool MainUnit = false;
};

// What GetPackageInfoTable returns: static data of the package, valid while
// it is loaded. Units lists every unit the package uses, each after the units
// it uses.
struct TPackageInfoTable {
  std::uint32_t Version = PackageInfoVersion;
  std::string_view Name;
  std::uint32_t Flags = 0;
  std::span<const std::string_view> Requires{};
  std::span<const TContainedUnit> Contains{};
  std::span<const TUnitEntry> Units{};
};

// Run a package's unit initializations in table order, and finalizations in
// reverse. When an initialization fails, the units initialized before it are
// finalized and the error goes on; a failing finalization does not stop the
// others, and the first error goes on when they have run.
void PackageLoad(const TPackageInfoTable& table);
void PackageUnload(const TPackageInfoTable& table);

// The description as the text of the package's "PACKAGEINFO" resource.
std::string PackageInfoText(const TPackageInfoTable& table);

// ---- the package loader ----

// A loaded package as the loader describes it.
struct TPackage {
  std::string Name;
  std::string FileName;
  std::vector<std::string> Requires;
  std::vector<std::string> Units;  // contained units, in their order
  const TLibModule* Module = nullptr;
};

// Packages that are present without being loaded by the loader: the host
// library provides "vcl30" and "VCLSMP30"; another library declares its own
// package while it is mapped (the list-box library, "TabListPkg").
void RegisterProvidedPackage(std::string_view name);
void UnregisterProvidedPackage(std::string_view name);
// Keeps a package provided while it lives: a static object of the library
// that provides it.
class TProvidedPackage {
 public:
  explicit TProvidedPackage(std::string name) : name_(std::move(name)) {
    RegisterProvidedPackage(name_);
  }
  ~TProvidedPackage() { UnregisterProvidedPackage(name_); }
  TProvidedPackage(const TProvidedPackage&) = delete;
  TProvidedPackage& operator=(const TProvidedPackage&) = delete;

 private:
  std::string name_;
};
// Whether a package of that name (compared without regard to case) is
// provided or loaded.
bool PackagePresent(std::string_view name);

// Opens the package's shared object, checks its description, runs its
// Initialize and then the registration procedure ("<Unit>.Register") of each
// contained unit that has one, in contained-unit order, logging what they
// register. A failure raises EPackageError and leaves nothing of the package
// registered or loaded.
const TPackage& LoadPackage(const std::string& path);
// Runs the package's Finalize, undoes what it registered and closes
// its shared object. Refused while another loaded package requires it.
void UnloadPackage(const TPackage& package);
// The loaded packages, in load order.
std::vector<const TPackage*> LoadedPackages();

}  // namespace host
