#include "FormDialog.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

#include "Buttons.h"
#include "StdCtrls.h"

namespace window {

namespace {

Qt::WindowFlags FlagsOf(const host::TCustomForm& form) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  const host::TBorderIcons icons = form.GetBorderIcons();
  if (icons.Contains(host::biSystemMenu))
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  // A dialog border has no minimise or maximise button, whatever the icons say.
  if (form.GetBorderStyle() != host::bsDialog) {
    if (icons.Contains(host::biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
    if (icons.Contains(host::biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
  }
  if (icons.Contains(host::biHelp)) flags |= Qt::WindowContextHelpButtonHint;
  return flags;
}

bool Sizeable(host::TFormBorderStyle style) {
  return style == host::bsSizeable || style == host::bsSizeToolWin;
}

}  // namespace

QFont FormFont(const host::TFont& font) {
  // A family metrically close to the old dialog fonts keeps captions within
  // the widths the form gives them.
  const QStringList installed = QFontDatabase::families();
  QString family = QString::fromStdString(font.Name);
  if (!installed.contains(family)) family = QStringLiteral("Liberation Sans");
  QFont result = installed.contains(family) ? QFont(family)
                                            : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  result.setPixelSize(std::max(1, std::abs(font.Height)));
  result.setBold(font.Style.Contains(host::fsBold));
  result.setItalic(font.Style.Contains(host::fsItalic));
  result.setUnderline(font.Style.Contains(host::fsUnderline));
  result.setStrikeOut(font.Style.Contains(host::fsStrikeOut));
  return result;
}

QPoint OnScreen(const QRect& frame, const QRect& screen) {
  const int left =
      std::max(screen.left(), std::min(frame.left(), screen.right() - frame.width() + 1));
  const int top =
      std::max(screen.top(), std::min(frame.top(), screen.bottom() - frame.height() + 1));
  return {left, top};
}

FormDialog::FormDialog(host::TCustomForm& form, QWidget* parent)
    : QDialog(parent, FlagsOf(form)), form_(form) {
  setWindowTitle(QString::fromStdString(form.GetText()));
  setFont(FormFont(form.Font()));
  const QSize client(form.GetClientWidth(), form.GetClientHeight());
  if (Sizeable(form.GetBorderStyle()))
    resize(client);
  else
    setFixedSize(client);

  for (host::TComponent* c : form.Components())
    if (auto* control = dynamic_cast<host::TControl*>(c))
      if (ControlView view = MakeControlView(*control, *this, this); view.Widget)
        views_.push_back(std::move(view));
  const std::vector<const ControlView*> tabOrder = InTabOrder(views_);
  for (std::size_t i = 1; i < tabOrder.size(); ++i)
    setTabOrder(tabOrder[i - 1]->Widget, tabOrder[i]->Widget);
  if (!tabOrder.empty()) tabOrder.front()->Widget->setFocus();
  PlaceLabelBuddies();

  // The design position, moved onto the screen the window opens on.
  QRect frame(form.GetLeft(), form.GetTop(), client.width(), client.height());
  if (const QScreen* screen = QGuiApplication::screenAt(frame.center())
                                  ? QGuiApplication::screenAt(frame.center())
                                  : QGuiApplication::primaryScreen())
    frame.moveTopLeft(OnScreen(frame, screen->availableGeometry()));
  move(frame.topLeft());
}

// A label's accelerator focuses the control it names: the nearest focusable
// one below it or to its right.
void FormDialog::PlaceLabelBuddies() {
  for (const ControlView& label : views_) {
    auto* widget = qobject_cast<QLabel*>(label.Widget);
    if (!widget || !widget->text().contains(QLatin1Char('&'))) continue;
    const ControlView* nearest = nullptr;
    int best = 0;
    for (const ControlView* other : InTabOrder(views_)) {
      const QPoint d = other->Widget->pos() - widget->pos();
      if (d.x() < 0 || d.y() < 0) continue;
      if (!nearest || d.manhattanLength() < best) nearest = other, best = d.manhattanLength();
    }
    if (nearest) widget->setBuddy(nearest->Widget);
  }
}

void FormDialog::Act(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
  }
  ShowModels();
  if (form_.GetModalResult() != host::mrNone) done(form_.GetModalResult());
}

void FormDialog::ShowModels() {
  for (const ControlView& view : views_) view.Show();
}

void FormDialog::reject() {
  for (host::TComponent* c : form_.Components())
    if (auto* button = dynamic_cast<host::TButton*>(c);
        button && button->GetModalResult() == host::mrCancel && button->GetEnabled()) {
      Act([button] { button->Click(); });
      return;
    }
  Act([this] { form_.SetModalResult(host::mrCancel); });
}

}  // namespace window
