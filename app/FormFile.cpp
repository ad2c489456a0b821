#include "FormFile.h"

#include <functional>
#include <system_error>
#include <thread>
#include <utility>

#include "FormStreaming.h"

namespace designer {

OpenForm ReadForm(const std::string& path) {
  host::LockedFormText read = host::ReadLockedFormFile(path);
  host::LoadedForm loaded = host::LoadFormText(read.Text, path);
  return {std::move(loaded.Form), std::move(read.Text), std::move(loaded.Style),
          std::move(read.Lock)};
}

namespace {

// Saves the form; `written` is called once its whole text is out, before
// the save syncs and renames the file.
void Save(const OpenForm& form, const std::string& path, const std::function<void()>& written) {
  form.Lock.CheckUnchanged(path);
  host::SaveFileAtomically(path, [&](const host::TextSink& sink) {
    host::RewriteComponents(*form.Form, *form.Source, form.Style, sink);
    written();
  });
}

// A smaller form is taken apart sooner than a thread starts.
constexpr int kTeardownThreadFrom = 4096;

// Takes the form's components and text apart on a thread of its own; here,
// when the form is small or no thread can start.
std::jthread TakeApart(OpenForm& form) {
  if (form.Form->GetComponentCount() >= kTeardownThreadFrom) {
    try {
      return std::jthread([parts = std::move(form.Form), text = std::move(form.Source)]() mutable {
        parts.reset();
        text.reset();
      });
    } catch (const std::system_error&) {
      // The parts went with the thread that did not start.
    }
  }
  form.Form.reset();
  form.Source.reset();
  return {};
}

}  // namespace

void WriteForm(const OpenForm& form, const std::string& path) {
  Save(form, path, [] {});
}

void SaveAndClose(OpenForm form, const std::string& path) {
  std::jthread teardown;
  Save(form, path, [&] { teardown = TakeApart(form); });
  // Releasing the lock may free the replaced file's space, while the
  // components go.
  form.Lock = host::FileLock();
}

host::TComponent& FindNamer(const host::TForm& form, const std::string& path) {
  if (host::TClass namerClass = host::GetClass(kNamerClass))
    for (host::TComponent* c : form.Components())
      if (c->ClassType()->InheritsFrom(namerClass)) return *c;
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
