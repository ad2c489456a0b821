#include <gtest/gtest.h>

#include "Buttons.h"
#include "ScriptedPresenter.h"
#include "Spin.h"

using namespace host;

namespace {

// A form built in code: a list, an edit box, a spin box, a speed button whose
// handler records what it sees, and an OK button.
class Presenter : public ::testing::Test {
 protected:
  Presenter() {
    form.SetName("Probe");
    list->SetName("List");
    list->SetMultiSelect(true);
    for (const char* row : {"a", "b", "c"}) list->Items().Add(row);
    edit->SetName("Edit");
    spin->SetName("Start");
    go->SetName("Go");
    go->OnClick.Bind([this](TObject* sender) {
      seen.push_back(edit->GetText() + ":" + std::to_string(spin->GetValue()) + ":" +
                     std::to_string(list->GetSelected(1)) + (sender == go ? "" : "?"));
    });
    ok->SetName("Ok");
    ok->SetKind(bkOK);
  }
  ~Presenter() override { Application().SetModalPresenter(nullptr); }

  TModalResult Run(std::vector<TUserAction> script) {
    Application().SetModalPresenter(std::make_unique<TScriptedPresenter>(std::move(script)));
    return form.ShowModal();
  }

  std::string ErrorOf(std::vector<TUserAction> script) {
    try {
      Run(std::move(script));
    } catch (const Exception& e) {
      return e.what();
    }
    return "no error";
  }

  TForm form{nullptr};
  TListBox* list = new TListBox(&form);
  TEdit* edit = new TEdit(&form);
  TSpinEdit* spin = new TSpinEdit(&form);
  TSpeedButton* go = new TSpeedButton(&form);
  TBitBtn* ok = new TBitBtn(&form);
  std::vector<std::string> seen;
};

TEST_F(Presenter, ActionsReachTheControlsAndRunTheirHandlers) {
  TModalResult result =
      Run({TSelectRow{"List", 1}, TTypeText{"Edit", "Btn"}, TSetSpinValue{"Start", 7},
           TClickControl{"Go"}, TSelectRow{"List", 1, false}, TClickControl{"Go"},
           TSelectRow{"List", 1}, TSelectRow{"List", 2}, TUnselectAllRows{"List"},
           TClickControl{"Go"}, TClickControl{"Ok"}});
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(seen, (std::vector<std::string>{"Btn:7:1", "Btn:7:0", "Btn:7:0"}));
  EXPECT_FALSE(list->GetSelected(2));
}

TEST_F(Presenter, ClosesWithTheScriptsResultOrOkAtItsEnd) {
  EXPECT_EQ(Run({TCloseForm{mrCancel}}), mrCancel);
  EXPECT_EQ(form.GetModalResult(), mrCancel);
  EXPECT_EQ(Run({TClickControl{"Go"}}), mrOk);
  EXPECT_EQ(Run({}), mrOk);
}

TEST_F(Presenter, RefusesWhatAPersonCouldNotDo) {
  EXPECT_EQ(ErrorOf({TClickControl{"Ok"}, TClickControl{"Go"}}),
            "script step 2 on form Probe: the form is already closed");
  EXPECT_EQ(ErrorOf({TClickControl{"Nope"}}), "script step 1 on form Probe: no control named Nope");
  EXPECT_EQ(ErrorOf({TTypeText{"List", "x"}}),
            "script step 1 on form Probe: List is not an edit box");
  EXPECT_EQ(ErrorOf({TSelectRow{"List", 3}}), "script step 1 on form Probe: List has no row 3");
  go->SetEnabled(false);
  EXPECT_EQ(ErrorOf({TSelectRow{"List", 0}, TClickControl{"Go"}}),
            "script step 2 on form Probe: Go is hidden or disabled");
  EXPECT_TRUE(seen.empty());
}

TEST_F(Presenter, ShowModalNeedsAPresenter) {
  Application().SetModalPresenter(nullptr);
  try {
    form.ShowModal();
    FAIL() << "shown without a presenter";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "cannot show form Probe: the application has no modal presenter");
  }
}

}  // namespace
