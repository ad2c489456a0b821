#include <gtest/gtest.h>

#include <climits>

#include "SafeFile.h"
#include "SourceError.h"
#include "SysUtils.h"

using namespace host;

TEST(Format, DirectivesAndMismatches) {
  EXPECT_EQ(Format("%S", {std::string("TStringList")}), "TStringList");
  EXPECT_EQ(Format("%s=%d%%", {std::string("x"), std::int64_t{-7}}), "x=-7%");
  EXPECT_EQ(Format("no directives", {}), "no directives");
  EXPECT_THROW(Format("%d", {std::string("text")}), EConvertError);
  EXPECT_THROW(Format("%s %s", {std::string("one")}), EConvertError);
  EXPECT_THROW(Format("%q", {std::int64_t{1}}), EConvertError);
  EXPECT_THROW(Format("50%", {}), EConvertError);
}

// How each error reads in a report about the form a.form.
TEST(Errors, ReadAboutAFileNameTheirOwnPlaceOrThatFile) {
  const std::string form = "a.form";
  EXPECT_EQ(ESourceError("a.form", 3, 7, "bad").AboutFile(form), "a.form:3:7: bad");
  EXPECT_EQ(ESourceError("TDLG", 3, 7, "bad", SourceKind::Resource).AboutFile(form),
            "a.form: TDLG:3:7: bad");
  EXPECT_EQ(ESourceError("a.form", 3, 7, "bad").InResource().AboutFile(form),
            "a.form: a.form:3:7: bad");
  EXPECT_EQ(EFileError("/x/b.form", "write", "No space").AboutFile(form),
            "/x/b.form: cannot write: No space");
  EXPECT_EQ(Exception("no namer").AboutFile(form), "a.form: no namer");
}

TEST(Trim, StripsCodesUpTo32OnBothEndsOnly) {
  EXPECT_EQ(Trim(" \t\r\n Btn1 \x01\x1f"), "Btn1");
  EXPECT_EQ(Trim("\tA B\t"), "A B");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(Trim("\x7f"
                 "x"),
            "\x7f"
            "x");                           // DEL is above 32
  EXPECT_EQ(Trim("\xc3\xa4"), "\xc3\xa4");  // UTF-8 bytes are kept
}

TEST(IntToStr, DecimalWithSignAndNoLeadingZeros) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2), "-2");
  EXPECT_EQ(IntToStr(2147483648LL), "2147483648");
  EXPECT_EQ(IntToStr(LLONG_MIN), "-9223372036854775808");
}

TEST(Excerpt, OneShortLineWhateverTheValueHolds) {
  using namespace std::string_literals;
  const struct {
    std::string value, shown;
  } cases[] = {
      {"Button1", "Button1"},
      {"a\ndesigner: forged", "a#10designer: forged"},
      {"nul\0after"s, "nul#0after"},
      {"\x7f\t", "#127#9"},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
      {"\xff\xc3", "#$FF#$C3"},                          // a stray byte, a cut-off sequence
      {"\xc0\xaf\xed\xa0\x80", "#$C0#$AF#$ED#$A0#$80"},  // overlong, surrogate
      {std::string(100, 'x'), std::string(kExcerptChars, 'x') + "..."},
  };
  for (const auto& c : cases) EXPECT_EQ(Excerpt(c.value), c.shown);
  EXPECT_EQ(Excerpt("abcdef", 3), "abc...");
  EXPECT_EQ(Excerpt("abc", 3), "abc");
}
