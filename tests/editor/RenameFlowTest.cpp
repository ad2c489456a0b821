#include <gtest/gtest.h>

#include "CFNamerEditor.h"
#include "CNamer.h"
#include "FormStreaming.h"
#include "FormText.h"
#include "Forms.h"
#include "Inspector.h"
#include "Packages.h"
#include "RegistrationLog.h"
#include "ScriptedPresenter.h"

using namespace host;

namespace {

using Strings = std::vector<std::string>;

// A component that keeps every name it was given.
class TProbe : public TComponent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{.Name = "TProbe", .Parent = &TComponent::StaticClass()};
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TComponent::TComponent;
  void SetName(const std::string& NewName) override {
    Given.push_back(NewName);
    TComponent::SetName(NewName);
  }
  Strings Given;
};

// Clicks the dialog button of the namer's Componenter, the user's actions
// played by a scripted presenter, and checks that the dialog is gone from
// Application afterwards, however the session ended.
void PlaySession(TFormDesigner& designer, TComponent& namer, std::vector<TUserAction> script) {
  const int before = Application().GetComponentCount();
  Application().SetModalPresenter(std::make_unique<TScriptedPresenter>(std::move(script)));
  struct Restore {
    int before;
    ~Restore() {
      Application().SetModalPresenter(nullptr);
      EXPECT_EQ(Application().GetComponentCount(), before) << "the dialog outlived its session";
    }
  } restore{before};
  EditProperty(designer, namer, "Componenter");
}

// The package's registrations and dialog resource, as loading it makes them.
struct RenameFlow : testing::Test {
  TLibModule module{"editor-test", {{"TFCOMPON", cfnamer::FComponResource()}}};
  TRegistrationLog registrations;
  TForm form{nullptr};
  TFormDesigner designer{form};
  cnamer::TComponentNamer* namer = nullptr;

  RenameFlow() {
    RegisterModule(&module);
    TRegistrationScope scope(registrations);
    cnamer::Register();
    cfnamer::Register();
  }
  ~RenameFlow() override {
    registrations.Replay();
    UnregisterModule(&module);
  }

  // Probes named `names`, then the namer, on the form, which is then unchanged.
  std::vector<TProbe*> Place(const Strings& names) {
    std::vector<TProbe*> probes;
    for (const std::string& name : names) {
      probes.push_back(new TProbe(&form));
      probes.back()->SetName(name);
      probes.back()->Given.clear();
    }
    namer = new cnamer::TComponentNamer(&form);
    namer->SetName("ComponentNamer1");
    designer.MarkSaved();
    return probes;
  }
  Strings Names() const {
    Strings names;
    for (const TComponent* c : form.Components()) names.push_back(c->GetName());
    return names;
  }
  void Play(std::vector<TUserAction> script) { PlaySession(designer, *namer, std::move(script)); }
};

const TClickControl kChange{"btnChange"};
const TClickControl kOk{"BitBtn1"};
const TClickControl kCancel{"BitBtn2"};

// Base name and start value typed, rows selected, Change pressed.
std::vector<TUserAction> Plan(const std::string& base, int start, std::vector<int> rows) {
  std::vector<TUserAction> script{TTypeText{"NameVal", base},
                                  TSetSpinValue{"MaxValueIndex", start}};
  for (int row : rows) script.push_back(TSelectRow{"TabList", row, true});
  script.push_back(kChange);
  return script;
}

std::vector<TUserAction> Then(std::vector<TUserAction> script, std::vector<TUserAction> more) {
  script.insert(script.end(), more.begin(), more.end());
  return script;
}

TEST_F(RenameFlow, InspectorShowsTheTypeNameWithADialogButtonAndNoTyping) {
  Place({});
  std::vector<TInspectorRow> rows = InspectComponent(designer, *namer);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(InspectorLine(rows[0]), "Componenter  TStringList  [dialog, read-only]");
  EXPECT_EQ(rows[0].Attributes.Bits(), 68u);
}

