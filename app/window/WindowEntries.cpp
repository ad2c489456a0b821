// The window module's entry points, which the designer looks up by the names
// in WindowModule.h.
#include <optional>
#include <string>

#include "WindowCommands.h"

extern "C" {

[[gnu::visibility("default")]] int DesignerWindowEdit(const char* path) {
  return window::EditCommand(path);
}

[[gnu::visibility("default")]] int DesignerWindowGui(const char* path) {
  return window::GuiCommand(path ? std::optional<std::string>(path) : std::nullopt);
}
}
