#pragma once
// The rename dialog built from its real resource, as the package shows it.

#include <gtest/gtest.h>

#include "CFNamer.h"
#include "Packages.h"
#include "ScriptedPresenter.h"

class Dialog : public ::testing::Test {
 protected:
  Dialog() {
    host::RegisterModule(&module_);
    dialog = host::TCustomForm::Create<cfnamer::TFCompon>(&host::Application());
  }
  ~Dialog() override {
    dialog.reset();
    host::Application().SetModalPresenter(nullptr);
    host::UnregisterModule(&module_);
  }

  // Loads the listing into the list box and the saved list, as the property
  // editor does, and shows the dialog to a user who performs `script`.
  host::TModalResult Session(const std::vector<std::string>& listing,
                             std::vector<host::TUserAction> script) {
    host::TStringList lines;
    lines.SetLines(listing);
    dialog->TabList->Items().Assign(lines);
    dialog->FSavedList->Assign(lines);
    return Show(std::move(script));
  }

  host::TModalResult Show(std::vector<host::TUserAction> script) {
    host::Application().SetModalPresenter(
        std::make_unique<host::TScriptedPresenter>(std::move(script)));
    return dialog->ShowModal();
  }

  std::vector<std::string> Rows() const { return dialog->TabList->Items().Strings().Copy(); }

  host::TLibModule module_{"editor", {{"TFCOMPON", cfnamer::FComponResource()}}};
  std::unique_ptr<cfnamer::TFCompon> dialog;
};
