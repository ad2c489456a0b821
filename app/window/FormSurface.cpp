#include "FormSurface.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <optional>

#include "FormDialog.h"

namespace window {

namespace {

constexpr int kIconSize = 28;

// An integer property of a component: published, or else as the form file
// stored it (the classes the host does not know keep their values so).
std::optional<int> IntegerProperty(host::TComponent& component, const std::string& name) {
  const host::FormValue* value = nullptr;
  host::FormValue published;
  if (const host::TPropInfo* prop = component.ClassType()->FindProperty(name); prop && prop->Get) {
    published = prop->Get(component);
    value = &published;
  } else {
    const host::StoredObject& stored = component.Stored();
    for (const host::StoredProperty& p : stored.Properties())
      if (p.Name(stored.TextView()) == name) {
        published = p.Value(stored.TextView());
        value = &published;
      }
  }
  if (!value || value->Kind != host::FormValueKind::Integer) return std::nullopt;
  return std::stoi(value->Text);
}

// Where a component stands on the form: its place within its parents'.
QPoint OffsetOfParents(const host::TComponent& component, const host::TComponent& form) {
  QPoint offset;
  for (host::TComponent* p = component.GetParentComponent(); p && p != &form;
       p = p->GetParentComponent())
    offset +=
        QPoint(IntegerProperty(*p, "Left").value_or(0), IntegerProperty(*p, "Top").value_or(0));
  return offset;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

FormSurface::FormSurface(host::TForm& form, std::function<void(const std::string&)> select,
                         QWidget* parent)
    : QWidget(parent), form_(form), select_(std::move(select)) {
  setFont(FormFont(form.Font()));
  setFixedSize(form.GetClientWidth(), form.GetClientHeight());
  QPalette face = palette();
  face.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
  setPalette(face);
  setBackgroundRole(QPalette::Window);  // not the canvas's dark one
  setAutoFillBackground(true);
  for (host::TComponent* c : form.Components())
    if (c->GetParentComponent() && c->GetParentComponent() != &form)
      containers_.insert(c->GetParentComponent());
  int nextIconSlot = 0;
  for (host::TComponent* c : form.Components()) Place(*c, nextIconSlot);
  selection_ = new QFrame(this);
  selection_->setFrameStyle(QFrame::Box | QFrame::Plain);
  selection_->setLineWidth(2);
  selection_->setStyleSheet(QStringLiteral("color: #1060d0; background: transparent;"));
  selection_->setAttribute(Qt::WA_TransparentForMouseEvents);
  selection_->hide();
}

void FormSurface::Place(host::TComponent& component, int& nextIconSlot) {
  const QPoint offset = OffsetOfParents(component, form_);
  QWidget* widget = nullptr;
  if (auto* control = dynamic_cast<host::TControl*>(&component)) {
    ControlView view = MakeControlView(*control, *this, nullptr, offset.x(), offset.y());
    widget = view.Widget;
    if (widget) views_.push_back(std::move(view));
  }
  const std::optional<int> left = IntegerProperty(component, "Left");
  const std::optional<int> top = IntegerProperty(component, "Top");
  const std::optional<int> width = IntegerProperty(component, "Width");
  const std::optional<int> height = IntegerProperty(component, "Height");
  if (!widget && width && height) {  // a visual class the window does not know
    // A container shows its children; it names itself only in the tree.
    auto* box = new QLabel(this);
    if (!containers_.contains(&component))
      box->setText(Text(component.GetName() + "\n" + component.ClassName()));
    box->setFrameStyle(QFrame::Panel | QFrame::Raised);
    box->setAlignment(Qt::AlignCenter);
    box->setGeometry(offset.x() + left.value_or(0), offset.y() + top.value_or(0), *width, *height);
    widget = box;
  }
  if (!widget) {  // non-visual: an icon with its name, where it was left
    auto* icon = new QWidget(this);
    auto* layout = new QVBoxLayout(icon);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* picture = new QLabel(icon);
    picture->setPixmap(
        QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(kIconSize));
    picture->setFrameStyle(QFrame::Panel | QFrame::Raised);
    picture->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(Text(component.GetName()), icon);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    layout->addWidget(name);
    icon->adjustSize();
    // One without a stored place goes to the form's top right, leftwards.
    const QPoint slot(this->width() - (++nextIconSlot) * (icon->width() + 8), 8);
    icon->move(left && top ? offset + QPoint(*left, *top) : slot);
    widget = icon;
  }
  widget->setObjectName(Text(component.GetName()));
  widget->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (QWidget* inner : widget->findChildren<QWidget*>())
    inner->setAttribute(Qt::WA_TransparentForMouseEvents);
  placed_.push_back({&component, widget});
}

void FormSurface::ShowSelection(const std::string& name) {
  for (const Placed& p : placed_)
    if (p.Component->GetName() == name && !name.empty()) {
      selection_->setGeometry(p.Widget->geometry().adjusted(-3, -3, 3, 3));
      selection_->show();
      selection_->raise();
      return;
    }
  selection_->hide();
}

void FormSurface::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  for (auto p = placed_.rbegin(); p != placed_.rend(); ++p)
    if (p->Widget->isVisible() && p->Widget->geometry().contains(at)) {
      select_(p->Component->GetName());
      return;
    }
  select_({});
}

}  // namespace window
