#pragma once
// Forms, the application that owns dialogs, and the modal presenter that
// shows a form to the user.

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "Controls.h"
#include "FormText.h"
#include "FormTree.h"

namespace host {

// Raised when a form's resource is not in any registered module.
class EResNotFound : public Exception {
 public:
  using Exception::Exception;
};

enum TFormBorderStyle : std::uint8_t {
  bsNone,
  bsSingle,
  bsSizeable,
  bsDialog,
  bsToolWindow,
  bsSizeToolWin
};

enum TBorderIcon : std::uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;

// Where a form appears when it is shown.
enum TPosition : std::uint8_t {
  poDesigned,  // at Left and Top
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};

class TCustomForm : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {}

  // Builds a form of class T owned by AOwner from the form resource named
  // after the class in upper case ("TFCOMPON" for TFCompon): creates its
  // controls, points its published fields at them, binds its published
  // handlers, then runs OnCreate. On any error nothing of the form is left
  // and the error propagates.
  template <class T>
  static std::unique_ptr<T> Create(TComponent* AOwner) {
    static_assert(std::is_base_of_v<TCustomForm, T>);
    auto form = std::make_unique<T>(AOwner);
    static_cast<TCustomForm&>(*form).ReadResource();
    return form;
  }

  // A form read from a file is an instance of the host's form class that
  // reports the class name stored in the file (TForm1, TMainForm, …).
  const std::string& ClassName() const override {
    return storedClassName_.empty() ? TComponent::ClassName() : storedClassName_;
  }
  void SetStoredClassName(std::string name) { storedClassName_ = std::move(name); }
  // The text the form was opened from, which its components point into.
  void KeepSourceText(std::shared_ptr<const std::string> text) { sourceText_ = std::move(text); }

  TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value) { borderStyle_ = value; }
  TBorderIcons GetBorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value) { borderIcons_ = value; }
  TPosition GetPosition() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  // The area inside the border; a model has no border, so it is kept apart
  // from Width and Height as the form gives it.
  int GetClientWidth() const { return clientWidth_; }
  void SetClientWidth(int value) { clientWidth_ = value; }
  int GetClientHeight() const { return clientHeight_; }
  void SetClientHeight(int value) { clientHeight_ = value; }
  // The screen density the layout was made at, and its font's text height.
  int GetPixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
  int GetTextHeight() const { return textHeight_; }
  void SetTextHeight(int value) { textHeight_ = value; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  TEventHandler OnCreate;

  // Hands the form to the application's modal presenter and returns the
  // result the form was closed with. Raises an error when no presenter is set.
  TModalResult ShowModal();
  // Setting a result other than mrNone while the form is shown closes it.
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

 private:
  void ReadResource();

  std::string storedClassName_;
  std::shared_ptr<const std::string> sourceText_;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  TFont font_;
  TModalResult modalResult_ = mrNone;
};

class TForm : public TCustomForm {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form a control stands on: the nearest form among the components it
// stands inside of; nullptr when there is none.
TCustomForm* GetParentForm(const TComponent& control);

// A form class's published field: pointed at the control of its name, which
// must be of the field's class.
template <class F, class C>
TFieldInfo PublishedField(std::string name, C* F::*field) {
  return {std::move(name), [field](TObject& form, TComponent& control) {
            static_cast<F&>(form).*field = &control.As<C>();
          }};
}

// A form class's published handler, which its resource binds events to.
template <class F>
TMethodInfo PublishedMethod(std::string name, void (F::*handler)(TObject* Sender)) {
  return {std::move(name),
          [handler](TObject& form, TObject* Sender) { (static_cast<F&>(form).*handler)(Sender); }};
}

// Shows a form to the user until it is closed: the scripted presenter of
// tests and the command line, or a window.
class IModalPresenter {
 public:
  virtual ~IModalPresenter() = default;
  // Runs until the form has a modal result, and returns it.
  virtual TModalResult Present(TCustomForm& form) = 0;
};

// The owner of dialogs, and the holder of the modal presenter.
class TApplication : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  explicit TApplication(TComponent* AOwner) : TComponent(AOwner) {}

  IModalPresenter* ModalPresenter() const { return presenter_.get(); }
  void SetModalPresenter(std::unique_ptr<IModalPresenter> presenter) {
    presenter_ = std::move(presenter);
  }

 private:
  std::unique_ptr<IModalPresenter> presenter_;
};

// The process's one application object.
TApplication& Application();

// Opens a form file's tree for design: a TForm reporting the stored class
// name, owning every component of the file. Nothing is left of a form whose
// tree holds an error.
std::unique_ptr<TForm> LoadForm(FormObject tree, const std::string& source);

// A form opened from its file's text, and how that text is laid out.
struct LoadedForm {
  std::unique_ptr<TForm> Form;
  FormTextStyle Style;
};

// Opens a form file's text for design as LoadForm opens its tree, object by
// object as the text is read, never holding the whole tree.
LoadedForm LoadFormText(std::shared_ptr<const std::string> text, const std::string& source);

}  // namespace host
