#include <cstring>

#include "DialogFixture.h"

using namespace host;

namespace {

struct Placement {
  const char* Name;
  int Left, Top, Width, Height;
  int TabOrder;  // -1: takes no focus
};

constexpr Placement kLayout[] = {
    {"TabList", 8, 8, 289, 297, 2},
    {"Label1", 304, 9, 101, 13, -1},
    {"NameVal", 304, 25, 121, 21, 3},
    {"Label2", 304, 57, 119, 13, -1},
    {"MaxValueIndex", 304, 73, 121, 22, 4},
    {"btnChange", 304, 105, 121, 25, -1},
    {"CancelChangeBtn", 304, 136, 121, 25, -1},
    {"BitBtn1", 304, 248, 121, 25, 0},
    {"BitBtn2", 304, 280, 121, 25, 1},
};

std::uint32_t U32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

TEST_F(Dialog, FormHasTheDialogsFrameAndFont) {
  EXPECT_EQ(dialog->GetName(), "FCompon");
  EXPECT_EQ(dialog->GetText(), "Component list");
  EXPECT_EQ(dialog->GetBorderStyle(), bsDialog);
  EXPECT_EQ(dialog->GetBorderIcons(), TBorderIcons{});
  EXPECT_EQ(dialog->GetClientWidth(), 434);
  EXPECT_EQ(dialog->GetClientHeight(), 314);
  EXPECT_EQ(dialog->GetLeft(), 138);
  EXPECT_EQ(dialog->GetTop(), 154);
  EXPECT_EQ(dialog->Font().Name, "MS Sans Serif");
  EXPECT_EQ(dialog->Font().Height, -11);
  EXPECT_EQ(dialog->Font().Charset, DEFAULT_CHARSET);
  EXPECT_EQ(dialog->Font().Color, clWindowText);
  EXPECT_EQ(dialog->GetPixelsPerInch(), 96);
  EXPECT_EQ(dialog->GetTextHeight(), 13);
}

TEST_F(Dialog, ControlsStandWhereTheLayoutPutsThem) {
  for (const Placement& p : kLayout) {
    SCOPED_TRACE(p.Name);
    auto* control = dynamic_cast<TControl*>(dialog->FindComponent(p.Name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetParentComponent(), dialog.get());
    EXPECT_EQ(control->GetLeft(), p.Left);
    EXPECT_EQ(control->GetTop(), p.Top);
    EXPECT_EQ(control->GetWidth(), p.Width);
    EXPECT_EQ(control->GetHeight(), p.Height);
    auto* focusable = dynamic_cast<TWinControl*>(control);
    EXPECT_EQ(focusable ? focusable->GetTabOrder() : -1, p.TabOrder);
  }
  std::vector<std::string> created;
  for (const TComponent* c : dialog->Components()) created.push_back(c->GetName());
  EXPECT_EQ(created,
            (std::vector<std::string>{"Label1", "Label2", "btnChange", "CancelChangeBtn", "BitBtn1",
                                      "BitBtn2", "TabList", "NameVal", "MaxValueIndex"}));
}

TEST_F(Dialog, FieldsAndHandlersArePublishedInDeclarationOrder) {
  std::vector<std::string> fields, methods;
  for (const TFieldInfo& f : cfnamer::TFCompon::StaticClass().Fields) fields.push_back(f.Name);
  for (const TMethodInfo& m : cfnamer::TFCompon::StaticClass().Methods) methods.push_back(m.Name);
  EXPECT_EQ(fields,
            (std::vector<std::string>{"BitBtn1", "BitBtn2", "TabList", "NameVal", "Label1",
                                      "MaxValueIndex", "Label2", "btnChange", "CancelChangeBtn"}));
  EXPECT_EQ(methods,
            (std::vector<std::string>{"btnChangeClick", "FormCreate", "CancelChangeBtnClick"}));
  EXPECT_EQ(dialog->Label2, dialog->FindComponent("Label2"));
  EXPECT_EQ(dialog->CancelChangeBtn, dialog->FindComponent("CancelChangeBtn"));
}

TEST_F(Dialog, ControlsStartWithTheirSettings) {
  EXPECT_EQ(dialog->Label1->GetText(), "Name of components");
  EXPECT_EQ(dialog->Label2->GetText(), "Start value of component");
  EXPECT_EQ(dialog->btnChange->GetText(), "Change");
  EXPECT_EQ(dialog->CancelChangeBtn->GetText(), "Cancel Change");
  EXPECT_EQ(dialog->BitBtn1->GetText(), "OK");
  EXPECT_EQ(dialog->BitBtn1->GetModalResult(), mrOk);
  EXPECT_EQ(dialog->BitBtn2->GetText(), "Cancel");
  EXPECT_EQ(dialog->BitBtn2->GetModalResult(), mrCancel);

  EXPECT_TRUE(dialog->TabList->GetMultiSelect());
  EXPECT_FALSE(dialog->TabList->GetSorted());
  EXPECT_EQ(dialog->TabList->GetItemHeight(), 13);
  EXPECT_EQ(dialog->TabList->GetTabStops(), std::vector<int>{3});
  EXPECT_EQ(dialog->TabList->Items().Count(), 0);
  EXPECT_EQ(dialog->NameVal->GetText(), "");
  EXPECT_EQ(dialog->MaxValueIndex->GetValue(), 0);
  EXPECT_EQ(dialog->MaxValueIndex->GetMinValue(), 0);
  EXPECT_EQ(dialog->MaxValueIndex->GetMaxValue(), 0);
  ASSERT_NE(dialog->FSavedList, nullptr);
  EXPECT_EQ(dialog->FSavedList->Count(), 0);
}

TEST_F(Dialog, SpeedButtonGlyphsAreTwoImageSixteenColourBitmaps) {
  for (const TSpeedButton* button : {dialog->btnChange, dialog->CancelChangeBtn}) {
    SCOPED_TRACE(button->GetName());
    const std::vector<std::uint8_t>& bmp = button->GetGlyphData();
    ASSERT_EQ(bmp.size(), 14u + 40 + 16 * 4 + 16 * 16);
    EXPECT_EQ(std::memcmp(bmp.data(), "BM", 2), 0);
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 14u + 40 + 64);  // where the pixels start
    EXPECT_EQ(U32(bmp, 18), 32u);            // width
    EXPECT_EQ(U32(bmp, 22), 16u);            // height
    EXPECT_EQ(bmp[28], 4);                   // bits per pixel
    EXPECT_EQ(button->GetNumGlyphs(), 2);
    // The disabled image differs from the normal one.
    bool differ = false;
    for (std::size_t row = 0; row < 16; ++row) {
      std::size_t at = 118 + row * 16;
      differ = differ || std::memcmp(&bmp[at], &bmp[at + 8], 8) != 0;
    }
    EXPECT_TRUE(differ);
  }
  EXPECT_NE(dialog->btnChange->GetGlyphData(), dialog->CancelChangeBtn->GetGlyphData());
}

TEST_F(Dialog, BitmapButtonsCloseWithTheirResultsLeavingTheRows) {
  const std::vector<std::string> listing{"TButton", "\tButton1"};
  EXPECT_EQ(Session(listing, {TSelectRow{"TabList", 0}, TClickControl{"btnChange"},
                              TClickControl{"BitBtn2"}}),
            mrCancel);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"TButton", "\t0"}));
  EXPECT_EQ(Show({TClickControl{"BitBtn1"}}), mrOk);
}

}  // namespace
