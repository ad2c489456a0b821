#pragma once
// The designer window's history: each change to the form as one step that
// can be undone and redone. Steps find components by their place among the
// form's components, which is the same whenever a step runs, since steps
// run in history order.

#include <QUndoCommand>
#include <string>
#include <vector>

#include "Forms.h"
#include "TypInfo.h"

namespace window {

// The names of the form's components, in their order.
std::vector<std::string> NamesOf(const host::TComponent& form);

// Names that a dialog session changed: all of them as one step, including
// the renames done before a refused one.
class RenameStep final : public QUndoCommand {
 public:
  RenameStep(host::TComponent& form, std::vector<std::string> before,
             std::vector<std::string> after);
  void undo() override { Apply(before_); }
  void redo() override;

 private:
  void Apply(const std::vector<std::string>& names);

  host::TComponent& form_;
  std::vector<std::string> before_;
  std::vector<std::string> after_;
  bool done_ = true;  // the session already made the change
};

// A component placed from the palette: the form's last component.
class PlaceStep final : public QUndoCommand {
 public:
  PlaceStep(host::TForm& form, host::TClass placedClass, std::string name);
  void undo() override;
  void redo() override;

 private:
  host::TForm& form_;
  host::TClass class_;
  std::string name_;
  bool done_ = true;
};

// One property of one component (-1: the form) typed in the inspector.
class PropertyStep final : public QUndoCommand {
 public:
  PropertyStep(host::TComponent& form, int index, const host::TPropInfo& prop,
               host::FormValue before, host::FormValue after);
  void undo() override;
  void redo() override;

 private:
  host::TComponent& Component() const;

  host::TComponent& form_;
  int index_;
  const host::TPropInfo& prop_;
  host::FormValue before_;
  host::FormValue after_;
  bool done_ = true;
};

}  // namespace window
