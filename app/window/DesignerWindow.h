#pragma once
// The designer window: the palette, the form as it looks, its components as
// a tree and the object inspector, with files and an undo history.

#include <QMainWindow>
#include <QUndoStack>
#include <memory>
#include <optional>
#include <string>

#include "Designer.h"
#include "FormFile.h"

class QTabWidget;
class QTreeWidget;
class QScrollArea;

namespace window {

class FormSurface;
class InspectorView;

class DesignerWindow final : public QMainWindow {
 public:
  DesignerWindow();
  ~DesignerWindow() override;

  // Opens a form file; an unreadable one shows its error in a message box
  // and leaves the window as it was. Returns whether the form opened.
  bool Open(const QString& path);
  // Saves through the command line's writer; an error shows in a message box.
  bool Save();
  bool SaveAs(const QString& path);

  // Selects the component of that name; the form for an empty name. Like
  // every change, it shows once the widget that asked for it has returned.
  void Select(const std::string& name);
  host::TForm* Form() const { return form_ ? form_->Form.get() : nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildPalette();
  // Shows the form, the tree and the inspector afresh, after the widgets
  // that asked for it have returned.
  void Refresh();
  void ShowAll();
  host::TComponent* Selected() const;
  void PlaceFromPalette(host::TClass placedClass);
  void EditProperty(const std::string& property);
  void SetProperty(const std::string& property, const std::string& value);
  void ShowError(const std::string& message);
  bool ConfirmDiscard();

  std::optional<designer::OpenForm> form_;
  std::unique_ptr<host::TFormDesigner> designer_;
  QString path_;
  std::string selected_;
  QUndoStack history_;
  QTabWidget* palette_;
  QScrollArea* canvas_;
  FormSurface* surface_ = nullptr;
  QTreeWidget* tree_;
  InspectorView* inspector_;
};

}  // namespace window
