#pragma once
// The designer's window commands live in a module of their own, opened only
// by `edit` and `gui`: the other commands then start without loading the
// window toolkit, which is most of a small run's time and memory.

#include <optional>
#include <string>

namespace designer {

// The module's file name, beside the designer, and its entry points.
inline constexpr const char* kWindowModuleFile = "libDesignerWindow.so";
inline constexpr const char* kEditEntry = "DesignerWindowEdit";
inline constexpr const char* kGuiEntry = "DesignerWindowGui";

// `designer edit`: the namer's dialog on the form file, in a window.
int EditInWindow(const std::string& path);

// `designer gui`: the designer window, on the form file when one is given.
int OpenDesignerWindow(const std::optional<std::string>& path);

}  // namespace designer
