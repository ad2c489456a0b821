#include <gtest/gtest.h>

#include "Forms.h"
#include "Inspector.h"
#include "RegistrationLog.h"

using namespace host;

namespace {

// One published property of each kind the inspector shows.
class TGauge : public TComponent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        .Name = "TGauge",
        .Parent = &TComponent::StaticClass(),
        .Properties = {PublishedInteger("Progress", &TGauge::Progress, &TGauge::SetProgress),
                       PublishedBoolean("Smooth", &TGauge::Smooth, &TGauge::SetSmooth),
                       PublishedString("Hint", &TGauge::Hint, &TGauge::SetHint),
                       {"Marks", TypeInfo<TStringList>(),
                        [](TObject&) -> FormValue { throw Exception("class value read"); }},
                       PublishedEvent("OnChange", &TGauge::OnChange)}};
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TComponent::TComponent;

  int Progress() const { return progress; }
  void SetProgress(int value) { progress = value; }
  bool Smooth() const { return smooth; }
  void SetSmooth(bool value) { smooth = value; }
  std::string Hint() const { return hint; }
  void SetHint(const std::string& value) { hint = value; }

  int progress = 0;
  bool smooth = false;
  std::string hint;
  TStringList marks;
  TEventHandler OnChange;
};

class TRoundGauge : public TGauge {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{.Name = "TRoundGauge", .Parent = &TGauge::StaticClass()};
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TGauge::TGauge;
};

// A dialog editor; registered under several names to tell registrations apart.
class TMarksDialog : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override { return {paDialog, paReadOnly}; }
  void Edit() override {
    GetComponent(0)->As<TGauge>().marks.Add("edited");
    Designer().Modified();
  }
};
const TPropertyEditorClassInfo kNear{"Near", NewPropertyEditor<TMarksDialog>};
const TPropertyEditorClassInfo kFar{"Far", NewPropertyEditor<TMarksDialog>};

const TPropInfo& Prop(std::string_view name) { return *TGauge::StaticClass().FindProperty(name); }
std::string EditorFor(std::string_view prop, const TClassInfo& c) {
  return GetEditorClass(Prop(prop), &c)->Name;
}

template <class F>
std::string ErrorOf(F action) {
  try {
    action();
  } catch (const EPropertyError& e) {
    return e.what();
  }
  return "accepted";
}

// Registrations made in a test go to a log of its own, replayed after.
struct Registrations : testing::Test {
  TRegistrationLog log;
  TRegistrationScope scope{log};
  ~Registrations() override { log.Replay(); }
};

TEST_F(Registrations, MostSpecificWins) {
  const TClassInfo& round = TRoundGauge::StaticClass();
  EXPECT_EQ(EditorFor("Progress", round), "TPropertyEditor");
  RegisterPropertyEditor(IntegerTypeInfo(), nullptr, "Progress", &kFar);
  EXPECT_EQ(EditorFor("Progress", round), "Far");
  // Any registered class beats none; a closer class beats a named property.
  RegisterPropertyEditor(IntegerTypeInfo(), &TComponent::StaticClass(), "", &kNear);
  EXPECT_EQ(EditorFor("Progress", round), "Near");
  RegisterPropertyEditor(IntegerTypeInfo(), &TGauge::StaticClass(), "", &kFar);
  RegisterPropertyEditor(IntegerTypeInfo(), &TComponent::StaticClass(), "Progress", &kNear);
  EXPECT_EQ(EditorFor("Progress", round), "Far");
  // Same class: a named property beats all properties, whatever the order.
  RegisterPropertyEditor(IntegerTypeInfo(), &TGauge::StaticClass(), "progress", &kNear);
  RegisterPropertyEditor(IntegerTypeInfo(), &TGauge::StaticClass(), "", &kFar);
  EXPECT_EQ(EditorFor("Progress", round), "Near");
  // Equal ranks: the later one wins. A derived class's does not serve its base.
  RegisterPropertyEditor(IntegerTypeInfo(), &TGauge::StaticClass(), "Progress", &kFar);
  RegisterPropertyEditor(IntegerTypeInfo(), &round, "", &kNear);
  EXPECT_EQ(EditorFor("Progress", TGauge::StaticClass()), "Far");
  EXPECT_EQ(EditorFor("Smooth", round), "TPropertyEditor");  // another type
}

