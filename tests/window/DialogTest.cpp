// The "Component list" dialog in a window, opened through the namer's editor
// and worked with the mouse and the keyboard.
#include <dlfcn.h>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "DialogSession.h"
#include "FormDialog.h"
#include "FormFile.h"
#include "Inspector.h"
#include "WindowCommands.h"
#include "WindowModule.h"
#include "WindowPresenter.h"
#include "WindowTest.h"

namespace {

template <class W>
W& Child(QWidget& dialog, const char* name) {
  auto* widget = dialog.findChild<W*>(name);
  if (!widget) throw std::runtime_error(std::string("no widget ") + name);
  return *widget;
}

QListWidget& List(QWidget& dialog) { return Child<QListWidget>(dialog, "TabList"); }

int RowOf(QListWidget& list, const QString& text) {
  for (int row = 0; row < list.count(); ++row)
    if (list.item(row)->text() == text) return row;
  throw std::runtime_error("no row " + text.toStdString());
}

void ClickRow(QListWidget& list, const QString& text, Qt::KeyboardModifiers keys = {}) {
  QListWidgetItem* item = list.item(RowOf(list, text));
  list.scrollToItem(item);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, keys, list.visualItemRect(item).center());
}

QStringList Rows(const QListWidget& list) {
  QStringList rows;
  for (int row = 0; row < list.count(); ++row) rows << list.item(row)->text();
  return rows;
}

void Type(QWidget& dialog, const char* base, int start) {
  QTest::keyClicks(&Child<QLineEdit>(dialog, "NameVal"), base);
  auto& spin = Child<QSpinBox>(dialog, "MaxValueIndex");
  spin.selectAll();
  QTest::keyClicks(&spin, QString::number(start));
}

void Click(QWidget& dialog, const char* button) {
  QTest::mouseClick(&Child<QAbstractButton>(dialog, button), Qt::LeftButton);
}

std::string FileText(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// The dialog opened on a form, as the inspector's dialog button opens it;
// `drive` works it once it is shown.
struct Session {
  designer::OpenForm Form;
  int Notifications = 0;

  Session(const std::string& path, std::function<void(QWidget&)> drive)
      : Form(designer::ReadForm(path)) {
    host::TFormDesigner formDesigner(*Form.Form);
    const designer::PresenterScope scope(std::make_unique<window::WindowPresenter>());
    WhenModalShown(std::move(drive));
    host::EditProperty(formDesigner, designer::FindNamer(*Form.Form, path),
                       designer::kListingProperty);
    Notifications = formDesigner.ModifiedNotifications();
  }
  bool Has(const char* name) const { return Form.Form->FindComponent(name) != nullptr; }
};

}  // namespace

void WindowTest::dialogRenamesBlockFromHeaderRow() {
  const Session session(CopyOfOrderForm(), [](QWidget& dialog) {
    QListWidget& list = List(dialog);
    ClickRow(list, "TButton");
    Type(dialog, "Btn", 5);
    Click(dialog, "btnChange");
    const int header = RowOf(list, "TButton");
    QCOMPARE(Rows(list).mid(header, 5),
             (QStringList{"TButton", "\tBtn5", "\tBtn6", "\tBtn7", "TMemo"}));
    list.scrollToItem(list.item(header - 2), QAbstractItemView::PositionAtTop);
    SaveScreenshot(dialog, "dialog.png");
    // Enter in the base name's box presses the default button, OK.
    QTest::keyClick(&Child<QLineEdit>(dialog, "NameVal"), Qt::Key_Return);
  });
  QVERIFY(session.Has("Btn5") && session.Has("Btn7") && !session.Has("Button1"));
  QCOMPARE(session.Notifications, 1);
}

void WindowTest::dialogSelectionModeAndCancelChange() {
  const Session session(CopyOfOrderForm(), [](QWidget& dialog) {
    QListWidget& list = List(dialog);
    const QStringList opened = Rows(list);
    ClickRow(list, "\tButton1");
    ClickRow(list, "\tButton3", Qt::ControlModifier);
    Type(dialog, "X", 0);
    Click(dialog, "btnChange");
    QCOMPARE(Rows(list).mid(RowOf(list, "TButton") + 1, 3),
             (QStringList{"\tX0", "\tButton2", "\tX1"}));
    ClickRow(list, "\tEdit1");
    ClickRow(list, "\tEdit3", Qt::ShiftModifier);
    Click(dialog, "btnChange");
    QCOMPARE(Rows(list).mid(RowOf(list, "TEdit") + 1, 4),
             (QStringList{"\tX0", "\tX1", "\tX2", "\tEdit4"}));
    Click(dialog, "CancelChangeBtn");
    QCOMPARE(Rows(list), opened);
    QVERIFY(list.selectedItems().isEmpty());
    Click(dialog, "BitBtn1");
  });
  // OK after Cancel Change gives every component its own name back.
  QVERIFY(session.Has("Button1") && session.Has("Edit1"));
  QCOMPARE(session.Notifications, 1);
}

void WindowTest::dialogEscapeRenamesNothing() {
  const Session session(CopyOfOrderForm(), [](QWidget& dialog) {
    ClickRow(List(dialog), "TButton");
    Type(dialog, "Btn", 1);
    Click(dialog, "btnChange");
    QTest::keyClick(&List(dialog), Qt::Key_Escape);
  });
  QVERIFY(session.Has("Button1") && !session.Has("Btn1"));
  QCOMPARE(session.Notifications, 0);
}

