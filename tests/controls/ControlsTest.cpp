#include <gtest/gtest.h>

#include <limits>

#include "Buttons.h"
#include "Forms.h"
#include "Spin.h"

using namespace host;

namespace {

void SetProperty(TComponent& c, const std::string& name, const FormValue& value) {
  const TPropInfo* p = c.ClassType()->FindProperty(name);
  ASSERT_NE(p, nullptr) << name;
  p->Set(c, value);
}

FormValue GetProperty(TComponent& c, const std::string& name) {
  return c.ClassType()->FindProperty(name)->Get(c);
}

TEST(SpinEdit, UnboundedWhenBothBoundsAreZero) {
  TSpinEdit spin(nullptr);
  spin.SetValue(-2);
  EXPECT_EQ(spin.GetValue(), -2);
  spin.SetValue(std::int64_t{5} << 40);
  EXPECT_EQ(spin.GetValue(), std::numeric_limits<std::int32_t>::max());
  spin.SetValue(-(std::int64_t{5} << 40));
  EXPECT_EQ(spin.GetValue(), std::numeric_limits<std::int32_t>::min());
}

TEST(SpinEdit, BoundsApplyWhateverTheOrderTheyAreGiven) {
  TSpinEdit spin(nullptr);
  // A form may give the value before its bounds.
  SetProperty(spin, "Value", FormValue::Integer(50));
  SetProperty(spin, "MinValue", FormValue::Integer(10));
  SetProperty(spin, "MaxValue", FormValue::Integer(100));
  EXPECT_EQ(spin.GetValue(), 50);
  spin.SetValue(500);
  EXPECT_EQ(spin.GetValue(), 100);
  spin.SetValue(-5);
  EXPECT_EQ(spin.GetValue(), 10);
  EXPECT_EQ(GetProperty(spin, "Value"), FormValue::Integer(10));
}

TEST(BitBtn, KindGivesCaptionAndModalResult) {
  TBitBtn ok(nullptr), cancel(nullptr);
  SetProperty(ok, "Kind", FormValue::Identifier("bkOK"));
  SetProperty(cancel, "Kind", FormValue::Identifier("bkCancel"));
  EXPECT_EQ(ok.GetText(), "OK");
  EXPECT_EQ(ok.GetModalResult(), mrOk);
  EXPECT_EQ(cancel.GetText(), "Cancel");
  EXPECT_EQ(cancel.GetModalResult(), mrCancel);
  EXPECT_EQ(GetProperty(cancel, "Kind"), FormValue::Identifier("bkCancel"));
  EXPECT_THROW(SetProperty(ok, "Kind", FormValue::Identifier("bkMaybe")), EConvertError);
  EXPECT_EQ(ok.GetKind(), bkOK);
}

TEST(BitBtn, ClickClosesItsFormWithItsResultThenRunsOnClick) {
  TForm form(nullptr);
  auto* button = new TBitBtn(&form);
  button->SetKind(bkCancel);
  TModalResult seen = -1;
  button->OnClick.Bind([&](TObject*) { seen = form.GetModalResult(); });
  button->Click();
  EXPECT_EQ(form.GetModalResult(), mrCancel);
  EXPECT_EQ(seen, mrCancel);
}

TEST(SpeedButton, GlyphDataIsTheStoredBytes) {
  TSpeedButton button(nullptr);
  FormValue data{FormValueKind::Binary, "424D00FF", {}, {}, {}};
  SetProperty(button, "Glyph.Data", data);
  EXPECT_EQ(button.GetGlyphData(), (std::vector<std::uint8_t>{0x42, 0x4D, 0x00, 0xFF}));
  EXPECT_EQ(GetProperty(button, "Glyph.Data"), data);
  EXPECT_THROW(SetProperty(button, "NumGlyphs", FormValue::Integer(5)), EConvertError);
}

TEST(FormProperties, SymbolsSetsAndNamedNumbers) {
  TForm form(nullptr);
  SetProperty(form, "BorderStyle", FormValue::Identifier("bsDialog"));
  SetProperty(
      form, "BorderIcons",
      FormValue::Set({FormValue::Identifier("biHelp"), FormValue::Identifier("biSystemMenu")}));
  SetProperty(form, "Font.Color", FormValue::Integer(0xFF));
  SetProperty(form, "Font.Charset", FormValue::Identifier("OEM_CHARSET"));
  EXPECT_EQ(form.GetBorderStyle(), bsDialog);
  EXPECT_EQ(form.GetBorderIcons(), (TBorderIcons{biSystemMenu, biHelp}));
  // Written back in the members' order, and as names where they have one.
  EXPECT_EQ(GetProperty(form, "BorderIcons"), FormValue::Set({FormValue::Identifier("biSystemMenu"),
                                                              FormValue::Identifier("biHelp")}));
  EXPECT_EQ(GetProperty(form, "Font.Color"), FormValue::Identifier("clRed"));
  EXPECT_EQ(form.Font().Charset, 255);

  // A system colour written as its bit pattern is the named colour.
  SetProperty(form, "Font.Color", FormValue{FormValueKind::Integer, "$80000008", {}, {}, {}});
  EXPECT_EQ(form.Font().Color, clWindowText);
  EXPECT_EQ(GetProperty(form, "Font.Color"), FormValue::Identifier("clWindowText"));

  EXPECT_THROW(
      SetProperty(form, "BorderIcons", FormValue::Set({FormValue::Identifier("bsDialog")})),
      EConvertError);
  EXPECT_THROW(SetProperty(form, "Font.Charset", FormValue::Integer(256)), EConvertError);
  EXPECT_THROW(SetProperty(form, "BorderStyle", FormValue::Integer(3)), EConvertError);
}

TEST(ClassRegistry, KnowsTheHostControlsWithoutRegistration) {
  for (TClass c : {&TLabel::StaticClass(), &TEdit::StaticClass(), &TButton::StaticClass(),
                   &TBitBtn::StaticClass(), &TSpeedButton::StaticClass(), &TListBox::StaticClass(),
                   &TSpinEdit::StaticClass()})
    EXPECT_EQ(GetClass(c->Name), c) << c->Name;
}

}  // namespace
