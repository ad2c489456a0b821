// `designer edit`: the "Component list" dialog on a form file, in a window.
#include <QApplication>
#include <QMessageBox>

#include "Designer.h"
#include "DialogSession.h"
#include "Errors.h"
#include "FormFile.h"
#include "Inspector.h"
#include "WindowCommands.h"
#include "WindowPresenter.h"

namespace window {

std::unique_ptr<QApplication> EnsureApplication() {
  if (QApplication::instance()) return nullptr;
  static int argc = 1;
  static char name[] = "designer";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QApplication>(argc, argv);
}

int EditCommand(const std::string& path) {
  const std::unique_ptr<QApplication> app = EnsureApplication();
  try {
    designer::OpenForm form = designer::ReadForm(path);
    host::TComponent& namer = designer::FindNamer(*form.Form, path);
    host::TFormDesigner formDesigner(*form.Form);
    const designer::PresenterScope scope(std::make_unique<WindowPresenter>());
    host::EditProperty(formDesigner, namer, designer::kListingProperty);
    // The editor tells the designer only after it applied the names.
    if (formDesigner.ModifiedNotifications() > 0) designer::WriteForm(form, path);
    return 0;
  } catch (const std::exception& e) {
    const std::string message = designer::Located(path, e);
    designer::Report(message);
    QMessageBox::critical(nullptr, QStringLiteral("designer"), QString::fromStdString(message));
    return 1;
  }
}

}  // namespace window
