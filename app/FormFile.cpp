#include "FormFile.h"

#include <utility>

#include "FormStreaming.h"

namespace designer {

OpenForm ReadForm(const std::string& path) {
  host::FileLock lock(path);
  host::FormDocument document = host::ReadFormFile(path);
  return {host::LoadForm(std::move(document.Root), path), document.Text, document.Style,
          std::move(lock)};
}

void WriteForm(const OpenForm& form, const std::string& path) {
  form.Lock.CheckUnchanged(path);
  host::SaveFileAtomically(path, host::RewriteComponents(*form.Form, *form.Source, form.Style));
}

host::TComponent& FindNamer(const host::TForm& form, const std::string& path) {
  if (host::TClass namerClass = host::GetClass(kNamerClass))
    for (host::TComponent* c : form.Components())
      if (c->ClassType()->InheritsFrom(namerClass)) return *c;
  throw host::Exception(host::Format("the form has no %s; place one with: designer add %s %s",
                                     {kNamerClass, path, kNamerClass}));
}

std::vector<std::string> ReadListing(host::TComponent& namer) {
  const host::TPropInfo* listing = namer.ClassType()->FindProperty(kListingProperty);
  if (!listing || !listing->Get)
    throw host::Exception(
        host::Format("%s publishes no readable %s", {namer.ClassName(), kListingProperty}));
  // The rows move out of the value read: a listing of a large form is not
  // copied twice.
  host::FormValue value = listing->Get(namer);
  std::vector<std::string> rows;
  rows.reserve(value.Items.size());
  for (host::FormValue& row : value.Items) {
    host::StringOf(row);  // raises when a row is not a string
    rows.push_back(std::move(row.Text));
  }
  return rows;
}

host::TComponent& FindComponent(const host::TForm& form, const std::string& name) {
  if (host::TComponent* c = form.FindComponent(name)) return *c;
  throw host::Exception(
      host::Format("the form has no component named '%s'", {host::Excerpt(name)}));
}

}  // namespace designer
