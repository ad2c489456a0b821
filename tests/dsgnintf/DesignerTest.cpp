#include <gtest/gtest.h>

#include "Designer.h"
#include "Forms.h"
#include "StdCtrls.h"

using namespace host;

namespace {

TEST(Designer, NotificationsAndRenamesOfTheFormsComponentsMarkItChanged) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  auto* inner = new TButton(edit);  // not owned by the form
  TFormDesigner designer(form);
  inner->SetName("Inner");
  EXPECT_THROW(edit->SetName("1st"), EComponentError);  // refused: nothing changed
  EXPECT_FALSE(designer.IsChanged());
  edit->SetName("Edit1");
  EXPECT_TRUE(designer.IsChanged());
  EXPECT_EQ(designer.ModifiedNotifications(), 0);

  designer.MarkSaved();
  int heard = 0;
  designer.AddModifiedListener([&] { ++heard; });
  designer.Modified();
  designer.Modified();
  EXPECT_TRUE(designer.IsChanged());
  EXPECT_EQ(designer.ModifiedNotifications(), 2);
  EXPECT_EQ(heard, 2);
}

TEST(Designer, OneDesignerPerFormUntilItCloses) {
  TForm form(nullptr);
  {
    TFormDesigner designer(form);
    EXPECT_THROW(TFormDesigner second(form), Exception);
  }
  EXPECT_EQ(form.GetObserver(), nullptr);
  TFormDesigner reopened(form);
}

}  // namespace
