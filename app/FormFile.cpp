#include "FormFile.h"

#include <algorithm>
#include <utility>

#include "FormStreaming.h"

namespace designer {

OpenForm ReadForm(const std::string& path) {
  host::LockedFormText read = host::ReadLockedFormFile(path);
  host::LoadedForm loaded = host::LoadFormText(read.Text, path);
  return {std::move(loaded.Form), std::move(read.Text), std::move(loaded.Style),
          std::move(read.Lock)};
}

void WriteForm(const OpenForm& form, const std::string& path) {
  form.Lock.CheckUnchanged(path);
  host::SaveFileAtomically(path, [&](const host::TextSink& sink) {
    host::RewriteComponents(*form.Form, *form.Source, form.Style, sink);
  });
}

host::TComponent& FindNamer(const host::TForm& form, const std::string& path) {
  // A form holds one namer at most (a second is refused), and most often it
  // was placed last: from the end, a large form is not walked through.
  if (host::TClass namerClass = host::GetClass(kNamerClass)) {
    const std::vector<host::TComponent*>& components = form.Components();
    auto namer = std::find_if(components.rbegin(), components.rend(), [&](host::TComponent* c) {
      return c->ClassType()->InheritsFrom(namerClass);
    });
    if (namer != components.rend()) return **namer;
  }
  throw host::Exception(host::Format("the form has no %s; place one with: designer add %s %s",
                                     {kNamerClass, path, kNamerClass}));
}

const host::TStringList& ReadListing(host::TComponent& namer) {
  const host::TPropInfo* listing = namer.ClassType()->FindProperty(kListingProperty);
  auto* lines = listing && listing->GetObject
                    ? dynamic_cast<host::TStringList*>(listing->GetObject(namer))
                    : nullptr;
  if (!lines)
    throw host::Exception(host::Format("%s publishes no readable string list %s",
                                       {namer.ClassName(), kListingProperty}));
  return *lines;
}

host::TComponent& FindComponent(const host::TForm& form, const std::string& name) {
  if (host::TComponent* c = form.FindComponent(name)) return *c;
  throw host::Exception(
      host::Format("the form has no component named '%s'", {host::Excerpt(name)}));
}

}  // namespace designer
