// Unit SysInit, the module entry: the module stays registered with the host,
// holding its resources, while it is mapped.

#include "Ombrelux.h"
#include "Packages.h"

namespace {
const host::TModuleEntry entry(ombrelux::ModuleResources());
}  // namespace
