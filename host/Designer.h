#pragma once
// The designer of an open form: what property editors tell when they change
// the form, and what the designer program asks before it saves.

#include <functional>
#include <vector>

#include "Classes.h"

namespace host {

class TFormDesigner final : private IComponentObserver {
 public:
  // Becomes the form's observer, so that renaming one of its components marks
  // it changed. A form has at most one designer, and outlives it.
  explicit TFormDesigner(TComponent& form);
  ~TFormDesigner() override;
  TFormDesigner(const TFormDesigner&) = delete;
  TFormDesigner& operator=(const TFormDesigner&) = delete;

  TComponent& Form() const { return form_; }

  // The modified notification: marks the form changed, counts the call and
  // tells every listener (the designer window redraws, say).
  void Modified();
  void AddModifiedListener(std::function<void()> listener) {
    listeners_.push_back(std::move(listener));
  }
  int ModifiedNotifications() const { return notifications_; }

  // Tells `listener` of every rename of one of the form's components, as it
  // happens, with the name it had.
  void AddRenameListener(std::function<void(TComponent&, const std::string& oldName)> listener) {
    renameListeners_.push_back(std::move(listener));
  }

  // Whether the form changed since it was opened or last saved.
  bool IsChanged() const { return changed_; }
  void MarkSaved() { changed_ = false; }

 private:
  void ComponentRenamed(TComponent& component, const std::string& oldName) override;

  TComponent& form_;
  std::vector<std::function<void()>> listeners_;
  std::vector<std::function<void(TComponent&, const std::string&)>> renameListeners_;
  int notifications_ = 0;
  bool changed_ = false;
};

}  // namespace host
