#pragma once
// The window under Qt's offscreen platform, driven by real input events; the
// package is the built module, loaded once for all tests.

#include <QObject>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <string>

#include "LoadedPackages.h"

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();

  // The dialog, through the namer's editor (DialogTest.cpp).
  void dialogRenamesBlockFromHeaderRow();
  void dialogSelectionModeAndCancelChange();
  void dialogEscapeRenamesNothing();
  void dialogLayoutFollowsForm();
  void offScreenPositionMovesOnScreen();
  void editCommandSavesOnOkOnly();
  void editCommandShowsErrors();

  // The designer window (DesignerWindowTest.cpp).
  void inspectorShowsComponenterReadOnly();
  void paletteRefusesSecondNamer();
  void undoRedoDialogSession();
  void unreadableFormShowsError();

 private:
  // A copy of examples/order.form in a fresh folder.
  std::string CopyOfOrderForm();
  std::optional<designer::LoadedPackages> packages_;
  std::optional<QTemporaryDir> dir_;
};

// Runs `drive` on the next modal window once it is shown, from within its
// event loop, so that a test can work a modal dialog.
void WhenModalShown(std::function<void(QWidget&)> drive);

// Writes a screenshot of `widget` beside the test program.
void SaveScreenshot(QWidget& widget, const char* name);
