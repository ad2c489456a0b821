#include <gtest/gtest.h>

#include "CNamer.h"
#include "FormStreaming.h"
#include "FormText.h"
#include "Forms.h"
#include "StdCtrls.h"

using namespace host;
using cnamer::TComponentNamer;

namespace {

FormObject Parse(const std::string& text) { return ParseFormText(text, "test.form").Root; }

// As the designer opens a file: object by object from the text.
std::unique_ptr<TForm> Load(const std::string& text) {
  return LoadFormText(std::make_shared<const std::string>(text), "test.form").Form;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ESourceError& e) {
    return e.what();
  }
  return "no error";
}

// The host's classes a form file may name, and the namer, as a loaded package
// would register them.
class Streaming : public ::testing::Test {
 protected:
  void SetUp() override {
    for (TClass c : classes_) RegisterClass(c);
  }
  void TearDown() override {
    for (TClass c : classes_) UnRegisterClass(c);
  }
  std::vector<TClass> classes_{&TButton::StaticClass(), &TEdit::StaticClass(),
                               &TComponentNamer::StaticClass()};
};

const std::string kNested = R"(object MainForm: TMainForm
  Left = 10
  Caption = 'Main'
  OnCreate = FormCreate
  object Panel1: TPanel
    Align = alTop
    object Button1: TButton
      Caption = 'OK'
    end
    object Grid1: TStringGrid
      Columns = <
        item
          Width = 64
        end>
    end
  end
  object Edit1: TEdit
    PopupMenu = Menu1
  end
  inline Frame1: TFrame1
    object Button1: TButton
    end
  end
  object TDataSource
  end
end
)";

TEST_F(Streaming, LoadsEveryObjectOwnedByTheFormInFileOrder) {
  auto form = Load(kNested);
  EXPECT_EQ(form->ClassName(), "TMainForm");
  EXPECT_EQ(form->GetName(), "MainForm");
  std::vector<std::string> seen;
  for (TComponent* c : form->Components()) seen.push_back(c->ClassName() + " " + c->GetName());
  EXPECT_EQ(seen, (std::vector<std::string>{"TPanel Panel1", "TButton Button1", "TStringGrid Grid1",
                                            "TEdit Edit1", "TFrame1 Frame1", "TDataSource "}));
  TComponent* frame = form->FindComponent("Frame1");
  ASSERT_EQ(frame->GetComponentCount(), 1);  // the frame's button is the frame's own
  EXPECT_EQ(frame->GetComponent(0)->GetParentComponent(), frame);
  EXPECT_EQ(form->FindComponent("Button1")->GetParentComponent(), form->FindComponent("Panel1"));
  EXPECT_TRUE(form->FindComponent("Button1")->Is<TButton>());
}

TEST_F(Streaming, WritesBackTheTreeItRead) {
  auto form = Load(kNested);
  EXPECT_EQ(WriteComponents(*form), Parse(kNested));
}

// Where each property and its value stand, object by object.
void ExpectSamePlaces(const FormObject& a, const FormObject& b) {
  ASSERT_EQ(a.Properties.size(), b.Properties.size());
  for (std::size_t i = 0; i < a.Properties.size(); ++i) {
    const FormProperty &pa = a.Properties[i], &pb = b.Properties[i];
    EXPECT_EQ(std::tie(pa.Pos.Line, pa.Pos.Column, pa.Value.Pos.Line, pa.Value.Pos.Column),
              std::tie(pb.Pos.Line, pb.Pos.Column, pb.Value.Pos.Line, pb.Value.Pos.Column))
        << pa.Name;
    EXPECT_EQ(pa.Source.Begin, pb.Source.Begin);
    EXPECT_EQ(pa.Value.Source.End, pb.Value.Source.End);
  }
  ASSERT_EQ(a.Children.size(), b.Children.size());
  for (std::size_t i = 0; i < a.Children.size(); ++i)
    ExpectSamePlaces(a.Children[i], b.Children[i]);
}

