#pragma once
// The form as it looks at design time: its controls at their places, other
// visual classes as framed boxes, and non-visual components as small
// labelled icons. A click selects the component under the mouse.

#include <QWidget>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ControlViews.h"
#include "Forms.h"

class QFrame;

namespace window {

class FormSurface final : public QWidget {
 public:
  // `select` receives the name of the clicked component, empty for the form.
  FormSurface(host::TForm& form, std::function<void(const std::string&)> select,
              QWidget* parent = nullptr);

  // Frames the component of that name; none for the form.
  void ShowSelection(const std::string& name);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Placed {
    host::TComponent* Component;
    QWidget* Widget;
  };
  void Place(host::TComponent& component, int& nextIconSlot);

  host::TForm& form_;
  std::function<void(const std::string&)> select_;
  std::vector<ControlView> views_;
  std::set<const host::TComponent*> containers_;  // parents of other controls
  std::vector<Placed> placed_;                    // in drawing order: later ones on top
  QFrame* selection_;
};

}  // namespace window
