// Renaming a block of components: a dialog session played on each form, the
// names that changed printed, and the form written back.
#include <iostream>
#include <sstream>
#include <utility>

#include "Commands.h"
#include "DialogSession.h"
#include "Errors.h"
#include "FormFile.h"

namespace designer {

namespace {

// Renames on one form; returns the lines to print. The form file is written
// only when every rename was accepted.
std::string RenameForm(const Script& script, const std::string& path,
                       const RenameOptions& options) {
  OpenForm form = ReadForm(path);
  host::TComponent& namer = FindNamer(*form.Form, path);

  host::TFormDesigner designer(*form.Form);
  // The editor renames in listing order, one component at a time.
  std::ostringstream lines;
  designer.AddRenameListener([&lines](host::TComponent& c, const std::string& oldName) {
    lines << oldName << " -> " << c.GetName() << '\n';
  });
  PlayDialogSession(designer, namer, script);
  // The editor tells the designer after it applied the dialog's names, and
  // only then: a session closed with Cancel leaves the form alone.
  if (designer.ModifiedNotifications() == 0) return {};

  if (!options.DryRun) WriteForm(form, options.Output.value_or(path));
  return lines.str();
}

}  // namespace

int RenameCommand(const Script& script, const RenameOptions& options) {
  int status = 0;
  for (const std::string& path : options.Forms) {
    std::string lines;
    status |= Guarded(path, [&] { lines = RenameForm(script, path, options); });
    std::cout << lines << std::flush;
  }
  return status;
}

}  // namespace designer