// Properties read from the text keep little more than where they stand and
// are read again when asked for: they must come back as the tree has them.
TEST_F(Streaming, FromTheTextAsFromItsTree) {
  for (const std::string& text : std::vector<std::string>{
           kNested,
           "object F: TF\r\n  object B: TButton\r\n    Font.Name = 'Sans \xc3\xa9'\r\n    "
           "Items.Strings = (\r\n      'a'\r\n      'b')\r\n  end\r\n  Left = 5\r\nend\r\n",
           "object F: TF\n  T = '\xc3\xa9'  X = 1\n  Data = {\n    0A0B}\n  S = [a, b]  Top =\n    "
           "7\nend",
           "object F: TF\rX = 1.5\rend\r",
       }) {
    SCOPED_TRACE(text);
    const FormObject fromTree = WriteComponents(*LoadForm(Parse(text), "test.form"));
    const FormObject fromText = WriteComponents(*Load(text));
    EXPECT_EQ(fromText, fromTree);
    ExpectSamePlaces(fromText, fromTree);
  }
}

TEST_F(Streaming, ReadsWrittenRenamesAndNewComponents) {
  auto form = Load(kNested);
  form->FindComponent("Button1")->SetName("Ok1");
  delete form->FindComponent("Grid1");
  (new TEdit(form.get()))->SetName("Edit2");
  FormObject written = WriteComponents(*form);
  ASSERT_EQ(written.Children.size(), 5u);
  EXPECT_EQ(written.Children[0].Children.size(), 1u);
  EXPECT_EQ(written.Children[0].Children[0].Name, "Ok1");
  EXPECT_EQ(written.Children[4].Name, "Edit2");
  EXPECT_EQ(written.Children[4].ClassName, "TEdit");
}

// A large form goes to its file in pieces: joined, they are the text the
// whole tree writes. Its namer's listing, longer than a piece, is new the
// first time and copied the second.
TEST_F(Streaming, ALargeFormIsWrittenInPiecesThatJoinIntoItsText) {
  std::string text = "object F: TF\n";
  for (int i = 0; i < 20000; ++i)
    text += "  object Button" + std::to_string(i) + ": TButton\n    Caption = 'Press'\n  end\n";
  // A listing row longer than a piece of a string is written over two lines.
  text += "  object " + std::string(70, 'L') + ": TButton\n  end\n";
  text += "  object ComponentNamer1: TComponentNamer\n  end\nend\n";
  for (int round = 0; round < 2; ++round) {
    LoadedForm loaded = LoadFormText(std::make_shared<const std::string>(text), "test.form");
    if (round == 0)
      for (const char* name : {"Button0", "Button10000", "Button19999"})
        loaded.Form->FindComponent(name)->SetName(std::string("Renamed") + name);
    std::vector<std::string> pieces;
    RewriteComponents(*loaded.Form, text, loaded.Style,
                      [&](std::string_view piece) { pieces.emplace_back(piece); });
    EXPECT_GT(pieces.size(), 2u);
    std::string joined;
    for (const std::string& piece : pieces) joined += piece;
    EXPECT_EQ(joined, RewriteFormText(WriteComponents(*loaded.Form), text, loaded.Style));
    text = std::move(joined);
  }
  EXPECT_NE(text.find("#9'RenamedButton10000'"), std::string::npos);
}

TEST_F(Streaming, NamerTakesItsStoredListingAndWritesTheCurrentOne) {
  auto form = Load(R"(object Form1: TForm1
  object Button1: TButton
  end
  object ComponentNamer1: TComponentNamer
    Componenter.Strings = (
      'stale')
  end
end
)");
  auto& namer = form->FindComponent("ComponentNamer1")->As<TComponentNamer>();
  EXPECT_EQ(namer.GetFComponentList().Count(), 4);  // a read rebuilds it
  FormObject written = WriteComponents(*form);
  const FormProperty& listing = written.Children[1].Properties.at(0);
  EXPECT_EQ(listing.Name, "Componenter.Strings");
  EXPECT_EQ(listing.Value,
            FormValue::List({FormValue::String("TButton"), FormValue::String("\tButton1"),
                             FormValue::String("TComponentNamer"),
                             FormValue::String("\tComponentNamer1")}));

  auto fresh = Load("object Form2: TForm2\nend\n");
  (new TComponentNamer(fresh.get()))->SetName("ComponentNamer1");
  EXPECT_EQ(WriteComponents(*fresh).Children.at(0).Properties.at(0).Name, "Componenter.Strings");
}

