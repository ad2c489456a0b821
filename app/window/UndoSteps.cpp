#include "UndoSteps.h"

#include <utility>

#include "Placing.h"

namespace window {

std::vector<std::string> NamesOf(const host::TComponent& form) {
  std::vector<std::string> names;
  for (const host::TComponent* c : form.Components()) names.push_back(c->GetName());
  return names;
}

RenameStep::RenameStep(host::TComponent& form, std::vector<std::string> before,
                       std::vector<std::string> after)
    : QUndoCommand(QStringLiteral("Rename components")),
      form_(form),
      before_(std::move(before)),
      after_(std::move(after)) {}

void RenameStep::redo() {
  if (!std::exchange(done_, false)) Apply(after_);
}

// Names that swap places (A to B while B becomes A) would collide one at a
// time: every changed component is unnamed first.
void RenameStep::Apply(const std::vector<std::string>& names) {
  const std::vector<host::TComponent*>& components = form_.Components();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (components[i]->GetName() != names[i]) components[i]->SetName("");
  for (std::size_t i = 0; i < names.size(); ++i)
    if (components[i]->GetName() != names[i]) components[i]->SetName(names[i]);
}

PlaceStep::PlaceStep(host::TForm& form, host::TClass placedClass, std::string name)
    : QUndoCommand(QStringLiteral("Place %1").arg(QString::fromStdString(name))),
      form_(form),
      class_(placedClass),
      name_(std::move(name)) {}

void PlaceStep::undo() { delete form_.Components().back(); }

void PlaceStep::redo() {
  if (!std::exchange(done_, false)) designer::PlaceComponent(form_, class_, name_);
}

PropertyStep::PropertyStep(host::TComponent& form, int index, const host::TPropInfo& prop,
                           host::FormValue before, host::FormValue after)
    : QUndoCommand(QStringLiteral("Set %1").arg(QString::fromStdString(prop.Name))),
      form_(form),
      index_(index),
      prop_(prop),
      before_(std::move(before)),
      after_(std::move(after)) {}

host::TComponent& PropertyStep::Component() const {
  return index_ < 0 ? form_ : *form_.Components()[static_cast<std::size_t>(index_)];
}

void PropertyStep::undo() { prop_.Set(Component(), before_); }

void PropertyStep::redo() {
  if (!std::exchange(done_, false)) prop_.Set(Component(), after_);
}

}  // namespace window
