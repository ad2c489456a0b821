#include <gtest/gtest.h>

#include "Buttons.h"
#include "FormText.h"
#include "Forms.h"
#include "Packages.h"

using namespace host;

namespace {

// A small form class with two published fields and two published handlers.
class TFProbe : public TForm {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        .Name = "TFProbe",
        .Parent = &TForm::StaticClass(),
        .Fields = {PublishedField("Go", &TFProbe::Go), PublishedField("Box", &TFProbe::Box)},
        .Methods = {PublishedMethod("GoClick", &TFProbe::GoClick),
                    PublishedMethod("FormCreate", &TFProbe::FormCreate)},
    };
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TForm::TForm;

  TSpeedButton* Go = nullptr;
  TEdit* Box = nullptr;
  int clicks = 0;
  std::string atCreate;

  void GoClick(TObject*) { ++clicks; }
  void FormCreate(TObject*) { atCreate = Box ? Box->GetText() : "unbound"; }
};

// A form class that no module holds a resource for.
class TFOrphan : public TForm {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{.Name = "TFOrphan", .Parent = &TForm::StaticClass()};
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TForm::TForm;
};

const std::string kProbe = R"(object FProbe: TFProbe
  Caption = 'Probe'
  BorderStyle = bsDialog
  OnCreate = FormCreate
  object Go: TSpeedButton
    Caption = 'Go'
    OnClick = GoClick
  end
  object Box: TEdit
    Text = 'typed'
    TabOrder = 3
  end
end
)";

// Registers a module holding the resource "TFPROBE", as a package does.
class FormResource : public ::testing::Test {
 protected:
  void SetUp() override { RegisterModule(&module_); }
  void TearDown() override { UnregisterModule(&module_); }

  void Use(std::string text) {
    text_ = std::move(text);
    module_.Resources = {{"TFPROBE", text_}};
  }

  std::string ErrorOf(std::string text) {
    Use(std::move(text));
    int before = Application().GetComponentCount();
    try {
      TCustomForm::Create<TFProbe>(&Application());
    } catch (const Exception& e) {
      EXPECT_EQ(Application().GetComponentCount(), before) << "a half-built form was left";
      return e.what();
    }
    return "no error";
  }

  std::string text_;
  TLibModule module_{"probe.so", {}};
};

TEST_F(FormResource, BuildsControlsBindsFieldsAndHandlersThenRunsOnCreate) {
  Use(kProbe);
  auto form = TCustomForm::Create<TFProbe>(&Application());
  EXPECT_EQ(form->GetOwner(), &Application());
  EXPECT_EQ(form->GetName(), "FProbe");
  EXPECT_EQ(form->GetText(), "Probe");
  EXPECT_EQ(form->GetBorderStyle(), bsDialog);
  ASSERT_NE(form->Go, nullptr);
  EXPECT_EQ(form->Go, form->FindComponent("Go"));
  EXPECT_EQ(form->Box->GetTabOrder(), 3);
  EXPECT_EQ(form->atCreate, "typed") << "OnCreate runs after the controls are read";
  form->Go->Click();
  form->Go->Click();
  EXPECT_EQ(form->clicks, 2);
  form.reset();
  EXPECT_EQ(Application().FindComponent("FProbe"), nullptr);
}

TEST_F(FormResource, AMissingResourceIsNamed) {
  EXPECT_THROW(TCustomForm::Create<TFOrphan>(nullptr), EResNotFound);
  try {
    TCustomForm::Create<TFOrphan>(nullptr);
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "resource 'TFORPHAN' not found");
  }
}

TEST_F(FormResource, AnythingUnpublishedIsAnErrorAndNothingIsLeft) {
  auto replaced = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  EXPECT_EQ(ErrorOf(replaced(kProbe, "object Box: TEdit", "object Other: TEdit")),
            "TFPROBE:9:3: TFProbe publishes no field 'Other'");
  EXPECT_EQ(ErrorOf(replaced(kProbe, "OnClick = GoClick", "OnClick = StopClick")),
            "TFPROBE:7:15: TFProbe publishes no handler 'StopClick'");
  EXPECT_NE(ErrorOf(replaced(kProbe, "object Go: TSpeedButton", "object Go: TLabel"))
                .find("TFPROBE:5:3: field 'Go'"),
            std::string::npos);
  EXPECT_EQ(ErrorOf(replaced(kProbe, "FProbe: TFProbe", "FProbe: TFOther")),
            "TFPROBE:1:1: the resource holds TFOther, not TFProbe");
  EXPECT_EQ(ErrorOf(replaced(kProbe, "bsDialog", "bsRound")),
            "TFPROBE:3:17: BorderStyle: 'bsRound' is not a value of TFormBorderStyle");
}

// A resource replaced beside its module may lack what the class relies on.
TEST_F(FormResource, AnythingPublishedButMissingIsAnErrorAndNothingIsLeft) {
  auto without = [](std::string text, const std::string& part) {
    return text.erase(text.find(part), part.size());
  };
  EXPECT_EQ(ErrorOf(without(kProbe,
                            "  object Box: TEdit\n    Text = 'typed'\n    TabOrder = 3\n  end\n")),
            "TFPROBE:1:1: form FProbe (TFProbe) has no control for its field Box");
  EXPECT_EQ(ErrorOf(without(kProbe, "    OnClick = GoClick\n")),
            "TFPROBE:1:1: form FProbe (TFProbe) has no event bound to its handler GoClick");
  EXPECT_EQ(ErrorOf(without(kProbe, "  OnCreate = FormCreate\n")),
            "TFPROBE:1:1: form FProbe (TFProbe) has no event bound to its handler FormCreate");
}

}  // namespace