// The stored listing is compared with the current one row by row from the
// text: equal, it keeps its spelling; else the current one is written.
TEST_F(Streaming, AStoredListingKeepsItsSpellingWhileItIsCurrent) {
  const struct {
    std::string listing;
    bool kept;
  } cases[] = {
      {"\n      'TButton'\n      #9'Button1'\n      'TComponentNamer'\n      #9'ComponentNamer1'",
       true},
      {"'TButton' #9'But' + 'ton1' 'TCompo'#110'entNamer' #9'ComponentNamer1'", true},
      {"'TButton' #9'Button1' 'TComponentNamer'", false},
      {"'TButton' #9'Button1' 'TComponentNamer' #9'ComponentNamer1' 'TEdit'", false},
      {"'TButton' #9'Button2' 'TComponentNamer' #9'ComponentNamer1'", false},
  };
  for (const auto& c : cases) {
    const std::string text =
        "object Form1: TForm1\n  object Button1: TButton\n  end\n  object ComponentNamer1: "
        "TComponentNamer\n    Componenter.Strings = (" +
        c.listing + ")\n  end\nend\n";
    LoadedForm loaded = LoadFormText(std::make_shared<const std::string>(text), "test.form");
    EXPECT_EQ(RewriteComponents(*loaded.Form, text, loaded.Style) == text, c.kept) << c.listing;
  }
}

TEST_F(Streaming, ErrorsNameThePlaceAndLeaveNothing) {
  EXPECT_EQ(ErrorOf([] {
              Load("object F: TF\n  object B: TButton\n  end\n  object b: TEdit\n  end\nend\n");
            }),
            "test.form:4:3: duplicate component name 'b'");
  EXPECT_EQ(ErrorOf([] {
              Load(
                  "object F: TF\n  object N1: TComponentNamer\n  end\n  object N2: "
                  "TComponentNamer\n  end\nend\n");
            }),
            "test.form:4:3: Only one instance of ComponentNamer");
  // The form's own name is taken.
  EXPECT_THROW(Load("object F: TF\n  object F: TButton\n  end\nend\n"), EComponentError);
  // Inside an inline object the owner is not a form.
  EXPECT_EQ(ErrorOf([] {
              Load(
                  "object F: TF\n  inline X: TFrame\n    object N: TComponentNamer\n    end\n  "
                  "end\nend\n");
            }),
            "test.form:3:5: Componentnamer Owner has to be a form!");
}

// A form class with published fields and handlers, built from a resource.
class TProbeButton : public TButton {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        .Name = "TProbeButton",
        .Parent = &TButton::StaticClass(),
        .Create = NewComponent<TProbeButton>,
        .Properties = {PublishedEvent("OnClick", &TProbeButton::OnClick),
                       PublishedInteger("Tag", &TProbeButton::GetTag, &TProbeButton::SetTag),
                       PublishedBoolean("Flat", &TProbeButton::GetFlat, &TProbeButton::SetFlat)}};
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TButton::TButton;
  TEventHandler OnClick;
  int GetTag() const { return tag; }
  void SetTag(int value) { tag = value; }
  bool GetFlat() const { return flat; }
  void SetFlat(bool value) { flat = value; }
  int tag = 0;
  bool flat = false;
};

class TProbeForm : public TForm {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        .Name = "TProbeForm",
        .Parent = &TForm::StaticClass(),
        .Fields = {{"Go", [](TObject& f,
                             TComponent& c) { f.As<TProbeForm>().Go = &c.As<TProbeButton>(); }}},
        .Methods = {{"GoClick", [](TObject& f, TObject*) { ++f.As<TProbeForm>().clicks; }}}};
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TForm::TForm;
  TProbeButton* Go = nullptr;
  int clicks = 0;
};

