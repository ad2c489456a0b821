#pragma once
// Checks a module's file before the dynamic loader maps it: the loader trusts
// the file's headers, so a file cut short (a copy still in progress) or built
// for another machine would kill the process when its pages are touched.

#include <optional>
#include <string>

namespace host {

// Why the file at `path` is not a complete shared object of the kind this
// process loads (class, byte order, machine, type, and every program header
// and loadable segment inside the file); nothing when it is one.
std::optional<std::string> SharedObjectFault(const std::string& path);

}  // namespace host
