#include <gtest/gtest.h>

#include "StdCtrls.h"
#include "TabListBox.h"

using namespace host;

namespace {

std::vector<bool> Marks(const TCustomListBox& list) {
  std::vector<bool> marks;
  for (int i = 0; i < list.Items().Count(); ++i) marks.push_back(list.GetSelected(i));
  return marks;
}

void AssignRows(TCustomListBox& list, std::vector<std::string> rows) {
  TStringList lines;
  lines.SetLines(std::move(rows));
  list.Items().Assign(lines);
}

FormValue StringsValue(std::initializer_list<const char*> lines) {
  std::vector<FormValue> items;
  for (const char* line : lines) items.push_back(FormValue::String(line));
  return FormValue::List(std::move(items));
}

TEST(ListBoxMarks, StayWithRowsWhoseTextIsReplaced) {
  TListBox list(nullptr);
  list.SetMultiSelect(true);
  TStringList lines;
  lines.SetLines({"TButton", "\tButton1", "\tButton2"});
  list.Items().Assign(lines);
  list.SetSelected(1, true);
  list.Items().Put(1, "\tBtn1");
  list.Items().Put(2, "\tBtn2");
  EXPECT_EQ(list.Items()[1], "\tBtn1");
  EXPECT_EQ(Marks(list), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(lines[1], "\tButton1") << "the source of Assign is copied, not shared";
}

TEST(ListBoxMarks, AssignAddAndClearResetThem) {
  TListBox list(nullptr);
  list.SetMultiSelect(true);
  AssignRows(list, {"a", "b"});
  list.SetSelected(0, true);
  list.SetSelected(1, true);
  AssignRows(list, {"x", "y", "z"});
  EXPECT_EQ(Marks(list), (std::vector<bool>{false, false, false}));

  list.SetSelected(2, true);
  list.Items().Add("w");
  EXPECT_EQ(Marks(list), (std::vector<bool>{false, false, true, false}));

  list.Clear();
  EXPECT_EQ(list.Items().Count(), 0);
  list.Items().Add("again");
  EXPECT_FALSE(list.GetSelected(0));
}

TEST(ListBoxMarks, SingleSelectKeepsOneRow) {
  TListBox list(nullptr);
  AssignRows(list, {"a", "b", "c"});
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  EXPECT_EQ(Marks(list), (std::vector<bool>{false, false, true}));

  list.SetMultiSelect(true);
  list.SetSelected(0, true);
  list.SetSelected(1, true);
  list.SetMultiSelect(false);
  EXPECT_EQ(Marks(list), (std::vector<bool>{true, false, false}));
}

TEST(ListBoxMarks, RowOutOfRangeChangesNothing) {
  TListBox list(nullptr);
  AssignRows(list, {"a", "b"});
  list.SetSelected(1, true);
  EXPECT_THROW(list.SetSelected(2, true), Exception);
  EXPECT_THROW(list.GetSelected(-1), Exception);
  EXPECT_THROW(list.Items().Put(2, "c"), Exception);
  EXPECT_EQ(Marks(list), (std::vector<bool>{false, true}));
}

TEST(ListBoxSorted, SortsOnceWhenTurnedOnWithMarks) {
  TListBox list(nullptr);
  list.SetMultiSelect(true);
  AssignRows(list, {"b", "C", "a", "B"});
  list.SetSelected(1, true);
  list.SetSorted(true);
  EXPECT_EQ(list.Items().Strings().Copy(), (std::vector<std::string>{"a", "b", "B", "C"}));
  EXPECT_EQ(Marks(list), (std::vector<bool>{false, false, false, true}));

  AssignRows(list, {"z", "y"});
  list.Items().Add("x");
  EXPECT_EQ(list.Items().Strings().Copy(), (std::vector<std::string>{"z", "y", "x"}));
}

TEST(ListBoxProperties, ItemsStringsSetsRowsUnselected) {
  TListBox list(nullptr);
  list.Items().Add("old");
  list.SetSelected(0, true);
  const TPropInfo* items = list.ClassType()->FindProperty("Items");
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->PropType, TypeInfo<TStringList>());
  items->Set(list, StringsValue({"TButton", "\tButton1"}));
  EXPECT_EQ(list.Items().Strings().Copy(), (std::vector<std::string>{"TButton", "\tButton1"}));
  EXPECT_EQ(Marks(list), (std::vector<bool>{false, false}));
  EXPECT_EQ(items->Get(list), StringsValue({"TButton", "\tButton1"}));
  EXPECT_THROW(items->Set(list, FormValue::String("x")), EConvertError);
  EXPECT_THROW(list.SetItemHeight(0), EConvertError);
}

TEST(TabListBox, KeepsAscendingTabStops) {
  tablistbox::TTabListBox list(nullptr);
  const TPropInfo* stops = list.ClassType()->FindProperty("TabStops");
  ASSERT_NE(stops, nullptr);
  stops->Set(list, FormValue::List({FormValue::Integer(3), FormValue::Integer(40)}));
  EXPECT_EQ(list.GetTabStops(), (std::vector<int>{3, 40}));
  EXPECT_EQ(stops->Get(list), FormValue::List({FormValue::Integer(3), FormValue::Integer(40)}));

  EXPECT_THROW(list.SetTabStops({5, 5}), EConvertError);
  EXPECT_THROW(list.SetTabStops({-1}), EConvertError);
  EXPECT_THROW(stops->Set(list, FormValue::List({FormValue::Integer(3000000000)})), EConvertError);
  EXPECT_EQ(list.GetTabStops(), (std::vector<int>{3, 40}));
}

TEST(TabListBox, IsRegisteredWhileItsLibraryIsLoaded) {
  EXPECT_EQ(GetClass("TTabListBox"), &tablistbox::TTabListBox::StaticClass());
  EXPECT_TRUE(GetClass("TTabListBox")->InheritsFrom(&TCustomListBox::StaticClass()));
}

}  // namespace
