#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "CNamer.h"
#include "Forms.h"
#include "StdCtrls.h"

using namespace host;
using cnamer::EComponentNamerError;
using cnamer::TComponentNamer;

namespace {

class TDerivedNamer : public TComponentNamer {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{.Name = "TDerivedNamer",
                                 .Parent = &TComponentNamer::StaticClass()};
    return info;
  }
  TClass ClassType() const override { return &StaticClass(); }
  using TComponentNamer::TComponentNamer;
};

template <class T>
T* Place(TComponent& owner, const std::string& name) {
  auto* c = new T(&owner);
  c->SetName(name);
  return c;
}

std::vector<std::string> Listing(TComponentNamer& namer) {
  return namer.GetFComponentList().Copy();
}

std::string RefusalOf(TComponent* owner) {
  try {
    TComponentNamer namer(owner);
  } catch (const EComponentNamerError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(Listing, GroupsByTypeInOrderOfFirstOccurrence) {
  TForm form(nullptr);
  Place<TButton>(form, "Button1");
  Place<TEdit>(form, "Edit1");
  Place<TButton>(form, "Button2");
  auto* namer = Place<TComponentNamer>(form, "ComponentNamer1");
  EXPECT_EQ(Listing(*namer),
            (std::vector<std::string>{"TButton", "\tButton1", "\tButton2", "TEdit", "\tEdit1",
                                      "TComponentNamer", "\tComponentNamer1"}));
}

TEST(Listing, OnlyTheNamerAndAnUnnamedComponent) {
  TForm form(nullptr);
  auto* namer = Place<TComponentNamer>(form, "N");
  EXPECT_EQ(Listing(*namer), (std::vector<std::string>{"TComponentNamer", "\tN"}));
  new TEdit(&form);
  EXPECT_EQ(Listing(*namer), (std::vector<std::string>{"TComponentNamer", "\tN", "TEdit", "\t"}));
}

TEST(Listing, ListsDirectlyOwnedComponentsUnderTheirReportedClassName) {
  TForm form(nullptr);
  auto* namer = Place<TComponentNamer>(form, "N");
  auto* holder = Place<TEdit>(form, "Holder");
  Place<TButton>(*holder, "Inner");  // not the form's
  EXPECT_EQ(Listing(*namer),
            (std::vector<std::string>{"TComponentNamer", "\tN", "TEdit", "\tHolder"}));
}

// A class name held by each instance, as a component of a class the host
// does not know may report it: equal names at different places group
// together, however many names there are.
class TSelfNamed : public TComponent {
 public:
  TSelfNamed(TComponent* owner, std::string className)
      : TComponent(owner), className_(std::move(className)) {}
  const std::string& ClassName() const override { return className_; }

 private:
  std::string className_;
};

TEST(Listing, GroupsClassNamesHeldByEachInstance) {
  TForm form(nullptr);
  std::vector<std::pair<std::string, std::vector<std::string>>> groups;
  for (int i = 0; i < 300; ++i) {
    const std::string type = i % 3 ? "TKind" + std::to_string(i % 97) : "TButton";
    const std::string name = "C" + std::to_string(i);
    TComponent* c =
        i % 3 ? static_cast<TComponent*>(new TSelfNamed(&form, type)) : new TButton(&form);
    c->SetName(name);
    auto group = std::ranges::find(groups, type, &decltype(groups)::value_type::first);
    if (group == groups.end()) group = groups.insert(groups.end(), {type, {}});
    group->second.push_back("\t" + name);
  }
  auto* namer = Place<TComponentNamer>(form, "N");
  groups.push_back({"TComponentNamer", {"\tN"}});
  std::vector<std::string> expected;
  for (const auto& [type, rows] : groups) {
    expected.push_back(type);
    expected.insert(expected.end(), rows.begin(), rows.end());
  }
  EXPECT_EQ(Listing(*namer), expected);
}

TEST(Listing, EveryReadRebuildsTheSameListObject) {
  TForm form(nullptr);
  auto* namer = Place<TComponentNamer>(form, "N");
  TStringList& first = namer->GetFComponentList();

  TStringList stored;
  stored.Add("stale");
  namer->SetComponenter(stored);
  EXPECT_EQ(first.Copy(), std::vector<std::string>{"stale"});
  EXPECT_EQ(stored.Count(), 1);  // copied, not taken

  auto* b = Place<TButton>(form, "B1");
  TStringList& second = namer->GetFComponentList();
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(second.Copy(), (std::vector<std::string>{"TComponentNamer", "\tN", "TButton", "\tB1"}));
  b->SetName("Renamed");
  EXPECT_EQ(namer->GetFComponentList()[3], "\tRenamed");
  delete b;
  EXPECT_EQ(namer->GetFComponentList().Count(), 2);
}

TEST(Listing, ComponenterPropertyReadsAndWritesTheListing) {
  TForm form(nullptr);
  auto* namer = Place<TComponentNamer>(form, "N");
  const TPropInfo* prop = TComponentNamer::StaticClass().FindProperty("Componenter");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->PropType->Name, "TStringList");
  EXPECT_TRUE(prop->AlwaysStored);
  FormValue value = prop->Get(*namer);
  ASSERT_EQ(value.Items.size(), 2u);
  EXPECT_EQ(value.Items[1], FormValue::String("\tN"));

  prop->Set(*namer, FormValue::List({FormValue::String("a"), FormValue::String("\tb")}));
  TStringList& list = namer->GetFComponentList();  // a read rebuilds
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(prop->Set(*namer, FormValue::Integer(1)), EConvertError);
}

TEST(TypeExist, MatchesWholeLinesCaseSensitively) {
  TStringList list;
  EXPECT_FALSE(TComponentNamer::TypeExist(list, "TButton"));
  list.Add("\tTButton");
  list.Add("TComponentNamer");
  EXPECT_TRUE(TComponentNamer::TypeExist(list, "TComponentNamer"));
  EXPECT_FALSE(TComponentNamer::TypeExist(list, "tcomponentnamer"));
  EXPECT_FALSE(TComponentNamer::TypeExist(list, "TButton"));
}

TEST(Construction, RefusalsLeaveTheOwnerUnchanged) {
  TForm form(nullptr);
  TEdit edit(nullptr);
  EXPECT_EQ(RefusalOf(nullptr), "Componentnamer Owner has to be a form!");
  EXPECT_EQ(RefusalOf(&edit), "Componentnamer Owner has to be a form!");
  EXPECT_EQ(edit.GetComponentCount(), 0);

  auto* first = Place<TComponentNamer>(form, "ComponentNamer1");
  Place<TButton>(form, "Button1");
  EXPECT_EQ(RefusalOf(&form), "Only one instance of ComponentNamer");
  EXPECT_EQ(form.GetComponentCount(), 2);
  EXPECT_EQ(form.GetComponent(0), first);

  TForm other(nullptr);
  Place<TDerivedNamer>(other, "Derived1");
  EXPECT_EQ(RefusalOf(&other), "Only one instance of ComponentNamer");
  EXPECT_EQ(other.GetComponentCount(), 1);
}

TEST(Construction, AFormWithManyComponentsAcceptsItsFirstNamer) {
  TForm form(nullptr);
  for (int i = 0; i < 1000; ++i) new TButton(&form);
  auto* namer = new TComponentNamer(&form);
  EXPECT_EQ(form.GetComponent(1000), namer);
  EXPECT_EQ(namer->GetFComponentList().Count(), 1000 + 3);
}

TEST(Register, PutsTheNamerOnPageQuorth) {
  cnamer::Register();
  ASSERT_EQ(Palette().size(), 1u);
  EXPECT_EQ(Palette()[0].Name, "Quorth");
  EXPECT_EQ(Palette()[0].Classes, std::vector<TClass>{&TComponentNamer::StaticClass()});
  EXPECT_EQ(GetClass("TComponentNamer"), &TComponentNamer::StaticClass());
  UnRegisterComponents(&TComponentNamer::StaticClass());
}

}  // namespace
