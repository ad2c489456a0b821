#include "DesignerWindow.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "Errors.h"
#include "FormSurface.h"
#include "Inspector.h"
#include "InspectorView.h"
#include "Placing.h"
#include "UndoSteps.h"

namespace window {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

constexpr int kNameRole = Qt::UserRole;

void AddTreeItems(QTreeWidgetItem& parent, const host::TComponent& owner) {
  for (const host::TComponent* c : owner.Components()) {
    auto* item = new QTreeWidgetItem(&parent, {Text(c->GetName() + ": " + c->ClassName())});
    item->setData(0, kNameRole, Text(c->GetName()));
    AddTreeItems(*item, *c);
  }
}

}  // namespace

DesignerWindow::DesignerWindow()
    : palette_(new QTabWidget),
      canvas_(new QScrollArea),
      tree_(new QTreeWidget),
      inspector_(new InspectorView(
          {[this](const std::string& p) { EditProperty(p); },
           [this](const std::string& p, const std::string& v) { SetProperty(p, v); }})) {
  setWindowTitle(QStringLiteral("designer[*]"));
  BuildMenus();
  BuildPalette();
  canvas_->setBackgroundRole(QPalette::Dark);
  setCentralWidget(canvas_);
  tree_->setHeaderLabel(QStringLiteral("Components"));
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) Select(item->data(0, kNameRole).toString().toStdString());
  });
  auto dock = [this](const QString& title, QWidget* widget, Qt::DockWidgetArea area) {
    auto* d = new QDockWidget(title, this);
    d->setObjectName(title);
    d->setWidget(widget);
    d->setFeatures(QDockWidget::NoDockWidgetFeatures);
    addDockWidget(area, d);
  };
  dock(QStringLiteral("Palette"), palette_, Qt::TopDockWidgetArea);
  dock(QStringLiteral("Components"), tree_, Qt::LeftDockWidgetArea);
  dock(QStringLiteral("Object Inspector"), inspector_, Qt::RightDockWidgetArea);
  connect(&history_, &QUndoStack::cleanChanged, this,
          [this](bool clean) { setWindowModified(!clean); });
  connect(&history_, &QUndoStack::indexChanged, this, [this] { Refresh(); });
  resize(1100, 720);
}

DesignerWindow::~DesignerWindow() {
  history_.clear();  // its steps refer to the form
}

void DesignerWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&Open…"), QKeySequence::Open, this, [this] {
    if (!ConfirmDiscard()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open form"), {},
                                                      QStringLiteral("Forms (*.form)"));
    if (!path.isEmpty()) Open(path);
  });
  file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, [this] { Save(); });
  file->addAction(QStringLiteral("Save &As…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this,
                  [this] {
                    const QString path = QFileDialog::getSaveFileName(
                        this, QStringLiteral("Save form"), path_, QStringLiteral("Forms (*.form)"));
                    if (!path.isEmpty()) SaveAs(path);
                  });
  file->addSeparator();
  file->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                  [this] { close(); });
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  QAction* undo = history_.createUndoAction(this, QStringLiteral("&Undo"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = history_.createRedoAction(this, QStringLiteral("&Redo"));
  redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  edit->addAction(undo);
  edit->addAction(redo);
}

void DesignerWindow::BuildPalette() {
  for (const host::TPalettePage& page : host::Palette()) {
    auto* bar = new QToolBar;
    for (host::TClass c : page.Classes) {
      QAction* place = bar->addAction(Text(c->Name), this, [this, c] { PlaceFromPalette(c); });
      bar->widgetForAction(place)->setObjectName(Text(c->Name));
    }
    palette_->addTab(bar, Text(page.Name));
  }
  palette_->setMaximumHeight(palette_->sizeHint().height());
}

bool DesignerWindow::Open(const QString& path) {
  try {
    designer::OpenForm opened = designer::ReadForm(path.toStdString());
    history_.clear();
    designer_.reset();
    form_ = std::move(opened);
    designer_ = std::make_unique<host::TFormDesigner>(*form_->Form);
  } catch (const std::exception& e) {
    ShowError(designer::Located(path.toStdString(), e));
    return false;
  }
  path_ = path;
  selected_.clear();
  history_.setClean();
  setWindowModified(false);
  setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*] — designer"));
  ShowAll();
  return true;
}

