#pragma once
// The designer's window commands: `edit` shows the namer's dialog, `gui`
// opens the designer window. Each returns the exit status.

#include <memory>
#include <optional>
#include <string>

#include "Forms.h"

class QApplication;

namespace window {

// The process's Qt application: the one already running, or a new one.
std::unique_ptr<QApplication> EnsureApplication();

// Runs the namer's Componenter editor on the form file, as the inspector's
// dialog button does, and saves the form when the dialog's names were
// applied. An error shows in a message box and leaves the file as it was.
int EditCommand(const std::string& path);

// The designer window, on the form file when one is given.
int GuiCommand(const std::optional<std::string>& path);

}  // namespace window
