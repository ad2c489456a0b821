#pragma once
// Unit Ombrelux, the package's main unit: what the module entry registers.

#include <vector>

#include "Packages.h"

namespace ombrelux {

// "PACKAGEINFO", "PACKAGEOPTIONS" and "TFCOMPON"; their texts stay valid
// while the module is mapped.
std::vector<host::TResource> ModuleResources();

}  // namespace ombrelux