bool DesignerWindow::Save() { return form_ && SaveAs(path_); }

bool DesignerWindow::SaveAs(const QString& path) {
  if (!form_) return false;
  try {
    designer::WriteForm(*form_, path.toStdString());
    // The file now on disk is the one a later save must find unchanged.
    form_->Lock = host::FileLock(path.toStdString());
  } catch (const std::exception& e) {
    ShowError(designer::Located(path.toStdString(), e));
    return false;
  }
  path_ = path;
  designer_->MarkSaved();
  history_.setClean();
  setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*] — designer"));
  return true;
}

void DesignerWindow::Select(const std::string& name) {
  if (name == selected_) return;
  selected_ = name;
  Refresh();
}

host::TComponent* DesignerWindow::Selected() const {
  if (!form_) return nullptr;
  if (selected_.empty()) return form_->Form.get();
  return form_->Form->FindComponent(selected_);
}

void DesignerWindow::Refresh() {
  QMetaObject::invokeMethod(
      this, [this] { ShowAll(); }, Qt::QueuedConnection);
}

void DesignerWindow::ShowAll() {
  if (!form_) return;
  if (!Selected()) selected_.clear();
  surface_ = new FormSurface(*form_->Form, [this](const std::string& name) { Select(name); });
  canvas_->setWidget(surface_);  // deletes the surface shown before
  surface_->ShowSelection(selected_);

  const QSignalBlocker quiet(tree_);
  tree_->clear();
  auto* root =
      new QTreeWidgetItem(tree_, {Text(form_->Form->GetName() + ": " + form_->Form->ClassName())});
  root->setData(0, kNameRole, QString());
  AddTreeItems(*root, *form_->Form);
  tree_->expandAll();
  for (QTreeWidgetItemIterator it(tree_); *it; ++it)
    if ((*it)->data(0, kNameRole).toString() == Text(selected_)) tree_->setCurrentItem(*it);

  inspector_->Inspect(designer_.get(), Selected());
}

void DesignerWindow::PlaceFromPalette(host::TClass placedClass) {
  if (!form_) return;
  try {
    host::TComponent& placed = designer::PlaceComponent(*form_->Form, placedClass);
    history_.push(new PlaceStep(*form_->Form, placedClass, placed.GetName()));
    designer_->Modified();
    Select(placed.GetName());
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

// A whole dialog session is one step, also one that ended in a refused
// rename: undoing it brings every name back.
void DesignerWindow::EditProperty(const std::string& property) {
  host::TComponent* component = Selected();
  if (!component) return;
  const std::vector<std::string> before = NamesOf(*form_->Form);
  std::string failure;
  try {
    host::EditProperty(*designer_, *component, property);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  if (std::vector<std::string> after = NamesOf(*form_->Form); after != before)
    history_.push(new RenameStep(*form_->Form, before, std::move(after)));
  if (!failure.empty()) ShowError(failure);
  Refresh();
}

void DesignerWindow::SetProperty(const std::string& property, const std::string& value) {
  host::TComponent* component = Selected();
  const host::TPropInfo* prop =
      component ? component->ClassType()->FindProperty(property) : nullptr;
  if (!prop) return;
  const host::FormValue before = prop->Get(*component);
  try {
    host::CreatePropertyEditor(*designer_, {component}, *prop)->SetValue(value);
    const auto& components = form_->Form->Components();
    const auto at = std::find(components.begin(), components.end(), component);
    const int index = at == components.end() ? -1 : static_cast<int>(at - components.begin());
    history_.push(new PropertyStep(*form_->Form, index, *prop, before, prop->Get(*component)));
    if (property == "Name") selected_ = component->GetName();
    designer_->Modified();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
  Refresh();
}

void DesignerWindow::ShowError(const std::string& message) {
  QMessageBox::warning(this, QStringLiteral("designer"), Text(message));
}

bool DesignerWindow::ConfirmDiscard() {
  if (history_.isClean()) return true;
  const auto answer =
      QMessageBox::question(this, QStringLiteral("designer"),
                            QStringLiteral("The form has unsaved changes. Save them first?"),
                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  if (answer == QMessageBox::Save) return Save();
  return answer == QMessageBox::Discard;
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
  if (ConfirmDiscard())
    event->accept();
  else
    event->ignore();
}

}  // namespace window
