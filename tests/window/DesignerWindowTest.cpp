// The designer window on examples/order.form: selecting, the inspector, the
// palette and the history, worked with the mouse and the keyboard.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>
#include <fstream>

#include "DesignerWindow.h"
#include "DialogSession.h"
#include "WindowPresenter.h"
#include "WindowTest.h"

namespace {

// The designer window as `designer gui` shows it, on a form.
struct Designer {
  designer::PresenterScope Scope{std::make_unique<window::WindowPresenter>()};
  window::DesignerWindow Window;

  explicit Designer(const std::string& path) {
    Window.show();
    if (!Window.Open(QString::fromStdString(path))) throw std::runtime_error("not opened");
    Settle();
  }
  // Lets the window finish what it queued: an edit commits, then shows.
  static void Settle() {
    for (int round = 0; round < 2; ++round) QCoreApplication::processEvents();
  }

  QWidget& Find(const char* name) {
    auto* widget = Window.findChild<QWidget*>(name);
    if (!widget) throw std::runtime_error(std::string("no widget ") + name);
    return *widget;
  }
  // Clicks the component's picture on the form.
  void ClickOnForm(const char* name) {
    QWidget& picture = Find(name);
    QTest::mouseClick(picture.parentWidget(), Qt::LeftButton, {}, picture.geometry().center());
    Settle();
  }
  void Press(const QKeySequence& keys) {
    // Shortcuts reach the active window only; after a dialog it may not be.
    QApplication::setActiveWindow(&Window);
    QTest::keySequence(&Window, keys);
    Settle();
  }
  bool Has(const char* name) const { return Window.Form()->FindComponent(name) != nullptr; }
};

// Renames the buttons in the namer's dialog, from the inspector's button;
// `afterOk` works the message box that OK may bring.
void RenameButtons(Designer& d, const char* base, std::function<void(QWidget&)> afterOk = {}) {
  WhenModalShown([base, afterOk](QWidget& dialog) {
    auto& list = *dialog.findChild<QListWidget*>("TabList");
    list.setCurrentRow(list.row(list.findItems("TButton", Qt::MatchExactly).front()));
    QTest::keyClicks(dialog.findChild<QLineEdit*>("NameVal"), base);
    QTest::mouseClick(dialog.findChild<QAbstractButton*>("btnChange"), Qt::LeftButton);
    if (afterOk) WhenModalShown(afterOk);
    QTest::mouseClick(dialog.findChild<QAbstractButton*>("BitBtn1"), Qt::LeftButton);
  });
  QTest::mouseClick(&d.Find("Componenter.Edit"), Qt::LeftButton);
  Designer::Settle();
}

QString MessageOf(QWidget& box) {
  const QString text = box.findChild<QLabel*>("qt_msgbox_label")->text();
  QTest::keyClick(&box, Qt::Key_Escape);
  return text;
}

}  // namespace

