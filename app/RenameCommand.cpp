// Renaming a block of components: a dialog session played on each form, the
// names that changed printed, and the form written back.
#include <iostream>
#include <sstream>
#include <utility>

#include "Commands.h"
#include "DialogSession.h"
#include "Errors.h"
#include "FormFile.h"
#include "Listing.h"

namespace designer {

namespace {

struct Renamed {
  host::TComponent* Component;
  std::string OldName;
};

// The listed components with their names, in listing order, which is the
// order the editor renames them in.
std::vector<Renamed> ListedComponents(const host::TForm& form,
                                      const std::vector<std::string>& listing) {
  std::vector<Renamed> listed;
  for (const std::string& row : listing)
    if (cnamer::IsComponentRow(row))
      if (host::TComponent* c = form.FindComponent(host::Trim(row)))
        listed.push_back({c, c->GetName()});
  return listed;
}

// Renames on one form; returns the lines to print. The form file is written
// only when every rename was accepted.
std::string RenameForm(const Script& script, const std::string& path,
                       const RenameOptions& options) {
  OpenForm form = ReadForm(path);
  host::TComponent& namer = FindNamer(*form.Form, path);
  const std::vector<std::string> listing = ReadListing(namer);
  const std::vector<ScriptAction> actions = Resolve(script, listing);
  const std::vector<Renamed> listed = ListedComponents(*form.Form, listing);

  host::TFormDesigner designer(*form.Form);
  PlayDialogSession(designer, namer, actions);
  // The editor tells the designer after it applied the dialog's names, and
  // only then: a session closed with Cancel leaves the form alone.
  if (designer.ModifiedNotifications() == 0) return {};

  std::ostringstream lines;
  for (const Renamed& r : listed)
    if (r.Component->GetName() != r.OldName)
      lines << r.OldName << " -> " << r.Component->GetName() << '\n';
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
