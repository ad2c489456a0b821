// Unit Ombrelux: the package description, the module's resources and the
// entry points the host calls by name.

#include "Ombrelux.h"

#include <string>
#include <string_view>

#include "CFNamer.h"
#include "CFNamerEditor.h"
#include "CNamer.h"
#include "PackageOptions.h"

namespace ombrelux {

namespace {

constexpr std::string_view Requires[] = {"VCLSMP30", "TabListPkg", "vcl30"};

constexpr host::TContainedUnit Contains[] = {
    {"Ombrelux", true}, {"CFNamer"}, {"SysInit"}, {"CNamer"}};

// Every unit the module uses, each after the units it uses. The host's units
// and the list box's are set up by their own libraries before any package
// loads; CNamer and CFNamer have entries of their own, which other modules
// can name, though they have nothing to do.
constexpr host::TUnitEntry Units[] = {{"FormTree"},
                                      {"SysUtils"},
                                      {"System"},
                                      {"TypInfo"},
                                      {"Classes"},
                                      {"Packages"},
                                      {"SysInit"},
                                      {"Controls"},
                                      {"Forms"},
                                      {"StdCtrls"},
                                      {"Buttons"},
                                      {"Spin"},
                                      {"TabListBox"},
                                      {"Designer"},
                                      {"DsgnIntf"},
                                      {"CNamer", cnamer::Initialization, cnamer::Finalization},
                                      {"CFNamer", cfnamer::Initialization, cfnamer::Finalization}};

constexpr host::TPackageInfoTable Info{.Name = "Ombrelux",
                                       .Flags = host::pfDesignOnly,
                                       .Requires = Requires,
                                       .Contains = Contains,
                                       .Units = Units};

}  // namespace

std::vector<host::TResource> ModuleResources() {
  static const std::string packageInfo = host::PackageInfoText(Info);
  return {{"PACKAGEINFO", packageInfo},
          {"PACKAGEOPTIONS", PackageOptions},
          {"TFCOMPON", cfnamer::FComponResource()}};
}

}  // namespace ombrelux

extern "C" {

PACKAGE_EXPORT const host::TPackageInfoTable* GetPackageInfoTable() { return &ombrelux::Info; }

PACKAGE_EXPORT void Initialize() { host::PackageLoad(ombrelux::Info); }

PACKAGE_EXPORT void Finalize() { host::PackageUnload(ombrelux::Info); }

// The same three entries under the main unit's qualified names.
PACKAGE_EXPORT void OmbreluxPackageLoad() __asm__("Ombrelux.PackageLoad")
    __attribute__((alias("Initialize")));
PACKAGE_EXPORT void OmbreluxPackageUnload() __asm__("Ombrelux.PackageUnload")
    __attribute__((alias("Finalize")));
PACKAGE_EXPORT const host::TPackageInfoTable* OmbreluxGetPackageInfoTable() __asm__(
    "Ombrelux.GetPackageInfoTable") __attribute__((alias("GetPackageInfoTable")));

// The units' registration procedures, under the names the host looks up.
PACKAGE_EXPORT void CNamerRegister() __asm__("CNamer.Register");
void CNamerRegister() { cnamer::Register(); }

PACKAGE_EXPORT void CFNamerRegister() __asm__("CFNamer.Register");
void CFNamerRegister() { cfnamer::Register(); }

}  // extern "C"
