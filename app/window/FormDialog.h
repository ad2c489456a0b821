#pragma once
// A host form shown as a dialog window: a widget per control, every input
// sent to the control models, so that the form's own handlers run.

#include <QDialog>
#include <QRect>
#include <vector>

#include "ControlViews.h"
#include "Forms.h"

namespace window {

class FormDialog final : public QDialog, private ControlInput {
 public:
  explicit FormDialog(host::TCustomForm& form, QWidget* parent = nullptr);

  // Escape and the window's close button: the form's cancel button when it
  // has one, so that its handler runs; otherwise the Cancel result.
  void reject() override;

 private:
  void Act(const std::function<void()>& action) override;
  void ShowModels();
  void PlaceLabelBuddies();

  host::TCustomForm& form_;
  std::vector<ControlView> views_;
};

// The form's font as the machine can draw it: the named family when it is
// installed, a sans-serif fallback otherwise, at the form's pixel height.
QFont FormFont(const host::TFont& font);

// Where a window whose frame is `frame` goes so that it lies on `screen`:
// moved the least distance, its top-left corner kept on the screen first.
QPoint OnScreen(const QRect& frame, const QRect& screen);

}  // namespace window
