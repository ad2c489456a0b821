// The whole rename in memory: a form read and loaded, a script read and
// played in the namer's dialog, the form written and read back. The input
// is the form text, a line "%%", then the script.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CFNamer.h"
#include "CFNamerEditor.h"
#include "CNamer.h"
#include "DialogSession.h"
#include "FormFile.h"
#include "FormStreaming.h"
#include "FormText.h"
#include "Forms.h"
#include "Packages.h"
#include "RegistrationLog.h"

namespace {

// The package's registrations and dialog resource, as loading it makes them;
// kept for the whole run.
void RegisterPackage() {
  static host::TLibModule module{"fuzz", {{"TFCOMPON", cfnamer::FComponResource()}}};
  static host::TRegistrationLog registrations;
  host::RegisterModule(&module);
  host::TRegistrationScope scope(registrations);
  cnamer::Register();
  cfnamer::Register();
}

void Rename(std::string_view formText, std::string_view scriptText) {
  host::FormDocument document = host::ParseFormText(std::string(formText), "fuzz.form");
  // Opened as the designer opens a file, object by object from the text.
  host::LoadedForm loaded = host::LoadFormText(document.Text, "fuzz.form");
  std::unique_ptr<host::TForm> form = std::move(loaded.Form);
  host::TComponent& namer = designer::FindNamer(*form, "fuzz.form");
  const designer::Script script = designer::ParseScript(scriptText, "fuzz.script");
  host::TFormDesigner formDesigner(*form);
  designer::PlayDialogSession(formDesigner, namer, script);
  const std::string written = host::RewriteComponents(*form, *document.Text, loaded.Style);
  // Object by object, the components write what their whole tree writes,
  // in the layout the tree's reader found.
  if (written !=
      host::RewriteFormText(host::WriteComponents(*form), *document.Text, document.Style))
    std::abort();
  host::LoadForm(host::ParseFormText(written, "written.form").Root, "written.form");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterPackage();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kSeparator = "\n%%\n";
  const std::size_t split = std::min(input.find(kSeparator), input.size());
  try {
    Rename(input.substr(0, split), input.substr(std::min(split + kSeparator.size(), size)));
  } catch (const host::Exception&) {
  }
  return 0;
}