TEST_F(Streaming, ResourceBindsPublishedFieldsAndHandlersByName) {
  RegisterClass(&TProbeButton::StaticClass());
  TProbeForm form(nullptr);
  ReadComponents(form,
                 Parse("object Probe: TProbeForm\n  object Go: TProbeButton\n    OnClick = "
                       "GoClick\n  end\nend\n"),
                 "TPROBEFORM", true);
  ASSERT_NE(form.Go, nullptr);
  form.Go->OnClick(form.Go);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(WriteComponents(form).Children.at(0).Properties.at(0).Value,
            FormValue::Identifier("GoClick"));

  TProbeForm other(nullptr);
  EXPECT_EQ(ErrorOf([&] {
              ReadComponents(
                  other, Parse("object P: TProbeForm\n  object Stop: TProbeButton\n  end\nend\n"),
                  "TPROBEFORM", true);
            }),
            "TPROBEFORM:2:3: TProbeForm publishes no field 'Stop'");
  TProbeForm third(nullptr);
  EXPECT_EQ(ErrorOf([&] {
              ReadComponents(third,
                             Parse("object P: TProbeForm\n  object Go: TProbeButton\n    OnClick = "
                                   "Nope\n  end\nend\n"),
                             "TPROBEFORM", true);
            }),
            "TPROBEFORM:3:15: TProbeForm publishes no handler 'Nope'");
  UnRegisterClass(&TProbeButton::StaticClass());
}

TEST_F(Streaming, UnchangedPublishedValuesKeepTheirSpelling) {
  RegisterClass(&TProbeButton::StaticClass());
  // Plain numbers too: equal by their words, or read again where the words differ.
  const std::string plain =
      "  object C: TProbeButton\n    Tag = 016\n  end\n"
      "  object D: TProbeButton\n    Tag = -5\n  end\n"
      "  object E: TProbeButton\n    Tag = -5\n  end\n";
  const std::string text =
      "object F: TF\n  object A: TProbeButton\n    Tag = $10\n    Flat = TRUE\n  end\n"
      "  object B: TProbeButton\n    Tag = $10\n    Flat = TRUE\n  end\n" +
      plain + "end\n";
  auto form = Load(text);
  TProbeButton& b = form->FindComponent("B")->As<TProbeButton>();
  EXPECT_EQ(b.tag, 16);
  EXPECT_TRUE(b.flat);
  b.SetTag(17);
  b.SetFlat(false);
  form->FindComponent("E")->As<TProbeButton>().SetTag(-50);
  EXPECT_EQ(FormatFormText(WriteComponents(*form)),
            "object F: TF\n  object A: TProbeButton\n    Tag = $10\n    Flat = TRUE\n  end\n"
            "  object B: TProbeButton\n    Tag = 17\n    Flat = False\n  end\n"
            "  object C: TProbeButton\n    Tag = 016\n  end\n"
            "  object D: TProbeButton\n    Tag = -5\n  end\n"
            "  object E: TProbeButton\n    Tag = -50\n  end\nend\n");
  UnRegisterClass(&TProbeButton::StaticClass());
}

TEST_F(Streaming, IntegersMustFitTheirProperty) {
  EXPECT_EQ(ErrorOf([] {
              Load("object F: TF\n  object B: TButton\n    Left = 99999999999\n  end\nend\n");
            }),
            "test.form:3:12: Left: 99999999999 is out of range");
  // A number of any length is echoed as one short line.
  EXPECT_EQ(
      ErrorOf([] { Load("object F: TF\n  Left = " + std::string(100000, '9') + "\nend\n"); }),
      "test.form:2:10: Left: " + std::string(host::kExcerptChars, '9') + "... is out of range");
  auto form = Load("object F: TF\n  object B: TButton\n    Left = $FFFFFFFF\n  end\nend\n");
  EXPECT_EQ(form->FindComponent("B")->As<TControl>().GetLeft(), -1);
}

}  // namespace

