#include "WindowPresenter.h"

#include <QApplication>

#include "FormDialog.h"

namespace window {

host::TModalResult WindowPresenter::Present(host::TCustomForm& form) {
  FormDialog dialog(form, QApplication::activeWindow());
  dialog.exec();
  // Closed some other way than by a control or the keyboard: Cancel.
  if (form.GetModalResult() == host::mrNone) form.SetModalResult(host::mrCancel);
  return form.GetModalResult();
}

}  // namespace window
