#include "WindowTest.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <filesystem>

void WindowTest::initTestCase() { packages_.emplace(std::vector<std::string>{PACKAGE}); }

void WindowTest::cleanupTestCase() { QVERIFY(packages_->Unload()); }

std::string WindowTest::CopyOfOrderForm() {
  dir_.emplace();
  const std::string path = dir_->filePath("order.form").toStdString();
  std::filesystem::copy_file(EXAMPLES_DIR "/order.form", path);
  return path;
}

void WhenModalShown(std::function<void(QWidget&)> drive) {
  const QPointer<QWidget> before = QApplication::activeModalWidget();
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, before, drive = std::move(drive)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == before) return;
    poll->stop();
    poll->deleteLater();
    const QPointer<QWidget> shown = modal;
    drive(*modal);
    // A failed check returns early: close the window so that the test ends.
    if (auto* dialog = qobject_cast<QDialog*>(shown.data()); dialog && dialog->isVisible())
      dialog->reject();
  });
  poll->start(0);
}

void SaveScreenshot(QWidget& widget, const char* name) {
  QVERIFY(widget.grab().save(QString(SCREENSHOT_DIR "/") + name));
}

QTEST_MAIN(WindowTest)
