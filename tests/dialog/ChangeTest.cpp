#include "DialogFixture.h"

using namespace host;

namespace {

// Rows 0 and 4 and 9 are headers; 1-3, 5-8 and 10 their component rows.
const std::vector<std::string> kListing{"TButton", "\tButton1", "\tButton2", "\tButton3",
                                        "TEdit",   "\tEdit1",   "\tEdit2",   "\tEdit3",
                                        "\tEdit4", "TLabel",    "\tLabel1"};

std::vector<std::string> With(std::vector<std::pair<int, std::string>> changes) {
  std::vector<std::string> rows = kListing;
  for (auto& [row, text] : changes) rows[static_cast<std::size_t>(row)] = text;
  return rows;
}

TUserAction Select(int row) { return TSelectRow{"TabList", row}; }
TUserAction Name(const std::string& base) { return TTypeText{"NameVal", base}; }
TUserAction Start(std::int64_t value) { return TSetSpinValue{"MaxValueIndex", value}; }
const TUserAction kChange = TClickControl{"btnChange"};
const TUserAction kCancelChange = TClickControl{"CancelChangeBtn"};

TEST_F(Dialog, ChangeWithNothingSelectedChangesNothing) {
  Session(kListing, {Name("Btn"), Start(1), kChange});
  EXPECT_EQ(Rows(), kListing);
  Session({}, {Name("Btn"), kChange});
  EXPECT_TRUE(Rows().empty());
}

TEST_F(Dialog, HeaderRowRenumbersItsWholeBlock) {
  // Selected or not, every row of the block is rewritten; the header is not.
  Session(kListing, {Select(0), Select(2), Name("Btn"), Start(1), kChange});
  EXPECT_EQ(Rows(), With({{1, "\tBtn1"}, {2, "\tBtn2"}, {3, "\tBtn3"}}));
  EXPECT_TRUE(dialog->TabList->GetSelected(0));

  // The last block runs to the end of the list.
  Session(kListing, {Select(9), Name("Lbl"), Start(0), kChange});
  EXPECT_EQ(Rows(), With({{10, "\tLbl0"}}));

  // Selected rows outside the block are ignored.
  Session(kListing, {Select(4), Select(10), Name("E"), Start(-2), kChange});
  EXPECT_EQ(Rows(), With({{5, "\tE-2"}, {6, "\tE-1"}, {7, "\tE0"}, {8, "\tE1"}}));
}

TEST_F(Dialog, ComponentRowRenumbersTheSelectedRowsFromIt) {
  Session(kListing, {Select(6), Select(8), Name("Btn"), Start(5), kChange});
  EXPECT_EQ(Rows(), With({{6, "\tBtn5"}, {8, "\tBtn6"}}));

  // A selected header row below the first selected row is rewritten too.
  Session(kListing, {Select(3), Select(4), Select(7), Name("X"), Start(1), kChange});
  EXPECT_EQ(Rows(), With({{3, "\tX1"}, {4, "\tX2"}, {7, "\tX3"}}));
}

TEST_F(Dialog, BaseNameIsTakenAsTyped) {
  Session(kListing, {Select(0), Start(1), kChange});
  EXPECT_EQ(Rows(), With({{1, "\t1"}, {2, "\t2"}, {3, "\t3"}}));
  Session(kListing, {Select(9), Name(" Lbl x"), Start(7), kChange});
  EXPECT_EQ(Rows(), With({{10, "\t Lbl x7"}}));
}

TEST_F(Dialog, EachPressNumbersFromTheStartValueAgain) {
  // Block mode: the same settings give the same names; a new base name
  // overwrites them.
  Session(kListing, {Select(0), Name("Btn"), Start(1), kChange, kChange});
  EXPECT_EQ(Rows(), With({{1, "\tBtn1"}, {2, "\tBtn2"}, {3, "\tBtn3"}}));
  EXPECT_EQ(dialog->MaxValueIndex->GetValue(), 1);
  Show({Name("B"), kChange});
  EXPECT_EQ(Rows(), With({{1, "\tB1"}, {2, "\tB2"}, {3, "\tB3"}}));

  // Selection mode: rewritten rows keep their marks, so a second press
  // rewrites the same rows.
  Session(kListing, {Select(5), Select(7), Name("E"), Start(3), kChange, Name("F"), kChange});
  EXPECT_EQ(Rows(), With({{5, "\tF3"}, {7, "\tF4"}}));
}

TEST_F(Dialog, NumbersCountOnPastTheLargest32BitValue) {
  Session(kListing, {Select(4), Name("E"), Start(2147483646), kChange});
  EXPECT_EQ(Rows(), With({{5, "\tE2147483646"},
                          {6, "\tE2147483647"},
                          {7, "\tE2147483648"},
                          {8, "\tE2147483649"}}));
}

TEST_F(Dialog, CancelChangeRestoresTheListingUnselected) {
  Session(kListing, {Select(0), Name("Btn"), kChange, Select(4), Select(6), Name("E"), kChange,
                     kCancelChange});
  EXPECT_EQ(Rows(), kListing);
  for (int i = 0; i < static_cast<int>(kListing.size()); ++i)
    EXPECT_FALSE(dialog->TabList->GetSelected(i)) << i;
  EXPECT_EQ(dialog->FSavedList->Copy(), kListing);

  // Change works on the restored rows as on fresh ones.
  Show({Select(9), Name("L"), Start(4), kChange});
  EXPECT_EQ(Rows(), With({{10, "\tL4"}}));
}

}  // namespace
