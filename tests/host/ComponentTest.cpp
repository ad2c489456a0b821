#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Classes.h"
#include "Forms.h"
#include "StdCtrls.h"

using namespace host;

namespace {

std::vector<std::string> Names(const TComponent& owner) {
  std::vector<std::string> names;
  for (const TComponent* c : owner.Components()) names.push_back(c->GetName());
  return names;
}

TEST(Ownership, OwnerKeepsCreationOrderAndDestroysWhatItOwns) {
  TForm form(nullptr);
  auto* a = new TButton(&form);
  auto* b = new TEdit(&form);
  auto* c = new TButton(b);  // owned by the edit, not by the form
  a->SetName("A");
  b->SetName("B");
  c->SetName("C");
  EXPECT_EQ(Names(form), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(form.GetComponent(1), b);
  EXPECT_EQ(b->GetComponentCount(), 1);
  EXPECT_EQ(form.FindComponent("C"), nullptr);
  EXPECT_THROW(form.GetComponent(2), Exception);

  delete a;  // leaves its owner, and its name is free again
  EXPECT_EQ(Names(form), (std::vector<std::string>{"B"}));
  EXPECT_EQ(form.FindComponent("A"), nullptr);
  (new TButton(&form))->SetName("A");
}

TEST(Ownership, ChildrenOfARemovedParentMoveUp) {
  TForm form(nullptr);
  auto* panel = new TEdit(&form);
  auto* inner = new TButton(&form);
  inner->SetParentComponent(panel);
  delete panel;
  EXPECT_EQ(inner->GetParentComponent(), &form);
}

TEST(Names, CurrentNameInOtherCaseAndEmptyNameAreAccepted) {
  TForm form(nullptr);
  auto* b = new TButton(&form);
  b->SetName("Button1");
  b->SetName("BUTTON1");
  EXPECT_EQ(b->GetName(), "BUTTON1");
  EXPECT_EQ(form.FindComponent("button1"), b);
  b->SetName("");
  EXPECT_EQ(form.FindComponent(""), nullptr);
  EXPECT_EQ(form.FindComponent("Button1"), nullptr);
  auto* other = new TButton(&form);
  other->SetName("");  // several components may be unnamed
  EXPECT_EQ(form.FindComponent(""), nullptr);
}

TEST(Names, RefusedNamesChangeNothing) {
  TForm form(nullptr);
  auto* a = new TButton(&form);
  auto* b = new TButton(&form);
  a->SetName("Alpha");
  b->SetName("Beta");
  for (const char* bad : {"1abc", "a b", "a-b", "Ä", " Beta", "Beta "}) {
    EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    EXPECT_EQ(b->GetName(), "Beta");
  }
  try {
    b->SetName("ALPHA");
    FAIL() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named ALPHA already exists");
  }
  EXPECT_EQ(b->GetName(), "Beta");
  auto* unnamed = new TButton(&form);  // a first name takes another path
  EXPECT_THROW(unnamed->SetName("alpha"), EComponentError);
  EXPECT_EQ(unnamed->GetName(), "");
  EXPECT_EQ(form.FindComponent("beta"), b);
  EXPECT_EQ(form.FindComponent("alpha"), a);
  EXPECT_NO_THROW(b->SetName("_x9"));
}

// The index keys are views of the components' own names: they must follow
// names that move out of the string's inline buffer, and a growing table.
TEST(Names, IndexFollowsRenamesThroughLongNames) {
  TForm form(nullptr);
  std::vector<TButton*> buttons;
  const std::string longName = "AComponentNameLongerThanAnyInlineBuffer";
  for (int i = 0; i < 300; ++i) {
    buttons.push_back(new TButton(&form));
    buttons.back()->SetName("B" + std::to_string(i));
  }
  for (int i = 0; i < 300; ++i) buttons[i]->SetName(longName + std::to_string(i));
  delete buttons[7];
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(form.FindComponent("B" + std::to_string(i)), nullptr);
    EXPECT_EQ(form.FindComponent(LowerCase(longName) + std::to_string(i)),
              i == 7 ? nullptr : buttons[i]);
  }
  buttons[8]->SetName("B8");
  EXPECT_EQ(form.FindComponent(longName + "8"), nullptr);
  EXPECT_EQ(form.FindComponent("b8"), buttons[8]);
}

TEST(Names, ComponentsOfDifferentOwnersMayShareAName) {
  TForm one(nullptr), two(nullptr);
  (new TButton(&one))->SetName("Button1");
  EXPECT_NO_THROW((new TButton(&two))->SetName("Button1"));
}

TEST(Classes, TestsAndCheckedConversion) {
  TForm form(nullptr);
  TComponent* b = new TButton(&form);
  EXPECT_TRUE(b->Is<TControl>());
  EXPECT_FALSE(b->Is<TEdit>());
  EXPECT_TRUE(b->InheritsFrom(&TComponent::StaticClass()));
  EXPECT_FALSE(b->InheritsFrom(&TForm::StaticClass()));
  EXPECT_EQ(b->ClassName(), "TButton");
  EXPECT_EQ(&b->As<TButton>(), b);
  EXPECT_THROW(b->As<TEdit>(), EInvalidCast);
}

TEST(Classes, RegistryFindsClassesWithoutRegardToCase) {
  RegisterClass(&TButton::StaticClass());
  EXPECT_EQ(GetClass("tbutton"), &TButton::StaticClass());
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  RegisterClass(&TButton::StaticClass());  // the same class again is harmless

  static const TClassInfo impostor{.Name = "TButton", .Parent = &TComponent::StaticClass()};
  EXPECT_THROW(RegisterClass(&impostor), EComponentError);
  EXPECT_EQ(GetClass("TButton"), &TButton::StaticClass());
  UnRegisterClass(&TButton::StaticClass());
  EXPECT_EQ(GetClass("TButton"), nullptr);
}

TEST(Classes, PaletteKeepsPagesAndClassesInRegistrationOrder) {
  RegisterComponents("Standard", {&TButton::StaticClass()});
  RegisterComponents("Extra", {&TEdit::StaticClass()});
  RegisterComponents("Standard", {&TForm::StaticClass(), &TButton::StaticClass()});
  ASSERT_EQ(Palette().size(), 2u);
  EXPECT_EQ(Palette()[0].Name, "Standard");
  EXPECT_EQ(Palette()[0].Classes,
            (std::vector<TClass>{&TButton::StaticClass(), &TForm::StaticClass()}));
  EXPECT_EQ(GetClass("TEdit"), &TEdit::StaticClass());

  for (TClass c : {&TButton::StaticClass(), &TForm::StaticClass(), &TEdit::StaticClass()})
    UnRegisterComponents(c);
  EXPECT_TRUE(Palette().empty());
  EXPECT_EQ(GetClass("TEdit"), nullptr);
}

TEST(StringList, LinesKeepEveryByteAndBoundsAreChecked) {
  TStringList list, copy;
  list.Add("TButton");
  list.Add("\tButton1");
  list.Add(std::string("a\0b", 3));
  list.Put(0, "TEdit");
  EXPECT_EQ(list[0], "TEdit");
  EXPECT_EQ(list[2].size(), 3u);
  EXPECT_THROW(list.Get(3), Exception);
  EXPECT_THROW(list.Put(-1, "x"), Exception);
  copy.Add("old");
  copy.Assign(list);
  list.Clear();
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.IndexOf("\tButton1"), 1);
  EXPECT_EQ(list.Count(), 0);
}

