#pragma once
// The designer's subcommands. Each reports its errors as one line naming the
// file and returns the exit status.

#include <optional>
#include <string>
#include <vector>

#include "Script.h"

namespace designer {

int PaletteCommand();
int ListCommand(const std::string& form);
int AddCommand(const std::string& form, const std::string& className,
               const std::optional<std::string>& name);
int InspectCommand(const std::string& form, const std::string& component);

struct RenameOptions {
  std::vector<std::string> Forms;
  std::optional<std::string> Output;  // with a single form only
  bool DryRun = false;
};
int RenameCommand(const Script& script, const RenameOptions& options);

}  // namespace designer
