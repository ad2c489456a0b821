#pragma once
// A widget per host control: built from the control's model, shown from it
// again after every change, and sending a person's input back to it.

#include <functional>
#include <memory>
#include <vector>

#include "Controls.h"

class QWidget;

namespace window {

// Where a widget sends a person's input: runs the action on the models, then
// shows every control again. The design surface has none: its widgets only show.
class ControlInput {
 public:
  virtual ~ControlInput() = default;
  virtual void Act(const std::function<void()>& action) = 0;
};

struct ControlView {
  host::TControl* Control = nullptr;
  QWidget* Widget = nullptr;
  std::function<void()> Show;  // sets the widget from the model
};

// The widget for a control of a class the window knows (label, edit box,
// spin box, button, bitmap button, speed button, list box), made a child of
// `parent` at the control's position plus `offset`; an empty view for any
// other class. Without `input` the widget takes no focus, so it only shows.
ControlView MakeControlView(host::TControl& control, QWidget& parent, ControlInput* input,
                            int offsetLeft = 0, int offsetTop = 0);

// The form's controls that take the keyboard focus, in their tab order.
std::vector<const ControlView*> InTabOrder(const std::vector<ControlView>& views);

}  // namespace window