// A reorder moves every line at once, leaves a copy sharing the lines as it
// was, and refuses, changing nothing, anything but each index once.
TEST(StringList, ReorderMovesEachLineToItsIndex) {
  TStringList list, copy;
  list.SetLines({"a", "b", "c"});
  copy.Assign(list);
  list.Reorder({2, 0, 1});
  EXPECT_EQ(list.Copy(), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(copy.Copy(), (std::vector<std::string>{"a", "b", "c"}));
  for (const std::vector<std::uint32_t>& refused :
       {std::vector<std::uint32_t>{0, 0, 1}, {}, {0, 1}, {0, 1, 3}, {0, 1, 2, 3}}) {
    EXPECT_THROW(list.Reorder(refused), Exception);
    EXPECT_EQ(list.Copy(), (std::vector<std::string>{"b", "c", "a"}));
  }
}

// Lines replaced by shorter and longer ones, and by lines of the list itself,
// through growth and compaction of the list's characters, match a plain
// vector of strings; a copy taken along the way, which shares the list's
// characters until one of them changes, keeps the lines it was given.
TEST(StringList, ReplacedLinesMatchAVectorOfStrings) {
  TStringList list, kept;
  std::vector<std::string> model, keptModel;
  for (int i = 0; i < 200; ++i) {
    model.push_back("\tC" + std::to_string(i));
    list.Add(model.back());
  }
  std::mt19937 random(7);
  for (int step = 0; step < 5000; ++step) {
    const int at = static_cast<int>(random() % model.size());
    const int from = static_cast<int>(random() % model.size());
    switch (random() % 3) {
      case 0:
        model[at] = std::string(random() % 40, 'x');
        list.Put(at, model[at]);
        break;
      case 1:  // a line of the list itself, which may move as the list grows
        model[at] = model[from];
        list.Put(at, list[from]);
        break;
      default: {
        TStringList copy;
        copy.Assign(list);
        list.Assign(copy);
        kept.Assign(list);
        keptModel = model;
      }
    }
    ASSERT_EQ(list.Copy(), model) << "step " << step;
    ASSERT_EQ(kept.Copy(), keptModel) << "step " << step;
  }
}

}  // namespace