void WindowTest::inspectorShowsComponenterReadOnly() {
  Designer d(CopyOfOrderForm());
  d.ClickOnForm("ComponentNamer1");
  QCOMPARE(d.Window.findChild<QTreeWidget*>()->currentItem()->text(0),
           QString("ComponentNamer1: TComponentNamer"));
  auto& value = static_cast<QLineEdit&>(d.Find("Componenter"));
  QCOMPARE(value.text(), QString("TStringList"));
  QVERIFY(value.isReadOnly());
  QTest::keyClicks(&value, "x");
  QCOMPARE(value.text(), QString("TStringList"));
  SaveScreenshot(d.Window, "designer.png");

  QString caption;
  WhenModalShown([&caption](QWidget& dialog) {
    caption = dialog.windowTitle();
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  QTest::mouseClick(&d.Find("Componenter.Edit"), Qt::LeftButton);
  QCOMPARE(caption, QString("Component list"));
  QVERIFY(!d.Window.isWindowModified());

  // The tree selects too, and the form's picture follows.
  QTreeWidget& tree = *d.Window.findChild<QTreeWidget*>();
  tree.setCurrentItem(tree.findItems("Button1: TButton", Qt::MatchExactly | Qt::MatchRecursive)[0]);
  Designer::Settle();
  // A property the host's editor takes typing for: F2 on its value, the new
  // text, Enter; Undo takes it back.
  auto& inspector = *d.Window.findChild<QTableWidget*>();
  inspector.setCurrentCell(inspector.findItems("Caption", Qt::MatchExactly).front()->row(), 1);
  QTest::keyClick(&inspector, Qt::Key_F2);
  auto* editor = inspector.viewport()->findChild<QLineEdit*>();
  QVERIFY(editor);
  editor->selectAll();
  QTest::keyClicks(editor, "Go");
  QTest::keyClick(editor, Qt::Key_Return);
  Designer::Settle();
  auto& button = dynamic_cast<host::TControl&>(*d.Window.Form()->FindComponent("Button1"));
  QCOMPARE(button.GetText(), std::string("Go"));
  d.Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QCOMPARE(button.GetText(), std::string("Add item"));

  // A property with a list of values: one picked from the keyboard.
  auto& enabled = *inspector.findChild<QComboBox*>("Enabled");
  QCOMPARE(enabled.count(), 2);
  enabled.lineEdit()->selectAll();
  QTest::keyClicks(&enabled, "False");
  QTest::keyClick(&enabled, Qt::Key_Return);
  Designer::Settle();
  QVERIFY(!button.GetEnabled());
}

void WindowTest::paletteRefusesSecondNamer() {
  Designer d(CopyOfOrderForm());
  auto& palette = *d.Window.findChild<QTabWidget*>();
  QCOMPARE(palette.tabText(0), QString("Quorth"));
  const int count = d.Window.Form()->GetComponentCount();
  QString shown;
  WhenModalShown([&shown](QWidget& box) { shown = MessageOf(box); });
  QTest::mouseClick(&d.Find("TComponentNamer"), Qt::LeftButton);
  Designer::Settle();
  QCOMPARE(shown, QString("Only one instance of ComponentNamer"));
  QCOMPARE(d.Window.Form()->GetComponentCount(), count);
  QVERIFY(!d.Window.isWindowModified());
}

void WindowTest::undoRedoDialogSession() {
  const std::string path = CopyOfOrderForm();
  Designer d(path);
  d.ClickOnForm("ComponentNamer1");
  RenameButtons(d, "Btn");
  QVERIFY(d.Has("Btn0") && !d.Has("Button1"));  // numbered from the start value 0
  QVERIFY(d.Window.isWindowModified());
  d.Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QVERIFY(d.Has("Button1") && !d.Has("Btn0"));
  QVERIFY(!d.Window.isWindowModified());
  d.Press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  QVERIFY(d.Has("Btn2") && !d.Has("Button3"));

  // A session that ends in a refused rename is one step too: Btn0 became
  // Edit0, then Btn1 met Edit1.
  QString shown;
  d.ClickOnForm("ComponentNamer1");
  RenameButtons(d, "Edit", [&shown](QWidget& box) { shown = MessageOf(box); });
  QVERIFY2(shown.contains("Edit1"), qPrintable(shown));
  d.Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QVERIFY(d.Has("Btn0") && d.Has("Btn1") && !d.Has("Edit0"));

  d.Press(QKeySequence(Qt::CTRL | Qt::Key_S));
  QVERIFY(!d.Window.isWindowModified());
  const auto saved = [&path] {
    std::ifstream file(path);
    return std::string{std::istreambuf_iterator<char>(file), {}};
  };
  QVERIFY(saved().find("object Btn2: TButton") != std::string::npos);
  QVERIFY(saved().find("object Edit0") == std::string::npos);

  // The window's own save is not a change on disk made by someone else.
  d.Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
  d.Press(QKeySequence(Qt::CTRL | Qt::Key_S));
  QVERIFY(!d.Window.isWindowModified());
  QVERIFY(saved().find("object Button1: TButton") != std::string::npos);
}

void WindowTest::unreadableFormShowsError() {
  const std::string path = CopyOfOrderForm();
  Designer d(path);
  const std::string bad = path + ".bad";
  std::ofstream(bad) << "object Form1: TForm1\n  Left = \nend\n";
  QString shown;
  WhenModalShown([&shown](QWidget& box) { shown = MessageOf(box); });
  QVERIFY(!d.Window.Open(QString::fromStdString(bad)));
  QVERIFY2(shown.startsWith(QString::fromStdString(bad + ":2:")), qPrintable(shown));
  QVERIFY(!shown.contains('\n'));
  QVERIFY(d.Has("ComponentNamer1"));  // the form shown before stays
}