TEST_F(Registrations, ReplayingALogTakesOutOnlyItsOwn) {
  RegisterPropertyEditor(IntegerTypeInfo(), nullptr, "", &kFar);
  TRegistrationLog other;
  {
    TRegistrationScope otherScope(other);
    RegisterPropertyEditor(IntegerTypeInfo(), nullptr, "", &kNear);
  }
  EXPECT_EQ(EditorFor("Progress", TGauge::StaticClass()), "Near");
  other.Replay();
  EXPECT_EQ(EditorFor("Progress", TGauge::StaticClass()), "Far");
}

struct Inspection : Registrations {
  TForm form{nullptr};
  TFormDesigner designer{form};
  TGauge* gauge = new TGauge(&form);

  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (const TInspectorRow& row : InspectComponent(designer, *gauge))
      lines.push_back(InspectorLine(row));
    return lines;
  }
};

TEST_F(Inspection, DefaultEditorsShowValuesAndAttributes) {
  gauge->progress = -42;
  gauge->hint = "tab\there";
  gauge->OnChange = TEventHandler("GaugeChange");
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "Progress  -42  [multi-select]",
                         "Smooth  False  [value list, multi-select]",
                         "Hint  tab\there  [multi-select]",
                         "Marks  (TStringList)  [multi-select, read-only]",
                         "OnChange  GaugeChange  [multi-select]",
                     }));
  EXPECT_EQ(TPropertyAttributes({paDialog, paReadOnly}).Bits(), 68u);
}

TEST_F(Inspection, TypedValuesReachEveryComponentOrAreRefused) {
  auto* second = new TGauge(&form);
  auto progress = CreatePropertyEditor(designer, {gauge, second}, Prop("Progress"));
  progress->SetValue(" 17 ");
  EXPECT_EQ(second->progress + gauge->progress, 34);
  EXPECT_EQ(designer.ModifiedNotifications(), 1);
  EXPECT_TRUE(progress->AllEqual());
  second->progress = 3;
  EXPECT_FALSE(progress->AllEqual());

  auto refusal = [&](std::string_view prop, const std::string& text) {
    return ErrorOf([&] { CreatePropertyEditor(designer, {gauge}, Prop(prop))->SetValue(text); });
  };
  EXPECT_EQ(refusal("Smooth", "true"), "accepted");
  EXPECT_EQ(refusal("OnChange", ""), "accepted");
  EXPECT_EQ(refusal("Progress", "12a"), "Property Progress: expected an integer, found '12a'");
  EXPECT_EQ(refusal("OnChange", "a b"), "Property OnChange: 'a b' is not an identifier");
  EXPECT_EQ(refusal("Marks", "x"), "Property Marks is read-only");
  EXPECT_TRUE(gauge->smooth);
  EXPECT_EQ(designer.ModifiedNotifications(), 3);
}

TEST_F(Inspection, DialogButtonRunsTheRegisteredEditorOnly) {
  RegisterPropertyEditor(TypeInfo<TStringList>(), &TGauge::StaticClass(), "Marks", &kNear);
  EXPECT_EQ(Lines()[3], "Marks  (TStringList)  [dialog, read-only]");
  EditProperty(designer, *gauge, "Marks");
  EXPECT_EQ(gauge->marks.Copy(), std::vector<std::string>{"edited"});
  EXPECT_EQ(designer.ModifiedNotifications(), 1);

  gauge->SetName("Gauge1");
  EXPECT_EQ(ErrorOf([&] { EditProperty(designer, *gauge, "Progress"); }),
            "Property Progress of Gauge1 has no dialog");
  EXPECT_EQ(ErrorOf([&] { EditProperty(designer, *gauge, "Colour"); }),
            "Gauge1 (TGauge) has no property Colour");
}

}  // namespace