namespace {

// The written value of `property` on the written object `name`, searched
// through the whole tree.
std::string WrittenValue(const FormObject& obj, const std::string& name,
                         const std::string& property) {
  if (obj.Name == name)
    for (const FormProperty& p : obj.Properties)
      if (p.Name == property) return p.Value.Text;
  for (const FormObject& child : obj.Children)
    if (std::string v = WrittenValue(child, name, property); !v.empty()) return v;
  return {};
}

TEST_F(Streaming, ReferencesResolveWhereTheirComponentIsOwned) {
  auto form = Load(R"(object F: TF
  object Button1: TButton
  end
  inline Frame1: TFrame1
    object Button1: TButton
    end
    object Link1: TLink
      Target = Button1
    end
  end
  object Link2: TLink
    Target = Button1
  end
end
)");
  form->FindComponent("Frame1")->FindComponent("Button1")->SetName("btnFrame");
  FormObject written = WriteComponents(*form);
  EXPECT_EQ(WrittenValue(written, "Link1", "Target"), "btnFrame");
  EXPECT_EQ(WrittenValue(written, "Link2", "Target"), "Button1");
  form->FindComponent("Button1")->SetName("btnForm");
  written = WriteComponents(*form);
  EXPECT_EQ(WrittenValue(written, "Link1", "Target"), "btnFrame");
  EXPECT_EQ(WrittenValue(written, "Link2", "Target"), "btnForm");
}

TEST_F(Streaming, OnlyReferencesFollowARename) {
  auto form = Load(R"(object F: TF
  object True: TFoo
  end
  object bkClose: TFoo
  end
  object Box1: TFoo
    Visible = True
    Other = bkClose
  end
  object Btn1: TBitBtn
    Kind = bkClose
    Visible = True
    Hint2 = bkClose
  end
end
)");
  form->FindComponent("True")->SetName("Yes");
  form->FindComponent("bkClose")->SetName("Closer");
  const FormObject written = WriteComponents(*form);
  const std::pair<const char*, const char*> kept[] = {
      {"Visible", "True"}, {"Kind", "bkClose"}, {"Hint2", "Closer"}};
  for (const auto& [property, value] : kept)
    EXPECT_EQ(WrittenValue(written, "Btn1", property), value) << property;
  EXPECT_EQ(WrittenValue(written, "Box1", "Visible"), "True");
  EXPECT_EQ(WrittenValue(written, "Box1", "Other"), "Closer");
}

TEST_F(Streaming, AValueTheControlRefusesIsKeptAndTheControlKeepsItsOwn) {
  const int defaultHeight = TListBox(nullptr).GetItemHeight();
  auto form = Load(
      "object F: TF\n  Position = poWorkAreaCenter\n  object L: TListBox\n    ItemHeight = 0\n"
      "  end\nend\n");
  auto& list = form->FindComponent("L")->As<TListBox>();
  EXPECT_EQ(list.GetItemHeight(), defaultHeight);
  const FormProperty* refused = RefusedValue(list, *list.ClassType()->FindProperty("ItemHeight"));
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->Refused(), "item height of L must be at least 1, not 0");
  EXPECT_NE(RefusedValue(*form, *form->ClassType()->FindProperty("Position")), nullptr);
  const FormObject written = WriteComponents(*form);
  EXPECT_EQ(written.Properties.at(0).Value.Text, "poWorkAreaCenter");
  // A value of another kind is not taken either.
  auto withNamer =
      Load("object F: TF\n  object N1: TComponentNamer\n    Componenter.Strings = 5\n  end\nend\n");
  TComponent& namer = *withNamer->FindComponent("N1");
  refused = RefusedValue(namer, *namer.ClassType()->FindProperty("Componenter"));
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->Refused(), "expected a list, found '5'");
  // A list read from the text item by item keeps all its items when refused.
  auto withBadRow = Load(
      "object F: TF\n  object N1: TComponentNamer\n    Componenter.Strings = ('a' 5)\n  "
      "end\nend\n");
  TComponent& badRow = *withBadRow->FindComponent("N1");
  refused = RefusedValue(badRow, *badRow.ClassType()->FindProperty("Componenter"));
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->Value, FormValue::List({FormValue::String("a"), FormValue::Integer(5)}));
  // The reason echoes a value as one short line: no forged second line, no 100 KB.
  const std::pair<std::string, std::string> echoed[] = {
      {"'a'#10'designer: forged'", "expected an integer, found 'a#10designer: forged'"},
      {"'" + std::string(100000, '9') + "'",
       "expected an integer, found '" + std::string(host::kExcerptChars, '9') + "...'"}};
  for (const auto& [value, reason] : echoed) {
    auto odd = Load("object F: TF\n  Left = " + value + "\nend\n");
    refused = RefusedValue(*odd, *odd->ClassType()->FindProperty("Left"));
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->Refused(), reason);
  }
  EXPECT_EQ(WrittenValue(written, "L", "ItemHeight"), "0");
}

}  // namespace