TEST_F(RenameFlow, OkWithoutChangeGivesEveryComponentItsOwnNameAndNotifiesOnce) {
  auto probes = Place({"Alpha", "Beta"});
  Play({kOk});
  EXPECT_EQ(probes[0]->Given, Strings{"Alpha"});
  EXPECT_EQ(probes[1]->Given, Strings{"Beta"});
  EXPECT_EQ(designer.ModifiedNotifications(), 1);
}

TEST_F(RenameFlow, BlockRenameAppliesInListingOrderWithBlanksTrimmed) {
  Place({"Button1", "Other", "Button2"});
  Play(Then(Plan(" Btn", 1, {0}), {kOk}));
  EXPECT_EQ(Names(), (Strings{"Btn1", "Btn2", "Btn3", "ComponentNamer1"}));
  EXPECT_EQ(designer.ModifiedNotifications(), 1);
}

TEST_F(RenameFlow, SelectedHeaderTakesANumberThatNoComponentReceives) {
  Place({"P1"});
  // Rows: TProbe, P1, TComponentNamer, ComponentNamer1; selection mode from row 1.
  Play(Then(Plan("X", 1, {1, 2, 3}), {kOk}));
  EXPECT_EQ(Names(), (Strings{"X1", "X3"}));
}

TEST_F(RenameFlow, CancelAfterChangesLeavesEverythingAsItWas) {
  auto probes = Place({"P1"});
  Play(Then(Plan("A", 1, {0}), {TTypeText{"NameVal", "B"}, kChange, kCancel}));
  EXPECT_TRUE(probes[0]->Given.empty());
  EXPECT_EQ(designer.ModifiedNotifications(), 0);
  EXPECT_FALSE(designer.IsChanged());
}

TEST_F(RenameFlow, RefusedFirstRenameStopsTheApplyWithoutNotifying) {
  auto probes = Place({"Button1", "Button2"});
  // Button1 -> Button2 meets the name a later row still holds.
  EXPECT_THROW(Play(Then(Plan("Button", 2, {0}), {kOk})), EComponentError);
  EXPECT_EQ(probes[0]->Given, Strings{"Button2"});
  EXPECT_TRUE(probes[1]->Given.empty());
  EXPECT_EQ(Names(), (Strings{"Button1", "Button2", "ComponentNamer1"}));
  EXPECT_EQ(designer.ModifiedNotifications(), 0);
}

TEST_F(RenameFlow, AnotherComponentIsAConversionErrorAndTheDialogIsReleased) {
  auto probes = Place({"P1"});
  const TPropInfo& prop = *cnamer::TComponentNamer::StaticClass().FindProperty("Componenter");
  auto editor =
      cfnamer::TComponentPropertyEditor::StaticClass().Create(designer, {probes[0]}, prop);
  const int before = Application().GetComponentCount();
  EXPECT_THROW(editor->Edit(), EInvalidCast);
  EXPECT_EQ(Application().GetComponentCount(), before);
}

TEST_F(RenameFlow, FormReadFromTextIsRenamedAndWrittenBack) {
  constexpr std::string_view text = R"(object Form1: TForm1
  object Button1: TButton
    Caption = 'Save'
  end
  object Edit1: TEdit
  end
  object Button2: TButton
  end
  object ComponentNamer1: TComponentNamer
    Componenter.Strings = (
      'stale')
  end
end
)";
  std::unique_ptr<TForm> read =
      LoadForm(ParseFormText(std::string(text), "Orders.form").Root, "Orders.form");
  TFormDesigner fileDesigner(*read);
  PlaySession(fileDesigner, *read->FindComponent("ComponentNamer1"),
              Then(Plan("Btn", 1, {0}), {kOk}));
  EXPECT_TRUE(fileDesigner.IsChanged());
  EXPECT_EQ(FormatFormText(WriteComponents(*read)), R"(object Form1: TForm1
  object Btn1: TButton
    Caption = 'Save'
  end
  object Edit1: TEdit
  end
  object Btn2: TButton
  end
  object ComponentNamer1: TComponentNamer
    Componenter.Strings = (
      'TButton'
      #9'Btn1'
      #9'Btn2'
      'TEdit'
      #9'Edit1'
      'TComponentNamer'
      #9'ComponentNamer1')
  end
end
)");
}

}  // namespace
