// `designer gui`: the designer window.
#include <QApplication>

#include "DesignerWindow.h"
#include "DialogSession.h"
#include "WindowCommands.h"
#include "WindowPresenter.h"

namespace window {

int GuiCommand(const std::optional<std::string>& path) {
  const std::unique_ptr<QApplication> app = EnsureApplication();
  const designer::PresenterScope scope(std::make_unique<WindowPresenter>());
  DesignerWindow designerWindow;
  if (path) designerWindow.Open(QString::fromStdString(*path));
  designerWindow.show();
  return QApplication::exec();
}

}  // namespace window