void WindowTest::dialogLayoutFollowsForm() {
  const Session session(CopyOfOrderForm(), [](QWidget& dialog) {
    QCOMPARE(dialog.windowTitle(), QString("Component list"));
    QCOMPARE(dialog.size(), QSize(434, 314));
    QCOMPARE(dialog.pos(), QPoint(138, 154));
    const struct {
      const char* Name;
      QRect Geometry;
      QString Text;
    } controls[] = {
        {"TabList", {8, 8, 289, 297}, {}},
        {"Label1", {304, 9, 101, 13}, "Name of components"},
        {"NameVal", {304, 25, 121, 21}, ""},
        {"Label2", {304, 57, 119, 13}, "Start value of component"},
        {"MaxValueIndex", {304, 73, 121, 22}, {}},
        {"btnChange", {304, 105, 121, 25}, "Change"},
        {"CancelChangeBtn", {304, 136, 121, 25}, "Cancel Change"},
        {"BitBtn1", {304, 248, 121, 25}, "OK"},
        {"BitBtn2", {304, 280, 121, 25}, "Cancel"},
    };
    for (const auto& c : controls) {
      QWidget& widget = Child<QWidget>(dialog, c.Name);
      QCOMPARE(widget.geometry(), c.Geometry);
      if (auto* label = qobject_cast<QLabel*>(&widget)) QCOMPARE(label->text(), c.Text);
      if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        QCOMPARE(button->text(), c.Text);
        QVERIFY(!button->icon().isNull());
      }
    }
    QVERIFY(Child<QPushButton>(dialog, "BitBtn1").isDefault());
    auto& change = Child<QToolButton>(dialog, "btnChange");
    QVERIFY(change.icon().pixmap(16, QIcon::Disabled).toImage() !=
            change.icon().pixmap(16, QIcon::Normal).toImage());
    QCOMPARE(Child<QSpinBox>(dialog, "MaxValueIndex").minimum(), INT32_MIN);
    QWidget* focus = &Child<QWidget>(dialog, "BitBtn1");
    for (const char* next : {"BitBtn2", "TabList", "NameVal"}) {
      do focus = focus->nextInFocusChain();  // past a widget's inner parts
      while (focus->objectName().isEmpty() || focus->objectName().startsWith("qt_"));
      QCOMPARE(focus->objectName(), QString(next));
    }
    Click(dialog, "BitBtn2");
  });
}

void WindowTest::offScreenPositionMovesOnScreen() {
  const QRect screen(0, 0, 800, 600);
  const struct {
    QRect Frame;
    QPoint Expected;
  } cases[] = {
      {{138, 154, 434, 314}, {138, 154}},  // on the screen: stays
      {{700, 500, 434, 314}, {366, 286}},  // beyond the bottom right
      {{-50, -20, 434, 314}, {0, 0}},      // beyond the top left
      {{10, 10, 900, 700}, {0, 0}},        // larger than the screen: top left shows
  };
  for (const auto& c : cases) QCOMPARE(window::OnScreen(c.Frame, screen), c.Expected);
}

void WindowTest::editCommandSavesOnOkOnly() {
  const std::string path = CopyOfOrderForm();
  const std::string original = FileText(path);
  WhenModalShown([](QWidget& dialog) {
    Type(dialog, "Btn", 1);
    Click(dialog, "BitBtn2");
  });
  QCOMPARE(window::EditCommand(path), 0);
  QCOMPARE(FileText(path), original);

  WhenModalShown([](QWidget& dialog) {
    ClickRow(List(dialog), "TButton");
    Type(dialog, "Btn", 1);
    Click(dialog, "btnChange");
    Click(dialog, "BitBtn1");
  });
  QCOMPARE(window::EditCommand(path), 0);
  const std::string saved = FileText(path);
  QVERIFY(saved.find("object Btn1: TButton") != std::string::npos);
  QVERIFY(saved.find("object Button1:") == std::string::npos);
  QVERIFY(saved.find("#9'Btn1'") != std::string::npos);
}

void WindowTest::editCommandShowsErrors() {
  const std::string path = CopyOfOrderForm();
  const std::string original = FileText(path);
  QString shown;
  auto readMessage = [&shown](QWidget& box) {
    shown = box.findChild<QLabel*>("qt_msgbox_label")->text();
    QTest::keyClick(&box, Qt::Key_Escape);
  };
  // Buttons renamed onto the edit boxes' names: the host refuses Edit1.
  WhenModalShown([&](QWidget& dialog) {
    ClickRow(List(dialog), "TButton");
    Type(dialog, "Edit", 1);
    Click(dialog, "btnChange");
    WhenModalShown(readMessage);
    Click(dialog, "BitBtn1");
  });
  QCOMPARE(window::EditCommand(path), 1);
  QVERIFY2(shown.contains("Edit1"), qPrintable(shown));
  QCOMPARE(FileText(path), original);

  std::ofstream(path) << "object Form1: TForm1\nend\n";
  WhenModalShown(readMessage);
  QCOMPARE(window::EditCommand(path), 1);
  QVERIFY2(shown.contains("TComponentNamer"), qPrintable(shown));

  // The same through the module the designer program opens for `edit`.
  void* module = dlopen(WINDOW_MODULE, RTLD_NOW | RTLD_LOCAL);
  QVERIFY2(module, dlerror());
  auto edit = reinterpret_cast<int (*)(const char*)>(dlsym(module, designer::kEditEntry));
  QVERIFY(edit && dlsym(module, designer::kGuiEntry));
  shown.clear();
  WhenModalShown(readMessage);
  QCOMPARE(edit(path.c_str()), 1);
  QVERIFY2(shown.contains("TComponentNamer"), qPrintable(shown));
}
